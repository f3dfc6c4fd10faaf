// The generation form TORCF100 on the plain company: its limits, the work
// list of "&Iniciar" and a generation through "&Criar OF(s)".
#include "production/GenerationBed.h"
#include "production/forms/ProductionForms.h"

#include "support/Scenario.h"

using kv::test::Company;
using kv::test::Engine;
using kv::test::FormDriver;

namespace {

struct GenerationForm {
    kv::test::Scenario scenario;
    std::shared_ptr<kv::db::Connection> db;
    std::shared_ptr<kv::db::Connection> invoicing;

    explicit GenerationForm(Engine engine)
    {
        scenario.login(engine, Company::Plain);
        kv::production::registerProductionForms(scenario.session(), scenario.forms());
        db = scenario.session().dataModules().connections().DbKavorime;
        invoicing = scenario.session().dataModules().connections().DbFacturacao;
        kv::production::test::seedGeneration(*db, *invoicing);
        if (!invoicing->scalar("SELECT ANO FROM PARGER WHERE ANO = '2024'").isValid())
            invoicing->exec("INSERT INTO PARGER (ANO) VALUES ('2024')");
        scenario.messages().clear();
    }
};

class Torcf100 : public ::testing::TestWithParam<Engine> {};

TEST_P(Torcf100, ListsBuildsTheWorkListAndGenerates)
{
    KV_SKIP_WITHOUT(GetParam());
    GenerationForm g(GetParam());
    kv::production::test::addGenerationLine(*g.invoicing, 3101, 1, 10, QDate(2024, 3, 18));
    kv::production::test::addGenerationLine(*g.invoicing, 3101, 2, 6, QDate(2024, 3, 25));
    FormDriver form = g.scenario.open("TORCF100");
    g.scenario.settle();
    EXPECT_EQ(form.text("Edit_CliNro1"), "1");
    EXPECT_EQ(form.text("Edit_CliNro2"), "99999999");
    EXPECT_EQ(form.text("Edit_Data1"), "14/02/2024");
    EXPECT_EQ(form.text("Edit_DatEnt2"), "15/03/2025");
    EXPECT_FALSE(form.isVisible("DBGrid2"));
    EXPECT_FALSE(form.isVisible("BitCriar"));
    form.type("Edit_CliNro2", "800");
    form.tab();
    g.scenario.settle();
    EXPECT_EQ(form.gridRowCount("DBGrid1"), 2);
    EXPECT_EQ(form.text("LabelEncomendas"), QString::fromUtf8("Nº Encomendas : 2"));
    // A question answered No returns to the form as it was: the limits are
    // set at the first activation only.
    g.scenario.messages().answer(false);
    form.click("BitIniciar");
    g.scenario.settle();
    EXPECT_EQ(form.text("Edit_CliNro2"), "800");
    EXPECT_EQ(form.gridRowCount("DBGrid1"), 2);
    EXPECT_FALSE(form.isVisible("DBGrid2"));

    g.scenario.messages().answer(true);
    form.click("BitIniciar");
    g.scenario.settle();
    ASSERT_TRUE(form.isVisible("DBGrid2"));
    EXPECT_EQ(form.gridRowCount("DBGrid2"), 2);
    EXPECT_EQ(form.text("LabelOfs"), "Ordens de Fabrico a Processar : 2");
    EXPECT_FALSE(form.isVisible("BitIniciar"));

    g.scenario.messages().answer(true);
    form.click("BitCriar");
    g.scenario.settle();
    EXPECT_EQ(g.scenario.messages().lastText(), "Foram Criadas 2 Ordens de Fabrico");
    EXPECT_EQ(g.db->scalar("SELECT SUM(QUANTIDADE) FROM ORDFABDET WHERE ORDNRO = 3101 AND SUBORC = 0").toDouble(), 16);
    EXPECT_EQ(form.gridRowCount("DBGrid2"), 0);
    EXPECT_EQ(form.gridRowCount("DBGrid1"), 0);

    // Nothing left to generate.
    g.scenario.messages().answer(true);
    form.click("BitCriar");
    g.scenario.settle();
    EXPECT_EQ(g.scenario.messages().lastText(), QString::fromUtf8("Não foram geradas Ordens de Fabrico"));
}

TEST_P(Torcf100, ClosesWithoutTheYearsParameters)
{
    KV_SKIP_WITHOUT(GetParam());
    GenerationForm g(GetParam());
    g.invoicing->exec("DELETE FROM PARGER WHERE ANO = '2024'");
    FormDriver form = g.scenario.open("TORCF100");
    g.scenario.settle();
    EXPECT_EQ(g.scenario.messages().lastText(), "PARAMETROS GERAIS, Inexistentes");
    EXPECT_FALSE(form.window()->isVisible());
}

// An empty from-customer is refused, not read as customer 0.
TEST_P(Torcf100, AnEmptyFromCustomerIsRefused)
{
    KV_SKIP_WITHOUT(GetParam());
    GenerationForm g(GetParam());
    FormDriver form = g.scenario.open("TORCF100");
    g.scenario.settle();
    form.type("Edit_CliNro1", "");
    form.tab();
    g.scenario.settle();
    EXPECT_EQ(g.scenario.messages().lastText(), QString::fromUtf8("Cliente Inválido"));
    EXPECT_EQ(form.focused(), "Edit_CliNro1");
}

KV_ENGINE_SUITE(Torcf100);

} // namespace

namespace {

// The demo company generates its waiting orders 10 and 11 (order 10's two
// lines merge, with the quote's accessory); order 12 was generated already.
TEST_P(Torcf100, DemoCompanyHasOrdersToGenerate)
{
    KV_SKIP_WITHOUT(GetParam());
    kv::test::Scenario scenario;
    scenario.login(GetParam(), Company::Demo);
    kv::production::registerProductionForms(scenario.session(), scenario.forms());
    auto db = scenario.session().dataModules().connections().DbKavorime;
    scenario.messages().clear();
    FormDriver form = scenario.open("TORCF100");
    scenario.settle();
    scenario.messages().answer(true);
    form.click("BitIniciar");
    scenario.settle();
    EXPECT_EQ(form.gridRowCount("DBGrid2"), 3);
    scenario.messages().answer(true);
    form.click("BitCriar");
    scenario.settle();
    EXPECT_EQ(scenario.messages().lastText(), "Foram Criadas 3 Ordens de Fabrico");
    EXPECT_EQ(db->scalar("SELECT QUANTIDADE FROM ORDFABDET WHERE ORDNRO = 10 AND SUBORC = 1").toDouble(), 2000);
    EXPECT_EQ(db->scalar("SELECT COUNT(*) FROM ORDFABDET WHERE ORDNRO = 12").toInt(), 2);
}

} // namespace
