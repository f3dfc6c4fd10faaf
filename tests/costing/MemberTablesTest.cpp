// The costing tables beside the inks, driven through their forms as a user
// would: boards and papers, varnishes, laminating film, window PVC, glues,
// finishes and cutting operations. Field checks and messages, upper-casing,
// what a new row takes from its article, the glue rule's formula text, the
// finish's unit that follows its fixed cost, and the list reports.
#include "costing/FormFixtures.h"
#include "support/TableRows.h"

#include "costing/core/ArticleLists.h"
#include "costing/core/CodeMeanings.h"
#include "costing/forms/CostingForms.h"
#include "platform/db/Dataset.h"
#include "platform/report/Export.h"
#include "platform/ui/FormRegistry.h"
#include "shell/MainMenu.h"
#include "platform/report/PreviewWindow.h"
#include "support/QtPrinters.h"

#include <QFile>
#include <QLabel>
#include <functional>

using namespace kv::costing;
using namespace kv::costing::test;
using kv::report::BandKind;
using kv::report::Document;
using kv::test::FormDriver;

namespace {

using kv::costing::test::operator<<;

// A company with one row in each table and the stock articles they name:
// boards of any type but services, the other materials of types above 5.
struct Tables {
    kv::test::Scenario scenario;
    CostingSession session;

    explicit Tables(Engine engine) : session(scenario, engine)
    {
        for (const char* program : {"Micro; Canal B; Placa; Cartolinas", "Vernizes", "Colas", "Filme de Plasticizar",
                                    "PVC Janelas", "Acabamentos", "Operacoes de Corte", "Tintas"})
            session.grant(program, "S");
        kv::test::addArticles(*session.invoicing(), {{"CT-MIC01", "Micro Canal E Kraft", "6", 0.72, 0.70, 1600, 1200},
                                                     {"CT-PLA01", "Placa Compacta Cinza", "1", 0.0, 0.52, 1000, 700},
                                                     {"SV-001", "Serviço de Corte", "3", 0.0, 0.0, 0, 0},
                                                     {"VE-UV001", "Verniz UV Brilho", "6", 7.80, 8.00, 0, 0},
                                                     {"FP-BOP01", "Filme BOPP Brilho", "6", 3.40, 3.50, 0, 0},
                                                     {"PV-JAN01", "PVC Cristal 150", "11", 0.0, 2.90, 0, 0},
                                                     {"CO-HOT01", "Cola Termofusível", "6", 4.80, 4.75, 0, 0}});
        auto app = session.application();
        kv::test::insertRows(
            *app, "PAPEIS",
            {"CODIGO", "ARTIGO", "DESIGNACAO", "COMPRI", "LARGUR", "GRAMAGEM", "TIPOPAP", "PRECO", "TIPOCALC"},
            {{10, "CT-MIC01", "Micro Kraft", 1600, 1200, 420, "C", 0.72, "1"}});
        for (const char* table : {"VERNIZES", "FILMEPLAS", "PVC"})
            kv::test::insertRows(*app, table, {"CODIGO", "ARTIGO", "DESIGNACAO", "GRAMAGEM", "PRECO"},
                                 {{10, "VE-UV001", "Verniz UV", 4, 7.8}});
        kv::test::insertRows(*app, "COLAS",
                             {"CODIGO", "ARTIGO", "DESIGNACAO", "GRAMAGEM", "PERC", "PRECO", "TIPOCALC", "TIPOCALCDES"},
                             {{10, "CO-HOT01", "Hot-Melt", 0.6, 0, 4.8, "2", "Consumo(Kgs) p/ 1000 Caixas x Preço"}});
        kv::test::insertRows(*app, "ACABAMENTO", {"CODIGO", "DESIGNACAO", "CUSTOFIXO", "PERC", "TIPOCUSTO", "UNIDADE"},
                             {{10, "Colagem Manual", 12.5, 0, "1", "M"}});
        kv::test::insertRows(*app, "OPERCORTE", {"CODIGO", "DESIGNACAO", "CUSTOPPLANO", "UNIDADE"},
                             {{10, "Corte e Vinco", 18, "M"}});
    }

    void exec(const QString& sql) { session.application()->exec(sql); }

    FormDriver open(const QString& formClass)
    {
        FormDriver form = scenario.open(formClass);
        scenario.wait();
        return form;
    }

    // Leaves the grid into the row's first field: the first row is being edited.
    void editFirstMemberRow(FormDriver& form, const QString& firstField)
    {
        form.clickRow("DBGrid1", 0);
        form.focus(firstField);
        scenario.wait();
    }

