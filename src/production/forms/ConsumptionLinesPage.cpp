#include "production/forms/ConsumptionLinesPage.h"

#include "domain/TableType.h"
#include "costing/core/ProcedureLines.h"
#include "platform/db/Connection.h"
#include "platform/db/Dataset.h"
#include "platform/db/DbError.h"
#include "platform/text/NumberText.h"
#include "platform/ui/FieldWidth.h"
#include "platform/ui/LookupDialog.h"
#include "platform/ui/Form.h"
#include "platform/ui/MessageService.h"
#include "quotes/core/CostTables.h"

#include <QAction>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace kv::production {

namespace {

using kv::domain::TableType;
using kv::domain::typeCode;
using kv::ui::messages;

QString linesText(const char* utf8) { return QString::fromUtf8(utf8); }

std::optional<double> linesNumber(const QLineEdit* edit) { return kv::text::parseNumber(edit->text()); }

bool linesEmpty(const QLineEdit* edit) { return edit->text().trimmed().isEmpty(); }

} // namespace

ConsumptionLinesPage::ConsumptionLinesPage(kv::ui::Form& form, std::shared_ptr<kv::db::Connection> application,
                                           const SelectedOrder& order, std::function<OrderFigures()> figures)
    : m_form(form),
      m_connection(std::move(application)),
      m_application(*m_connection),
      m_store(*m_connection, order),
      m_figures(std::move(figures))
{
    setObjectName(QStringLiteral("Page_Consumos"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("materiais e maquinas")));
    Grid_Consumos = new QTableWidget(0, 8);
    Grid_Consumos->setObjectName(QStringLiteral("Grid_Consumos"));
    Grid_Consumos->setHorizontalHeaderLabels({QStringLiteral("Cod."), linesText("Designação"), QStringLiteral("NP"),
                                              QStringLiteral("Prd.Hora"), QStringLiteral("Acerto"),
                                              QStringLiteral("T.C."), QStringLiteral("Consumo"),
                                              QStringLiteral("Ord.Ent.")});
    Grid_Consumos->setEditTriggers(QAbstractItemView::NoEditTriggers);
    Grid_Consumos->setSelectionBehavior(QAbstractItemView::SelectRows);
    Grid_Consumos->setSelectionMode(QAbstractItemView::SingleSelection);
    Grid_Consumos->verticalHeader()->hide();
    Grid_Consumos->horizontalHeader()->setSectionResizeMode(1, QHeaderView::Stretch);
    Grid_Consumos->setContextMenuPolicy(Qt::ActionsContextMenu);
    const std::pair<const char*, void (ConsumptionLinesPage::*)()> popup[] = {
        {"Inserir Registo", &ConsumptionLinesPage::startAdding},
        {"Eliminar Registo", &ConsumptionLinesPage::deleteLine},
        {"Alterar Registo", &ConsumptionLinesPage::startChanging}};
    for (const auto& [caption, action] : popup) {
        auto* a = new QAction(QString::fromUtf8(caption), Grid_Consumos);
        connect(a, &QAction::triggered, this, action);
        Grid_Consumos->addAction(a);
    }
    layout->addWidget(Grid_Consumos, 1);
    auto* navigator = new QHBoxLayout;
    const std::pair<const char*, const char*> moves[] = {{"|<", "Primeiro Registo"},
                                                        {"<", "Registo Anterior"},
                                                        {">", "Próximo Registo"},
                                                        {">|", "Último Registo"}};
    for (int n = 0; n < 4; ++n) {
        auto* b = new QPushButton(QLatin1String(moves[n].first));
        b->setObjectName(QStringLiteral("Navigator%1").arg(n + 1));
        b->setToolTip(QString::fromUtf8(moves[n].second));
        b->setAutoDefault(false);
        b->setFocusPolicy(Qt::NoFocus);
        navigator->addWidget(b);
        connect(b, &QPushButton::clicked, this, [this, n] {
            const int last = Grid_Consumos->rowCount() - 1;
            const int current = Grid_Consumos->currentRow();
            const int rows[] = {0, std::max(0, current - 1), std::min(last, current + 1), last};
            if (last >= 0 && Grid_Consumos->isEnabled())
                Grid_Consumos->setCurrentCell(rows[n], 0);
        });
    }
    navigator->addStretch(1);
    layout->addLayout(navigator);
    connect(Grid_Consumos, &QTableWidget::currentCellChanged, this, [this] { showCurrent(); });

    auto* entry = new QGridLayout;
    Edit_TipoTab = entryField(entry, 0, "Tipo de Tabela  : ", "Edit_TipoTab", 3);
    Label_NomeTab = new QLabel;
    Label_NomeTab->setObjectName(QStringLiteral("Label_NomeTab"));
    entry->addWidget(Label_NomeTab, 0, 2);
    Edit_CodTab = entryField(entry, 1, "Código da Tabela : ", "Edit_CodTab", 6);
    Label_Design = new QLabel;
    Label_Design->setObjectName(QStringLiteral("Label_Design"));
    entry->addWidget(Label_Design, 1, 2);
    Edit_NroPass = entryField(entry, 2, "Nrº Passagens : ", "Edit_NroPass", 4);
    Edit_PrdHor = entryField(entry, 3, "Produção Hora : ", "Edit_PrdHor", 10);
    Edit_Acerto = entryField(entry, 4, "Acerto : ", "Edit_Acerto", 8);
    Edit_SupImpress = entryField(entry, 5, "Sup.Impressão : ", "Edit_SupImpress", 8);
    Edit_Consumo = entryField(entry, 6, "Consumo : ", "Edit_Consumo", 14);
    Edit_Entrada = entryField(entry, 7, "Ordem Entrada : ", "Edit_Entrada", 4);
    entry->setColumnStretch(2, 1);
    layout->addLayout(entry);

    auto* buttons = new QHBoxLayout;
    auto button = [&](const char* caption, const char* name, const char* hint) {
        auto* b = new QPushButton(QLatin1String(caption));
        b->setObjectName(QLatin1String(name));
        b->setToolTip(QString::fromUtf8(hint));
        b->setAutoDefault(false);
        // "&C" leaves a line whose field would refuse it; none of them runs the field's rule.
        b->setFocusPolicy(Qt::NoFocus);
        buttons->addWidget(b);
        return b;
    };
    Btn_Ins = button("&Ins.", "Btn_Ins", "Inserir Linha");
    Btn_Alt = button("&Alt.", "Btn_Alt", "Alterar Documento");
    Btn_Eli = button("&Eli.", "Btn_Eli", "Eliminar Linha");
    Btn_C = button("&C", "Btn_C", "Cancelar Linha");
    buttons->addStretch();
    layout->addLayout(buttons);
    connect(Btn_Ins, &QPushButton::clicked, this, &ConsumptionLinesPage::startAdding);
    connect(Btn_Alt, &QPushButton::clicked, this, &ConsumptionLinesPage::startChanging);
    connect(Btn_Eli, &QPushButton::clicked, this, &ConsumptionLinesPage::deleteLine);
    connect(Btn_C, &QPushButton::clicked, this, &ConsumptionLinesPage::cancelLine);

    kv::ui::addFieldAction(Edit_TipoTab, linesText("Procura Numérica"), QKeySequence(Qt::Key_Insert),
                           [this] { searchType(); });
    kv::ui::addFieldAction(Edit_CodTab, linesText("Procura Numérica"), QKeySequence(Qt::Key_Insert),
                           [this] { searchCode(false); });
    kv::ui::addFieldAction(Edit_CodTab, linesText("Procura Alfabética"), QKeySequence(Qt::CTRL | Qt::Key_Insert),
                           [this] { searchCode(true); });
    m_form.setExitHandler(Edit_TipoTab, [this] { leaveType(); });
    m_form.setExitHandler(Edit_CodTab, [this] { leaveCode(); });
    for (QLineEdit* e : {Edit_NroPass, Edit_PrdHor, Edit_Acerto, Edit_SupImpress, Edit_Consumo, Edit_Entrada})
        m_form.setExitHandler(e, [this] { leaveEntry(); });
    enableEntry(false, false);
    for (QLineEdit* e : {Edit_TipoTab, Edit_CodTab, Edit_Consumo})
        e->setEnabled(false);
}

