// The countries with their accounting roots, on the demo company (accounting
// link on; PORTUGAL, ESPANHA, FRANÇA, ANGOLA with their roots).
#include "commercial/CommercialSession.h"

#include "platform/db/Connection.h"
#include "support/ScriptedMessages.h"

#include <QTabBar>
#include <QTabWidget>

using namespace kv::commercial;
using namespace kv::commercial::test;
using kv::test::FormDriver;

namespace {

struct Countries {
    explicit Countries(Engine engine, bool linkOn = true) : session(scenario, engine, kv::test::Company::Demo)
    {
        if (!linkOn)
            session.invoicing()->exec("UPDATE PARGER SET CONTABILIDADE = 'N'");
        // "27" itself is no root; "270" is.
        for (const char* account : {"27", "270"})
            session.accounting()->exec(
                "INSERT INTO PLANOIDENT (ANO, CONTA, NOME, TIPO, GRAU) VALUES (:A, :C, :N, 'I', 2)",
                {{"A", session.state().WAno},
                 {"C", QString::fromLatin1(account)},
                 {"N", QStringLiteral("Conta %1").arg(QLatin1String(account))}});
        form = scenario.open("TFACF005");
        scenario.settle();
        scenario.messages().clear();
    }

    QString stored(const QString& country, const QString& column)
    {
        return session.invoicing()
            ->scalar(QStringLiteral("SELECT %1 FROM PAISES WHERE PAIS = :P").arg(column), {{"P", country}})
            .toString();
    }
    int page() { return form.find<QTabWidget>("TabControl")->currentIndex(); }

