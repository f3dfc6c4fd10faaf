// The transport costs form TORCF011: codes typed without a proposal, the
// destination checked against the commercial geography tables and written
// into the row, and the list by destination without codes.
#include "costing/FormFixtures.h"
#include "support/TableRows.h"

using namespace kv::costing;
using namespace kv::costing::test;
using kv::test::FormDriver;

namespace {

using kv::costing::test::operator<<;

// Two countries with a region and a province each, and three rates whose
// codes run against their destination order.
struct Transport {
    kv::test::Scenario scenario;
    CostingSession session;

    explicit Transport(Engine engine) : session(scenario, engine)
    {
        session.grant("Custos de Transporte", "S");
        auto invoicing = session.invoicing();
        invoicing->exec("INSERT INTO PAISES (PAIS) VALUES ('PORTUGAL'), ('ESPANHA')");
        invoicing->exec("INSERT INTO REGIOES (REGIAO) VALUES ('NORTE'), ('GALIZA')");
        invoicing->exec("INSERT INTO PROVINCIAS (PROVINCIA) VALUES ('PORTO'), ('PONTEVEDRA')");
        kv::test::insertRows(*session.application(), "CUSTRANSP",
                             {"CODIGO", "PAIS", "REGIAO", "PROVINCIA", "PRCORCAM", "CUSTOKM"},
                             {{1, "PORTUGAL", "NORTE", "PORTO", 1.5, 0},
                              {2, "ESPANHA", "GALIZA", "PONTEVEDRA", 0, 1.35},
                              {3, "ESPANHA", "GALIZA", "CORUNHA", 0, 1.2}});
    }

    FormDriver open()
    {
        FormDriver form = scenario.open("TORCF011");
        scenario.wait();
        return form;
    }

    // Inserir and a free code: the new row waits for its country.
    FormDriver newRow(const QString& code = "-5")
    {
        FormDriver form = open();
        form.click("BotInserir");
        form.type("Edit_Codigo", code);
        form.enter();
        scenario.wait();
        return form;
    }