ConsumptionLinesPage::~ConsumptionLinesPage() = default;

QLineEdit* ConsumptionLinesPage::entryField(QGridLayout* grid, int row, const char* caption, const char* name,
                                            int characters)
{
    auto* label = new QLabel(QString::fromUtf8(caption));
    auto* edit = new QLineEdit;
    edit->setObjectName(QLatin1String(name));
    kv::ui::setFieldWidth(edit, characters);
    grid->addWidget(label, row, 0);
    grid->addWidget(edit, row, 1, Qt::AlignLeft);
    m_form.setCaptionLabel(edit, label);
    return edit;
}

void ConsumptionLinesPage::open()
{
    m_tables = std::make_unique<kv::quotes::CostTables>(kv::quotes::CostTables::load(m_application));
    reload();
}

void ConsumptionLinesPage::focusGrid()
{
    m_mode = Mode::Browsing;
    Grid_Consumos->setEnabled(true);
    for (QPushButton* b : {Btn_Ins, Btn_Eli})
        b->setEnabled(true);
    for (QLineEdit* e : {Edit_TipoTab, Edit_CodTab, Edit_Consumo})
        e->setEnabled(false);
    enableEntry(false, false);
    showCurrent();
    m_form.focusField(Grid_Consumos);
}

void ConsumptionLinesPage::reload(int detail)
{
    m_rows = m_store.read();
    const QSignalBlocker quiet(Grid_Consumos);
    Grid_Consumos->setRowCount(static_cast<int>(m_rows.size()));
    int current = m_rows.empty() ? -1 : 0;
    for (int r = 0; r < static_cast<int>(m_rows.size()); ++r) {
        const ConsumptionLine& l = m_rows[static_cast<std::size_t>(r)];
        const QString cells[] = {QString::number(l.code), l.designation,       QString::number(l.passes),
                                 kv::text::plain(l.perHour), kv::text::plain(l.makeReady), l.costClass,
                                 kv::text::plain(l.consumption), QString::number(l.entry)};
        for (int c = 0; c < 8; ++c)
            Grid_Consumos->setItem(r, c, new QTableWidgetItem(cells[c]));
        if (l.detail == detail)
            current = r;
    }
    Grid_Consumos->setCurrentCell(current, 0);
    showCurrent();
}

