#include "quotes/forms/WorksheetProductionPage.h"

#include "quotes/core/WorksheetReferences.h"
#include "quotes/forms/WorksheetPageHost.h"
#include "quotes/forms/WorksheetState.h"

#include "costing/forms/FieldLookup.h"
#include "imaging/forms/TPictureBox.h"

#include "platform/db/Dataset.h"
#include "platform/text/NumberText.h"
#include "platform/ui/Form.h"
#include "platform/ui/GridColumn.h"
#include "platform/ui/MessageService.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace kv::quotes {

namespace {

using Kind = WorksheetPageFields::Kind;

const char* const BoardColumns[3] = {"CARTOLINA", "MICROCANAL", "PLACA"};
const char* const BoardNames[3] = {"Cartolina", "MicroCanal", "Placa"};

// The grade and make-ready choice of each machine kind: field, column,
// highest value.
struct MachineField {
    const char* name;
    const char* column;
    int highest;
};
const MachineField MachineFields[8] = {
    {"Edit_PrdHoraCv", "PRDHORACV", 3},       {"Edit_AcertoCv", "ACERTOCV", 3},
    {"Edit_PrdHoraImp", "PRDHORAIMP", 3},     {"Edit_AcertoImp", "ACERTOIMP", 2},
    {"Edit_PrdHoraCol", "PRDHORACOL", 3},     {"Edit_AcertoCol", "ACERTOCOL", 2},
    {"Edit_PrdHoraC_Col", "PRDHORAC_COL", 3}, {"Edit_AcertoC_Col", "ACERTOC_COL", 2}};
const char* const MachineKinds[4] = {"Corte e Vinco", "Impressão", "Coladoras", "Contra-Coladoras"};

QLabel* label(const char* text) { return WorksheetPageFields::caption(text); }

} // namespace

WorksheetProductionPage::WorksheetProductionPage(WorksheetState& state, QuoteFormsEnvironment environment,
                                                 WorksheetPageHost& host)
    : m_w(state), m_environment(environment), m_host(host), m_form(host.form()), m_fields(host.form())
{
    auto* outer = new QHBoxLayout(this);
    outer->addWidget(buildFields());
    outer->addWidget(WorksheetPageFields::photoBox(ML2, QStringLiteral("ML2")), 1, Qt::AlignTop);

    kv::ui::Form& f = m_form;
    f.setExitHandler(Edit_UndPlano, [this] { Edit_UndPlanoExit(); });
    f.setExitHandler(Edit_Comprim1, [this] { Edit_Comprim1Exit(); });
    f.setExitHandler(Edit_Largura1, [this] { Edit_Largura1Exit(); });
    f.setExitHandler(Edit_Comprim2, [this] { Edit_Comprim2Exit(); });
    f.setExitHandler(Edit_Largura2, [this] { Edit_Largura2Exit(); });
    f.setExitHandler(Edit_PesoJanelas, [this] { Edit_OptionalNumberExit(Edit_PesoJanelas); });
    const QString boardHint = WorksheetPageFields::numericAlphabeticHint();
    for (Board board : {Cartolina, MicroCanal, Placa}) {
        QLineEdit* field = Edit_Board[board];
        f.setEnterHandler(field, [this, board] { Edit_BoardEnter(board); });
        f.setExitHandler(field, [this, board] { Edit_BoardExit(board); });
        f.setKeyHint(field, boardHint);
        kv::costing::addFieldAction(field, QStringLiteral("Procura Numérica"), QKeySequence(Qt::Key_Insert),
                                    [this, board] { boardLookup(board, false); });
        kv::costing::addFieldAction(field, QStringLiteral("Procura Alfabética"),
                                    QKeySequence(Qt::CTRL | Qt::Key_Insert),
                                    [this, board] { boardLookup(board, true); });
    }
    f.setEnterHandler(Edit_NroCores, [this] { Edit_NroCoresEnter(); });
    f.setExitHandler(Edit_NroCores, [this] { Edit_NroCoresExit(); });
    f.setExitHandler(Edit_SuperfImpr, [this] { Edit_SuperfImprExit(); });
    f.setExitHandler(Edit_Relevo, [this] { Edit_YesNoExit(Edit_Relevo); });
    f.setKeyHint(Edit_Relevo, QStringLiteral("Se = (S) a máquina de Corte e Vinco irá fazer o 2º Acerto duas vezes "
                                             "caso o Acerto escolhido seja (2)"));
    f.setExitHandler(Edit_AcabNormal, [this] { Edit_YesNoExit(Edit_AcabNormal); });
    for (int i = 0; i < 8; ++i) {
        QLineEdit* field = Edit_Machine[i];
        const int highest = MachineFields[i].highest;
        f.setExitHandler(field, [this, field, highest] { Edit_RangeExit(field, highest); });
    }
    f.setExitHandler(Edit_C_ColTipo, [this] { Edit_C_ColTipoExit(); });
    f.setKeyHint(Edit_C_ColTipo, QStringLiteral("Insira o Tipo de Contracolagem"));
}