    kv::test::Scenario scenario;
    CommercialSession session;
    FormDriver form;
};

// A new country: the key checked as typed (letter case counts), the market
// in capitals, then on to the customers' roots; saved with the default open
// flags (the first root of each group "S", the others "N").
class CountryForm : public ::testing::TestWithParam<Engine> {};

TEST_P(CountryForm, NewCountryTakesTheDefaultFlags)
{
    KV_SKIP_WITHOUT(GetParam());
    Countries c(GetParam());
    c.form.click("BotInserir");
    c.form.type("Edit_Pais", "Itália");
    c.form.enter();
    c.scenario.settle();
    EXPECT_EQ(c.form.focused(), "Edit_Sigla");
    c.form.type("Edit_Sigla", "IT");
    c.form.enter();
    c.form.type("Edit_Indicativo", "39");
    c.form.enter();
    c.form.type("Edit_Mercado", "e");
    c.form.enter();
    c.scenario.settle();
    EXPECT_EQ(c.scenario.messages().transcript(), QStringList{});
    EXPECT_EQ(c.page(), 1);
    EXPECT_EQ(c.form.focused(), "Edit_CliConta1");
    c.form.focus("DBGrid1");
    c.scenario.settle();
    const QString italy = QString::fromUtf8("Itália");
    EXPECT_EQ(c.stored(italy, "MERCADO"), "E");
    for (const char* column : {"CLIOPEN1", "FRNOPEN1", "FRNOPENI1", "FRNOPENA1", "FRNOPENO1"})
        EXPECT_EQ(c.stored(italy, column), "S") << column;
    for (const char* column : {"CLIOPEN2", "CLIOPEN5", "FRNOPEN3", "FRNOPENI2", "FRNOPENA4", "FRNOPENO5"})
        EXPECT_EQ(c.stored(italy, column), "N") << column;
    EXPECT_EQ(c.stored(italy, "CLICONTA1"), "");
    EXPECT_EQ(c.page(), 0);
}

struct CountryKeyCase {
    const char* label;
    QString typed;
    QStringList transcript;
    QString focus;
};

class CountryKey : public ::testing::TestWithParam<std::tuple<CountryKeyCase, Engine>> {};

TEST_P(CountryKey, IsComparedAsTyped)
{
    const auto& [k, engine] = GetParam();
    KV_SKIP_WITHOUT(engine);
    Countries c(engine);
    c.form.click("BotInserir");
    c.form.type("Edit_Pais", k.typed);
    c.form.enter();
    c.scenario.settle();
    EXPECT_EQ(c.scenario.messages().transcript(), k.transcript);
    EXPECT_EQ(c.form.focused(), k.focus);
}

INSTANTIATE_TEST_SUITE_P(
    Commercial, CountryKey,
    ::testing::Combine(
        ::testing::Values(CountryKeyCase{"empty", "", {kv::test::ScriptedMessages::BeepEntry}, "Edit_Pais"},
                          CountryKeyCase{"taken",
                                         "PORTUGAL",
                                         {kv::test::ScriptedMessages::BeepEntry, "País já foi Aberto ..."},
                                         "DBGrid1"},
                          CountryKeyCase{"other letter case", "portugal", {}, "Edit_Sigla"}),
        ::testing::ValuesIn(kv::test::engines())),
    kv::test::caseName<CountryKeyCase>);

struct MarketCase {
    const char* label;
    QString typed;
    QStringList transcript;
    QString focus;
};

class Market : public ::testing::TestWithParam<std::tuple<MarketCase, Engine>> {};

TEST_P(Market, IsOneOfThreeLetters)
{
    const auto& [m, engine] = GetParam();
    KV_SKIP_WITHOUT(engine);
    Countries c(engine);
    c.form.focus("Edit_Sigla");
    c.form.type("Edit_Mercado", m.typed);
    c.form.enter();
    c.scenario.settle();
    EXPECT_EQ(c.scenario.messages().transcript(), m.transcript);
    EXPECT_EQ(c.form.focused(), m.focus);
}

INSTANTIATE_TEST_SUITE_P(
    Commercial, Market,
    ::testing::Combine(
        ::testing::Values(
            MarketCase{"capital", "O", {}, "Edit_CliConta1"},
            MarketCase{
                "other letter", "C", {kv::test::ScriptedMessages::BeepEntry, "DIGITE [N];[E];[O]"}, "Edit_Mercado"},
            MarketCase{"empty", "", {kv::test::ScriptedMessages::BeepEntry, "DIGITE [N];[E];[O]"}, "Edit_Mercado"}),
        ::testing::ValuesIn(kv::test::engines())),
    kv::test::caseName<MarketCase>);

// The roots: integration accounts of the year from "21", "27" itself excluded.
struct RootCase {
    const char* label;
    QString typed;
    QStringList transcript;
    QString name; // a refused root's label is emptied by the check
    bool focusStays;
};

class Root : public ::testing::TestWithParam<std::tuple<RootCase, Engine>> {};

TEST_P(Root, IsCheckedAndNamed)
{
    const auto& [r, engine] = GetParam();
    KV_SKIP_WITHOUT(engine);
    Countries c(engine);
    c.form.focus("Edit_Sigla");
    c.form.find<QTabWidget>("TabControl")->setCurrentIndex(1);
    c.form.type("Edit_CliConta2", r.typed);
    c.form.enter();
    c.scenario.settle();
    EXPECT_EQ(c.scenario.messages().transcript(), r.transcript);
    EXPECT_EQ(c.form.text("Label_CliConta2"), r.name);
    EXPECT_EQ(c.form.focused() == "Edit_CliConta2", r.focusStays);
}

INSTANTIATE_TEST_SUITE_P(
    Commercial, Root,
    ::testing::Combine(
        ::testing::Values(
            RootCase{"integration account", "2112", {}, QString::fromUtf8("Clientes c/c - Mercado Comunitário"), false},
            RootCase{"27 excluded", "27", {"CONTA INEXISTENTE"}, "", true},
            RootCase{"270 admitted", "270", {}, "Conta 270", false},
            RootCase{"posting account", "24321", {"CONTA INEXISTENTE"}, "", true},
            RootCase{"empty", "", {}, "", false}),
        ::testing::ValuesIn(kv::test::engines())),
    kv::test::caseName<RootCase>);

// The lookup of a supplier root writes the group shown, and no other.
TEST_P(CountryForm, SupplierLookupWritesTheGroupShown)
{
    KV_SKIP_WITHOUT(GetParam());
    Countries c(GetParam());
    c.form.focus("Edit_Sigla");
    c.form.find<QTabWidget>("TabControl")->setCurrentIndex(2);
    c.form.find<QTabWidget>("TbFornecedor")->setCurrentIndex(1);
    c.form.focus("Edit_FrnContaI3");
    c.scenario.onDialog([](FormDriver& lookup) {
        lookup.type("SearchText", "2611");
        lookup.clickButton("OK");
    });
    c.form.insert();
    c.scenario.settle();
    EXPECT_EQ(c.form.text("Edit_FrnContaI3"), "2611");
    c.form.focus("DBGrid1");
    c.scenario.settle();
    const QString first = c.session.invoicing()->scalar("SELECT MIN(PAIS) FROM PAISES").toString();
    EXPECT_EQ(c.stored(first, "FRNCONTAI3"), "2611");
    for (const char* column : {"FRNCONTA3", "FRNCONTAA3", "FRNCONTAO3"})
        EXPECT_EQ(c.stored(first, column), "") << column;
}

// With the link off the tabs cannot be clicked, a valid market still shows
// the customers' page, and a root is kept as typed, unchecked.
TEST_P(CountryForm, LinkOffKeepsRootsUnchecked)
{
    KV_SKIP_WITHOUT(GetParam());
    Countries c(GetParam(), false);
    EXPECT_FALSE(c.form.find<QTabWidget>("TabControl")->tabBar()->isEnabled());
    c.form.focus("Edit_Sigla");
    c.form.type("Edit_Mercado", "N");
    c.form.enter();
    c.scenario.settle();
    EXPECT_EQ(c.page(), 1);
    c.form.type("Edit_CliConta1", "9999");
    c.form.enter();
    c.scenario.settle();
    EXPECT_EQ(c.scenario.messages().transcript(), QStringList{});
    EXPECT_EQ(c.form.text("Label_CliConta1"), "");
    c.form.focus("DBGrid1");
    c.scenario.settle();
    const QString first = c.session.invoicing()->scalar("SELECT MIN(PAIS) FROM PAISES").toString();
    EXPECT_EQ(c.stored(first, "CLICONTA1"), "9999");
}

// The postal codes' side door to the countries shows now, and leaves the
// countries' list open for the country lookup.
TEST_P(CountryForm, PostalCodesOpenItThroughTheirSideDoor)
{
    KV_SKIP_WITHOUT(GetParam());
    Countries c(GetParam());
    c.form.close();
    c.scenario.settle();
    FormDriver postal = c.scenario.open("TFACF008");
    c.scenario.settle();
    ASSERT_TRUE(postal.isVisible("BotPaises"));
    c.scenario.onDialog([](FormDriver& countries) {
        EXPECT_EQ(countries.window()->objectName(), "TFACF005");
        countries.close();
    });
    postal.click("BotPaises");
    c.scenario.settle();
    EXPECT_TRUE(c.session.dataset("DTTABELAS.PAISES").isOpen());
}

KV_ENGINE_SUITE(CountryForm);

} // namespace