const ConsumptionLine* ConsumptionLinesPage::currentLine() const
{
    const int r = Grid_Consumos->currentRow();
    return r >= 0 && r < static_cast<int>(m_rows.size()) ? &m_rows[static_cast<std::size_t>(r)] : nullptr;
}

void ConsumptionLinesPage::showCurrent()
{
    if (m_mode != Mode::Browsing)
        return;
    const ConsumptionLine* l = currentLine();
    Edit_TipoTab->setText(l ? QString::number(l->tableType) : QString());
    Label_NomeTab->setText(
        l ? m_application.scalar(QStringLiteral("SELECT DESIGNACAO FROM TIPOTAB WHERE CODIGO = :C"), {{"C", l->tableType}})
                .toString()
          : QString());
    Edit_CodTab->setText(l ? QString::number(l->code) : QString());
    Label_Design->setText(l ? l->designation : QString());
    // Lines of labour, packaging and subsidiary products are not changed from here.
    const bool fixedClass = l
                            && (l->costClass == QLatin1String("PS") || l->costClass == QLatin1String("EM")
                                || l->costClass == QLatin1String("MO"));
    Btn_Alt->setEnabled(l && !fixedClass);
    Btn_Eli->setEnabled(l != nullptr);
}

void ConsumptionLinesPage::enableEntry(bool machine, bool ink)
{
    for (QLineEdit* e : {Edit_NroPass, Edit_PrdHor, Edit_Acerto, Edit_Entrada})
        e->setEnabled(machine);
    Edit_SupImpress->setEnabled(ink);
    Edit_Consumo->setEnabled(!machine && m_mode != Mode::Browsing);
}

void ConsumptionLinesPage::startAdding()
{
    if (m_mode != Mode::Browsing)
        return;
    m_mode = Mode::Adding;
    m_line = {};
    Grid_Consumos->setEnabled(false);
    for (QPushButton* b : {Btn_Ins, Btn_Alt, Btn_Eli})
        b->setEnabled(false);
    for (QLineEdit* e : {Edit_TipoTab, Edit_CodTab, Edit_NroPass, Edit_PrdHor, Edit_Acerto, Edit_SupImpress,
                         Edit_Consumo, Edit_Entrada})
        e->clear();
    Label_NomeTab->clear();
    Label_Design->clear();
    Edit_TipoTab->setEnabled(true);
    Edit_CodTab->setEnabled(true);
    m_form.focusField(Edit_TipoTab);
}

void ConsumptionLinesPage::startChanging()
{
    const ConsumptionLine* l = currentLine();
    if (m_mode != Mode::Browsing || !l)
        return;
    m_mode = Mode::Changing;
    m_line = *l;
    Grid_Consumos->setEnabled(false);
    for (QPushButton* b : {Btn_Ins, Btn_Alt, Btn_Eli})
        b->setEnabled(false);
    const bool machine = kv::domain::isTableType(l->tableType, TableType::Machine);
    const bool ink = kv::domain::isTableType(l->tableType, TableType::Ink);
    enableEntry(machine, ink);
    Edit_NroPass->setText(QString::number(l->passes));
    Edit_PrdHor->setText(kv::text::plain(l->perHour));
    Edit_Acerto->setText(kv::text::plain(l->makeReady));
    Edit_SupImpress->setText(kv::text::plain(l->surface));
    Edit_Consumo->setText(kv::text::plain(l->consumption));
    Edit_Entrada->setText(QString::number(l->entry));
    m_form.focusField(machine ? Edit_NroPass : ink ? Edit_SupImpress : Edit_Consumo);
}