WorksheetProductionPage::~WorksheetProductionPage() = default;

QWidget* WorksheetProductionPage::buildFields()
{
    auto* panel = new QWidget;
    auto* grid = new QGridLayout(panel);
    grid->setVerticalSpacing(3);
    int r = 0;
    auto row = [&](QLabel* caption, std::initializer_list<QWidget*> widgets) {
        WorksheetPageFields::addRow(grid, r, caption, widgets);
    };
    QLabel* l = label("Unid. por Plano : ");
    Edit_UndPlano = m_fields.add(QStringLiteral("Edit_UndPlano"), QStringLiteral("UNDPLANO"), Kind::Integer, 5, l);
    row(l, {Edit_UndPlano});
    l = label("Format Plano (cm) : ");
    Edit_Comprim1 = m_fields.add(QStringLiteral("Edit_Comprim1"), QStringLiteral("PLNCOMPRIM1"), Kind::Number, 7, l);
    Edit_Largura1 = m_fields.add(QStringLiteral("Edit_Largura1"), QStringLiteral("PLNLARGURA1"), Kind::Number, 7, l);
    Edit_Comprim2 = m_fields.add(QStringLiteral("Edit_Comprim2"), QStringLiteral("PLNCOMPRIM2"), Kind::Number, 7, l);
    Edit_Largura2 = m_fields.add(QStringLiteral("Edit_Largura2"), QStringLiteral("PLNLARGURA2"), Kind::Number, 7, l);
    row(l, {Edit_Comprim1, new QLabel(QStringLiteral("x")), Edit_Largura1, new QLabel(QStringLiteral("  /  ")),
            Edit_Comprim2, new QLabel(QStringLiteral("x")), Edit_Largura2});
    l = label("Peso Janelas : ");
    Edit_PesoJanelas =
        m_fields.add(QStringLiteral("Edit_PesoJanelas"), QStringLiteral("PESOJANELAS"), Kind::Number, 8, l);
    row(l, {Edit_PesoJanelas});
    l = label("Cartolina / Micro / Canal B / Placa  : ");
    for (Board board : {Cartolina, MicroCanal, Placa}) {
        Edit_Board[board] = m_fields.add(QStringLiteral("Edit_") + QString::fromLatin1(BoardNames[board]),
                                         QString::fromLatin1(BoardColumns[board]), Kind::Integer, 5, l);
        Label_Board[board] = new QLabel;
        Label_Board[board]->setObjectName(QStringLiteral("Label_") + QString::fromLatin1(BoardNames[board]));
        Label_Board[board]->setMinimumWidth(Label_Board[board]->fontMetrics().averageCharWidth() * 40);
        row(board == Cartolina ? l : new QLabel, {Edit_Board[board], Label_Board[board]});
    }
    l = label("Nº de Côres : ");
    Edit_NroCores = m_fields.add(QStringLiteral("Edit_NroCores"), QStringLiteral("NROCORES"), Kind::Integer, 2, l);
    QLabel* surface = label("(%) Superf. Impressão : ");
    Edit_SuperfImpr =
        m_fields.add(QStringLiteral("Edit_SuperfImpr"), QStringLiteral("SUPERFIMPR"), Kind::Number, 6, surface);
    row(l, {Edit_NroCores, label("(0 a 9)"), surface, Edit_SuperfImpr});
    l = label("Com Relevo ? : ");
    Edit_Relevo = m_fields.add(QStringLiteral("Edit_Relevo"), QStringLiteral("RELEVO"), Kind::Text, 1, l);
    QLabel* finishing = label("Acab. Normal : ");
    Edit_AcabNormal =
        m_fields.add(QStringLiteral("Edit_AcabNormal"), QStringLiteral("ACABNORMAL"), Kind::Text, 1, finishing);
    row(l, {Edit_Relevo, label("(S/N)"), finishing, Edit_AcabNormal, label("(S/N)")});

    auto* machines = new QGroupBox(QStringLiteral("Máquinas"));
    auto* machineGrid = new QGridLayout(machines);
    machineGrid->addWidget(label("Produção"), 0, 1);
    machineGrid->addWidget(label("Acerto"), 0, 2);
    for (int k = 0; k < 4; ++k) {
        QLabel* kind = new QLabel(QString::fromUtf8(MachineKinds[k]) + QStringLiteral(" : "));
        machineGrid->addWidget(kind, k + 1, 0);
        for (int j = 0; j < 2; ++j) {
            const MachineField& m = MachineFields[k * 2 + j];
            Edit_Machine[k * 2 + j] =
                m_fields.add(QString::fromLatin1(m.name), QString::fromLatin1(m.column), Kind::Integer, 2, kind);
            machineGrid->addWidget(Edit_Machine[k * 2 + j], k + 1, j + 1);
        }
    }
    machineGrid->setColumnStretch(3, 1);
    grid->addWidget(machines, r++, 0, 1, 2);
    l = label("Tipo :  ");
    Edit_C_ColTipo = m_fields.add(QStringLiteral("Edit_C_ColTipo"), QStringLiteral("C_COLTIPO"), Kind::Integer, 2, l);
    row(l, {Edit_C_ColTipo, label("1-Micro"), label("2-Canal B"), label("3-Placa")});
    grid->setRowStretch(r, 1);
    return panel;
}

