// The inks form TORCF002, the reference member of the code table form,
// driven as a user would: keys, field checks, article lookups, saving on the
// return to the grid, Cancelar, Eliminar, closing and reopening, rights.
#include "costing/FormFixtures.h"
#include "support/TableRows.h"

#include "costing/forms/CodeTableForm.h"
#include "platform/ui/FormRegistry.h"
#include "shell/MainMenu.h"
#include "support/QtPrinters.h"

using namespace kv::costing;
using namespace kv::costing::test;
using kv::test::FormDriver;

namespace {

using kv::costing::test::operator<<;

// ------------------------------------------------------------------ menu

// The menu entries of the general parameters and of the inks open forms
// that are registered, the inks' list report first.
TEST(CostingMenu, OpensRegisteredForms)
{
    kv::test::Scenario scenario;
    CostingSession session(scenario, Engine::Sqlite);
    const kv::ui::FormRegistry& registry = scenario.forms();
    for (const char* item : {"TABORC000", "TABORC002"}) {
        const kv::shell::FormOpening opening = kv::shell::MainMenu::opening(item, session.state());
        EXPECT_TRUE(registry.contains(opening.form)) << item;
        for (const QString& report : opening.reports)
            EXPECT_TRUE(registry.contains(report)) << report.toStdString();
    }
}

// ------------------------------------------------------------------ Inserir

struct ProposalCase {
    const char* label;
    bool emptyTable;
    QString proposed;
};

class Proposal : public ::testing::TestWithParam<std::tuple<ProposalCase, Engine>> {};

TEST_P(Proposal, IsTheHighestCodePlusOne)
{
    const auto& [c, engine] = GetParam();
    SKIP_WITHOUT(engine);
    Inks inks(engine);
    if (c.emptyTable)
        inks.session.application()->exec("DELETE FROM TINTAS");
    FormDriver form = inks.open();
    form.click("BotInserir");
    EXPECT_EQ(form.text("Edit_Codigo"), c.proposed);
    EXPECT_EQ(form.focused(), "Edit_Codigo");
    // The proposal is only text: any free code may be typed over it.
    form.type("Edit_Codigo", "7");
    form.enter();
    EXPECT_EQ(form.focused(), "Edit_Artigo");
}

INSTANTIATE_TEST_SUITE_P(Costing, Proposal,
                         ::testing::Combine(::testing::Values(ProposalCase{"empty table", true, "1"},
                                                              ProposalCase{"lower codes free", false, "41"}),
                                            ::testing::ValuesIn(engines())),
                         caseName<ProposalCase>);

struct KeyCase {
    const char* label;
    QString typed;
    QStringList transcript;
    QString focus;
    QString gridCode; // the row the grid stands on afterwards, "" when the key field keeps the focus
};

class TypedKey : public ::testing::TestWithParam<std::tuple<KeyCase, Engine>> {};

TEST_P(TypedKey, IsCheckedWhenTheKeyFieldIsLeft)
{
    const auto& [c, engine] = GetParam();
    SKIP_WITHOUT(engine);
    Inks inks(engine);
    FormDriver form = inks.open();
    form.click("BotInserir");
    form.type("Edit_Codigo", c.typed);
    form.enter();
    inks.scenario.wait();
    EXPECT_EQ(inks.scenario.messages().transcript(), c.transcript);
    EXPECT_EQ(form.focused(), c.focus);
    if (!c.gridCode.isEmpty()) {
        EXPECT_EQ(inks.currentCode(form), c.gridCode);
        EXPECT_EQ(form.gridRowCount("DBGrid1"), 3);
    }
}

const QStringList Invalid{"<beep>", "Codigo Inválido ... <ENTER>"};

INSTANTIATE_TEST_SUITE_P(
    Costing, TypedKey,
    ::testing::Combine(
        ::testing::Values(
            KeyCase{"empty", "", {"<beep>"}, "Edit_Codigo", ""}, KeyCase{"zero", "0", Invalid, "Edit_Codigo", ""},
            KeyCase{"above the bounds", "1000000", Invalid, "Edit_Codigo", ""},
            KeyCase{"above a 16-bit key", "32768", Invalid, "Edit_Codigo", ""},
            KeyCase{"not a whole number", "4O", Invalid, "Edit_Codigo", ""},
            KeyCase{"already used", "20", {"<beep>", "REGISTO JÁ FOI ABERTO ... <ENTER>"}, "DBGrid1", "20"},
            KeyCase{"highest a 16-bit key holds", "32767", {}, "Edit_Artigo", ""}),
        ::testing::ValuesIn(engines())),
    caseName<KeyCase>);

// ------------------------------------------------------------------ field checks

struct FieldCase {
    const char* label;
    QString field;
    QString typed;
    QStringList transcript; // empty: the field is left
};

class FieldCheck : public ::testing::TestWithParam<std::tuple<FieldCase, Engine>> {};

TEST_P(FieldCheck, KeepsTheFocusUntilTheTextPasses)
{
    const auto& [c, engine] = GetParam();
    SKIP_WITHOUT(engine);
    Inks inks(engine);
    FormDriver form = inks.open();
    inks.editRow(form, 0);
    form.focus(c.field);
    form.type(c.field, c.typed);
    form.tab();
    inks.scenario.wait();
    EXPECT_EQ(inks.scenario.messages().transcript(), c.transcript);
    if (c.transcript.isEmpty())
        EXPECT_NE(form.focused(), c.field);
    else
        EXPECT_EQ(form.focused(), c.field);
}

QStringList unknownArticle(const QString& typed) { return {"<beep>", "Artigo Inexistente ou Inválido !!! " + typed}; }

INSTANTIATE_TEST_SUITE_P(
    Costing, FieldCheck,
    ::testing::Combine(
        ::testing::Values(FieldCase{"unknown article", "Edit_Artigo", "XPTO", unknownArticle("XPTO")},
                          FieldCase{"no article", "Edit_Artigo", "", unknownArticle("")},
                          FieldCase{"a service is no ink", "Edit_Artigo", "SV-001", unknownArticle("SV-001")},
                          FieldCase{"article in another case", "Edit_Artigo", "ti-cia01", unknownArticle("ti-cia01")},
                          FieldCase{"article of type 11", "Edit_Artigo", "TI-OUR01", {}},
                          FieldCase{"no designation", "Edit_Designacao", "", {"<beep>", "Designação Inválida !!!"}},
                          FieldCase{"no consumption", "Edit_Gramagem", "", {"<beep>", "Gramagem Inválida !!!"}},
                          FieldCase{"consumption zero", "Edit_Gramagem", "0", {}},
                          FieldCase{"no price", "Edit_Preco", "", {"<beep>", "Preco Inválido !!!"}}),
        ::testing::ValuesIn(engines())),
    caseName<FieldCase>);

// ------------------------------------------------------------------ new rows

struct NewRowCase {
    const char* label;
    QString article;
    QString designation;
    double price;
};

class NewRow : public ::testing::TestWithParam<std::tuple<NewRowCase, Engine>> {};

TEST_P(NewRow, TakesItsArticlesDataAndIsSavedOnTheReturnToTheGrid)
{
    const auto& [c, engine] = GetParam();
    SKIP_WITHOUT(engine);
    Inks inks(engine);
    FormDriver form = inks.open();
    form.click("BotInserir");
    form.type("Edit_Codigo", "50");
    form.enter();
    form.type("Edit_Artigo", c.article);
    form.enter();
    inks.scenario.wait();
    EXPECT_EQ(form.focused(), "Edit_Designacao");
    EXPECT_EQ(form.text("Edit_Designacao"), c.designation);
    form.enter();
    form.type("Edit_Gramagem", "1,4");
    form.enter();
    form.enter(); // the price taken from the article, left as it is
    inks.scenario.wait();

    EXPECT_TRUE(inks.scenario.messages().transcript().isEmpty()) << inks.scenario.messages().lastText().toStdString();
    EXPECT_EQ(form.focused(), "DBGrid1");
    EXPECT_EQ(inks.currentCode(form), "50");
    const auto rows =
        inks.session.application()->query("SELECT ARTIGO, DESIGNACAO, GRAMAGEM, PRECO FROM TINTAS WHERE CODIGO = 50");
    ASSERT_EQ(rows.rows.size(), 1u);
    EXPECT_EQ(rows.rows[0][0].toString(), c.article);
    EXPECT_EQ(rows.rows[0][1].toString(), c.designation);
    EXPECT_DOUBLE_EQ(rows.rows[0][2].toDouble(), 1.4);
    EXPECT_DOUBLE_EQ(rows.rows[0][3].toDouble(), c.price);
}

INSTANTIATE_TEST_SUITE_P(
    Costing, NewRow,
    ::testing::Combine(::testing::Values(NewRowCase{"average cost", "TI-OUR01", "Tinta Metalizada Ouro", 32.0},
                                         NewRowCase{"no average cost", "TI-PRE01", "Tinta Offset Preto", 6.85}),
                       ::testing::ValuesIn(engines())),
    caseName<NewRowCase>);

class InksForm : public ::testing::TestWithParam<Engine> {};

TEST_P(InksForm, KeepsItsSizeWhileTheKeyHintsComeAndGo)
{
    SKIP_WITHOUT(GetParam());
    Inks inks(GetParam());
    FormDriver form = inks.open();
    const QSize opened = form.window()->size();
    inks.editRow(form, 0);
    EXPECT_FALSE(form.statusPanel(0).isEmpty());
    EXPECT_EQ(form.window()->size(), opened);
    form.focus("DBGrid1");
    EXPECT_EQ(form.window()->size(), opened);
}

TEST_P(InksForm, ChangingAnArticleKeepsTheRowsDesignationAndPrice)
{
    SKIP_WITHOUT(GetParam());
    Inks inks(GetParam());
    FormDriver form = inks.open();
    inks.editRow(form, 0);
    form.type("Edit_Artigo", "TI-OUR01");
    form.enter();
    EXPECT_EQ(form.text("Edit_Designacao"), "Ciano Processo");
    form.focus("DBGrid1");
    const auto rows = inks.stored("ARTIGO, DESIGNACAO, PRECO");
    EXPECT_EQ(rows.rows[0][0].toString(), "TI-OUR01");
    EXPECT_EQ(rows.rows[0][1].toString(), "Ciano Processo");
    EXPECT_DOUBLE_EQ(rows.rows[0][2].toDouble(), 8.95);
}

// ------------------------------------------------------------------ saving, closing, reopening

TEST_P(InksForm, EnterOnTheLastFieldSavesAndStaysOnTheRow)
{
    SKIP_WITHOUT(GetParam());
    Inks inks(GetParam());
    FormDriver form = inks.open();
    inks.editRow(form, 1);
    form.focus("Edit_Preco");
    form.type("Edit_Preco", "7,5");
    form.enter();
    inks.scenario.wait();
    EXPECT_EQ(form.focused(), "DBGrid1");
    EXPECT_EQ(inks.currentCode(form), "20");
    EXPECT_DOUBLE_EQ(inks.stored("PRECO").rows[1][0].toDouble(), 7.5);
}

TEST_P(InksForm, ClosingTheWindowDiscardsTheRowBeingEdited)
{
    SKIP_WITHOUT(GetParam());
    Inks inks(GetParam());
    FormDriver form = inks.open();
    inks.editRow(form, 0);
    form.focus("Edit_Designacao");
    form.type("Edit_Designacao", "Ciano Alterado");
    form.close();
    EXPECT_FALSE(form.isOpen());
    EXPECT_EQ(inks.stored("DESIGNACAO").rows[0][0].toString(), "Ciano Processo");
    EXPECT_FALSE(inks.session.dataset("ZURIVAVEZA.TINTAS").isOpen());
}

TEST_P(InksForm, ReopensOnTheRowLastEdited)
{
    SKIP_WITHOUT(GetParam());
    Inks inks(GetParam());
    {
        FormDriver form = inks.open();
        inks.editRow(form, 2);
        form.focus("DBGrid1");
        form.close();
    }
    FormDriver again = inks.open();
    EXPECT_EQ(inks.currentCode(again), "40");
    again.close();

    // A row that is gone leaves the grid on the first row.
    inks.session.application()->exec("DELETE FROM TINTAS WHERE CODIGO = 40");
    FormDriver third = inks.open();
    EXPECT_EQ(inks.currentCode(third), "10");
}

// The row a form returns to is the session's: the next login starts afresh.
TEST_P(InksForm, ANewSessionStartsOnTheFirstRow)
{
    SKIP_WITHOUT(GetParam());
    {
        Inks finished(GetParam());
        FormDriver form = finished.open();
        finished.editRow(form, 2);
        form.focus("DBGrid1");
        form.close();
    }
    Inks inks(GetParam());
    FormDriver form = inks.open();
    EXPECT_EQ(inks.currentCode(form), "10");
}

TEST_P(InksForm, WithoutTheInsertRightRowsAreStillChanged)
{
    SKIP_WITHOUT(GetParam());
    Inks inks(GetParam(), "N");
    FormDriver form = inks.open();
    EXPECT_FALSE(form.isVisible("BotInserir"));
    EXPECT_FALSE(form.isVisible("BotCancelar"));
    EXPECT_TRUE(form.isVisible("BotDelete"));
    EXPECT_TRUE(form.isVisible("BotPrint"));
    inks.editRow(form, 2);
    form.focus("Edit_Gramagem");
    form.type("Edit_Gramagem", "1,3");
    form.focus("DBGrid1");
    EXPECT_DOUBLE_EQ(inks.stored("GRAMAGEM").rows[2][0].toDouble(), 1.3);
}

TEST_P(InksForm, AnEmptyTableWithoutTheInsertRightStaysInTheGrid)
{
    SKIP_WITHOUT(GetParam());
    Inks inks(GetParam(), "N");
    inks.session.application()->exec("DELETE FROM TINTAS");
    FormDriver form = inks.open();
    form.focus("Edit_Designacao");
    inks.scenario.wait();
    EXPECT_EQ(form.focused(), "DBGrid1");
    form.click("BitTerminar");
    EXPECT_FALSE(form.isOpen());
    EXPECT_TRUE(inks.stored().isEmpty());
}

// ------------------------------------------------------------------ lookups

struct LookupCase {
    const char* label;
    bool alphabetic;
    int row; // the list row the user moves to
    const char* answer;
    QString code; // the row's article afterwards
};

class ArticleLookup : public ::testing::TestWithParam<std::tuple<LookupCase, Engine>> {};

TEST_P(ArticleLookup, OkTakesTheRowChosenAndCancelChangesNothing)
{
    const auto& [c, engine] = GetParam();
    SKIP_WITHOUT(engine);
    Inks inks(engine);
    FormDriver form = inks.open();
    inks.editRow(form, 0);
    EXPECT_EQ(form.statusPanel(0), "Teclas <Insert> - Procura Numérica <Ctrl-Insert> Procura Alfabética");
    QString caption;
    inks.scenario.onDialog([&](FormDriver& dialog) {
        caption = dialog.caption();
        dialog.clickRow("Grid", c.row);
        dialog.click(c.answer);
    });
    if (c.alphabetic)
        form.ctrlInsert();
    else
        form.insert();
    inks.scenario.wait();
    EXPECT_EQ(caption, "Localizar");
    EXPECT_EQ(form.text("Edit_Artigo"), c.code);
    EXPECT_EQ(form.focused(), "Edit_Artigo");
    form.focus("DBGrid1");
    EXPECT_EQ(inks.stored("ARTIGO").rows[0][0].toString(), c.code);
}

INSTANTIATE_TEST_SUITE_P(
    Costing, ArticleLookup,
    ::testing::Combine(::testing::Values(LookupCase{"numericOk", false, 2, "OKBtn", "TI-OUR01"},
                                         LookupCase{"alphabeticOk", true, 3, "OKBtn", "TI-PRE01"},
                                         LookupCase{"numericCancel", false, 2, "CancelBtn", "TI-CIA01"},
                                         LookupCase{"alphabeticCancel", true, 3, "CancelBtn", "TI-CIA01"}),
                       ::testing::ValuesIn(engines())),
    caseName<LookupCase>);

// ------------------------------------------------------------------ Cancelar, Eliminar

TEST_P(InksForm, CancelarDiscardsANewRowWithoutCheckingItsFields)
{
    SKIP_WITHOUT(GetParam());
    Inks inks(GetParam());
    FormDriver form = inks.open();
    form.click("BotInserir");
    form.type("Edit_Codigo", "50");
    form.enter();
    form.click("BotCancelar");
    inks.scenario.wait();
    EXPECT_TRUE(inks.scenario.messages().transcript().isEmpty());
    EXPECT_EQ(form.focused(), "DBGrid1");
    EXPECT_EQ(form.gridRowCount("DBGrid1"), 3);
    EXPECT_EQ(inks.stored().rows.size(), 3u);
}

// Cancelar pressed while the grid had the focus once made the next edit be lost.
TEST_P(InksForm, CancelarInTheGridLosesNoLaterEdit)
{
    SKIP_WITHOUT(GetParam());
    Inks inks(GetParam());
    FormDriver form = inks.open();
    form.click("BotCancelar");
    inks.editRow(form, 1);
    form.focus("Edit_Designacao");
    form.type("Edit_Designacao", "Magenta Alterado");
    form.focus("DBGrid1");
    EXPECT_EQ(inks.stored("DESIGNACAO").rows[1][0].toString(), "Magenta Alterado");
}

struct DeleteCase {
    const char* label;
    bool confirm;
    int rowsLeft;
};

class Eliminar : public ::testing::TestWithParam<std::tuple<DeleteCase, Engine>> {};

TEST_P(Eliminar, AsksAndAppliesAtOnce)
{
    const auto& [c, engine] = GetParam();
    SKIP_WITHOUT(engine);
    Inks inks(engine);
    FormDriver form = inks.open();
    form.clickRow("DBGrid1", 1);
    inks.scenario.messages().answer(c.confirm);
    form.click("BotDelete");
    EXPECT_EQ(inks.scenario.messages().texts(), QStringList{"ELIMINAÇÃO !!! Confirma ?"});
    EXPECT_EQ(static_cast<int>(inks.stored().rows.size()), c.rowsLeft);
    EXPECT_EQ(form.gridRowCount("DBGrid1"), c.rowsLeft);
}

INSTANTIATE_TEST_SUITE_P(Costing, Eliminar,
                         ::testing::Combine(::testing::Values(DeleteCase{"confirmed", true, 2},
                                                              DeleteCase{"refused", false, 3}),
                                            ::testing::ValuesIn(engines())),
                         caseName<DeleteCase>);

// Eliminar on an empty table asks nothing and changes nothing.
TEST_P(InksForm, EliminarOnAnEmptyTableDoesNothing)
{
    SKIP_WITHOUT(GetParam());
    Inks inks(GetParam());
    inks.session.application()->exec("DELETE FROM TINTAS");
    FormDriver form = inks.open();
    form.click("BotDelete");
    EXPECT_TRUE(inks.scenario.messages().transcript().isEmpty());
    EXPECT_TRUE(form.isOpen());
}

// ------------------------------------------------------------------ members without an article link

// A help panel beside a field shows only while the field has the focus,
// also when its check sends the focus back.
class MemberWithoutArticle : public ::testing::TestWithParam<Engine> {};

TEST_P(MemberWithoutArticle, ShowsAHelpPanelWhileItsFieldHasTheFocus)
{
    SKIP_WITHOUT(GetParam());
    kv::test::Scenario scenario;
    CostingSession session(scenario, GetParam());
    session.grant("Operacoes de Corte", "S");
    kv::test::insertRows(*session.application(), "OPERCORTE", {"CODIGO", "DESIGNACAO", "CUSTOPPLANO", "UNIDADE"},
                         {{1, "Vincar", 0.02, "U"}});
    FormDriver form = scenario.open("TORCF008");
    scenario.wait();
    EXPECT_FALSE(form.isVisible("Panel_Unidade"));
    form.focus("Edit_Designacao"); // leaves the grid: the row is edited from its designation
    scenario.wait();
    EXPECT_EQ(form.focused(), "Edit_Designacao");
    form.focus("Edit_Unidade");
    EXPECT_TRUE(form.isVisible("Panel_Unidade"));
    form.type("Edit_Unidade", "u");
    form.tab();
    scenario.wait();
    EXPECT_EQ(scenario.messages().transcript(), (QStringList{"<beep>", "INSIRA A UNIDADE DE CUSTO - (U) - (M) !!"}));
    EXPECT_EQ(form.focused(), "Edit_Unidade");
    EXPECT_TRUE(form.isVisible("Panel_Unidade"));
    form.type("Edit_Unidade", "M");
    form.tab();
    scenario.wait();
    EXPECT_FALSE(form.isVisible("Panel_Unidade"));
    EXPECT_EQ(form.focused(), "DBGrid1");
    EXPECT_EQ(session.application()->scalar("SELECT UNIDADE FROM OPERCORTE").toString(), "M");
}

INSTANTIATE_TEST_SUITE_P(Costing, MemberWithoutArticle, ::testing::ValuesIn(engines()), kv::test::engineTestName);

INSTANTIATE_TEST_SUITE_P(Costing, InksForm, ::testing::ValuesIn(engines()), kv::test::engineTestName);

} // namespace