    void typeTransportAndEnter(FormDriver& form, const QString& field, const QString& text)
    {
        form.type(field, text);
        form.enter();
        scenario.wait();
    }
};

TEST(TransportCosts, ListsByDestinationAndInserirProposesNothing)
{
    for (Engine engine : engines()) {
        if (!CostingSession::available(engine))
            continue;
        Transport transport(engine);
        FormDriver form = transport.open();
        EXPECT_EQ(form.gridCell("DBGrid1", 0, 0), "3");
        EXPECT_EQ(form.gridCell("DBGrid1", 1, 0), "2");
        EXPECT_EQ(form.gridCell("DBGrid1", 2, 0), "1");
        EXPECT_EQ(form.text("Edit_Provincia"), "CORUNHA");
        form.click("BotInserir");
        EXPECT_EQ(form.text("Edit_Codigo"), "");
        EXPECT_EQ(form.text("Edit_Pais"), "");
        EXPECT_EQ(form.focused(), "Edit_Codigo");
        EXPECT_EQ(form.gridRowCount("DBGrid1"), 3) << "no row starts before a code is typed";
    }
}

struct CodeCase {
    const char* label;
    QString typed;
    QStringList transcript;
    QString focus;
};

class TransportCode : public ::testing::TestWithParam<std::tuple<CodeCase, Engine>> {};

TEST_P(TransportCode, IsCheckedWhenLeft)
{
    const auto& [c, engine] = GetParam();
    SKIP_WITHOUT(engine);
    Transport transport(engine);
    FormDriver form = transport.newRow(c.typed);
    EXPECT_EQ(transport.scenario.messages().transcript(), c.transcript);
    EXPECT_EQ(form.focused(), c.focus);
}

INSTANTIATE_TEST_SUITE_P(
    Costing, TransportCode,
    ::testing::Combine(
        ::testing::Values(
            CodeCase{"empty", "", {"<beep>"}, "Edit_Codigo"}, CodeCase{"zero", "0", {"<beep>"}, "Edit_Codigo"},
            CodeCase{"negative", "-5", {}, "Edit_Pais"}, CodeCase{"above a million", "2000000", {}, "Edit_Pais"},
            CodeCase{"not a whole number", "1,5", {"<beep>", "Codigo Inválido ... <ENTER>"}, "Edit_Codigo"},
            CodeCase{"taken", "2", {"<beep>", "REGISTO JÁ FOI ABERTO ... <ENTER>"}, "DBGrid1"}),
        ::testing::ValuesIn(engines())),
    caseName<CodeCase>);

struct DestinationCase {
    const char* label;
    QString country;
    QString region;
    QString province;
    QStringList transcript; // of the last field typed
    QString focus;
};

class TransportDestination : public ::testing::TestWithParam<std::tuple<DestinationCase, Engine>> {};

TEST_P(TransportDestination, IsCheckedAgainstTheGeography)
{
    const auto& [c, engine] = GetParam();
    SKIP_WITHOUT(engine);
    Transport transport(engine);
    FormDriver form = transport.newRow();
    for (const auto& [field, text] : {std::pair{"Edit_Pais", c.country}, std::pair{"Edit_Regiao", c.region},
                                      std::pair{"Edit_Provincia", c.province}}) {
        transport.scenario.messages().clear();
        transport.typeTransportAndEnter(form, field, text);
        if (form.focused() == field)
            break;
    }
    EXPECT_EQ(transport.scenario.messages().transcript(), c.transcript);
    EXPECT_EQ(form.focused(), c.focus);
}

INSTANTIATE_TEST_SUITE_P(
    Costing, TransportDestination,
    ::testing::Combine(
        ::testing::Values(
            DestinationCase{"no country", "", "", "", {"<beep>"}, "Edit_Pais"},
            DestinationCase{"unknown country", "ALEMANHA", "", "", {"<beep>", "País Inexistente !!!"}, "Edit_Pais"},
            DestinationCase{
                "country in small letters", "portugal", "", "", {"<beep>", "País Inexistente !!!"}, "Edit_Pais"},
            DestinationCase{
                "unknown region", "PORTUGAL", "SUL", "", {"<beep>", "Região Inexistente !!!"}, "Edit_Regiao"},
            DestinationCase{"unknown province",
                            "PORTUGAL",
                            "NORTE",
                            "BRAGA",
                            {"<beep>", "Província Inexistente !!!"},
                            "Edit_Provincia"},
            DestinationCase{"whole destination", "PORTUGAL", "NORTE", "PORTO", {}, "Edit_PrcOrcam"},
            DestinationCase{"province of another country", "PORTUGAL", "", "PONTEVEDRA", {}, "Edit_PrcOrcam"}),
        ::testing::ValuesIn(engines())),
    caseName<DestinationCase>);

struct SavedCase {
    const char* label;
    QString country;
    QString region;
    QString province;
    QVariant storedRegion;
    QVariant storedProvince;
};

class TransportRow : public ::testing::TestWithParam<std::tuple<SavedCase, Engine>> {};

// Each value that passed its check is stored: a row without a province keeps
// its country and region.
TEST_P(TransportRow, KeepsTheDestinationThatPassed)
{
    const auto& [c, engine] = GetParam();
    SKIP_WITHOUT(engine);
    Transport transport(engine);
    FormDriver form = transport.newRow("-5");
    transport.typeTransportAndEnter(form, "Edit_Pais", c.country);
    transport.typeTransportAndEnter(form, "Edit_Regiao", c.region);
    transport.typeTransportAndEnter(form, "Edit_Provincia", c.province);
    transport.typeTransportAndEnter(form, "Edit_PrcOrcam", "2,5");
    transport.typeTransportAndEnter(form, "Edit_CustoKm", "0");
    EXPECT_EQ(form.focused(), "DBGrid1");
    EXPECT_TRUE(transport.scenario.messages().transcript().isEmpty());
    const auto rows = transport.session.application()->query(
        "SELECT PAIS, REGIAO, PROVINCIA, PRCORCAM FROM CUSTRANSP WHERE CODIGO = -5");
    ASSERT_EQ(rows.rows.size(), 1u);
    EXPECT_EQ(rows.value(0, "PAIS").toString(), c.country);
    EXPECT_EQ(rows.value(0, "REGIAO").toString(), c.storedRegion.toString());
    EXPECT_EQ(rows.value(0, "PROVINCIA").toString(), c.storedProvince.toString());
    EXPECT_EQ(rows.value(0, "PRCORCAM").toDouble(), 2.5);
}

INSTANTIATE_TEST_SUITE_P(
    Costing, TransportRow,
    ::testing::Combine(::testing::Values(SavedCase{"whole destination", "PORTUGAL", "NORTE", "PORTO", "NORTE", "PORTO"},
                                         SavedCase{"without a region", "ESPANHA", "", "PONTEVEDRA", QVariant(),
                                                   "PONTEVEDRA"},
                                         SavedCase{"without a province", "PORTUGAL", "NORTE", "", "NORTE", QVariant()},
                                         SavedCase{"country alone", "ESPANHA", "", "", QVariant(), QVariant()}),
                       ::testing::ValuesIn(engines())),
    caseName<SavedCase>);

// An existing row is edited in its rates; its destination stays.
TEST(TransportCosts, LeavingTheGridEditsTheRates)
{
    for (Engine engine : engines()) {
        if (!CostingSession::available(engine))
            continue;
        Transport transport(engine);
        FormDriver form = transport.open();
        form.clickRow("DBGrid1", 2);
        form.focus("Edit_PrcOrcam");
        transport.scenario.wait();
        transport.typeTransportAndEnter(form, "Edit_PrcOrcam", "3");
        transport.typeTransportAndEnter(form, "Edit_CustoKm", "0");
        const auto rows =
            transport.session.application()->query("SELECT PAIS, PROVINCIA, PRCORCAM FROM CUSTRANSP WHERE CODIGO = 1");
        ASSERT_EQ(rows.rows.size(), 1u);
        EXPECT_EQ(rows.value(0, "PRCORCAM").toDouble(), 3.0) << engineName(engine);
        EXPECT_EQ(rows.value(0, "PROVINCIA").toString(), "PORTO") << engineName(engine);
        EXPECT_EQ(form.gridCell("DBGrid1", form.gridCurrentRow("DBGrid1"), 0), "1") << engineName(engine);
    }
}

QStringList bandLines(const kv::report::Document& document, kv::report::BandKind kind)
{
    QStringList lines;
    for (const auto& page : document.pages)
        for (const auto& band : page.bands)
            if (band.kind == kind) {
                QStringList texts;
                for (const auto& item : band.items)
                    if (!item.text.isEmpty())
                        texts << item.text;
                lines << texts.join('|');
            }
    return lines;
}

// The list: by destination, without codes, without an order to choose.
TEST(TransportCosts, PrintsByDestinationWithoutCodes)
{
    for (Engine engine : engines()) {
        if (!CostingSession::available(engine))
            continue;
        Transport transport(engine);
        FormDriver form = transport.open();
        bool orderChoice = true;
        const kv::report::Document document = printList(transport.scenario, form, false, [&](FormDriver& dialog) {
            orderChoice = dialog.isVisible("RadNumerica");
        });
        EXPECT_FALSE(orderChoice);
        EXPECT_EQ(bandLines(document, kv::report::BandKind::Detail),
                  (QStringList{"ESPANHA|GALIZA|CORUNHA|0|1,20 €", "ESPANHA|GALIZA|PONTEVEDRA|0|1,35 €",
                               "PORTUGAL|NORTE|PORTO|1,5|0,00 €"}))
            << engineName(engine);
        EXPECT_EQ(bandLines(document, kv::report::BandKind::ColumnHeader),
                  (QStringList{"País|Região|Província|(%) s/ Orçamento|Custo p/ Km"}));
        EXPECT_EQ(bandLines(document, kv::report::BandKind::PageHeader).value(0), "Custos de Transporte");
        EXPECT_EQ(form.gridRowCount("DBGrid1"), 3);
    }
}

} // namespace