bool WorksheetProductionPage::skipWhileCancelling() const { return m_w.cancelled; }

std::optional<double> WorksheetProductionPage::required(QLineEdit* field, const QString& message)
{
    const auto value = kv::text::parseNumber(field->text());
    if (!value)
        m_form.rejectField(message);
    return value;
}

void WorksheetProductionPage::keep(QLineEdit* field)
{
    if (m_w.row)
        m_fields.store(field, *m_w.row);
}

// Every sheet count is divided by the units per sheet: 0 is refused as an
// empty field is.
void WorksheetProductionPage::Edit_UndPlanoExit()
{
    if (!m_w.row || skipWhileCancelling())
        return;
    const auto units = kv::text::parseInteger(Edit_UndPlano->text());
    if (!units || *units <= 0) {
        m_form.rejectField();
        return;
    }
    m_w.unitsPerSheet = static_cast<int>(*units);
    keep(Edit_UndPlano);
}

void WorksheetProductionPage::Edit_Comprim1Exit()
{
    if (!m_w.row || skipWhileCancelling())
        return;
    const auto length = required(Edit_Comprim1, QStringLiteral("Insira o comprimento do plano !!!"));
    if (!length)
        return;
    m_w.sheetFormats[0] = *length;
    keep(Edit_Comprim1);
}

void WorksheetProductionPage::Edit_Largura1Exit()
{
    if (!m_w.row)
        return;
    const auto width = required(Edit_Largura1, QStringLiteral("Insira a Largura do plano !!!"));
    if (!width)
        return;
    m_w.sheetFormats[1] = *width;
    m_w.sheetFormats[2] = 0;
    m_w.sheetFormats[3] = 0;
    m_w.sheetArea = m_w.formatArea(1);
    keep(Edit_Largura1);
}

