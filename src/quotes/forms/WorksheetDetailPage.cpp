#include "quotes/forms/WorksheetDetailPage.h"
#include "quotes/forms/WorksheetPageFields.h"

#include "quotes/core/LineEntry.h"
#include "quotes/core/QuoteLineLists.h"
#include "quotes/core/QuoteRepository.h"
#include "quotes/forms/TORCF021.h"

#include "costing/core/ListStatement.h"
#include "costing/core/ProcedureLines.h"
#include "costing/forms/FieldLookup.h"

#include "platform/db/Dataset.h"
#include "platform/db/DbError.h"
#include "platform/text/NumberText.h"
#include "platform/ui/DbGrid.h"
#include "platform/ui/DbNavigator.h"
#include "platform/ui/FieldWidth.h"
#include "platform/ui/Form.h"
#include "platform/ui/FormColours.h"
#include "platform/ui/LookupDialog.h"
#include "platform/ui/MessageService.h"
#include "platform/ui/TGlyphButton.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include <algorithm>

namespace kv::quotes {

namespace {

const QString Quantity1Message = QStringLiteral("Quantidade Inválida");
const QString ProcedureMissing = QStringLiteral("Procedimento Inexistente");

// The dialog columns of a cost table's code lookups: the numeric list, and
// the alphabetic one (designation first) with its own order.
struct CodeLookup {
    int type;
    std::vector<kv::ui::GridColumn> numeric;
    std::vector<kv::ui::GridColumn> alphabetic;
    QStringList alphabeticOrder;
    QString caption = QStringLiteral("Localizar");
};

kv::ui::GridColumn column(const char* field, const char* title, int width)
{
    return {QString::fromLatin1(field), QString::fromUtf8(title), width, {}};
}

const CodeLookup* codeLookup(int type)
{
    static const std::vector<CodeLookup> all = [] {
        const QStringList byName{QStringLiteral("DESIGNACAO")};
        const QStringList byCode{QStringLiteral("CODIGO")};
        auto designationFirst = [](std::vector<kv::ui::GridColumn> columns) {
            std::swap(columns[0], columns[1]);
            return columns;
        };
        auto article = [&](int tableType) {
            std::vector<kv::ui::GridColumn> n{column("CODIGO", "Artigo Nº", 10), column("DESIGNACAO", "Designação", 30),
                                              column("PRECO", "Preço", 10)};
            return CodeLookup{tableType, n, designationFirst(n), byName};
        };
        std::vector<CodeLookup> list;
        const std::vector<kv::ui::GridColumn> machines{column("CODIGO", "Máquina Nº", 10),
                                                       column("DESIGNACAO", "Designação", 30)};
        list.push_back({1, machines, designationFirst(machines), byName});
        list.push_back(article(2));
        list.push_back(article(3));
        const std::vector<kv::ui::GridColumn> glues{
            column("CODIGO", "Artigo Nº", 10), column("DESIGNACAO", "Designação", 30),
            column("PERC", "( % )", 6),        column("PRECO", "Preço", 10),
            column("TIPOCALC", "T.C.", 3),     column("TIPOCALCDES", "Rotina Cálculo", 30)};
        list.push_back({4, glues, designationFirst(glues), byName});
        list.push_back(article(5));
        list.push_back(article(6));
        const std::vector<kv::ui::GridColumn> finishes{column("CODIGO", "Código Nº", 10),
                                                       column("DESIGNACAO", "Designação", 30),
                                                       column("CUSTOFIXO", "Custo Fixo", 10)};
        list.push_back({7, finishes, designationFirst(finishes), byName});
        const std::vector<kv::ui::GridColumn> boards{column("CODIGO", "Artigo Nº", 10),
                                                     column("DESIGNACAO", "Designação", 30),
                                                     column("GRAMAGEM", "Gramagem", 8), column("PRECO", "Preço", 10)};
        list.push_back({8, boards, {boards[1], boards[2], boards[3]}, byName});
        const std::vector<kv::ui::GridColumn> cuttings{column("CODIGO", "Código Nº", 10),
                                                       column("DESIGNACAO", "Designação", 30),
                                                       column("CUSTOPPLANO", "Custo P/Plano", 10)};
        list.push_back({9, cuttings, designationFirst(cuttings), byCode});
        const std::vector<kv::ui::GridColumn> fixed{
            column("CODIGO", "Código", 10), column("DESIGNACAO", "Designação", 30), column("PRECO", "Preço", 10)};
        list.push_back({10, fixed, designationFirst(fixed), byCode});
        list.push_back({11, fixed, {fixed[1], fixed[2]}, byName, QStringLiteral("Localiar")});
        const std::vector<kv::ui::GridColumn> transport{column("CODIGO", "Codigo", 10), column("PAIS", "País", 20),
                                                        column("REGIAO", "Região", 20),
                                                        column("PROVINCIA", "Província", 20)};
        list.push_back({99,
                        transport,
                        {transport[1], transport[2], transport[3]},
                        {QStringLiteral("PAIS"), QStringLiteral("REGIAO")}});
        return list;
    }();
    for (const CodeLookup& l : all)
        if (l.type == type)
            return &l;
    return nullptr;
}

// A whole number typed into a field; empty for an empty field or other text.
std::optional<qint64> typedInteger(const QLineEdit* edit)
{
    const QString text = edit->text().trimmed();
    if (text.isEmpty())
        return std::nullopt;
    return kv::text::parseInteger(text);
}

std::optional<double> typedNumber(const QLineEdit* edit)
{
    const QString text = edit->text().trimmed();
    if (text.isEmpty())
        return std::nullopt;
    return kv::text::parseNumber(text);
}

QString integerText(qint64 value) { return QString::number(value); }

void paintTitles(kv::ui::DbGrid* grid, bool editing)
{
    grid->horizontalHeader()->setStyleSheet(
        QStringLiteral("QHeaderView::section { background-color: %1; }")
            .arg((editing ? kv::ui::editingLabelColour() : kv::ui::formColour()).name()));
}

} // namespace

WorksheetDetailPage::WorksheetDetailPage(kv::ui::Form& form, WorksheetState& state, QuoteFormsEnvironment environment,
                                         WorksheetDetailCallbacks callbacks, QWidget* parent)
    : QWidget(parent), m_form(form), m_state(state), m_environment(environment), m_callbacks(std::move(callbacks))
{
    setObjectName(QStringLiteral("PageDetail"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    auto* top = new QHBoxLayout;
    top->addWidget(buildQuantities(), 1);
    top->addWidget(WorksheetPageFields::photoBox(ML3, QStringLiteral("ML3")), 0, Qt::AlignTop);
    layout->addLayout(top);

    DBGrid1 = new kv::ui::DbGrid(this);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    BotNavig = new kv::ui::DbNavigator(this);
    BotNavig->setObjectName(QStringLiteral("BotNavig"));
    auto* totals = new QHBoxLayout;
    totals->addWidget(BotNavig);
    totals->addStretch(1);
    totals->addWidget(new QLabel(QStringLiteral("Totais : ")));
    for (int n = 0; n < 3; ++n) {
        Edit_Total[n] = readOnly(QStringLiteral("Edit_Total%1").arg(n + 1), 14);
        totals->addWidget(Edit_Total[n]);
    }
    layout->addWidget(DBGrid1, 1);
    layout->addLayout(totals);
    layout->addWidget(buildLineFields());

    auto* buttons = new QHBoxLayout;
    auto button = [this, buttons](kv::ui::TGlyphButton*& target, const char* name, const char* caption,
                                  const char* hint, void (WorksheetDetailPage::*handler)()) {
        target = new kv::ui::TGlyphButton(QString::fromUtf8(caption), this);
        target->setObjectName(QString::fromLatin1(name));
        target->setToolTip(QString::fromUtf8(hint));
        connect(target, &kv::ui::TGlyphButton::clicked, this, handler);
        buttons->addWidget(target);
    };
    button(BotInserirLinha, "BotInserirLinha", "&Inserir ", "Inserir Linha",
           &WorksheetDetailPage::BotInserirLinhaClick);
    button(BotCancLinha, "BotCancLinha", "&Cancelar", "Cancelar Linha", &WorksheetDetailPage::BotCancLinhaClick);
    button(BotAlterarLinha, "BotAlterarLinha", "&Alteração", "Alterar Documento",
           &WorksheetDetailPage::BotAlterarLinhaClick);
    button(BotDeleteLinha, "BotDeleteLinha", "&Eliminar", "Eliminar Linha", &WorksheetDetailPage::BotDeleteLinhaClick);
    buttons->addStretch(1);
    BotTotais = new kv::ui::TGlyphButton(QStringLiteral("&Finalização"), this);
    BotTotais->setObjectName(QStringLiteral("BotTotais"));
    BotTotais->setToolTip(QStringLiteral("Fechar Documento"));
    connect(BotTotais, &kv::ui::TGlyphButton::clicked, this, [this] { m_callbacks.finish(); });
    buttons->addWidget(BotTotais);
    layout->addLayout(buttons);

    m_lists = std::make_unique<QuoteLineLists>(m_environment.application(), m_environment.state->WUtil);
    DBGrid1->setDataset(&m_lists->lines(), lineColumns({}));
    BotNavig->setDataset(&m_lists->lines());
    DBGrid2->setDataset(&m_lists->chosen(), {column("CODIGO", "Proc.Nº", 8), column("DESIGNACAO", "Designação", 30)});
    connect(&m_lists->lines(), &kv::db::Dataset::currentChanged, this, [this] { Edit_OrcdCodChange(); });
    connect(&m_lists->lines(), &kv::db::Dataset::reset, this, [this] { Edit_OrcdCodChange(); });

    for (int n = 0; n < 3; ++n) {
        m_form.setEnterHandler(Edit_QtdOrc[n], [this, n] { Edit_QtdOrcEnter(n + 1); });
        m_form.setExitHandler(Edit_QtdOrc[n], [this, n] { Edit_QtdOrcExit(n + 1); });
    }
    m_form.setEnterHandler(Edit_Unidade, [this] { Edit_UnidadeEnter(); });
    m_form.setExitHandler(Edit_Unidade, [this] { Edit_UnidadeExit(); });
    m_form.setKeyHint(Edit_Procedim,
                      QStringLiteral("Tecla <Insert> Seleccionar Procedimento -- Digite [0] c/ Botão <Iniciar> para "
                                     "Orçamento"));
    m_form.setExitHandler(Edit_Procedim, [this] { Edit_ProcedimExit(); });
    kv::costing::addFieldAction(Edit_Procedim, QStringLiteral("Procurar"), QKeySequence(Qt::Key_Insert),
                                [this] { ProcProcedimClick(); });
    m_form.setEnterHandler(DBGrid1, [this] { DBGrid1Enter(); });
    m_form.setExitHandler(DBGrid1, [this] { DBGrid1Exit(); });
    kv::costing::addFieldAction(DBGrid1, QStringLiteral("Inserir Linha"), QKeySequence(Qt::Key_Insert),
                                [this] { BotInserirLinhaClick(); });
    kv::costing::addFieldAction(DBGrid1, QStringLiteral("Eliminar Linha"), QKeySequence(Qt::Key_Delete),
                                [this] { BotDeleteLinhaClick(); });
    m_form.setExitHandler(Edit_TipoTab, [this] { Edit_TipoTabExit(); });
    kv::costing::addFieldAction(Edit_TipoTab, QStringLiteral("Procura Numérica"), QKeySequence(Qt::Key_Insert),
                                [this] { ProcTipoTabClick(); });
    m_form.setKeyHint(Edit_CodTab, kv::costing::numericAlphabeticHint());
    m_form.setExitHandler(Edit_CodTab, [this] { Edit_CodTabExit(); });
    kv::costing::addFieldAction(Edit_CodTab, QStringLiteral("Procura Numérica"), QKeySequence(Qt::Key_Insert),
                                [this] { ProcTabelasClick(false); });
    kv::costing::addFieldAction(Edit_CodTab, QStringLiteral("Procura Alfabética"),
                                QKeySequence(Qt::CTRL | Qt::Key_Insert), [this] { ProcTabelasClick(true); });
    m_form.setExitHandler(Edit_NroEnt, [this] { Edit_NroEntExit(); });
    m_form.setExitHandler(Edit_PrdHor, [this] { Edit_PrdHorExit(); });
    m_form.setExitHandler(Edit_Acerto, [this] { Edit_AcertoExit(); });
    m_form.setExitHandler(Edit_Perc, [this] { Edit_PercExit(); });
    m_form.setExitHandler(Edit_Custo, [this] { Edit_CustoExit(); });
    m_form.setExitHandler(Edit_Qtd, [this] { Edit_QtdExit(); });

    enableLineFields(false);
    setLineButtons(false);
    BotTotais->setEnabled(false);
    BotQtds->setEnabled(false);
}

WorksheetDetailPage::~WorksheetDetailPage() = default;

// ------------------------------------------------------------------ layout

QLineEdit* WorksheetDetailPage::field(const QString& name, int characters, QLabel* caption)
{
    auto* e = new QLineEdit(this);
    e->setObjectName(name);
    kv::ui::setFieldWidth(e, characters);
    if (caption)
        m_form.setCaptionLabel(e, caption);
    return e;
}

QLineEdit* WorksheetDetailPage::readOnly(const QString& name, int characters)
{
    QLineEdit* e = field(name, characters, nullptr);
    e->setEnabled(false);
    e->setFocusPolicy(Qt::NoFocus);
    return e;
}

QWidget* WorksheetDetailPage::buildQuantities()
{
    auto* block = new QWidget(this);
    auto* row = new QHBoxLayout(block);
    row->setContentsMargins(0, 0, 0, 0);
    auto* grid = new QGridLayout;
    grid->setVerticalSpacing(2);
    grid->addWidget(new QLabel(QStringLiteral("Quantidades")), 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("Nº Planos")), 0, 2);
    grid->addWidget(new QLabel(QStringLiteral("Preço Unit.")), 0, 3);
    grid->addWidget(new QLabel(QStringLiteral("Valor")), 0, 4);
    const char* captions[3] = {"Qtd. I : ", "Qtd. II : ", "Qtd. III : "};
    for (int n = 0; n < 3; ++n) {
        auto* caption = new QLabel(QString::fromLatin1(captions[n]));
        Edit_QtdOrc[n] = field(QStringLiteral("Edit_QtdOrc%1").arg(n + 1), 10, caption);
        Edit_QtdOrc[n]->setAlignment(Qt::AlignRight);
        Label_Tiragem[n] = new QLabel;
        Label_Tiragem[n]->setObjectName(QStringLiteral("Label_Tiragem%1").arg(n + 1));
        Label_Tiragem[n]->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        Label_Tiragem[n]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        Label_Tiragem[n]->setMinimumWidth(Label_Tiragem[n]->fontMetrics().averageCharWidth() * 10 + 8);
        Edit_PrecoOrc[n] = readOnly(QStringLiteral("Edit_PrecoOrc%1").arg(n + 1), 12);
        Edit_ValorOrc[n] = readOnly(QStringLiteral("Edit_ValorOrc%1").arg(n + 1), 14);
        grid->addWidget(caption, n + 1, 0);
        grid->addWidget(Edit_QtdOrc[n], n + 1, 1);
        grid->addWidget(Label_Tiragem[n], n + 1, 2);
        grid->addWidget(Edit_PrecoOrc[n], n + 1, 3);
        grid->addWidget(Edit_ValorOrc[n], n + 1, 4);
    }
    row->addLayout(grid);
    row->addSpacing(16);

    auto* right = new QGridLayout;
    right->setVerticalSpacing(2);
    auto* unit = new QLabel(QStringLiteral("Unidade de Orçamentação : "));
    Edit_Unidade = field(QStringLiteral("Edit_Unidade"), 2, unit);
    Label_Unidades = new QLabel(QStringLiteral("(U) - Unidades  /  (M) - Milhares"));
    Label_Unidades->setObjectName(QStringLiteral("Label_Unidades"));
    Label_Unidades->setVisible(false);
    auto* unitRow = new QHBoxLayout;
    unitRow->addWidget(Edit_Unidade);
    unitRow->addWidget(Label_Unidades);
    unitRow->addStretch(1);
    right->addWidget(unit, 0, 0);
    right->addLayout(unitRow, 0, 1);
    auto* procedure = new QLabel(QStringLiteral("Selec.Proced. : "));
    Edit_Procedim = field(QStringLiteral("Edit_Procedim"), 6, procedure);
    BotDeleteProcedim = new kv::ui::TGlyphButton(QStringLiteral("Eliminar Procedimento"), this);
    BotDeleteProcedim->setObjectName(QStringLiteral("BotDeleteProcedim"));
    connect(BotDeleteProcedim, &kv::ui::TGlyphButton::clicked, this, &WorksheetDetailPage::BotDeleteProcedimClick);
    auto* procedureRow = new QHBoxLayout;
    procedureRow->addWidget(Edit_Procedim);
    procedureRow->addWidget(BotDeleteProcedim);
    procedureRow->addStretch(1);
    right->addWidget(procedure, 1, 0);
    right->addLayout(procedureRow, 1, 1);
    DBGrid2 = new kv::ui::DbGrid(this);
    DBGrid2->setObjectName(QStringLiteral("DBGrid2"));
    DBGrid2->setFocusPolicy(Qt::ClickFocus);
    DBGrid2->setMaximumHeight(DBGrid2->fontMetrics().height() * 5);
    right->addWidget(DBGrid2, 2, 1);
    row->addLayout(right, 1);

    auto* actions = new QVBoxLayout;
    BotQtds = new kv::ui::TGlyphButton(QStringLiteral("&Quantidades"), this);
    BotQtds->setObjectName(QStringLiteral("BotQtds"));
    BotQtds->setToolTip(QStringLiteral("Alterar Quantidades"));
    connect(BotQtds, &kv::ui::TGlyphButton::clicked, this, &WorksheetDetailPage::BotQtdsClick);
    BotIniciar = new kv::ui::TGlyphButton(QStringLiteral("&Iniciar"), this);
    BotIniciar->setObjectName(QStringLiteral("BotIniciar"));
    BotIniciar->setToolTip(QStringLiteral("Iniciar Cálculos"));
    connect(BotIniciar, &kv::ui::TGlyphButton::clicked, this, &WorksheetDetailPage::BotIniciarClick);
    actions->addWidget(BotQtds);
    actions->addWidget(BotIniciar);
    actions->addStretch(1);
    row->addLayout(actions);
    return block;
}

QWidget* WorksheetDetailPage::buildLineFields()
{
    auto* block = new QWidget(this);
    auto* grid = new QGridLayout(block);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setVerticalSpacing(2);
    auto* type = new QLabel(QStringLiteral("Tipo de Tabela  : "));
    Edit_TipoTab = field(QStringLiteral("Edit_TipoTab"), 3, type);
    Edit_NomeTabela = readOnly(QStringLiteral("Edit_NomeTabela"), 25);
    auto* code = new QLabel(QStringLiteral("Código da Tabela : "));
    Edit_CodTab = field(QStringLiteral("Edit_CodTab"), 8, code);
    Edit_DesTab = readOnly(QStringLiteral("Edit_DesTab"), 30);
    Edit_TipoCusto = readOnly(QStringLiteral("Edit_TipoCusto"), 3);
    auto* passes = new QLabel(QStringLiteral("Nº Passagens : "));
    Edit_NroEnt = field(QStringLiteral("Edit_NroEnt"), 3, passes);
    auto* grade = new QLabel(QStringLiteral("Prod.Hora : "));
    Edit_PrdHor = field(QStringLiteral("Edit_PrdHor"), 3, grade);
    auto* choice = new QLabel(QStringLiteral("Acerto : "));
    Edit_Acerto = field(QStringLiteral("Edit_Acerto"), 3, choice);
    auto* percentage = new QLabel(QStringLiteral("Custo  (%) : "));
    Edit_Perc = field(QStringLiteral("Edit_Perc"), 8, percentage);
    auto* price = new QLabel(QStringLiteral("Custo  € : "));
    Edit_Custo = field(QStringLiteral("Edit_Custo"), 12, price);
    auto* km = new QLabel(QStringLiteral("Nº de Kms : "));
    Edit_Qtd = field(QStringLiteral("Edit_Qtd"), 8, km);
    for (QLineEdit* number : {Edit_NroEnt, Edit_PrdHor, Edit_Acerto, Edit_Perc, Edit_Custo, Edit_Qtd})
        number->setAlignment(Qt::AlignRight);

    // One row of captions and fields, left to right, the rest of the row empty.
    auto row = [grid](int at, std::initializer_list<QWidget*> widgets) {
        auto* box = new QHBoxLayout;
        for (QWidget* w : widgets) {
            if (qobject_cast<QLabel*>(w) && box->count() > 0)
                box->addSpacing(12);
            box->addWidget(w);
        }
        box->addStretch(1);
        grid->addLayout(box, at, 0);
    };
    row(0, {type, Edit_TipoTab, Edit_NomeTabela, code, Edit_CodTab, Edit_DesTab, Edit_TipoCusto});
    row(1, {passes, Edit_NroEnt, grade, Edit_PrdHor, choice, Edit_Acerto});
    row(2, {percentage, Edit_Perc, price, Edit_Custo, km, Edit_Qtd});
    return block;
}

std::vector<kv::ui::GridColumn> WorksheetDetailPage::lineColumns(const QStringList& valueTitles) const
{
    std::vector<kv::ui::GridColumn> columns{
        column("CODTAB", "Cód", 6),           column("DESIGN", "Designação", 30),  column("QUANTID", "Kms", 6),
        column("NROPASSAGENS", "NP", 3),      column("PRDHOR", "Prd.Hora", 8),     column("ACERTO", "Acerto", 7),
        column("TIPOCUSTO", "T.C.", 4),       column("PRECO", "Preço ", 10),       column("VALQTD1", "Quantid - 1", 12),
        column("VALQTD2", "Quantid - 2", 12), column("VALQTD3", "Quantid - 3", 12)};
    for (int n = 0; n < valueTitles.size() && n < 3; ++n)
        columns[static_cast<std::size_t>(8 + n)].title = valueTitles[n];
    // Money as the worksheet shows it, whatever the column's type.
    const int decimals = m_state.priceDecimals;
    for (std::size_t c = 7; c < columns.size(); ++c)
        columns[c].format = [decimals](const QVariant& v) {
            return v.isNull() ? QString() : kv::text::number(v.toDouble(), decimals);
        };
    return columns;
}

// ----------------------------------------------------------- page and rows

int WorksheetDetailPage::quoteNumber() const { return m_state.quoteNumber; }
int WorksheetDetailPage::subQuote() const { return m_state.subQuote; }

// Lines belong to a stored sub-quote row: a new quote has none before
// "&Iniciar" stores it.
bool WorksheetDetailPage::quoteStored() const { return m_state.row && !m_state.newQuote; }

void WorksheetDetailPage::activate()
{
    m_lists->reopenChosen();
    resetValueTitles();
}

void WorksheetDetailPage::close()
{
    m_lists->lines().close();
    m_lists->chosen().close();
    for (int type : m_searchedTypes)
        if (const kv::costing::TableSearch* search = kv::costing::tableSearch(type)) {
            kv::db::Dataset& table = m_environment.modules->dataset(search->dataset);
            table.close();
            table.setSql(search->standardStatement());
        }
    m_searchedTypes.clear();
}

void WorksheetDetailPage::clear()
{
    m_entering = false;
    for (int n = 0; n < 3; ++n) {
        Edit_QtdOrc[n]->clear();
        Label_Tiragem[n]->clear();
        Edit_PrecoOrc[n]->clear();
        Edit_ValorOrc[n]->clear();
        Edit_Total[n]->clear();
    }
    Edit_Unidade->clear();
    Edit_Procedim->clear();
    m_lists->lines().close();
    enableLineFields(false);
    setLineButtons(false);
    BotTotais->setEnabled(false);
}

void WorksheetDetailPage::load(const QuoteRow& row)
{
    clear();
    for (int n = 1; n <= 3; ++n) {
        const QString column = quantityColumn("QTDORC", n);
        Edit_QtdOrc[n - 1]->setText(row.isNull(column) ? QString() : kv::text::plain(row.number(column)));
    }
    Edit_Unidade->setText(row.text(QStringLiteral("UNIDADE")).trimmed());
    showMoney();
    if (quoteStored())
        showLines();
}

void WorksheetDetailPage::store(QuoteRow& row) const
{
    for (int n = 1; n <= 3; ++n)
        row.set(quantityColumn("QTDORC", n), typedNumber(Edit_QtdOrc[n - 1]).value_or(0.0));
    row.set(QStringLiteral("UNIDADE"), Edit_Unidade->text().trimmed());
}

void WorksheetDetailPage::showMoney()
{
    if (!m_state.row)
        return;
    const QuoteRow& row = *m_state.row;
    const int d = m_state.priceDecimals;
    for (int n = 1; n <= 3; ++n) {
        const double sheets = row.number(quantityColumn("NPLANOS", n));
        Label_Tiragem[n - 1]->setText(sheets != 0.0 ? kv::text::plain(sheets) : QString());
        Edit_PrecoOrc[n - 1]->setText(kv::text::number(row.number(quantityColumn("PRECOORC", n)), d));
        Edit_ValorOrc[n - 1]->setText(kv::text::number(row.number(quantityColumn("VALORORC", n)), d));
        Edit_Total[n - 1]->setText(Edit_ValorOrc[n - 1]->text());
    }
}

void WorksheetDetailPage::showLines(int detail)
{
    try {
        m_lists->showLines(quoteNumber(), subQuote(), detail);
    } catch (const kv::db::DbError& error) {
        kv::ui::messages().fail(error.fullText());
    }
}

void WorksheetDetailPage::enter()
{
    if (!m_state.row)
        return;
    if (m_state.mode == WorksheetMode::BackFromTotals) {
        m_state.mode = WorksheetMode::Recalculate;
        // The notebook may have put the focus on the grid already.
        if (DBGrid1->hasFocus())
            DBGrid1Enter();
        else
            m_form.focusField(DBGrid1);
        return;
    }
    m_state.headerReset = false;
    m_state.row->set(QStringLiteral("UNIDADE"), QStringLiteral("U"));
    Edit_Unidade->setText(QStringLiteral("U"));
    BotQtds->setVisible(true);
    BotQtds->setEnabled(true);
    for (QLineEdit* quantity : Edit_QtdOrc)
        quantity->setEnabled(true);
    Edit_Procedim->setEnabled(true);
    BotIniciar->setEnabled(true);
    // A stored sub-quote may go on to its totals as it stands.
    BotTotais->setEnabled(quoteStored());
    if (quoteStored())
        showLines();
    m_form.focusField(Edit_QtdOrc[0]);
}

void WorksheetDetailPage::resetValueTitles()
{
    DBGrid1->setDataset(&m_lists->lines(), lineColumns({}));
    paintTitles(DBGrid1, false);
}

// ------------------------------------------------- quantities and procedures

void WorksheetDetailPage::Edit_QtdOrcEnter(int n)
{
    if (n == 1)
        BotQtds->setEnabled(false);
}

// The page's checks give way to "&Cancelar" and to a quote that was closed.
bool WorksheetDetailPage::checking() const { return m_state.row && !m_state.cancelled; }

void WorksheetDetailPage::Edit_QtdOrcExit(int n)
{
    if (!checking())
        return;
    QLineEdit* edit = Edit_QtdOrc[n - 1];
    const QString text = edit->text().trimmed();
    std::optional<double> value = text.isEmpty() && n > 1 ? std::optional<double>(0.0) : typedNumber(edit);
    // Quantity 1 divides every unit price: 0 is refused like an empty field.
    if (!value || (n == 1 && *value == 0.0)) {
        m_form.rejectField(Quantity1Message);
        return;
    }
    QuoteRow& row = *m_state.row;
    if (n > 1 && *value != 0.0 && row.quantity(n - 1) == 0.0) {
        kv::ui::messages().fail(QStringLiteral("Preencha a Quantidade-%1").arg(n - 1));
        m_form.focusField(Edit_QtdOrc[n - 2]);
        return;
    }
    row.set(quantityColumn("QTDORC", n), *value);
    Label_Tiragem[n - 1]->setText(kv::text::plain(*value));
}

void WorksheetDetailPage::Edit_UnidadeEnter() { Label_Unidades->setVisible(true); }

void WorksheetDetailPage::Edit_UnidadeExit()
{
    Label_Unidades->setVisible(false);
    if (!checking())
        return;
    const QString unit = Edit_Unidade->text().trimmed();
    if (unit != QLatin1String("U") && unit != QLatin1String("M")) {
        m_form.rejectField();
        return;
    }
    if (m_state.row)
        m_state.row->set(QStringLiteral("UNIDADE"), unit);
    QStringList titles;
    for (QLineEdit* quantity : Edit_QtdOrc)
        titles << kv::text::fixed(typedNumber(quantity).value_or(0.0), unit == QLatin1String("U") ? 0 : 2, 10);
    DBGrid1->setDataset(&m_lists->lines(), lineColumns(titles));
    paintTitles(DBGrid1, true);
}

void WorksheetDetailPage::Edit_ProcedimExit()
{
    if (!checking())
        return;
    const QString text = Edit_Procedim->text().trimmed();
    if (text.isEmpty()) {
        m_form.rejectField({}, false);
        return;
    }
    const auto code = kv::text::parseInteger(text);
    if (code && *code == 0)
        return;
    try {
        QuoteRepository repo(*m_environment.application());
        if (!code || !repo.procedureExists(static_cast<int>(*code))) {
            m_form.rejectField(ProcedureMissing);
            return;
        }
        const QString& user = m_environment.state->WUtil;
        const auto chosen = repo.chosenProcedures(user);
        if (std::find(chosen.begin(), chosen.end(), static_cast<int>(*code)) != chosen.end()) {
            m_form.rejectField(QStringLiteral("Procedimento já foi Seleccionado !!!"));
            return;
        }
        repo.addChosenProcedure(user, static_cast<int>(*code), repo.procedureName(static_cast<int>(*code)));
        m_lists->reopenChosen();
    } catch (const kv::db::DbError& error) {
        m_form.rejectField(error.fullText());
        return;
    }
    Edit_Procedim->clear();
    m_form.focusField(Edit_Procedim);
}

void WorksheetDetailPage::ProcProcedimClick()
{
    kv::db::Dataset& list = m_lists->procedures();
    list.close();
    list.open();
    if (!kv::costing::runLookup(list, {column("CODIGO", "Procedim.Nº", 8), column("DESIGNACAO", "Designação", 30)},
                                &m_form))
        return;
    Edit_Procedim->setText(integerText(list.value(QStringLiteral("CODIGO")).toLongLong()));
}

void WorksheetDetailPage::BotDeleteProcedimClick()
{
    kv::db::Dataset& chosen = m_lists->chosen();
    if (chosen.isOpen() && !chosen.isEmpty()) {
        QuoteRepository(*m_environment.application())
            .removeChosenProcedure(m_environment.state->WUtil, chosen.value(QStringLiteral("CODIGO")).toInt());
        m_lists->reopenChosen();
    }
    m_form.focusField(Edit_Procedim);
}

void WorksheetDetailPage::BotQtdsClick()
{
    for (int n = 0; n < 3; ++n) {
        Edit_QtdOrc[n]->setEnabled(true);
        Edit_QtdOrc[n]->clear();
        Label_Tiragem[n]->clear();
    }
    Edit_Procedim->setEnabled(true);
    BotIniciar->setEnabled(true);
    m_state.mode = WorksheetMode::Recalculate;
    m_form.focusField(Edit_QtdOrc[0]);
}

void WorksheetDetailPage::BotIniciarClick()
{
    if (!m_state.row)
        return;
    store(*m_state.row);
    if (m_state.row->quantity(1) == 0.0) {
        kv::ui::messages().fail(Quantity1Message);
        m_form.focusField(Edit_QtdOrc[0]);
        return;
    }
    int procedure = 0;
    const QString text = Edit_Procedim->text().trimmed();
    if (!text.isEmpty()) {
        const auto code = kv::text::parseInteger(text);
        bool exists = false;
        try {
            exists = code && (*code == 0 || QuoteRepository(*m_environment.application()).procedureExists(*code));
        } catch (const kv::db::DbError& error) {
            kv::ui::messages().fail(error.fullText());
            return;
        }
        if (!exists) {
            kv::ui::messages().fail(ProcedureMissing);
            m_form.focusField(Edit_Procedim);
            return;
        }
        procedure = static_cast<int>(*code);
    }
    m_callbacks.enableQuoteCancel(false);
    std::optional<SubQuote> calculated;
    try {
        calculated = m_callbacks.start(procedure);
    } catch (const kv::db::DbError& error) {
        kv::ui::messages().fail(error.fullText());
        return;
    }
    m_lists->reopenChosen();
    if (calculated)
        m_state.row = calculated->row;
    showMoney();
    showLines();
    Edit_Procedim->clear();
    Edit_Procedim->setEnabled(false);
    BotTotais->setEnabled(true);
    for (QLineEdit* quantity : Edit_QtdOrc)
        quantity->setEnabled(false);
    BotCancLinha->setEnabled(true);
    BotDeleteLinha->setEnabled(true);
    m_state.mode = WorksheetMode::Settled;
    // Enter on the procedure field may have put the focus on the grid while
    // a new quote was not stored yet: its entry runs again for the stored one.
    if (DBGrid1->hasFocus())
        DBGrid1Enter();
    else
        m_form.focusField(DBGrid1);
}

// ------------------------------------------------------------- line grid

void WorksheetDetailPage::setLineButtons(bool on)
{
    for (kv::ui::TGlyphButton* b : {BotInserirLinha, BotAlterarLinha, BotDeleteLinha, BotCancLinha})
        b->setEnabled(on);
}

void WorksheetDetailPage::enableLineFields(bool on)
{
    for (QLineEdit* e : {Edit_TipoTab, Edit_CodTab, Edit_Perc, Edit_Custo, Edit_Qtd})
        e->setEnabled(on);
    enableMachineFields(on);
}

void WorksheetDetailPage::enableMachineFields(bool on)
{
    for (QLineEdit* e : {Edit_NroEnt, Edit_PrdHor, Edit_Acerto})
        e->setEnabled(on);
}

void WorksheetDetailPage::DBGrid1Enter()
{
    if (m_entering)
        return;
    enableLineFields(false);
    paintTitles(DBGrid1, true);
    const bool stored = quoteStored();
    setLineButtons(stored);
    BotQtds->setEnabled(stored);
    BotTotais->setEnabled(stored);
    if (stored && gridEntryRecalculates(m_state.mode)) {
        std::optional<SubQuote> recalculated;
        try {
            // The row as the page holds it (quantities changed through
            // "&Quantidades") is stored with its lines recalculated.
            store(*m_state.row);
            recalculated = m_lists->lines().isEmpty() ? m_callbacks.engine().recalculate(quoteNumber(), subQuote())
                                                      : m_callbacks.start(0);
        } catch (const kv::db::DbError& error) {
            kv::ui::messages().fail(error.fullText());
        }
        m_state.mode = WorksheetMode::Settled;
        if (recalculated)
            m_state.row = recalculated->row;
        showMoney();
        const int detail = m_lists->lines().isEmpty() ? 0 : m_lists->lines().value(QStringLiteral("DETAIL")).toInt();
        showLines(detail);
    }
    Edit_OrcdCodChange();
}

void WorksheetDetailPage::DBGrid1Exit()
{
    if (!m_entering)
        BotQtds->setEnabled(false);
    paintTitles(DBGrid1, false);
}

// The line fields follow the current line while no line is being entered.
void WorksheetDetailPage::Edit_OrcdCodChange()
{
    if (m_entering)
        return;
    kv::db::Dataset& lines = m_lists->lines();
    const bool has = lines.isOpen() && !lines.isEmpty();
    auto show = [&](QLineEdit* edit, const char* column) {
        edit->setText(has ? lines.value(QString::fromLatin1(column)).toString().trimmed() : QString());
    };
    show(Edit_TipoTab, "TIPOTABELA");
    show(Edit_CodTab, "CODTAB");
    show(Edit_DesTab, "DESIGN");
    show(Edit_TipoCusto, "TIPOCUSTO");
    show(Edit_NroEnt, "NROPASSAGENS");
    show(Edit_PrdHor, "CODPRDHOR");
    show(Edit_Acerto, "CODACERTO");
    Edit_Perc->setText(has ? kv::text::plain(lines.value(QStringLiteral("PERC")).toDouble()) : QString());
    Edit_Custo->setText(has ? kv::text::fixed(lines.value(QStringLiteral("PRECO")).toDouble(), 3) : QString());
    Edit_Qtd->setText(has ? kv::text::plain(lines.value(QStringLiteral("QUANTID")).toDouble()) : QString());
    QString name;
    if (has) {
        try {
            name = m_lists->tableTypeName(lines.value(QStringLiteral("TIPOTABELA")).toInt()).value_or(QString());
        } catch (const kv::db::DbError&) {
            name.clear();
        }
    }
    Edit_NomeTabela->setText(name);
}

void WorksheetDetailPage::beginEntry()
{
    m_entering = true;
    DBGrid1->setEnabled(false);
    for (kv::ui::TGlyphButton* b : {BotInserirLinha, BotAlterarLinha, BotDeleteLinha, BotQtds, BotTotais})
        b->setEnabled(false);
    BotCancLinha->setEnabled(true);
    for (QLineEdit* e : {Edit_TipoTab, Edit_NomeTabela, Edit_CodTab, Edit_DesTab, Edit_TipoCusto, Edit_Perc, Edit_Custo,
                         Edit_Qtd, Edit_NroEnt, Edit_PrdHor, Edit_Acerto})
        e->clear();
    enableLineFields(false);
}

// The entry is over: back to the grid, on the line entered when there is one.
void WorksheetDetailPage::endEntry(int detail)
{
    m_entering = false;
    m_adding = false;
    m_line = {};
    enableLineFields(false);
    DBGrid1->setEnabled(true);
    showLines(detail);
    m_form.focusField(DBGrid1);
}

void WorksheetDetailPage::BotInserirLinhaClick()
{
    if (m_entering || !quoteStored())
        return;
    beginEntry();
    m_adding = true;
    m_line = {};
    Edit_TipoTab->setEnabled(true);
    Edit_CodTab->setEnabled(true);
    m_form.focusField(Edit_TipoTab);
}

void WorksheetDetailPage::Edit_TipoTabExit()
{
    if (!m_adding)
        return;
    const QString text = Edit_TipoTab->text().trimmed();
    if (text.isEmpty())
        return;
    const auto type = kv::text::parseInteger(text);
    std::optional<QString> name;
    try {
        if (type)
            name = m_lists->tableTypeName(static_cast<int>(*type));
    } catch (const kv::db::DbError& error) {
        m_form.rejectField(error.fullText());
        return;
    }
    if (!name) {
        m_form.rejectField(kv::costing::invalidTableTypeMessage());
        return;
    }
    m_line.tableType = static_cast<int>(*type);
    Edit_Qtd->setEnabled(false);
    Edit_NomeTabela->setText(*name);
}

void WorksheetDetailPage::Edit_CodTabExit()
{
    if (!m_adding)
        return;
    const QString text = Edit_CodTab->text().trimmed();
    if (text.isEmpty()) {
        endEntry();
        return;
    }
    Edit_Perc->setEnabled(true);
    Edit_Custo->setEnabled(true);
    const auto code = kv::text::parseInteger(text);
    const auto type = typedInteger(Edit_TipoTab);
    std::optional<CostLine> line;
    if (code && type)
        line = LineEntry::start(m_callbacks.tables(), *m_state.row, static_cast<int>(*type), static_cast<int>(*code));
    if (!line) {
        m_form.rejectField();
        return;
    }
    m_line = *line;
    showEntryLine();
    Edit_TipoTab->setEnabled(false);
    Edit_CodTab->setEnabled(false);
    askAfterChoices();
    const LineEntry::Field first = LineEntry::firstField(m_callbacks.tables(), m_line);
    if (first == LineEntry::Field::Passes || first == LineEntry::Field::Grade) {
        enableMachineFields(true);
        Edit_NroEnt->setEnabled(first == LineEntry::Field::Passes);
        m_form.focusField(first == LineEntry::Field::Passes ? Edit_NroEnt : Edit_PrdHor);
    }
}

// The price or percentage asked once the line is known (and, for a machine,
// nothing: its price is its rate per hour).
void WorksheetDetailPage::askAfterChoices()
{
    const bool machine = isTableType(m_line.tableType, TableType::Machine);
    Edit_Custo->setEnabled(false);
    Edit_Perc->setEnabled(false);
    if (machine)
        return;
    if (LineEntry::asksPercentage(m_line.tableType)) {
        Edit_Perc->setEnabled(true);
        m_form.focusField(Edit_Perc);
    } else {
        m_line.percentage = 0;
        Edit_Custo->setEnabled(true);
        m_form.focusField(Edit_Custo);
    }
}

void WorksheetDetailPage::showEntryLine()
{
    Edit_TipoTab->setText(integerText(m_line.tableType));
    Edit_CodTab->setText(integerText(m_line.tableCode));
    Edit_DesTab->setText(m_line.designation);
    Edit_TipoCusto->setText(m_line.costClass);
    Edit_Custo->setText(kv::text::fixed(m_line.price, 3));
    Edit_Perc->setText(kv::text::plain(m_line.percentage));
    Edit_NroEnt->setText(integerText(m_line.passes));
    Edit_PrdHor->setText(integerText(m_line.grade));
    Edit_Acerto->setText(integerText(m_line.makeReadyChoice));
    Edit_Qtd->setText(kv::text::plain(m_line.kilometres));
    Edit_Qtd->setEnabled(false);
    try {
        Edit_NomeTabela->setText(m_lists->tableTypeName(m_line.tableType).value_or(QString()));
    } catch (const kv::db::DbError&) {
        Edit_NomeTabela->clear();
    }
}

void WorksheetDetailPage::Edit_NroEntExit()
{
    if (!m_entering)
        return;
    const auto passes = typedInteger(Edit_NroEnt);
    if (!passes || *passes == 0) {
        m_form.rejectField();
        return;
    }
    m_line.passes = static_cast<int>(*passes);
}

void WorksheetDetailPage::Edit_PrdHorExit()
{
    if (!m_entering)
        return;
    const auto grade = typedInteger(Edit_PrdHor);
    if (!grade || *grade == 0) {
        m_form.rejectField();
        return;
    }
    m_line.grade = static_cast<int>(*grade);
}

void WorksheetDetailPage::Edit_AcertoExit()
{
    if (!m_entering)
        return;
    const auto choice = typedInteger(Edit_Acerto);
    if (!choice || *choice == 0) {
        m_form.rejectField();
        return;
    }
    m_line.makeReadyChoice = static_cast<int>(*choice);
    if (LineEntry::afterMachineChoices(m_line) == LineEntry::Field::Calculate) {
        Writerec();
        return;
    }
    askAfterChoices();
}

void WorksheetDetailPage::Edit_PercExit()
{
    if (!m_entering)
        return;
    const QString text = Edit_Perc->text().trimmed();
    const std::optional<double> percentage = text.isEmpty() ? std::optional<double>(0.0) : typedNumber(Edit_Perc);
    if (!percentage) {
        m_form.rejectField();
        return;
    }
    if (*percentage != 0.0) {
        m_line.percentage = *percentage;
        m_line.price = 0;
        m_line.kilometres = 0;
        Edit_Custo->clear();
        Edit_Custo->setEnabled(false);
        Writerec();
        return;
    }
    m_line.percentage = 0;
    Edit_Custo->setEnabled(true);
    m_form.focusField(Edit_Custo);
}

void WorksheetDetailPage::Edit_CustoExit()
{
    if (!m_entering || !Edit_Custo->isEnabled())
        return;
    m_line.price = 0;
    const auto price = typedNumber(Edit_Custo);
    if (!price) {
        m_form.rejectField();
        return;
    }
    m_line.price = *price;
    if (isTableType(m_line.tableType, TableType::Transport)) {
        Edit_Qtd->setEnabled(true);
        m_form.focusField(Edit_Qtd);
        return;
    }
    Writerec();
}

void WorksheetDetailPage::Edit_QtdExit()
{
    if (!m_entering || !Edit_Qtd->isEnabled())
        return;
    const auto km = typedNumber(Edit_Qtd);
    if (!km || *km == 0.0) {
        m_form.rejectField(QStringLiteral("Insira o nº de Kms"));
        return;
    }
    m_line.kilometres = *km;
    Writerec();
}

// Calculates the line being entered and stores it with the sub-quote row; a
// changed line is stored with the whole sub-quote recalculated.
void WorksheetDetailPage::Writerec()
{
    CostLine line = m_line;
    if (m_adding)
        line.detail = 0;
    std::optional<SubQuote> stored;
    try {
        stored = m_callbacks.engine().enterLine(quoteNumber(), subQuote(), line);
    } catch (const kv::db::DbError& error) {
        kv::ui::messages().fail(error.fullText());
    }
    int detail = m_line.detail;
    if (stored) {
        m_state.row = stored->row;
        if (m_adding)
            detail = stored->lastDetail();
        else
            m_state.mode = WorksheetMode::Settled; // recalculated with it
    }
    showMoney();
    endEntry(detail);
}

void WorksheetDetailPage::BotAlterarLinhaClick()
{
    kv::db::Dataset& lines = m_lists->lines();
    if (m_entering || !quoteStored() || !lines.isOpen() || lines.isEmpty())
        return;
    const int detail = lines.value(QStringLiteral("DETAIL")).toInt();
    std::optional<CostLine> line;
    try {
        for (const CostLine& l : QuoteRepository(*m_environment.application()).lines(quoteNumber(), subQuote()))
            if (l.detail == detail)
                line = l;
    } catch (const kv::db::DbError& error) {
        kv::ui::messages().fail(error.fullText());
        return;
    }
    m_state.mode = WorksheetMode::Recalculate;
    if (!line || !LineEntry::exists(m_callbacks.tables(), line->tableType, line->tableCode)) {
        kv::ui::messages().beep();
        m_form.focusField(DBGrid1);
        return;
    }
    beginEntry();
    m_adding = false;
    m_line = *line;
    showEntryLine();
    Edit_Custo->clear();
    Edit_Perc->clear();
    Edit_Qtd->clear();
    const LineEntry::Field first = LineEntry::firstField(m_callbacks.tables(), m_line);
    if (first == LineEntry::Field::Passes || first == LineEntry::Field::Grade) {
        enableMachineFields(true);
        Edit_NroEnt->setEnabled(first == LineEntry::Field::Passes);
        m_form.focusField(first == LineEntry::Field::Passes ? Edit_NroEnt : Edit_PrdHor);
        return;
    }
    askAfterChoices();
}

void WorksheetDetailPage::BotCancLinhaClick()
{
    if (!m_entering) {
        m_form.focusField(DBGrid1);
        return;
    }
    endEntry(m_adding ? 0 : m_line.detail);
    setLineButtons(true);
}

void WorksheetDetailPage::BotDeleteLinhaClick()
{
    kv::db::Dataset& lines = m_lists->lines();
    if (m_entering || !quoteStored() || !lines.isOpen() || lines.isEmpty())
        return;
    if (!kv::ui::messages().question(QStringLiteral("Eliminar Linha do Orçamento !!! Confirma ?")))
        return;
    const int detail = lines.value(QStringLiteral("DETAIL")).toInt();
    std::optional<SubQuote> stored;
    try {
        stored = m_callbacks.engine().deleteLine(quoteNumber(), subQuote(), detail);
    } catch (const kv::db::DbError& error) {
        kv::ui::messages().fail(error.fullText());
    }
    if (stored)
        m_state.row = stored->row;
    showMoney();
    showLines();
    m_form.focusField(DBGrid1);
}

// ---------------------------------------------------------------- lookups

void WorksheetDetailPage::ProcTipoTabClick()
{
    if (!m_adding)
        return;
    kv::db::Dataset& types = m_lists->tableTypes();
    types.close();
    types.open();
    if (!kv::costing::runLookup(types, {column("CODIGO", "Tabela Nº", 8), column("DESIGNACAO", "Nome Tabela", 25)},
                                &m_form))
        return;
    Edit_TipoTab->setText(integerText(types.value(QStringLiteral("CODIGO")).toLongLong()));
}

void WorksheetDetailPage::ProcTabelasClick(bool alphabetic)
{
    if (!m_adding)
        return;
    const auto type = typedInteger(Edit_TipoTab);
    const CodeLookup* lookup = type ? codeLookup(static_cast<int>(*type)) : nullptr;
    const kv::costing::TableSearch* search = type ? kv::costing::tableSearch(static_cast<int>(*type)) : nullptr;
    if (!lookup || !search)
        return;
    kv::db::Dataset& table = m_environment.modules->dataset(search->dataset);
    try {
        table.close();
        table.setSql(kv::costing::tableStatement(search->table, alphabetic ? lookup->alphabeticOrder
                                                                           : QStringList{QStringLiteral("CODIGO")}));
        table.open();
    } catch (const kv::db::DbError& error) {
        kv::ui::messages().fail(error.fullText());
        return;
    }
    if (std::find(m_searchedTypes.begin(), m_searchedTypes.end(), lookup->type) == m_searchedTypes.end())
        m_searchedTypes.push_back(lookup->type);
    kv::ui::LookupDialog dialog(table, alphabetic ? lookup->alphabetic : lookup->numeric, &m_form, lookup->caption);
    if (dialog.exec() != QDialog::Accepted || table.isEmpty())
        return;
    Edit_CodTab->setText(integerText(table.value(QStringLiteral("CODIGO")).toLongLong()));
}

} // namespace kv::quotes