    QVariant stored(const QString& table, const QString& column, int code = 10)
    {
        return session.application()->scalar(
            QStringLiteral("SELECT %1 FROM %2 WHERE CODIGO = %3").arg(column, table).arg(code));
    }
};

const QString Article = "Edit_Artigo";
const QString Designation = "Edit_Designacao";

QString firstFieldOf(const QString& formClass)
{
    return formClass == "TORCF007" || formClass == "TORCF008" ? Designation : Article;
}

// ------------------------------------------------------------------ registration

class Registered : public ::testing::TestWithParam<Engine> {};

// The menu enables an entry, and its toolbar button, when the entry's table
// form and list report are registered.
TEST_P(Registered, EveryTableFormAndItsListReport)
{
    SKIP_WITHOUT(GetParam());
    Tables tables(GetParam());
    const kv::ui::FormRegistry& registry = tables.scenario.forms();
    for (int n = 1; n <= 8; ++n) {
        const QString item = QStringLiteral("TABORC%1").arg(n, 3, 10, QLatin1Char('0'));
        const kv::shell::FormOpening opening = kv::shell::MainMenu::opening(item, tables.session.state());
        EXPECT_EQ(opening.form, QStringLiteral("TORCF%1").arg(n, 3, 10, QLatin1Char('0')));
        EXPECT_TRUE(registry.contains(opening.form)) << item.toStdString();
        ASSERT_EQ(opening.reports.size(), 1) << item.toStdString();
        EXPECT_TRUE(registry.contains(opening.reports.front())) << opening.reports.front().toStdString();
    }
}

INSTANTIATE_TEST_SUITE_P(Costing, Registered, ::testing::ValuesIn(engines()), kv::test::engineTestName);

// ------------------------------------------------------------------ rights

struct RightsCase {
    const char* label;
    QString formClass;
    bool buttons; // Inserir, Cancelar, Eliminar and Imprimir shown
};

class ProgramRights : public ::testing::TestWithParam<std::tuple<RightsCase, Engine>> {};

// Each table has its own rights program: a user with the inks' row alone
// sees the buttons in the ink form only.
TEST_P(ProgramRights, ShowTheButtonsOfTheirOwnTableOnly)
{
    const auto& [c, engine] = GetParam();
    SKIP_WITHOUT(engine);
    kv::test::Scenario scenario;
    CostingSession session(scenario, engine);
    session.grant("Tintas", "S");
    FormDriver form = scenario.open(c.formClass);
    scenario.wait();
    for (const char* button : {"BotInserir", "BotCancelar", "BotDelete", "BotPrint"})
        EXPECT_EQ(form.isVisible(button), c.buttons) << button;
}

INSTANTIATE_TEST_SUITE_P(Costing, ProgramRights,
                         ::testing::Combine(::testing::Values(RightsCase{"inks", "TORCF002", true},
                                                              RightsCase{"varnishes", "TORCF003", false},
                                                              RightsCase{"boards", "TORCF001", false},
                                                              RightsCase{"cutting operations", "TORCF008", false}),
                                            ::testing::ValuesIn(engines())),
                         caseName<RightsCase>);

// ------------------------------------------------------------------ field checks

struct MemberFieldCase {
    const char* label;
    QString formClass;
    QString field;
    QString typed;
    QStringList transcript; // empty: the field is left
};

class MemberField : public ::testing::TestWithParam<std::tuple<MemberFieldCase, Engine>> {};

TEST_P(MemberField, KeepsTheFocusUntilTheTextPasses)
{
    const auto& [c, engine] = GetParam();
    SKIP_WITHOUT(engine);
    Tables tables(engine);
    FormDriver form = tables.open(c.formClass);
    tables.editFirstMemberRow(form, firstFieldOf(c.formClass));
    form.focus(c.field);
    form.type(c.field, c.typed);
    form.tab();
    tables.scenario.wait();
    EXPECT_EQ(tables.scenario.messages().transcript(), c.transcript);
    if (c.transcript.isEmpty())
        EXPECT_NE(form.focused(), c.field);
    else
        EXPECT_EQ(form.focused(), c.field);
}

QStringList refused(const QString& message) { return {"<beep>", message}; }

const QStringList Size = refused("Medida Inválida !!!");
const QStringList Grams = refused("Gramagem Inválida !!!");
const QStringList Price = refused("Preco Inválido !!!");
const QStringList MemberNoDesignation = refused("Designação Inválida !!!");
const QStringList PaperType = refused("Tipo de Papel Inválido !!!");
const QStringList Calculation = refused("Tipo de Cálculo Inválido !!!");
const QStringList FinishUnit = refused("INSIRA A UNIDADE PARA CÁLCULO DE CUSTO");
const QStringList CuttingUnit = refused("INSIRA A UNIDADE DE CUSTO - (U) - (M) !!");
const QStringList CostType = refused("Tipo de Custo Inválido Inválido !!!");

INSTANTIATE_TEST_SUITE_P(
    Costing, MemberField,
    ::testing::Combine(
        ::testing::Values(MemberFieldCase{"board without length", "TORCF001", "Edit_Compri", "", Size},
                          MemberFieldCase{"board without width", "TORCF001", "Edit_Largur", "", Size},
                          MemberFieldCase{"board without grammage", "TORCF001", "Edit_Gramagem", "", Grams},
                          MemberFieldCase{"board without price", "TORCF001", "Edit_Preco", "", Price},
                          MemberFieldCase{"board without designation", "TORCF001", Designation, "", MemberNoDesignation},
                          MemberFieldCase{"unknown paper type", "TORCF001", "Edit_TipoPap", "X", PaperType},
                          MemberFieldCase{"no paper type", "TORCF001", "Edit_TipoPap", "", PaperType},
                          MemberFieldCase{"lower-case cardstock", "TORCF001", "Edit_TipoPap", "c", {}},
                          MemberFieldCase{"calculation type 3", "TORCF001", "Edit_TipoCalc", "3", Calculation},
                          MemberFieldCase{"no calculation type", "TORCF001", "Edit_TipoCalc", "", Calculation},
                          MemberFieldCase{"board from a service", "TORCF001", Article, "SV-001",
                                    refused("Artigo Inexistente ou Inválido !!! SV-001")},
                          MemberFieldCase{"board from a product", "TORCF001", Article, "CT-PLA01", {}},
                          MemberFieldCase{"varnish from a product", "TORCF003", Article, "CT-PLA01",
                                    refused("Artigo Inexistente ou Inválido !!! CT-PLA01")},
                          MemberFieldCase{"varnish without consumption", "TORCF003", "Edit_Gramagem", "", Grams},
                          MemberFieldCase{"varnish without price", "TORCF003", "Edit_Preco", "", Price},
                          MemberFieldCase{"film without designation", "TORCF005", Designation, "", MemberNoDesignation},
                          MemberFieldCase{"film without consumption", "TORCF005", "Edit_Gramagem", "", Grams},
                          MemberFieldCase{"window PVC of type 11", "TORCF006", Article, "PV-JAN01", {}},
                          MemberFieldCase{"window PVC without price", "TORCF006", "Edit_Preco", "", Price},
                          MemberFieldCase{"glue without consumption", "TORCF004", "Edit_Gramagem", "", Grams},
                          MemberFieldCase{"glue without percentage", "TORCF004", "Edit_Perc", "", {}},
                          MemberFieldCase{"glue rule 5", "TORCF004", "Edit_TipoCalc", "5", Calculation},
                          MemberFieldCase{"no glue rule", "TORCF004", "Edit_TipoCalc", "", Calculation},
                          MemberFieldCase{"glue rule 4", "TORCF004", "Edit_TipoCalc", "4", {}},
                          MemberFieldCase{"finish without designation", "TORCF007", Designation, "", MemberNoDesignation},
                          MemberFieldCase{"finish unit X", "TORCF007", "Edit_Unidade", "X", FinishUnit},
                          MemberFieldCase{"finish unit in lower case", "TORCF007", "Edit_Unidade", "u", FinishUnit},
                          MemberFieldCase{"finish cost type 3", "TORCF007", "Edit_TipoCusto", "3", CostType},
                          MemberFieldCase{"finish cost type 2", "TORCF007", "Edit_TipoCusto", "2", {}},
                          MemberFieldCase{"finish without percentage", "TORCF007", "Edit_Perc", "", {}},
                          MemberFieldCase{"cutting without cost", "TORCF008", "Edit_CustoPPlano", "", {}},
                          MemberFieldCase{"cutting unit in lower case", "TORCF008", "Edit_Unidade", "m", CuttingUnit}),
        ::testing::ValuesIn(engines())),
    caseName<MemberFieldCase>);

// ------------------------------------------------------------------ board type codes

struct TypeCase {
    const char* label;
    QString field;
    QString typed;
    QString column;
    QString stored;
    QString nameLabel;
    QString meaning;
    QString caption;
};

class BoardType : public ::testing::TestWithParam<std::tuple<TypeCase, Engine>> {};

TEST_P(BoardType, IsUpperCasedAndNamedBesideTheField)
{
    const auto& [c, engine] = GetParam();
    SKIP_WITHOUT(engine);
    Tables tables(engine);
    FormDriver form = tables.open("TORCF001");
    tables.editFirstMemberRow(form, Article);
    form.focus(c.field);
    form.type(c.field, c.typed);
    form.tab();
    tables.scenario.wait();
    EXPECT_TRUE(tables.scenario.messages().transcript().isEmpty());
    EXPECT_EQ(form.text(c.nameLabel), c.meaning);
    form.focus("DBGrid1");
    EXPECT_EQ(tables.stored("PAPEIS", c.column).toString(), c.stored);
    // The row shown names its codes too, beside the field's caption.
    EXPECT_EQ(form.text(c.nameLabel), c.meaning);
    QStringList labels;
    for (const QLabel* label : form.window()->findChildren<QLabel*>())
        labels << label->text();
    EXPECT_TRUE(labels.contains(c.caption));
    EXPECT_EQ(labels.count(c.meaning), 1);
}

INSTANTIATE_TEST_SUITE_P(
    Costing, BoardType,
    ::testing::Combine(::testing::Values(TypeCase{"paper", "Edit_TipoPap", "p", "TIPOPAP", "P", "Label_Tipopap",
                                                  "Papel", "Tipo de Papel : "},
                                         TypeCase{"cardstock", "Edit_TipoPap", "C", "TIPOPAP", "C", "Label_Tipopap",
                                                  "Cartolina", "Tipo de Papel : "},
                                         TypeCase{"reams", "Edit_TipoCalc", "2", "TIPOCALC", "2", "Label_TipoCalc",
                                                  "Resmas", "Tipo de Cálculo : "}),
                       ::testing::ValuesIn(engines())),
    caseName<TypeCase>);

// ------------------------------------------------------------------ new rows

struct MemberStep {
    QString field;
    std::optional<QString> typed; // none: Enter on what the field holds
};

struct MemberNewRowCase {
    const char* label;
    QString formClass;
    QString table;
    QString article;
    std::vector<MemberStep> steps; // after the article
    std::vector<std::pair<QString, QVariant>> stored; // the row saved
};

class MemberNewRow : public ::testing::TestWithParam<std::tuple<MemberNewRowCase, Engine>> {};

TEST_P(MemberNewRow, TakesItsArticlesColumns)
{
    const auto& [c, engine] = GetParam();
    SKIP_WITHOUT(engine);
    Tables tables(engine);
    FormDriver form = tables.open(c.formClass);
    form.click("BotInserir");
    form.type("Edit_Codigo", "50");
    form.enter();
    form.type(Article, c.article);
    form.enter();
    for (const MemberStep& step : c.steps) {
        tables.scenario.wait();
        EXPECT_EQ(form.focused(), step.field);
        if (step.typed)
            form.type(step.field, *step.typed);
        form.enter();
    }
    tables.scenario.wait();
    EXPECT_TRUE(tables.scenario.messages().transcript().isEmpty())
        << tables.scenario.messages().lastText().toStdString();
    EXPECT_EQ(form.focused(), "DBGrid1");
    for (const auto& [column, expected] : c.stored) {
        const QVariant value = tables.stored(c.table, column, 50);
        if (expected.typeId() == QMetaType::Double)
            EXPECT_DOUBLE_EQ(value.toDouble(), expected.toDouble()) << column.toStdString();
        else
            EXPECT_EQ(value.toString(), expected.toString()) << column.toStdString();
    }
}

const std::vector<MemberStep> BoardSteps{{Designation, {}},        {"Edit_Compri", {}}, {"Edit_Largur", {}},
                                   {"Edit_Gramagem", "420"}, {"Edit_Preco", {}},  {"Edit_TipoPap", "c"},
                                   {"Edit_TipoCalc", "1"}};
const std::vector<MemberStep> MaterialSteps{{Designation, {}}, {"Edit_Gramagem", "4"}, {"Edit_Preco", {}}};

INSTANTIATE_TEST_SUITE_P(
    Costing, MemberNewRow,
    ::testing::Combine(
        ::testing::Values(
            MemberNewRowCase{"board with an average cost",
                       "TORCF001",
                       "PAPEIS",
                       "CT-MIC01",
                       BoardSteps,
                       {{"DESIGNACAO", "Micro Canal E Kraft"},
                        {"PRECO", 0.72},
                        {"COMPRI", 1600.0},
                        {"LARGUR", 1200.0},
                        {"TIPOPAP", "C"}}},
            MemberNewRowCase{
                "board without an average cost",
                "TORCF001",
                "PAPEIS",
                "CT-PLA01",
                BoardSteps,
                {{"DESIGNACAO", "Placa Compacta Cinza"}, {"PRECO", 0.52}, {"COMPRI", 1000.0}, {"LARGUR", 700.0}}},
            MemberNewRowCase{"varnish",
                       "TORCF003",
                       "VERNIZES",
                       "VE-UV001",
                       MaterialSteps,
                       {{"DESIGNACAO", "Verniz UV Brilho"}, {"PRECO", 7.8}, {"GRAMAGEM", 4.0}}},
            MemberNewRowCase{"laminating film",
                       "TORCF005",
                       "FILMEPLAS",
                       "FP-BOP01",
                       MaterialSteps,
                       {{"DESIGNACAO", "Filme BOPP Brilho"}, {"PRECO", 3.4}}},
            MemberNewRowCase{"window PVC without an average cost",
                       "TORCF006",
                       "PVC",
                       "PV-JAN01",
                       MaterialSteps,
                       {{"DESIGNACAO", "PVC Cristal 150"}, {"PRECO", 2.9}}},
            MemberNewRowCase{"glue",
                       "TORCF004",
                       "COLAS",
                       "CO-HOT01",
                       {{Designation, {}},
                        {"Edit_Gramagem", "0,6"},
                        {"Edit_Perc", {}},
                        {"Edit_Preco", {}},
                        {"Edit_TipoCalc", "3"}},
                       {{"DESIGNACAO", "Cola Termofusível"},
                        {"PRECO", 4.8},
                        {"TIPOCALC", "3"},
                        {"TIPOCALCDES", "(%) * Consumo(Kgs) p/ 1000 Caixas x Preço"}}}),
        ::testing::ValuesIn(engines())),
    caseName<MemberNewRowCase>);

class MemberForms : public ::testing::TestWithParam<Engine> {};

// An existing board keeps its designation, price and format when its article changes.
TEST_P(MemberForms, AnExistingBoardKeepsItsColumnsWhenItsArticleChanges)
{
    SKIP_WITHOUT(GetParam());
    Tables tables(GetParam());
    FormDriver form = tables.open("TORCF001");
    tables.editFirstMemberRow(form, Article);
    form.type(Article, "CT-PLA01");
    form.enter();
    form.focus("DBGrid1");
    EXPECT_EQ(tables.stored("PAPEIS", "ARTIGO").toString(), "CT-PLA01");
    EXPECT_EQ(tables.stored("PAPEIS", "DESIGNACAO").toString(), "Micro Kraft");
    EXPECT_DOUBLE_EQ(tables.stored("PAPEIS", "COMPRI").toDouble(), 1600);
    EXPECT_DOUBLE_EQ(tables.stored("PAPEIS", "PRECO").toDouble(), 0.72);
}

// The boards form states its two costings, and length and width light up
// the one format label.
TEST_P(MemberForms, TheBoardsFormatLabelServesLengthAndWidth)
{
    SKIP_WITHOUT(GetParam());
    Tables tables(GetParam());
    FormDriver form = tables.open("TORCF001");
    EXPECT_EQ(form.text("Label_Nota"),
              "[1];  Área Plano X Gramagem X Nº de Planos X Preço -- [2];  Nº de Planos X Preço");
    tables.editFirstMemberRow(form, Article);
    const QColor normal = form.colour("Label_Compri");
    for (const char* field : {"Edit_Compri", "Edit_Largur"}) {
        form.focus(field);
        EXPECT_NE(form.colour("Label_Compri"), normal) << field;
    }
    form.focus("Edit_Gramagem");
    EXPECT_EQ(form.colour("Label_Compri"), normal);
}

// ------------------------------------------------------------------ glues

TEST_P(MemberForms, LeavingTheGlueRuleRewritesItsFormulaText)
{
    SKIP_WITHOUT(GetParam());
    Tables tables(GetParam());
    FormDriver form = tables.open("TORCF004");
    EXPECT_FALSE(form.isVisible("Panel_TipoCalculo"));
    tables.editFirstMemberRow(form, Article);
    form.focus("Edit_TipoCalc");
    EXPECT_EQ(form.statusPanel(0), "Digite de [1 a 4]");
    EXPECT_TRUE(form.isVisible("Panel_TipoCalculo"));
    form.type("Edit_TipoCalc", "3");
    form.tab();
    tables.scenario.wait();
    EXPECT_FALSE(form.isVisible("Panel_TipoCalculo"));
    EXPECT_EQ(form.focused(), "DBGrid1");
    const QString formula = "(%) * Consumo(Kgs) p/ 1000 Caixas x Preço";
    EXPECT_EQ(form.text("Edit_TipoCalcDes"), formula);
    EXPECT_EQ(tables.stored("COLAS", "TIPOCALC").toString(), "3");
    EXPECT_EQ(tables.stored("COLAS", "TIPOCALCDES").toString(), formula);
}

// ------------------------------------------------------------------ finishes

TEST_P(MemberForms, AFinishesUnitFollowsItsFixedCost)
{
    SKIP_WITHOUT(GetParam());
    Tables tables(GetParam());
    FormDriver form = tables.open("TORCF007");
    tables.editFirstMemberRow(form, Designation);
    form.focus("Edit_CustoFixo");
    form.type("Edit_CustoFixo", "");
    form.enter();
    tables.scenario.wait();
    EXPECT_FALSE(form.isEnabled("Edit_Unidade"));
    EXPECT_EQ(form.focused(), "Edit_Perc");
    form.focus("DBGrid1");
    EXPECT_TRUE(tables.stored("ACABAMENTO", "CUSTOFIXO").isNull());
    EXPECT_TRUE(tables.stored("ACABAMENTO", "UNIDADE").toString().isEmpty());

    // A fixed cost typed again asks for its unit.
    tables.editFirstMemberRow(form, Designation);
    EXPECT_FALSE(form.isEnabled("Edit_Unidade"));
    form.focus("Edit_CustoFixo");
    form.type("Edit_CustoFixo", "15");
    form.enter();
    tables.scenario.wait();
    EXPECT_TRUE(form.isEnabled("Edit_Unidade"));
    EXPECT_EQ(form.focused(), "Edit_Unidade");
    EXPECT_TRUE(form.isVisible("Panel_Unidade"));
    form.type("Edit_Unidade", "X");
    form.enter();
    tables.scenario.wait();
    EXPECT_EQ(tables.scenario.messages().transcript(), FinishUnit);
    EXPECT_EQ(form.focused(), "Edit_Unidade");
    form.type("Edit_Unidade", "U");
    form.focus("DBGrid1");
    EXPECT_DOUBLE_EQ(tables.stored("ACABAMENTO", "CUSTOFIXO").toDouble(), 15);
    EXPECT_EQ(tables.stored("ACABAMENTO", "UNIDADE").toString(), "U");
}

// A fixed cost cannot reach the table without its unit, also when the
// user clicks past the unit field.
TEST_P(MemberForms, AFinishWithAFixedCostIsNotSavedWithoutItsUnit)
{
    SKIP_WITHOUT(GetParam());
    Tables tables(GetParam());
    FormDriver form = tables.open("TORCF007");
    form.click("BotInserir");
    form.type("Edit_Codigo", "50");
    form.enter();
    form.type(Designation, "Aplicar Fita Adesiva");
    form.enter();
    form.type("Edit_CustoFixo", "4,5");
    form.focus("DBGrid1");
    tables.scenario.wait();
    EXPECT_EQ(tables.scenario.messages().transcript(), FinishUnit);
    EXPECT_EQ(form.focused(), "Edit_Unidade");
    EXPECT_TRUE(tables.stored("ACABAMENTO", "CODIGO", 50).isNull());
    form.type("Edit_Unidade", "M");
    form.focus("DBGrid1");
    tables.scenario.wait();
    EXPECT_EQ(tables.stored("ACABAMENTO", "UNIDADE", 50).toString(), "M");
}

INSTANTIATE_TEST_SUITE_P(Costing, MemberForms, ::testing::ValuesIn(engines()), kv::test::engineTestName);

// ------------------------------------------------------------------ maker tag

struct TagCase {
    const char* label;
    QString formClass;
    bool tagOnOpen;
};

class MakerTag : public ::testing::TestWithParam<std::tuple<TagCase, Engine>> {};

TEST_P(MakerTag, ShowsFromActivationOrFromTheFirstPrint)
{
    const auto& [c, engine] = GetParam();
    SKIP_WITHOUT(engine);
    Tables tables(engine);
    FormDriver form = tables.open(c.formClass);
    const QString tag = tables.session.state().WMarca;
    ASSERT_FALSE(tag.isEmpty());
    EXPECT_EQ(form.statusPanel(1), c.tagOnOpen ? tag : QString());
    QString dialogTag;
    tables.scenario.onDialog([&](FormDriver& dialog) {
        dialogTag = dialog.statusPanel(0);
        dialog.click("BitTerminar");
    });
    form.click("BotPrint");
    tables.scenario.wait();
    EXPECT_EQ(dialogTag, tag);
    EXPECT_EQ(form.statusPanel(1), tag);
}

INSTANTIATE_TEST_SUITE_P(Costing, MakerTag,
                         ::testing::Combine(::testing::Values(TagCase{"finishes", "TORCF007", true},
                                                              TagCase{"cutting operations", "TORCF008", false}),
                                            ::testing::ValuesIn(engines())),
                         caseName<TagCase>);

// ------------------------------------------------------------------ list reports

// Each detail line as the texts of its items, empty ones included.
std::vector<QStringList> detailLines(const Document& document)
{
    std::vector<QStringList> lines;
    for (const auto& page : document.pages)
        for (const auto& band : page.bands)
            if (band.kind == BandKind::Detail) {
                QStringList line;
                for (const auto& item : band.items)
                    line << item.text;
                lines.push_back(line);
            }
    return lines;
}

// Prints the open form's list in numeric order and returns the previewed
// document; `exportTo` also writes it to a CSV file from the preview.
Document printList(Tables& tables, FormDriver& form, const QString& exportTo = {}, QString* caption = nullptr)
{
    Document document;
    tables.scenario.onDialog([&](FormDriver& dialog) {
        tables.scenario.onDialog([&](FormDriver& preview) {
            if (caption)
                *caption = preview.caption();
            auto* window = qobject_cast<kv::report::PreviewWindow*>(preview.window());
            document = window->document();
            if (!exportTo.isEmpty())
                window->exportTo(kv::report::ExportFormat::Csv, exportTo);
            preview.close();
        });
        dialog.click("BitPrint");
        dialog.click("BitTerminar");
    });
    form.click("BotPrint");
    tables.scenario.wait();
    return document;
}

struct ReportCase {
    const char* label;
    QString formClass;
    QStringList extraRows; // statements run before the form opens
    QString title;
    QStringList columnTitles;
    std::vector<std::pair<int, QString>> checkedItems; // item index, text per line...
    std::vector<QStringList> lines; // ...of these lines, in that order
    QString caption = {}; // of the preview; empty: the title
};

class MemberReport : public ::testing::TestWithParam<std::tuple<ReportCase, Engine>> {};

TEST_P(MemberReport, PrintsItsTitleColumnsAndLineTexts)
{
    const auto& [c, engine] = GetParam();
    SKIP_WITHOUT(engine);
    Tables tables(engine);
    for (const QString& sql : c.extraRows)
        tables.exec(sql);
    FormDriver form = tables.open(c.formClass);
    QString caption;
    const Document document = printList(tables, form, {}, &caption);

    EXPECT_EQ(caption, c.caption.isEmpty() ? c.title : c.caption);
    EXPECT_TRUE(bandTexts(document, BandKind::PageHeader).contains(c.title));
    EXPECT_EQ(bandTexts(document, BandKind::ColumnHeader), c.columnTitles);
    const std::vector<QStringList> lines = detailLines(document);
    ASSERT_EQ(lines.size(), c.lines.size());
    for (size_t i = 0; i < lines.size(); ++i) {
        QStringList picked;
        for (const auto& [index, unused] : c.checkedItems)
            picked << (index < lines[i].size() ? lines[i][index] : QStringLiteral("<none>"));
        EXPECT_EQ(picked, c.lines[i]) << "line " << i;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Costing, MemberReport,
    ::testing::Combine(
        ::testing::Values(
            // Numeric order is the article's: CT-MIC01, CT-PLA01, VE-UV001.
            ReportCase{"boards",
                       "TORCF001",
                       {"INSERT INTO PAPEIS (CODIGO, ARTIGO, DESIGNACAO, COMPRI, LARGUR, GRAMAGEM, TIPOPAP, PRECO, "
                        "TIPOCALC) VALUES (11, 'CT-PLA01', 'Placa', 1000, 700, 900, NULL, 0.52, NULL)",
                        "INSERT INTO PAPEIS (CODIGO, ARTIGO, DESIGNACAO, COMPRI, LARGUR, GRAMAGEM, TIPOPAP, PRECO, "
                        "TIPOCALC) VALUES (12, 'VE-UV001', 'Couché', 1000, 700.5, 150, 'P', 1.15, '2')"},
                       "Micro; Canal B; Placa; Cartolinas",
                       {"Código", "Referência", "Designação do artigo", "Formato (CxL) : ", "Gramagem", "Tipo Papel",
                        "Preço", "Tipo Cálculo"},
                       {{0, {}}, {3, {}}, {5, {}}, {7, {}}},
                       {{"10", "1600 x 1200", "Cartolinas", "Bobinas"},
                        {"11", "1000 x 700", "Cartolinas", "Resmas"},
                        {"12", "1000 x 700,5", "Papel", "Resmas"}}},
            // The rule text comes from the rule, not from the stored text.
            ReportCase{"glues",
                       "TORCF004",
                       {"INSERT INTO COLAS (CODIGO, ARTIGO, DESIGNACAO, GRAMAGEM, PERC, PRECO, TIPOCALC, TIPOCALCDES) "
                        "VALUES (11, 'CO-HOT02', 'Amido', 12, 0, 0.95, '1', 'texto antigo')",
                        "INSERT INTO COLAS (CODIGO, ARTIGO, DESIGNACAO, GRAMAGEM, PERC, PRECO, TIPOCALC, TIPOCALCDES) "
                        "VALUES (12, 'CO-HOT03', 'Vinílica', 0.8, 15, 2.6, '9', 'texto antigo')"},
                       "Tabela de Colas",
                       {"Código", "Referência", "Designação do artigo", "Grs.(M2)", "(%)", "Preço (Kg)", "Tipo Cálc.",
                        "Rotina de Cálculo"},
                       {{0, {}}, {6, {}}, {7, {}}},
                       {{"10", "2", "Consumo(Kgs) p/ 1000 Caixas x Preço"},
                        {"11", "1", "Área x Consumo(Gr) x Nº Planos x Preço"},
                        {"12", "9", ""}}},
            ReportCase{"finishes",
                       "TORCF007",
                       {"INSERT INTO ACABAMENTO (CODIGO, DESIGNACAO, CUSTOFIXO, PERC, TIPOCUSTO, UNIDADE) "
                        "VALUES (11, 'Embalar', 0.35, 0, '2', 'U')",
                        "INSERT INTO ACABAMENTO (CODIGO, DESIGNACAO, CUSTOFIXO, PERC, TIPOCUSTO, UNIDADE) "
                        "VALUES (12, 'Outro', NULL, 2, '7', NULL)"},
                       "Tabela de Acabamentos",
                       {"Código", "Designação do artigo", "Custo Fixo", "(%) Incid.Orçam.", "Tipo de Custo"},
                       {{0, {}}, {4, {}}},
                       {{"10", "Mão de Obra"}, {"11", "Embalagem"}, {"12", ""}}},
            ReportCase{"cutting operations",
                       "TORCF008",
                       {"INSERT INTO OPERCORTE (CODIGO, DESIGNACAO, CUSTOPPLANO, UNIDADE) VALUES (11, 'Guilhotina', "
                        "NULL, 'U')"},
                       "Tabela de Operações de Corte",
                       {"Código", "Designação do artigo", "Custo "},
                       {{0, {}}, {1, {}}, {3, {}}},
                       {{"10", "Corte e Vinco", "M"}, {"11", "Guilhotina", "U"}}},
            ReportCase{"laminating film",
                       "TORCF005",
                       {},
                       "Filme para Plasticizar",
                       {"Código", "Referência", "Designação do artigo", "Gram.M2", "Preço (Kg)"},
                       {{0, {}}, {2, {}}},
                       {{"10", "Verniz UV"}},
                       "Tabela de Filme para Plasticizar"},
            ReportCase{"window PVC",
                       "TORCF006",
                       {},
                       "PVC Janelas",
                       {"Código", "Referência", "Designação do artigo", "Gram.M2", "Preço (Kg)"},
                       {{0, {}}},
                       {{"10"}},
                       "Tabela de PVC Janelas"},
            ReportCase{"varnishes",
                       "TORCF003",
                       {},
                       "Tabela de Vernizes",
                       {"Código", "Referência", "Designação do artigo", "Gram.M2", "Preço"},
                       {{0, {}}},
                       {{"10"}}}),
        ::testing::ValuesIn(engines())),
    caseName<ReportCase>);

// The boards list exported from its preview and read back.
TEST_P(MemberForms, TheBoardsListExportsWithItsTypeTexts)
{
    SKIP_WITHOUT(GetParam());
    Tables tables(GetParam());
    tables.exec("INSERT INTO PAPEIS (CODIGO, ARTIGO, DESIGNACAO, COMPRI, LARGUR, GRAMAGEM, TIPOPAP, PRECO, TIPOCALC) "
                "VALUES (12, 'VE-UV001', 'Papel Couché', 1000, 700, 150, 'P', 1.15, '2')");
    FormDriver form = tables.open("TORCF001");
    const QString path = tables.scenario.tempPath("papeis.csv");
    printList(tables, form, path);
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QStringList lines = QString::fromUtf8(file.readAll()).split('\n', Qt::SkipEmptyParts);
    auto lineWith = [&](const QString& text) {
        for (const QString& line : lines)
            if (line.contains(text))
                return line;
        return QString();
    };
    EXPECT_FALSE(lineWith("Micro; Canal B; Placa; Cartolinas").isEmpty());
    EXPECT_FALSE(lineWith("Tipo Cálculo").isEmpty());
    const QString micro = lineWith("Micro Kraft");
    EXPECT_TRUE(micro.contains("1600 x 1200")) << micro.toStdString();
    EXPECT_TRUE(micro.contains("Cartolinas")) << micro.toStdString();
    EXPECT_TRUE(micro.contains("Bobinas")) << micro.toStdString();
    const QString paper = lineWith("Papel Couché");
    EXPECT_TRUE(paper.contains("Papel")) << paper.toStdString();
    EXPECT_TRUE(paper.contains("Resmas")) << paper.toStdString();
}

// ------------------------------------------------------------------ demo company

struct MemberDemoCase {
    const char* label;
    QString formClass;
    // A check of one demo row beyond the form's own field checks; "" when it passes.
    std::function<QString(const kv::db::QueryResult&, size_t row, const QVariantMap& article)> check;
    // The column whose field the form leaves locked on some rows, and when.
    QString lockedColumn = {};
    std::function<bool(const kv::db::QueryResult&, size_t row)> locked = {};
};

class DemoRows : public ::testing::TestWithParam<std::tuple<MemberDemoCase, Engine>> {};

// The demo company's rows of each table pass the checks of its form, and
// name stock articles that its form's article list offers.
TEST_P(DemoRows, PassTheirFormsChecks)
{
    const auto& [c, engine] = GetParam();
    SKIP_WITHOUT(engine);
    kv::test::Scenario scenario;
    CostingSession session(scenario, engine, true);
    const CodeTableDescription* member = nullptr;
    for (const CodeTableDescription& d : codeTableMembers())
        if (d.formClass == c.formClass)
            member = &d;
    ASSERT_NE(member, nullptr);
    const auto rows = session.application()->query("SELECT * FROM " + member->table + " ORDER BY CODIGO");
    ASSERT_FALSE(rows.rows.empty());
    for (size_t row = 0; row < rows.rows.size(); ++row) {
        const QString code = rows.value(row, "CODIGO").toString();
        for (const FieldSpec& field : member->fields) {
            if (field.column == c.lockedColumn && c.locked(rows, row))
                continue;
            const QVariant value = rows.value(row, field.column);
            const QString text = value.isNull() ? QString() : value.toString();
            EXPECT_TRUE(field.rule.passes(text)) << code.toStdString() << " " << field.column.toStdString();
        }
        QVariantMap article;
        if (member->article) {
            const QString sql = ArticleLists::numericSql(member->article->lists, session.invoicing()->dialect());
            const auto list = session.invoicing()->query(sql);
            for (size_t i = 0; i < list.rows.size(); ++i) {
                if (list.value(i, "CODIGO") != rows.value(row, "ARTIGO"))
                    continue;
                for (qsizetype k = 0; k < list.columns.size(); ++k)
                    article.insert(list.columns[k].toUpper(), list.rows[i][static_cast<size_t>(k)]);
            }
            EXPECT_FALSE(article.isEmpty()) << code.toStdString() << " names no article of the list";
            if (article.isEmpty())
                continue;
            EXPECT_EQ(article.value("DESIGNACAO").toString(), rows.value(row, "DESIGNACAO").toString());
        }
        if (c.check) {
            EXPECT_EQ(c.check(rows, row, article), "") << code.toStdString();
        }
    }
}

QString boardRow(const kv::db::QueryResult& rows, size_t row, const QVariantMap& article)
{
    if (meaningOf(paperTypes(), rows.value(row, "TIPOPAP").toString()).isEmpty())
        return "tipo de papel";
    if (meaningOf(boardCalculations(), rows.value(row, "TIPOCALC").toString()).isEmpty())
        return "tipo de cálculo";
    if (rows.value(row, "COMPRI").toDouble() != article.value("COMPRIM").toDouble()
        || rows.value(row, "LARGUR").toDouble() != article.value("LARGURA").toDouble())
        return "formato do artigo";
    return {};
}

QString glueRow(const kv::db::QueryResult& rows, size_t row, const QVariantMap&)
{
    return rows.value(row, "TIPOCALCDES").toString() == meaningOf(glueRules(), rows.value(row, "TIPOCALC").toString())
               ? QString()
               : QStringLiteral("fórmula do tipo de cálculo");
}

// A finish has a unit exactly when it has a fixed cost.
QString finishRow(const kv::db::QueryResult& rows, size_t row, const QVariantMap&)
{
    const bool hasCost = !rows.value(row, "CUSTOFIXO").isNull();
    const QString unit = rows.value(row, "UNIDADE").toString();
    return hasCost == !unit.isEmpty() ? QString() : QStringLiteral("unidade do custo fixo");
}

INSTANTIATE_TEST_SUITE_P(Costing, DemoRows,
                         ::testing::Combine(::testing::Values(MemberDemoCase{"boards", "TORCF001", boardRow},
                                                              MemberDemoCase{"varnishes", "TORCF003", {}},
                                                              MemberDemoCase{"glues", "TORCF004", glueRow},
                                                              MemberDemoCase{"laminating film", "TORCF005", {}},
                                                              MemberDemoCase{"window PVC", "TORCF006", {}},
                                                              MemberDemoCase{"finishes", "TORCF007", finishRow, "UNIDADE",
                                                                       [](const kv::db::QueryResult& rows, size_t row) {
                                                                           return rows.value(row, "CUSTOFIXO").isNull();
                                                                       }},
                                                              MemberDemoCase{"cutting operations", "TORCF008", {}}),
                                            ::testing::ValuesIn(engines())),
                         caseName<MemberDemoCase>);

} // namespace