bool WorksheetProductionPage::Edit_OptionalNumberExit(QLineEdit* field)
{
    return m_w.row && m_fields.acceptNumber(field, *m_w.row);
}

void WorksheetProductionPage::Edit_Comprim2Exit()
{
    if (Edit_OptionalNumberExit(Edit_Comprim2))
        m_w.sheetFormats[2] = m_w.row->number(QStringLiteral("PLNCOMPRIM2"));
}

void WorksheetProductionPage::Edit_Largura2Exit()
{
    if (!Edit_OptionalNumberExit(Edit_Largura2))
        return;
    m_w.sheetFormats[2] = m_w.row->number(QStringLiteral("PLNCOMPRIM2"));
    m_w.sheetFormats[3] = m_w.row->number(QStringLiteral("PLNLARGURA2"));
    m_w.sheetArea += m_w.formatArea(2);
}

void WorksheetProductionPage::Edit_BoardEnter(Board board)
{
    if (Edit_Board[board]->text().trimmed() == QLatin1String("0"))
        Edit_Board[board]->clear();
}

void WorksheetProductionPage::Edit_BoardExit(Board board)
{
    if (!m_w.row)
        return;
    const QString name = QString::fromLatin1(BoardNames[board]);
    const QString typed = Edit_Board[board]->text().trimmed();
    if (typed.isEmpty()) {
        m_w.boards[board] = 0;
        m_w.row->set(QString::fromLatin1(BoardColumns[board]), 0);
        Label_Board[board]->clear();
        return;
    }
    const auto code = kv::text::parseInteger(typed);
    if (!code || *code <= 0) {
        m_form.rejectField(QStringLiteral("Referência de %1 Inválida").arg(name));
        return;
    }
    showBoard(board, *code);
    if (Label_Board[board]->text().isEmpty()) {
        m_form.rejectField(QStringLiteral("Referência de %1 Inexistente").arg(name));
        return;
    }
    m_w.boards[board] = static_cast<int>(*code);
    keep(Edit_Board[board]);
}

void WorksheetProductionPage::showBoard(Board board, qint64 code)
{
    const WorksheetReferences references(*m_environment.invoicing(), *m_environment.application());
    Label_Board[board]->setText(code > 0 ? references.board(code).value_or(QString()) : QString());
}

void WorksheetProductionPage::Edit_NroCoresEnter()
{
    if (m_w.boards[Cartolina] == 0 && m_w.boards[MicroCanal] == 0 && m_w.boards[Placa] == 0) {
        kv::ui::messages().fail(QStringLiteral("Seleccione a Matéria Prima por Favor !!!"));
        m_form.focusField(Edit_Board[Cartolina]);
    }
}

void WorksheetProductionPage::Edit_NroCoresExit()
{
    if (!m_w.row)
        return;
    const QString typed = Edit_NroCores->text().trimmed();
    if (typed.isEmpty()) {
        Edit_NroCores->setText(QStringLiteral("0"));
        Edit_SuperfImpr->setText(QStringLiteral("0"));
        m_w.colours = 0;
        m_w.row->set(QStringLiteral("NROCORES"), 0);
        m_w.row->set(QStringLiteral("SUPERFIMPR"), 0.0);
        Edit_SuperfImpr->setEnabled(false);
        m_form.focusField(Edit_Relevo);
        return;
    }
    const auto colours = kv::text::parseInteger(typed);
    if (!colours || *colours < 0 || *colours >= 10) {
        m_form.rejectField(QStringLiteral("Nº de Côres Inválida"));
        return;
    }
    m_w.colours = static_cast<int>(*colours);
    keep(Edit_NroCores);
    Edit_SuperfImpr->setEnabled(true);
    m_form.focusField(Edit_SuperfImpr);
}