void ConsumptionLinesPage::deleteLine()
{
    const ConsumptionLine* l = currentLine();
    if (m_mode != Mode::Browsing || !l)
        return;
    try {
        m_store.remove(l->detail);
    } catch (const kv::db::DbError& e) {
        messages().fail(e.fullText());
    }
    reload();
    focusGrid();
}

void ConsumptionLinesPage::cancelLine()
{
    if (m_mode == Mode::Browsing)
        return;
    m_mode = Mode::Browsing;
    reload(m_line.detail);
    focusGrid();
}

void ConsumptionLinesPage::leaveType()
{
    if (m_mode != Mode::Adding || linesEmpty(Edit_TipoTab))
        return;
    const auto type = kv::text::parseInteger(Edit_TipoTab->text().trimmed());
    const QVariant name =
        type ? m_application.scalar(QStringLiteral("SELECT DESIGNACAO FROM TIPOTAB WHERE CODIGO = :C"), {{"C", *type}})
             : QVariant();
    if (!name.isValid())
        return m_form.rejectField(linesText("Tipo de Tabela Inválida"));
    Label_NomeTab->setText(name.toString());
    m_line.tableType = static_cast<int>(*type);
    enableEntry(kv::domain::isTableType(m_line.tableType, TableType::Machine),
                kv::domain::isTableType(m_line.tableType, TableType::Ink));
}

void ConsumptionLinesPage::leaveCode()
{
    if (m_mode != Mode::Adding)
        return;
    const qint64 code = kv::text::parseInteger(Edit_CodTab->text().trimmed()).value_or(0);
    if (code == 0) {
        cancelLine();
        return;
    }
    m_line.code = static_cast<int>(code);
    m_line.entry = 1;
    m_line.consumption = 0;
    const int type = m_line.tableType;
    if (kv::domain::isTableType(type, TableType::Machine)) {
        m_line.costClass = QStringLiteral("CM");
        m_form.focusField(Edit_NroPass);
        return;
    }
    const LineCalculation c = ConsumptionLines::calculate(*m_tables, type, m_line.code, 0, m_figures());
    if (!c.found) {
        if (!c.message.isEmpty())
            messages().fail(c.message);
        else
            messages().beep();
        return m_form.rejectField({}, false);
    }
    m_line.designation = c.designation;
    m_line.costClass = c.costClass;
    m_line.consumption = c.consumption;
    Label_Design->setText(c.designation);
    Edit_Consumo->setText(kv::text::plain(c.consumption));
    if (kv::domain::isTableType(type, TableType::Ink))
        return m_form.focusField(Edit_SupImpress);
    if (type >= typeCode(TableType::Varnish) && type <= typeCode(TableType::Board) && type != typeCode(TableType::Finish))
        return m_form.focusField(Edit_Consumo);
    saveLine();
}

void ConsumptionLinesPage::leaveEntry()
{
    if (m_mode == Mode::Browsing)
        return;
    QWidget* field = m_form.leavingField();
    auto* edit = qobject_cast<QLineEdit*>(field);
    if (!edit)
        return;
    const OrderFigures figures = m_figures();
    if (edit == Edit_SupImpress) {
        m_line.surface = linesNumber(Edit_SupImpress).value_or(0.0);
        const LineCalculation c = ConsumptionLines::calculate(*m_tables, m_line.tableType, m_line.code, m_line.surface, figures);
        if (c.found) {
            m_line.consumption = c.consumption;
            Edit_Consumo->setText(kv::text::plain(c.consumption));
        }
        return m_form.focusField(Edit_Consumo);
    }
    if (edit == Edit_Consumo) {
        const auto typed = linesNumber(Edit_Consumo);
        if (!linesEmpty(Edit_Consumo) && !typed)
            return m_form.rejectField(kv::text::notANumberMessage(Edit_Consumo->text()));
        const int type = m_line.tableType;
        // Finishes, fixed costs and the lines without a table keep what their table gives.
        if (type >= typeCode(TableType::Ink) && type <= typeCode(TableType::Board) && type != typeCode(TableType::Finish))
            m_line.consumption = typed.value_or(0.0);
        return saveLine();
    }
    // The machine fields: each must be given ("Produção Hora" also not 0).
    const auto value = linesNumber(edit);
    if (linesEmpty(edit) || !value || (edit == Edit_PrdHor && *value == 0.0))
        return m_form.rejectField({});
    if (edit == Edit_NroPass)
        return m_form.focusField(Edit_PrdHor);
    if (edit == Edit_PrdHor)
        return m_form.focusField(Edit_Acerto);
    if (edit == Edit_Acerto)
        return m_form.focusField(Edit_Entrada);
    const kv::quotes::MachineRow* machine = m_tables->machine(m_line.code);
    if (!machine)
        return m_form.rejectField(QStringLiteral("MAQUINA INEXISTENTE !"));
    m_line.designation = machine->designation;
    m_line.passes = static_cast<int>(linesNumber(Edit_NroPass).value_or(0.0));
    m_line.perHour = linesNumber(Edit_PrdHor).value_or(0.0);
    m_line.makeReady = linesNumber(Edit_Acerto).value_or(0.0);
    m_line.entry = static_cast<int>(*value);
    m_line.consumption = ConsumptionLines::machineTime(*machine, figures, m_line.passes, m_line.perHour, m_line.makeReady);
    saveLine();
}

