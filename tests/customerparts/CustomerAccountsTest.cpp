#include "customers/parts/CustomerAccounts.h"

#include "RecordingSink.h"
#include "support/Scenario.h"
#include "support/TableRows.h"

using kv::customers::AccountCustomer;
using kv::customers::CustomerAccounts;
using kv::test::Engine;

namespace {

const QString Year = QStringLiteral("2024");

// Country TESTLAND: account 1 under 211 with 6 digits; account 2 with too few
// digits for any customer above 9; account 3 unused; account 4 under a root
// of level 2, below the automatic minimum; account 5 under a root missing
// from the chart. SEMABRIR proposes account 1 without opening it.
class AccountsTest : public ::testing::TestWithParam<Engine> {
protected:
    void SetUp() override
    {
        KV_SKIP_WITHOUT(GetParam());
        scenario.createInstallation(GetParam());
        invoicing = scenario.invoicingDatabase();
        accounting = scenario.accountingDatabase();
        kv::test::insertRows(*invoicing, "PAISES",
                             {"PAIS", "SIGLA", "CLICONTA1", "CLIDIG1", "CLIOPEN1", "CLICONTA2", "CLIDIG2", "CLIOPEN2",
                              "CLICONTA3", "CLICONTA4", "CLIDIG4", "CLIOPEN4", "CLICONTA5", "CLIDIG5", "CLIOPEN5"},
                             {{"TESTLAND", "TL", "211", 6, "S", "218", 1, "S", "", "2114", 5, "S", "219", 5, "S"},
                              {"SEMABRIR", "SA", "211", 6, "N", "", 0, "N", "", "", 0, "N", "", 0, "N"}});
        kv::test::insertRows(*invoicing, "CODPOSTAL", {"CODPOSTAL", "LOCALIDADE", "PAIS"},
                             {{"4000-001", "Porto", "TESTLAND"},
                              {"5000-001", "Vila Real", "SEMABRIR"},
                              {"9999-999", "Nenhures", "ATLANTIDA"}});
        kv::test::insertRows(*accounting, "PLANOIDENT", {"ANO", "CONTA", "NOME", "TIPO", "GRAU"},
                             {{Year, "211", "Clientes c/c", "I", 2},
                              {Year, "218", "Clientes cobrança duvidosa", "I", 2},
                              {Year, "2114", "Clientes diversos", "I", 2},
                              {"2023", "219", "Só do ano anterior", "I", 2}});
    }

    CustomerAccounts accounts() { return CustomerAccounts(invoicing, accounting, Year, messages); }

    QVariant chart(const QString& account, const char* column)
    {
        return accounting->scalar(
            QStringLiteral("SELECT %1 FROM PLANOIDENT WHERE ANO = :A AND CONTA = :C").arg(QString::fromLatin1(column)),
            {{"A", Year}, {"C", account}});
    }
    int count(const char* table, const QString& account)
    {
        return accounting
            ->scalar(
                QStringLiteral("SELECT COUNT(*) FROM %1 WHERE ANO = :A AND CONTA = :C").arg(QString::fromLatin1(table)),
                {{"A", Year}, {"C", account}})
            .toInt();
    }

