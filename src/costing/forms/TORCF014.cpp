#include "costing/forms/TORCF014.h"

#include "costing/forms/FieldLookup.h"
#include "costing/forms/TORCFPR014.h"
#include "platform/ui/TableButtons.h"

#include "platform/db/DbError.h"
#include "platform/ui/DbGrid.h"
#include "platform/ui/DbNavigator.h"
#include "platform/ui/FieldWidth.h"
#include "platform/ui/LookupDialog.h"
#include "platform/ui/MessageService.h"
#include "platform/ui/TGlyphButton.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QTimer>
#include <QVBoxLayout>

namespace kv::costing {

using kv::db::DbError;
using kv::ui::GridColumn;

namespace {

QLineEdit* edit(const QString& name, bool readOnly, QWidget* parent, int characters)
{
    auto* e = new QLineEdit(parent);
    e->setObjectName(name);
    kv::ui::setFieldWidth(e, characters);
    if (readOnly) {
        e->setReadOnly(true);
        e->setFocusPolicy(Qt::NoFocus);
    }
    return e;
}

std::vector<GridColumn> gridColumns(const std::vector<SearchColumn>& columns)
{
    std::vector<GridColumn> grid;
    for (const SearchColumn& c : columns)
        grid.push_back({c.column, c.title, c.width, {}});
    return grid;
}

const QString Code = QStringLiteral("CODIGO");
const QString Designation = QStringLiteral("DESIGNACAO");

} // namespace

TORCF014::TORCF014(CostingEnvironment environment, QWidget* parent)
    : kv::ui::Form(parent), m_environment(environment),
      m_procedures(&environment.dataset(QStringLiteral("ZURIVAVEZA.PROCMAS"))),
      m_lines(&environment.dataset(QStringLiteral("ZURIVAVEZA.PROCDET"))),
      m_types(&environment.dataset(QStringLiteral("ZURIVAVEZA.TIPOTAB")))
{
    setObjectName(QStringLiteral("TORCF014"));
    setWindowTitle(QStringLiteral("Parametrização de Procedimentos"));
    setModal(true);
    buildLayout();
    attachHandlers();
    // The plain fields show the first line of a procedure whenever its lines
    // are read again, not on every move between lines.
    connect(m_lines, &kv::db::Dataset::reset, this, [this] { Edit_Codigo2Change(); });
}

TORCF014::~TORCF014() { disconnect(m_lines, nullptr, this, nullptr); }

void TORCF014::buildLayout()
{
    auto* layout = new QVBoxLayout(body());
    layout->addWidget(new QLabel(QStringLiteral("Procedimentos : "), body()));
    DBGrid2 = new kv::ui::DbGrid(body());
    DBGrid2->setObjectName(QStringLiteral("DBGrid2"));
    DBGrid2->setDataset(
        m_procedures, {{Code, QStringLiteral("Proc.Nº"), 8, {}}, {Designation, QStringLiteral("Designação"), 30, {}}});
    layout->addWidget(DBGrid2, 1);

    auto* fields = new QGridLayout;
    layout->addLayout(fields);
    auto* typeLabel = new QLabel(QStringLiteral("Tipo de Tabela  : "), body());
    Edit_TipoTab = edit(QStringLiteral("Edit_TipoTab"), false, body(), 3);
    Edit_NomeTabela = edit(QStringLiteral("Edit_NomeTabela"), true, body(), 30);
    auto* codeLabel = new QLabel(QStringLiteral("Código da Tabela : "), body());
    Edit_CodTab = edit(QStringLiteral("Edit_CodTab"), false, body(), 8);
    Edit_CodTab->setReadOnly(true); // filled by a search only
    Edit_DesTab = edit(QStringLiteral("Edit_DesTab"), true, body(), 40);
    fields->setColumnStretch(3, 1);
    fields->addWidget(typeLabel, 0, 0);
    fields->addWidget(Edit_TipoTab, 0, 1);
    fields->addWidget(Edit_NomeTabela, 0, 2);
    fields->addWidget(codeLabel, 1, 0);
    fields->addWidget(Edit_CodTab, 1, 1);
    fields->addWidget(Edit_DesTab, 1, 2);
    setCaptionLabel(Edit_TipoTab, typeLabel);
    setCaptionLabel(Edit_CodTab, codeLabel);
    setKeyHint(Edit_CodTab, tableCodeHint());
    addFieldAction(Edit_TipoTab, QStringLiteral("Procura Numérica"), QKeySequence(Qt::Key_Insert),
                   [this] { ProcTipoTabClick(); });
    addFieldAction(Edit_CodTab, QStringLiteral("Procura Numérica"), QKeySequence(Qt::Key_Insert),
                   [this] { search(ListOrder::Numeric); });
    addFieldAction(Edit_CodTab, QStringLiteral("Procura Alfabética"),
                   QKeySequence(Qt::ControlModifier | Qt::Key_Insert), [this] { search(ListOrder::Alphabetic); });

    DBGrid1 = new kv::ui::DbGrid(body());
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    DBGrid1->setDataset(m_lines, {{Code, QStringLiteral("Procedimento"), 8, {}},
                                  {QStringLiteral("TIPOTABELA"), QStringLiteral("Tipo Tabela"), 6, {}},
                                  {QStringLiteral("CODTAB"), QStringLiteral("Cód.Tabela"), 8, {}},
                                  {QStringLiteral("NOMETABELA"), QStringLiteral("Nome Tabela"), 25, {}},
                                  {QStringLiteral("DESTAB"), QStringLiteral("Designação"), 30, {}}});
    layout->addWidget(DBGrid1, 1);
    setTabOrder(DBGrid2, Edit_TipoTab);
    setTabOrder(Edit_TipoTab, Edit_CodTab);
    setTabOrder(Edit_CodTab, DBGrid1);

    const kv::ui::TableButtons bar(buttonBar(), m_lines);
    buttonBar()->setLayout(bar.layout);
    BotNavig = bar.BotNavig;
    BotInserir = bar.BotInserir;
    BotCancelar = bar.BotCancelar;
    BotDelete = bar.BotDelete;
    BotPrint = bar.BotPrint;
    BitTerminar = bar.BitTerminar;
    connect(BotInserir, &kv::ui::TGlyphButton::clicked, this, &TORCF014::BotInserirClick);
    connect(BotCancelar, &kv::ui::TGlyphButton::clicked, this, &TORCF014::BotCancelarClick);
    connect(BotDelete, &kv::ui::TGlyphButton::clicked, this, &TORCF014::BotDeleteClick);
    connect(BotPrint, &kv::ui::TGlyphButton::clicked, this, &TORCF014::BotPrintClick);
    connect(BitTerminar, &kv::ui::TGlyphButton::clicked, this, &QDialog::accept);
}

void TORCF014::attachHandlers()
{
    setExitHandler(Edit_TipoTab, [this] { Edit_TipoTabExit(); });
    setExitHandler(Edit_CodTab, [this] { Edit_CodTabExit(); });
    setEnterHandler(DBGrid1, [this] { DbGrid1Enter(); });
    setExitHandler(DBGrid1, [this] { DbGrid1Exit(); });
}

void TORCF014::showError(const DbError& error) { kv::ui::messages().fail(error.fullText()); }

// ------------------------------------------------------------------ open / close

void TORCF014::FormActivate()
{
    setStatusText(1, m_environment.state().WMarca);
    const kv::shell::FormRights rights =
        m_environment.costingRights(kv::shell::RightsVariant::R1, QStringLiteral("Parametrizacao de Procedimentos"));
    BotInserir->setVisible(rights.showInserir);
    BotCancelar->setVisible(rights.showCancelar);
    BotDelete->setVisible(rights.showDelete);
    BotPrint->setVisible(rights.showPrint);
    m_cancelMark = false;
    try {
        m_linesStatement = m_lines->sql();
        m_lines->close();
        m_lines->setSql(procedureLinesStatement());
        m_procedures->close();
        m_procedures->open();
        m_lines->open();
        m_types->close();
        m_types->open();
    } catch (const DbError& error) {
        showError(error);
        QTimer::singleShot(0, this, &QDialog::reject);
        return;
    }
    EnableEvents();
    Edit_Codigo2Change();
    focusField(DBGrid2);
}

void TORCF014::FormClose()
{
    // A line still being added is discarded.
    m_adding = false;
    m_procedures->close();
    m_lines->close();
    if (!m_linesStatement.isEmpty())
        m_lines->setSql(m_linesStatement);
    m_types->close();
    // The searches change the statements of the cost tables' shared datasets:
    // their own forms find them as they were.
    for (const TableSearch& s : tableSearches()) {
        kv::db::Dataset& table = m_environment.dataset(s.dataset);
        table.close();
        table.setSql(s.standardStatement());
    }
}

// ------------------------------------------------------------------ lines

void TORCF014::Edit_Codigo2Change()
{
    if (m_adding)
        return;
    const bool hasLine = m_lines->isOpen() && !m_lines->isEmpty();
    auto show = [this, hasLine](QLineEdit* field, const char* column) {
        field->setText(hasLine ? m_lines->value(QString::fromLatin1(column)).toString() : QString());
    };
    show(Edit_TipoTab, "TIPOTABELA");
    show(Edit_CodTab, "CODTAB");
    show(Edit_NomeTabela, "NOMETABELA");
    show(Edit_DesTab, "DESTAB");
}

void TORCF014::setGridMode(bool on)
{
    for (QWidget* w : std::initializer_list<QWidget*>{BotNavig, BotInserir, BotDelete, BotPrint, BitTerminar})
        w->setEnabled(on);
}

void TORCF014::clearLine()
{
    m_line = {};
    for (QLineEdit* field : {Edit_TipoTab, Edit_NomeTabela, Edit_CodTab, Edit_DesTab})
        field->clear();
}

void TORCF014::reopenLines()
{
    m_lines->close();
    m_lines->open();
}

// Returning to the line grid saves the line being added.
void TORCF014::DbGrid1Enter()
{
    setGridMode(true);
    if (!m_cancelMark && m_adding && m_line.tableCode != 0) {
        try {
            const int detail = addProcedureLine(*m_environment.application(), m_procedure, m_line);
            m_adding = false;
            reopenLines();
            m_lines->locate({Code, QStringLiteral("DETAIL")}, {m_procedure, detail});
        } catch (const DbError& error) {
            // The line stays on the screen, to be saved again or cancelled.
            showError(error);
            m_cancelMark = false;
            return;
        }
    }
    // A line without a chosen row is not kept.
    if (m_adding) {
        m_adding = false;
        Edit_Codigo2Change();
    }
    m_cancelMark = false;
}

void TORCF014::DbGrid1Exit() { setGridMode(false); }

void TORCF014::BotInserirClick()
{
    const int procedure = m_procedures->isOpen() && !m_procedures->isEmpty() ? m_procedures->value(Code).toInt() : 0;
    if (procedure <= 0) {
        kv::ui::messages().beep();
        kv::ui::messages().error(invalidProcedureMessage(procedure));
        m_cancelMark = true;
        focusField(DBGrid1);
        return;
    }
    m_procedure = procedure;
    clearLine();
    m_adding = true;
    focusField(Edit_TipoTab);
}

void TORCF014::BotCancelarClick()
{
    m_cancelMark = true;
    m_adding = false;
    clearLine();
    m_cancelling = true;
    focusField(DBGrid1);
    m_cancelling = false;
    Edit_Codigo2Change();
}

void TORCF014::BotDeleteClick()
{
    if (!m_lines->isOpen() || m_lines->isEmpty())
        return;
    if (!kv::ui::messages().question(QStringLiteral("ELIMINAÇÃO !!! Confirma ?")))
        return;
    try {
        deleteProcedureLine(*m_environment.application(), m_lines->value(Code).toInt(),
                            m_lines->value(QStringLiteral("DETAIL")).toInt());
        reopenLines();
    } catch (const DbError& error) {
        showError(error);
    }
}

void TORCF014::BotPrintClick()
{
    try {
        reopenLines();
        TORCFPR014(m_environment).preview(this);
        reopenLines();
    } catch (const DbError& error) {
        showError(error);
    }
}

// ------------------------------------------------------------------ fields

void TORCF014::Edit_TipoTabExit()
{
    if (m_cancelling || !m_adding)
        return;
    const QString typed = Edit_TipoTab->text().trimmed();
    if (typed.isEmpty())
        return;
    bool ok = false;
    const int type = typed.toInt(&ok);
    if (!ok || !m_types->locate(Code, type)) {
        rejectField(invalidTableTypeMessage());
        return;
    }
    m_line.tableType = type;
    m_line.tableName = m_types->value(Designation).toString();
    Edit_NomeTabela->setText(m_line.tableName);
}

void TORCF014::ProcTipoTabClick()
{
    if (!m_types->isOpen())
        return;
    if (!runLookup(*m_types,
                   {{Code, QStringLiteral("Tabela Nº"), 1, {}}, {Designation, QStringLiteral("Nome Tabela"), 30, {}}},
                   this)
        || m_types->isEmpty())
        return;
    Edit_TipoTab->setText(m_types->value(Code).toString());
    Edit_NomeTabela->setText(m_types->value(Designation).toString());
}

void TORCF014::Edit_CodTabExit()
{
    if (m_cancelling || m_cancelMark || !m_adding)
        return;
    const QString shown = Edit_CodTab->text().trimmed();
    if (shown.isEmpty() || shown == QLatin1String("0"))
        rejectField(tableCodeMessage());
}

void TORCF014::search(ListOrder order)
{
    const TableSearch* table = tableSearch(m_line.tableType);
    if (!m_adding || !table)
        return;
    kv::db::Dataset& rows = m_environment.dataset(table->dataset);
    bool chosen = false;
    try {
        rows.close();
        rows.setSql(table->statement(order));
        rows.open();
        kv::ui::LookupDialog dialog(rows, gridColumns(order == ListOrder::Numeric ? table->numeric : table->alphabetic),
                                    this, QStringLiteral("Localiar"));
        // Only a row the user confirms makes a line.
        chosen = dialog.exec() == QDialog::Accepted && !rows.isEmpty();
        if (chosen) {
            m_line.tableCode = rows.value(Code).toInt();
            m_line.designation = rows.value(table->designation).toString();
            if (m_types->locate(Code, m_line.tableType))
                m_line.tableName = m_types->value(Designation).toString();
        }
        rows.close();
    } catch (const DbError& error) {
        showError(error);
        return;
    }
    if (!chosen)
        return;
    Edit_CodTab->setText(QString::number(m_line.tableCode));
    Edit_DesTab->setText(m_line.designation);
    Edit_NomeTabela->setText(m_line.tableName);
    focusField(DBGrid1);
}

} // namespace kv::costing