void WorksheetProductionPage::Edit_SuperfImprExit()
{
    if (!m_w.row)
        return;
    if (m_w.colours != 0) {
        const auto surface = kv::text::parseNumber(Edit_SuperfImpr->text());
        if (!surface || *surface == 0) {
            m_form.rejectField(QStringLiteral("Superficie de Impressão Inválida"));
            return;
        }
    }
    keep(Edit_SuperfImpr);
}

void WorksheetProductionPage::Edit_YesNoExit(QLineEdit* field)
{
    if (!m_w.row)
        return;
    const QString typed = field->text().trimmed();
    if (typed != QLatin1String("S") && typed != QLatin1String("N")) {
        m_form.rejectField(QStringLiteral("Digite [S]im ou [N]ão !!!"));
        return;
    }
    keep(field);
}

void WorksheetProductionPage::Edit_RangeExit(QLineEdit* field, int highest)
{
    if (!m_w.row)
        return;
    const auto value = kv::text::parseInteger(field->text());
    if (!value || *value < 1 || *value > highest) {
        m_form.rejectField(QStringLiteral("Digite de [1...%1]").arg(highest));
        return;
    }
    keep(field);
}

void WorksheetProductionPage::Edit_C_ColTipoExit()
{
    if (!m_w.row)
        return;
    const auto value = kv::text::parseInteger(Edit_C_ColTipo->text());
    if (!value || *value < 1 || *value > 3) {
        m_form.rejectField(QStringLiteral("Digite de [1...3]"));
        return;
    }
    keep(Edit_C_ColTipo);
    m_host.changePage(DetailPage);
}

void WorksheetProductionPage::boardLookup(Board board, bool byDesignation)
{
    std::unique_ptr<kv::db::Dataset> own;
    kv::db::Dataset* list = nullptr;
    if (byDesignation) {
        own = WorksheetReferences::boardsByDesignation(m_environment.application());
        list = own.get();
    } else {
        list = &m_environment.modules->dataset(QStringLiteral("ZURIVAVEZA.PAPEIS"));
    }
    if (!list->isOpen())
        list->open();
    std::vector<kv::ui::GridColumn> columns{{QStringLiteral("CODIGO"), QStringLiteral("Código Nº"), 8, {}},
                                            {QStringLiteral("DESIGNACAO"), QStringLiteral("Designação"), 40, {}},
                                            {QStringLiteral("ARTIGO"), QStringLiteral("Artigo Nº"), 16, {}}};
    if (byDesignation)
        std::swap(columns[0], columns[1]);
    if (!kv::costing::runLookup(*list, std::move(columns), &m_form) || list->isEmpty())
        return;
    Edit_Board[board]->setText(QString::number(list->value(QStringLiteral("CODIGO")).toLongLong()));
}

void WorksheetProductionPage::clearLabels()
{
    for (QLabel* label : Label_Board)
        label->clear();
}

void WorksheetProductionPage::load(const QuoteRow& row)
{
    m_fields.load(row);
    m_w.unitsPerSheet = static_cast<int>(row.integer(QStringLiteral("UNDPLANO")));
    const char* formats[4] = {"PLNCOMPRIM1", "PLNLARGURA1", "PLNCOMPRIM2", "PLNLARGURA2"};
    for (int i = 0; i < 4; ++i)
        m_w.sheetFormats[i] = row.number(QString::fromLatin1(formats[i]));
    m_w.colours = static_cast<int>(row.integer(QStringLiteral("NROCORES")));
    m_w.sheetArea = m_w.formatArea(1) + (m_w.sheetFormats[2] != 0 ? m_w.formatArea(2) : 0.0);
    for (Board board : {Cartolina, MicroCanal, Placa})
        showBoard(board, row.integer(QString::fromLatin1(BoardColumns[board])));
    Edit_SuperfImpr->setEnabled(true);
}

void WorksheetProductionPage::store(QuoteRow& row) const { m_fields.store(row); }

} // namespace kv::quotes
