// The automatic coding, the customisation tables and the per-country grid
// driven as a user would on the demo company: a product coded from its
// classification with the next number of its series, the typed number of
// the goods, a stored or too long code, the tables kept per country with
// their lists, and the designations and prices per country.
#include "customers/coding/forms/ArticleCodingForms.h"
#include "customers/coding/forms/CustomisationListReport.h"
#include "customers/coding/forms/CustomisationTableForm.h"
#include "customers/coding/forms/TORCF032CODIF.h"
#include "customers/coding/forms/TORCF032PAIS.h"
#include "customers/coding/forms/TORCFSPR032CUSTCOD.h"
#include "platform/db/Dataset.h"
#include "platform/ui/DbGrid.h"
#include "shell/Session.h"
#include "shell/ShellDataModules.h"
#include "support/Scenario.h"
#include "support/ScriptedMessages.h"
#include "support/TableRows.h"

#include <QScrollBar>

using kv::customers::CustomisationOpener;
using kv::customers::CustomisationTableForm;
using kv::test::Engine;
using kv::test::FormDriver;

namespace {

const QString Beep = QStringLiteral("<beep>");

struct Demo {
    explicit Demo(Engine engine) : session(scenario.login(engine, kv::test::Company::Demo))
    {
        kv::customers::registerArticleCodingForms(session, scenario.forms());
        inv = scenario.invoicingDatabase();
    }
    kv::shell::FormEnvironment environment() const
    {
        return kv::shell::FormEnvironment(session.state(), session.dataModules());
    }
    int count(const QString& sql) { return inv->scalar(sql).toInt(); }

    // The coding form with the type typed and left.
    FormDriver coding(const QString& type)
    {
        FormDriver form = scenario.open(QStringLiteral("TORCF032CODIF"));
        form.type(QStringLiteral("Edit_RefTipArt"), type);
        form.tab();
        return form;
    }
    void values(FormDriver& form, std::initializer_list<const char*> values)
    {
        int n = 1;
        for (const char* value : values) {
            form.type(QStringLiteral("Edit_RefCustom%1").arg(n++), QString::fromLatin1(value));
            form.tab();
        }
    }
    static const kv::customers::CodingResult& result(const FormDriver& form)
    {
        return static_cast<kv::customers::TORCF032CODIF*>(form.window())->result();
    }