void ConsumptionLinesPage::saveLine()
{
    int detail = m_line.detail;
    try {
        if (m_mode == Mode::Adding)
            detail = m_store.insert(m_line, m_figures());
        else
            m_store.update(m_line);
    } catch (const kv::db::DbError& e) {
        messages().fail(e.fullText());
        return;
    }
    m_mode = Mode::Browsing;
    reload(detail);
    focusGrid();
}

void ConsumptionLinesPage::searchType()
{
    if (m_mode != Mode::Adding)
        return;
    kv::db::Dataset list;
    try {
        list.setConnection(m_connection);
        list.setSql(QStringLiteral("SELECT CODIGO, DESIGNACAO FROM TIPOTAB ORDER BY CODIGO"));
        list.open();
    } catch (const kv::db::DbError& e) {
        messages().fail(e.fullText());
        return;
    }
    kv::ui::LookupDialog dialog(list,
                                {{QStringLiteral("CODIGO"), linesText("Tabela Nº"), 4, {}},
                                 {QStringLiteral("DESIGNACAO"), QStringLiteral("Nome Tabela"), 25, {}}},
                                this, QStringLiteral("Procurar"));
    // Cancel leaves the field as it was.
    if (dialog.exec() != QDialog::Accepted || list.isEmpty())
        return;
    Edit_TipoTab->setText(list.value(QStringLiteral("CODIGO")).toString());
    Label_NomeTab->setText(list.value(QStringLiteral("DESIGNACAO")).toString());
}

void ConsumptionLinesPage::searchCode(bool alphabetic)
{
    const int type = kv::text::parseInteger(Edit_TipoTab->text().trimmed()).value_or(0);
    // Cutting operations, subcontracts and transport have no search here.
    const bool searched = type >= typeCode(TableType::Machine) && type <= typeCode(TableType::FixedCost)
                          && type != typeCode(TableType::CuttingOperation);
    const kv::costing::TableSearch* table = searched ? kv::costing::tableSearch(type) : nullptr;
    if (m_mode != Mode::Adding || !table)
        return;
    const bool byName = alphabetic && type != typeCode(TableType::FixedCost);
    kv::db::Dataset list;
    try {
        list.setConnection(m_connection);
        list.setSql(table->statement(byName ? kv::costing::ListOrder::Alphabetic : kv::costing::ListOrder::Numeric));
        list.open();
    } catch (const kv::db::DbError& e) {
        messages().fail(e.fullText());
        return;
    }
    std::vector<kv::ui::GridColumn> columns;
    for (const kv::costing::SearchColumn& c : alphabetic ? table->alphabetic : table->numeric)
        columns.push_back({c.column, c.title, c.width, {}});
    kv::ui::LookupDialog dialog(list, std::move(columns), this);
    if (dialog.exec() != QDialog::Accepted || list.isEmpty())
        return;
    Edit_CodTab->setText(list.value(QStringLiteral("CODIGO")).toString());
}

void ConsumptionLinesPage::recalculate()
{
    if (!m_tables)
        return;
    QStringList missing;
    try {
        missing = m_store.recalculate(*m_tables, m_figures());
    } catch (const kv::db::DbError& e) {
        missing << e.fullText();
    }
    for (const QString& message : missing)
        messages().fail(message);
    reload();
}

} // namespace kv::production