    kv::test::Scenario scenario;
    std::shared_ptr<kv::db::Connection> invoicing;
    std::shared_ptr<kv::db::Connection> accounting;
    kv::test::RecordingSink messages;
    const AccountCustomer customer45{45,      "45",    "Cliente Quarenta e Cinco, Comércio de Embalagens, Lda",
                                     "USD",   "PT",    "123456789",
                                     "Rua A", "Porto", "4000-001"};
};

struct BuildCase {
    const char* label;
    int account;
    const char* customerPart;
    int minimumLevel;
    const char* expected; // the account, or the message
};

TEST_P(AccountsTest, BuildsAccountsAsTheCountrySays)
{
    const BuildCase cases[] = {
        {"padded_with_zeros", 1, "45", 2, "211000045"},
        {"digits_equal_to_length", 1, "123456", 2, "211123456"},
        {"one_digit_short", 1, "1234567", 2, "Nº DE DIGITOS PARAMETRIZADOS INVÁLIDO = 6"},
        {"too_few_digits", 2, "45", 2, "Nº DE DIGITOS PARAMETRIZADOS INVÁLIDO = 1"},
        {"level_below_minimum", 4, "45", 4, "GRAU DE CONTA INVÁLIDO = 3"},
        {"level_at_minimum", 4, "45", 3, "211400045"},
        {"root_of_another_year", 5, "45", 2, "CONTA DE INTEGRAÇÃO (5) INEXISTENTE : 219"},
    };
    CustomerAccounts core = accounts();
    const auto country = core.country("TESTLAND");
    ASSERT_TRUE(country);
    for (const BuildCase& c : cases) {
        SCOPED_TRACE(c.label);
        const auto built = core.build(c.account, *country, QString::fromLatin1(c.customerPart), c.minimumLevel);
        EXPECT_EQ(built.ok() ? built.account : built.error, QString::fromUtf8(c.expected));
        if (built.ok()) {
            EXPECT_EQ(built.level, 3);
        }
    }
}

TEST_P(AccountsTest, OpeningWritesChartPeriodsAndRecapTogether)
{
    CustomerAccounts core = accounts();
    const auto country = core.countryOfPostalCode("4000-001");
    ASSERT_TRUE(country);
    const auto built = core.build(1, *country, "45", 2);
    ASSERT_TRUE(core.open(built, customer45, *country));

    EXPECT_EQ(chart("211000045", "NOME").toString(), customer45.name.left(35));
    EXPECT_EQ(chart("211000045", "GRAU").toInt(), 3);
    EXPECT_EQ(chart("211000045", "TIPO").toString(), "L");
    EXPECT_EQ(chart("211000045", "MAPA").toString(), "1");
    EXPECT_EQ(chart("211000045", "INTEGRA").toString(), "211");
    EXPECT_EQ(chart("211000045", "PAIS").toString(), "TESTLAND");
    EXPECT_EQ(chart("211000045", "CODIGOCC").toInt(), 45);
    EXPECT_EQ(chart("211000045", "MOEDA").toString(), "USD");
    EXPECT_EQ(count("PLANOVAL", "211000045"), 1);
    EXPECT_EQ(count("PLANOESTRG", "211000045"), 1);
    EXPECT_EQ(accounting->scalar("SELECT ACUDEB15 + ACUCRE15 + ACUDEB0 FROM PLANOVAL").toDouble(), 0.0);
    const auto recap =
        accounting->query("SELECT CONTRIB, NOME, LOCALIDADE FROM RECAPCLIMAS WHERE ANO = :A", {{"A", Year}});
    ASSERT_EQ(recap.rows.size(), 1u);
    EXPECT_EQ(recap.value(0, "CONTRIB").toString(), "123456789");
    EXPECT_EQ(recap.value(0, "LOCALIDADE").toString(), "Porto");

    // A second opening finds it in the chart and writes nothing.
    AccountCustomer renamed = customer45;
    renamed.name = "Outro nome";
    EXPECT_FALSE(core.open(built, renamed, *country));
    EXPECT_EQ(chart("211000045", "NOME").toString(), customer45.name.left(35));
}

TEST_P(AccountsTest, NoCurrencyNoForeignTotalsNoTaxNumberNoRecap)
{
    CustomerAccounts core = accounts();
    const auto country = core.countryOfPostalCode("4000-001");
    AccountCustomer plain = customer45;
    plain.currency.clear();
    plain.taxNumber.clear();
    ASSERT_TRUE(core.open(core.build(1, *country, "45", 2), plain, *country));
    EXPECT_EQ(count("PLANOVAL", "211000045"), 1);
    EXPECT_EQ(count("PLANOESTRG", "211000045"), 0);
    EXPECT_EQ(accounting->scalar("SELECT COUNT(*) FROM RECAPCLIMAS").toInt(), 0);
}

TEST_P(AccountsTest, AutomaticCreationAgainstTheButton)
{
    CustomerAccounts core = accounts();
    // Account 4's root lies below the automatic minimum: refused there ...
    const auto automatic = core.createAutomatically(4, customer45, true, {});
    EXPECT_TRUE(automatic.error);
    EXPECT_EQ(messages.said, (QStringList{"<beep>", "GRAU DE CONTA INVÁLIDO = 3"}));
    EXPECT_EQ(count("PLANOVAL", "211400045"), 0);
    // ... but "Abrir" 4 opens it.
    const auto button = core.openButton(4, customer45, true);
    EXPECT_FALSE(button.error);
    EXPECT_TRUE(button.written);
    EXPECT_EQ(button.account, "211400045");
    EXPECT_FALSE(button.buttonEnabled);

    // Account 3 is not used: its edit is emptied and disabled.
    const auto unused = core.createAutomatically(3, customer45, true, {});
    EXPECT_TRUE(unused.assign);
    EXPECT_TRUE(unused.account.isEmpty());
    EXPECT_FALSE(unused.editEnabled);

    // An existing customer whose account is in the chart: nothing to open.
    const auto existing = core.createAutomatically(4, customer45, false, "211400045");
    EXPECT_FALSE(existing.editEnabled);
    EXPECT_FALSE(existing.buttonEnabled);
}

TEST_P(AccountsTest, OpenFlagNProposesWithoutWriting)
{
    CustomerAccounts core = accounts();
    AccountCustomer customer = customer45;
    customer.postalCode = "5000-001";
    const auto step = core.createAutomatically(1, customer, true, {});
    EXPECT_TRUE(step.assign);
    EXPECT_EQ(step.account, "211000045");
    EXPECT_FALSE(step.written);
    EXPECT_TRUE(step.buttonEnabled);
    EXPECT_FALSE(core.exists("211000045"));
}

TEST_P(AccountsTest, BulkRunGathersItsMessagesAndWritesBothDatabases)
{
    kv::test::insertRows(*invoicing, "CLIENTES", {"CODIGO", "NOME", "CODPOSTAL", "NIF", "MOEDA", "CONTA1"},
                         {{45, "Cliente 45", "4000-001", "123456789", "", ""},
                          {46, "Sem código postal", "", "", "", ""},
                          {47, "País inexistente", "9999-999", "", "", ""},
                          {48, "Nome novo", "5000-001", "", "", "antiga"},
                          {49, "Conta por abrir", "5000-001", "", "", ""}});
    kv::test::insertRows(*accounting, "PLANOIDENT", {"ANO", "CONTA", "NOME", "TIPO", "GRAU"},
                         {{Year, "211000048", "Nome antigo", "L", 3}});
    kv::db::TwoDatabaseKinds kinds;
    kinds.add(CustomerAccounts::bulkAccountKind());
    kv::db::TwoDatabaseWork work(kinds,
                                 {{kv::db::role::invoicing(), invoicing}, {kv::db::role::accounting(), accounting}});
    QList<int> progress;
    CustomerAccounts core = accounts();
    const auto result = core.openAll(work, "TESTE", [&](int done, int) { progress << done; });

    EXPECT_EQ(result.customers, 5);
    EXPECT_EQ(progress, (QList<int>{1, 2, 3, 4, 5}));
    QStringList expected{"Nº DE DIGITOS PARAMETRIZADOS INVÁLIDO = 1", "CONTA DE INTEGRAÇÃO (5) INEXISTENTE : 219"};
    for (int n = 0; n < 5; ++n)
        expected << "CODIGO POSTAL INEX,CLIENTE: 46";
    for (int n = 0; n < 5; ++n)
        expected << "PAÍS INEX, CODIGO POSTAL: 9999-999";
    EXPECT_EQ(result.messages, expected);
    EXPECT_TRUE(messages.said.isEmpty()); // nothing shown while it ran

    const auto conta = [&](int customer, int n) {
        return invoicing
            ->scalar(QStringLiteral("SELECT CONTA%1 FROM CLIENTES WHERE CODIGO = :C").arg(n), {{"C", customer}})
            .toString();
    };
    EXPECT_EQ(conta(45, 1), "211000045");
    EXPECT_EQ(conta(45, 4), "211400045"); // the bulk run's minimum level is 2
    EXPECT_EQ(chart("211000045", "NOME").toString(), "Cliente 45");
    EXPECT_EQ(count("PLANOVAL", "211000045"), 1);
    // An account in the chart is brought up to date even with the open flag "N".
    EXPECT_EQ(conta(48, 1), "211000048");
    EXPECT_EQ(chart("211000048", "NOME").toString(), "Nome novo");
    EXPECT_EQ(chart("211000048", "PAIS").toString(), "SEMABRIR");
    // One not in the chart with the flag "N" is left alone.
    EXPECT_EQ(conta(49, 1), "");
    EXPECT_FALSE(core.exists("211000049"));
    EXPECT_EQ(result.accountsWritten, 3);
}

KV_ENGINE_SUITE(AccountsTest);

} // namespace