    kv::test::Scenario scenario;
    kv::shell::Session& session;
    std::shared_ptr<kv::db::Connection> inv;
};

class Coding : public ::testing::TestWithParam<Engine> {};

TEST_P(Coding, AProductGetsTheNextNumberOfItsSeries)
{
    KV_SKIP_WITHOUT(GetParam());
    Demo demo(GetParam());
    FormDriver form = demo.coding("1");
    EXPECT_EQ(demo.session.state().WTabGrupo, "1");
    EXPECT_EQ(form.text("Label_RefTab1"), "Estilo");
    EXPECT_EQ(form.text("Label_RefTab4"), "Tamanho");
    EXPECT_FALSE(form.isEnabled("Edit_RefCustom5"));
    EXPECT_FALSE(form.isVisible("Edit_ReferNum"));
    EXPECT_FALSE(form.isEnabled("BitTerminar"));

    demo.values(form, {"1", "1", "3", "2"});
    EXPECT_EQ(form.text("Edit_RefTab1"), "Caixa Americana");
    EXPECT_EQ(form.text("Edit_RefTab3"), "Quatro Cores");
    // Leaving the last table moves to the code, built on arrival.
    EXPECT_EQ(form.focused(), "Edit_RefCodigo");
    EXPECT_EQ(form.text("Edit_RefCodigo"), "CXA002MC4CM");
    EXPECT_EQ(form.text("Edit_Design"), "CAIXA MICRO 4 CORES MED");
    EXPECT_EQ(form.gridRowCount("DBGrid1"), 1); // the series it followed: CXA001MC4CM
    EXPECT_TRUE(form.isEnabled("BitTerminar"));

    form.click("BitTerminar");
    EXPECT_FALSE(form.isOpen());
    const auto& result = Demo::result(form);
    EXPECT_TRUE(result.generated);
    EXPECT_EQ(result.code, "CXA002MC4CM");
    EXPECT_EQ(result.designation, "CAIXA MICRO 4 CORES MED");
    EXPECT_EQ(result.labelDesignation, result.designation);
    EXPECT_EQ(result.articleType, "1");
    EXPECT_EQ(result.custom, (std::array<int, 9>{1, 1, 3, 2, 0, 0, 0, 0, 0}));
    // The code is this workstation's until the article is saved or given up.
    EXPECT_EQ(demo.count("SELECT COUNT(*) FROM RESERVAS WHERE CHAVE = 'CXA002MC4CM'"), 1);
}

// A series longer than the window of rows the grid reads: a row chosen at
// the window's edge, or the scroll bar taken to an end, reads on, so that
// every article of the series can be reached.
TEST_P(Coding, TheSeriesGridReachesEveryArticleOfALongSeries)
{
    KV_SKIP_WITHOUT(GetParam());
    Demo demo(GetParam());
    std::vector<QVariantList> rows;
    for (int n = 2; n <= 300; ++n)
        rows.push_back({QStringLiteral("CXA%1MC4CM").arg(n, 3, 10, QLatin1Char('0')), "CAIXA MICRO 4 CORES MED", "N", 1,
                        1, 3, 2, 0, 0, 0, 0, 0});
    kv::test::insertRows(*demo.inv, "ARTIGOSCLS",
                         {"CODIGO", "DESIGNACAO", "GRELHA", "CUSTOM1", "CUSTOM2", "CUSTOM3", "CUSTOM4", "CUSTOM5",
                          "CUSTOM6", "CUSTOM7", "CUSTOM8", "CUSTOM9"},
                         rows);
    FormDriver form = demo.coding("1");
    demo.values(form, {"1", "1", "3", "2"});
    EXPECT_EQ(form.text("Edit_RefCodigo"), "CXA301MC4CM");
    const auto lastCell = [&form] { return form.gridCell("DBGrid1", form.gridRowCount("DBGrid1") - 1, 0); };
    EXPECT_EQ(form.gridCell("DBGrid1", 0, 0), "CXA001MC4CM");
    EXPECT_LT(form.gridRowCount("DBGrid1"), 300);
    EXPECT_NE(lastCell(), "CXA300MC4CM");

    // The last row read, chosen: the rows after it follow.
    form.clickRow("DBGrid1", form.gridRowCount("DBGrid1") - 1);
    demo.scenario.settle();
    EXPECT_EQ(lastCell(), "CXA300MC4CM");
    // The scroll bar taken to the top goes back to the first; to the bottom, to the last again.
    auto* bar = form.find<kv::ui::DbGrid>("DBGrid1")->verticalScrollBar();
    const auto scrollTo = [&](QAbstractSlider::SliderAction end) {
        for (int i = 0; i < 2; ++i) {
            bar->triggerAction(end);
            demo.scenario.settle();
        }
    };
    scrollTo(QAbstractSlider::SliderToMinimum);
    EXPECT_EQ(form.gridCell("DBGrid1", 0, 0), "CXA001MC4CM");
    scrollTo(QAbstractSlider::SliderToMaximum);
    EXPECT_EQ(lastCell(), "CXA300MC4CM");
    EXPECT_EQ(demo.scenario.messages().transcript(), QStringList{});
}

TEST_P(Coding, ATableButtonShowsForACaptionedTableTheUserMayKeep)
{
    KV_SKIP_WITHOUT(GetParam());
    Demo demo(GetParam());
    FormDriver form = demo.coding("1");
    for (int n = 1; n <= 9; ++n)
        EXPECT_EQ(form.isVisible(QStringLiteral("BotRefCustom%1").arg(n)), n <= 4) << n;

    form.close();
    demo.scenario.applicationDatabase()->exec(
        "DELETE FROM APLICACAODET WHERE APLICACAO = :A AND PROGRAMA = 'Custom. Artigos 1'",
        {{"A", demo.session.state().WModuloBase}});
    kv::db::Dataset& rights = demo.session.dataModules().dataset("DTEMPRESAS.APLICACAODET");
    rights.close();
    rights.open();
    form = demo.coding("1");
    for (int n = 1; n <= 9; ++n)
        EXPECT_FALSE(form.isVisible(QStringLiteral("BotRefCustom%1").arg(n))) << n;
}

TEST_P(Coding, TypesOutsideOneToTenAreRefused)
{
    KV_SKIP_WITHOUT(GetParam());
    Demo demo(GetParam());
    for (const char* type : {"11", "0", "X"}) {
        demo.scenario.messages().clear();
        FormDriver form = demo.coding(QString::fromLatin1(type));
        EXPECT_EQ(demo.scenario.messages().transcript(),
                  QStringList({Beep, "DIGITE DE [1] A [10] PARA TIPO DE ARTIGO"}))
            << type;
        EXPECT_EQ(form.focused(), "Edit_RefTipArt") << type;
        form.close();
    }
}

TEST_P(Coding, GoodsTakeATypedNumberOfTheGroupsWidth)
{
    KV_SKIP_WITHOUT(GetParam());
    Demo demo(GetParam());
    FormDriver form = demo.coding("2");
    EXPECT_TRUE(form.isVisible("Edit_ReferNum"));
    EXPECT_EQ(form.focused(), "Edit_ReferNum");
    form.type("Edit_ReferNum", "42");
    form.tab();
    EXPECT_EQ(demo.scenario.messages().lastText(), "Nº de Dígitos Inválido !!!");
    EXPECT_EQ(form.focused(), "Edit_ReferNum");
    form.type("Edit_ReferNum", "");
    form.tab();
    EXPECT_EQ(demo.scenario.messages().lastText(), "Referenciação Inválida !!!");
    form.type("Edit_ReferNum", "0042");
    form.tab();
    EXPECT_EQ(form.focused(), "Edit_RefCustom1");
    demo.values(form, {"1", "2"});
    // Table 2 has no part in the code.
    EXPECT_EQ(form.text("Edit_RefCodigo"), "0042ETQ");
    EXPECT_EQ(form.gridRowCount("DBGrid1"), 0);
}

TEST_P(Coding, AStoredCodeIsRefusedAndTheFormCleared)
{
    KV_SKIP_WITHOUT(GetParam());
    Demo demo(GetParam());
    kv::test::insertRows(*demo.inv, "ARTIGOSCLS", {"CODIGO", "DESIGNACAO", "GRELHA"}, {{"DIV", "Diversos", "S"}});
    FormDriver form = demo.coding("3");
    demo.values(form, {"1"});
    EXPECT_EQ(form.text("Edit_RefCodigo"), "DIV");
    form.click("BitTerminar");
    EXPECT_TRUE(form.isOpen());
    EXPECT_EQ(demo.scenario.messages().transcript().mid(demo.scenario.messages().transcript().size() - 2),
              QStringList({Beep, "ARTIGO JÁ FOI ABERTO ... <ENTER>"}));
    EXPECT_EQ(form.text("Edit_RefCodigo"), "");
    EXPECT_EQ(form.text("Edit_RefCustom1"), "");
    EXPECT_EQ(form.text("Label_RefTab1"), "");
    EXPECT_EQ(form.focused(), "Edit_RefTipArt");
    EXPECT_FALSE(Demo::result(form).generated);
    EXPECT_EQ(demo.count("SELECT COUNT(*) FROM RESERVAS"), 0);
}

TEST_P(Coding, ACodeLongerThanAnArticleHoldsIsRefused)
{
    KV_SKIP_WITHOUT(GetParam());
    Demo demo(GetParam());
    kv::test::insertRows(
        *demo.inv, "CUSTARTG", {"TABGRUPO", "PAIS", "TABCOD", "CODIGO", "DESIGNACAO", "REDUZCODIGO", "REDUZDESIGN"},
        {{"1", "PORTUGAL", "2", 9, "Longo", "LLLLLL", "LONGO"}, {"1", "PORTUGAL", "3", 9, "Longa", "MMMMMM", "LONGA"}});
    FormDriver form = demo.coding("1");
    demo.values(form, {"1", "9", "9", "1"});
    EXPECT_EQ(form.text("Edit_RefCodigo"), "CXA001LLLLLLMMMMMMP");
    form.click("BitTerminar");
    EXPECT_TRUE(form.isOpen());
    EXPECT_EQ(demo.scenario.messages().lastText(), "O CÓDIGO DO ARTIGO TEM MAIS DE 16 CARACTERES !!!");
    EXPECT_FALSE(Demo::result(form).generated);
    EXPECT_EQ(demo.count("SELECT COUNT(*) FROM RESERVAS"), 0);
}

TEST_P(Coding, ClosingWithoutConfirmationHandsNothingBack)
{
    KV_SKIP_WITHOUT(GetParam());
    Demo demo(GetParam());
    FormDriver form = demo.coding("1");
    demo.values(form, {"1", "1", "3", "2"});
    form.close();
    EXPECT_FALSE(Demo::result(form).generated);
    EXPECT_EQ(Demo::result(form).code, "");
    EXPECT_EQ(demo.count("SELECT COUNT(*) FROM RESERVAS"), 0);
}

TEST_P(Coding, TheValueLookupCancelledChangesNothing)
{
    KV_SKIP_WITHOUT(GetParam());
    Demo demo(GetParam());
    FormDriver form = demo.coding("1");
    form.type("Edit_RefCustom1", "2");
    demo.scenario.onDialog([](FormDriver& lookup) { lookup.click("CancelBtn"); });
    form.insert();
    EXPECT_EQ(form.text("Edit_RefCustom1"), "2");
    demo.scenario.onDialog([](FormDriver& lookup) {
        lookup.clickRow("Grid", 2);
        lookup.click("OKBtn");
    });
    form.insert();
    EXPECT_EQ(form.text("Edit_RefCustom1"), "3");
    EXPECT_EQ(form.text("Edit_RefTab1"), "Cartonagem Farmac.");
}

TEST_P(Coding, WithoutParametersTheFormCloses)
{
    KV_SKIP_WITHOUT(GetParam());
    Demo demo(GetParam());
    demo.inv->exec("DELETE FROM PARCUSTOM");
    FormDriver form = demo.scenario.open(QStringLiteral("TORCF032CODIF"));
    demo.scenario.settle();
    EXPECT_EQ(demo.scenario.messages().lastText(), "VERIFIQUE A PARAMETRIZAÇÃO!!");
    EXPECT_FALSE(form.isOpen());
}

KV_ENGINE_SUITE(Coding);

// ------------------------------------------------------------------ customisation tables

class Tables : public ::testing::TestWithParam<Engine> {};

FormDriver openTable(Demo& demo, CustomisationOpener opener, const char* group, const char* table)
{
    return demo.scenario.show(
        new CustomisationTableForm(demo.environment(), opener, QString::fromLatin1(group), QString::fromLatin1(table)));
}

TEST_P(Tables, ATableOfOneSetOfValuesOpensOnPortugal)
{
    KV_SKIP_WITHOUT(GetParam());
    Demo demo(GetParam());
    FormDriver form = openTable(demo, CustomisationOpener::ArticleForm, "1", "2");
    EXPECT_FALSE(form.isVisible("Panel2"));
    EXPECT_EQ(form.text("Edit_TabPais"), "PORTUGAL");
    EXPECT_EQ(form.text("Label_Titulo"), QStringLiteral("TABELA DE CARTÃO (ARTIGOS)"));
    EXPECT_EQ(form.gridRowCount("DBGrid1"), 3);
    EXPECT_EQ(form.focused(), "DBGrid1");

    // Inserir proposes the country's last number + 1.
    form.click("BotInserir");
    EXPECT_EQ(form.text("Edit_Codigo"), "4");
    form.tab();
    EXPECT_EQ(form.focused(), "Edit_Design");
    form.typeText("Canal C");
    form.tab();
    form.type("Edit_RedCod", "CC");
    form.tab();
    form.type("Edit_redDescri", "CANAL C");
    form.focus("DBGrid1");
    EXPECT_EQ(demo.count("SELECT COUNT(*) FROM CUSTARTG WHERE TABGRUPO = '1' AND TABCOD = '2' AND CODIGO = 4 AND "
                         "PAIS = 'PORTUGAL' AND REDUZCODIGO = 'CC'"),
              1);
}

struct KeyCase {
    const char* label;
    const char* key;
    QStringList transcript;
    const char* focus;
};

class TableKeys : public ::testing::TestWithParam<std::tuple<KeyCase, Engine>> {};

TEST_P(TableKeys, ANewValuesNumberIsChecked)
{
    const auto& [c, engine] = GetParam();
    KV_SKIP_WITHOUT(engine);
    Demo demo(engine);
    FormDriver form = openTable(demo, CustomisationOpener::CodingForm, "1", "2");
    form.click("BotInserir");
    EXPECT_EQ(form.text("Edit_Codigo"), ""); // no proposal from the coding form
    demo.scenario.messages().clear();
    form.type("Edit_Codigo", QString::fromLatin1(c.key));
    form.tab();
    EXPECT_EQ(demo.scenario.messages().transcript(), c.transcript);
    EXPECT_EQ(form.focused(), QString::fromLatin1(c.focus));
}

INSTANTIATE_TEST_SUITE_P(
    Tables, TableKeys,
    ::testing::Combine(::testing::Values(KeyCase{"empty", "", {Beep}, "Edit_Codigo"},
                                         KeyCase{"zero", "0", {Beep}, "Edit_Codigo"},
                                         // Beyond what an article's classification column holds.
                                         KeyCase{"too_big", "32768", {Beep}, "Edit_Codigo"},
                                         KeyCase{"duplicate", "2", {Beep, "REGISTO JÁ EXISTE ... <ENTER>"}, "DBGrid1"},
                                         KeyCase{"new", "32767", {}, "Edit_Design"}),
                       ::testing::ValuesIn(kv::test::engines())),
    kv::test::caseName<KeyCase>);

TEST_P(Tables, ANewCountryIsSeededFromTheBase)
{
    KV_SKIP_WITHOUT(GetParam());
    Demo demo(GetParam());
    FormDriver form = openTable(demo, CustomisationOpener::ArticleForm, "1", "1");
    EXPECT_TRUE(form.isVisible("Panel2"));
    EXPECT_EQ(form.focused(), "Edit_Pais");
    EXPECT_EQ(form.text("Edit_PaisBase"), "PORTUGAL");

    form.tab();
    EXPECT_EQ(demo.scenario.messages().lastText(), "TEM QUE INDICAR O PAÍS !!!");
    form.type("Edit_Pais", "FRANCA");
    form.tab();
    EXPECT_EQ(form.focused(), "Edit_PaisBase");
    form.tab();
    EXPECT_FALSE(form.isVisible("Panel2"));
    EXPECT_EQ(form.text("Edit_TabPais"), "FRANCA");
    EXPECT_EQ(form.gridRowCount("DBGrid1"), 3);
    EXPECT_EQ(demo.count("SELECT COUNT(*) FROM CUSTARTG WHERE PAIS = 'FRANCA' AND DESIGNACAO = 'Caixa Americana'"), 1);

    // Terminar returns to the country panel; a country with rows opens at once.
    form.click("BitTerminar");
    EXPECT_TRUE(form.isVisible("Panel2"));
    form.type("Edit_Pais", "ESPANHA");
    form.tab();
    EXPECT_EQ(form.text("Edit_TabPais"), "ESPANHA");
    EXPECT_EQ(form.gridCell("DBGrid1", 0, 1), "Caja Americana");
    form.click("BitTerminar");
    form.click("BitFim");
    EXPECT_FALSE(form.isOpen());
}

TEST_P(Tables, ADeletionIsAskedAndWrittenAtOnce)
{
    KV_SKIP_WITHOUT(GetParam());
    Demo demo(GetParam());
    FormDriver form = openTable(demo, CustomisationOpener::ArticleForm, "1", "4");
    demo.scenario.messages().answer(true);
    form.click("BotDelete");
    EXPECT_EQ(demo.scenario.messages().lastText(), QStringLiteral("ELIMINAÇÃO !!! Confirma ?"));
    EXPECT_EQ(demo.count("SELECT COUNT(*) FROM CUSTARTG WHERE TABGRUPO = '1' AND TABCOD = '4'"), 2);
    EXPECT_EQ(form.gridRowCount("DBGrid1"), 2);
}

struct CloseCase {
    const char* label;
    CustomisationOpener opener;
    const char* stored;
};

class ClosingTables : public ::testing::TestWithParam<std::tuple<CloseCase, Engine>> {};

TEST_P(ClosingTables, PendingEditsAtClose)
{
    const auto& [c, engine] = GetParam();
    KV_SKIP_WITHOUT(engine);
    Demo demo(engine);
    FormDriver form = openTable(demo, c.opener, "1", "4");
    form.tab(); // the first row into edit
    form.type("Edit_Design", "Mini");
    form.close();
    EXPECT_EQ(demo.inv->scalar("SELECT DESIGNACAO FROM CUSTARTG WHERE TABGRUPO = '1' AND TABCOD = '4' AND CODIGO = 1")
                  .toString(),
              QString::fromUtf8(c.stored));
}

INSTANTIATE_TEST_SUITE_P(Tables, ClosingTables,
                         ::testing::Combine(::testing::Values(CloseCase{"article_form_discards",
                                                                        CustomisationOpener::ArticleForm, "Pequeno"},
                                                              CloseCase{"coding_form_writes",
                                                                        CustomisationOpener::CodingForm, "Mini"}),
                                            ::testing::ValuesIn(kv::test::engines())),
                         kv::test::caseName<CloseCase>);

TEST_P(Tables, TheListsShowTheirRows)
{
    KV_SKIP_WITHOUT(GetParam());
    Demo demo(GetParam());
    // TORCFPR032CUSTARTG: the country the form shows.
    kv::db::Dataset rows(QStringLiteral("CUSTARTG"));
    rows.setConnection(demo.inv);
    rows.setSql(kv::customers::CustomisationTables::valuesSql(kv::customers::CustomisationTables::Rows::OneCountry));
    rows.setParam("WTabGrupo", "1");
    rows.setParam("WTabCod", "1");
    rows.setParam("TabPais", "ESPANHA");
    rows.open();
    kv::report::OpenReports open;
    kv::customers::CustomisationListReport list(
        kv::customers::CustomisationListReport::articleFormList("TABELA DE ESTILO (ARTIGOS)"), demo.environment(),
        open);
    EXPECT_EQ(list.render(rows).pageCount(), 1);

    // TORCFSPR032CUSTCOD: every country, in the orientation chosen.
    FormDriver dialog = demo.scenario.show(
        new kv::customers::TORCFSPR032CUSTCOD(demo.environment(), "1", "1", "TABELA DE ESTILO (ARTIGOS)"));
    EXPECT_TRUE(dialog.isChecked("RadNormal"));
    EXPECT_TRUE(dialog.isChecked("RadVertical"));
    EXPECT_TRUE(dialog.isChecked("CheckImpressora"));
    dialog.click("RadHorizontal");
    dialog.click("RadQualidade");
    auto* print = static_cast<kv::customers::TORCFSPR032CUSTCOD*>(dialog.window());
    const kv::report::Document document = print->render();
    ASSERT_EQ(document.pageCount(), 1);
    EXPECT_EQ(document.pages.front().setup.layout().orientation(), QPageLayout::Landscape);

    // An empty table prints nothing.
    rows.close();
    rows.setParam("TabPais", "ITALIA");
    rows.open();
    EXPECT_EQ(list.render(rows).pageCount(), 0);
}

KV_ENGINE_SUITE(Tables);

// ------------------------------------------------------------------ per country

class Countries : public ::testing::TestWithParam<Engine> {};

TEST_P(Countries, DesignationsAndPricesPerCountry)
{
    KV_SKIP_WITHOUT(GetParam());
    Demo demo(GetParam());
    const int countries = demo.count("SELECT COUNT(*) FROM PAISES");
    ASSERT_GT(countries, 1);
    // "&Paises" twice: the rows are added once.
    demo.scenario.onDialog([](FormDriver& grid) { grid.click("BotGravar"); });
    EXPECT_TRUE(kv::customers::runArticleCountries(demo.environment(), nullptr, "CXA001MC4CM"));
    demo.scenario.onDialog([](FormDriver& grid) { grid.close(); });
    EXPECT_TRUE(kv::customers::runArticleCountries(demo.environment(), nullptr, "CXA001MC4CM"));
    EXPECT_EQ(demo.count("SELECT COUNT(*) FROM ARTIGOSPAIS WHERE ARTIGO = 'CXA001MC4CM'"), countries);
    EXPECT_FALSE(kv::customers::runArticleCountries(demo.environment(), nullptr, ""));

    // Typed in the grid: the country stays, a designation goes down with the arrow.
    FormDriver form = demo.scenario.show(new kv::customers::TORCF032PAIS(demo.environment(), "CXA001MC4CM"));
    auto* grid = form.find<kv::ui::DbGrid>("DbgridPais");
    auto* model = grid->model();
    EXPECT_FALSE(model->flags(model->index(0, 0)) & Qt::ItemIsEditable);
    const QString country = form.gridCell("DbgridPais", 0, 0);
    ASSERT_TRUE(model->setData(model->index(0, 1), "Caja 4 colores"));
    ASSERT_TRUE(model->setData(model->index(0, 2), "1,5"));
    form.focus("DbgridPais");
    form.press(Qt::Key_Down);
    EXPECT_EQ(
        demo.inv
            ->scalar("SELECT DESIGNACAO FROM ARTIGOSPAIS WHERE ARTIGO = 'CXA001MC4CM' AND PAIS = :P", {{"P", country}})
            .toString(),
        "Caja 4 colores");
    // Closing without Gravar still writes the row being typed.
    ASSERT_TRUE(model->setData(model->index(1, 1), "Boîte"));
    form.close();
    EXPECT_EQ(demo.count("SELECT COUNT(*) FROM ARTIGOSPAIS WHERE ARTIGO = 'CXA001MC4CM' AND DESIGNACAO = 'Boîte'"), 1);
    EXPECT_DOUBLE_EQ(
        demo.inv->scalar("SELECT PRECO1 FROM ARTIGOSPAIS WHERE ARTIGO = 'CXA001MC4CM' AND PAIS = :P", {{"P", country}})
            .toDouble(),
        1.5);
}

KV_ENGINE_SUITE(Countries);

} // namespace
