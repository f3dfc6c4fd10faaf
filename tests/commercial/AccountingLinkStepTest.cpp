#include "shell/LoginState.h"
#include "shell/VersionUpdate.h"
#include "support/Scenario.h"

#include <QDate>

using kv::test::Engine;

namespace {

struct StepCase {
    const char* label;
    bool demo;
};

class AccountingLinkStep : public ::testing::TestWithParam<std::tuple<StepCase, Engine>> {};

// A company made before the accounting link: no chart, no accounting VAT
// codes, cost centres without a type, no purchase rows of families.
TEST_P(AccountingLinkStep, BringsAnOlderCompanyToTheLink)
{
    const auto& [c, engine] = GetParam();
    KV_SKIP_WITHOUT(engine);
    kv::test::Scenario scenario;
    kv::schema::InstallationOptions options;
    options.demo = c.demo;
    scenario.createInstallation(engine, options);
    auto application = scenario.applicationDatabase();
    auto invoicing = scenario.invoicingDatabase();
    auto accounting = scenario.accountingDatabase();
    accounting->exec("DROP TABLE PLANOIDENT");
    accounting->exec("DROP TABLE IVA");
    accounting->exec("DROP TABLE CCUSTO");
    accounting->exec("CREATE TABLE CCUSTO (ANO VARCHAR(4), CODIGO VARCHAR(8), DESIGN VARCHAR(40))");
    accounting->exec("INSERT INTO CCUSTO (ANO, CODIGO, DESIGN) VALUES ('2024', 'CC01', 'Impressão')");
    invoicing->exec("DROP TABLE CONTAB_FAMILIAS");

    kv::shell::LoginState state;
    state.setFixedValues();
    state.WEmpNro = 1;
    state.WData = QDate(2024, 5, 17);
    kv::shell::VersionUpdate(*application, state).readRecordedVersion();
    application->exec("UPDATE ACTUAL_VERSAO SET VERSAO = '01.007'");
    kv::shell::VersionUpdate update(*application, state);
    update.readRecordedVersion();
    update.addCompanyDatabase(kv::schema::Database::Invoicing, *invoicing);
    update.addCompanyDatabase(kv::schema::Database::Accounting, *accounting);
    ASSERT_TRUE(update.run().isEmpty());

    EXPECT_TRUE(accounting->columnExists("PLANOIDENT", "TIPO"));
    EXPECT_TRUE(accounting->columnExists("IVA", "DESCRICAO"));
    EXPECT_TRUE(invoicing->columnExists("CONTAB_FAMILIAS", "CONTAREGINV_OU"));
    // The centres the machines named take postings.
    EXPECT_EQ(accounting->scalar("SELECT TIPO FROM CCUSTO WHERE CODIGO = 'CC01'").toString(), "L");
    // The demo company gets the chart and VAT codes of its working year.
    const int accounts = accounting->scalar("SELECT COUNT(*) FROM PLANOIDENT WHERE ANO = '2024'").toInt();
    const int purchaseRows = invoicing->scalar("SELECT COUNT(*) FROM CONTAB_FAMILIAS").toInt();
    EXPECT_EQ(accounts > 0, c.demo);
    EXPECT_EQ(purchaseRows > 0, c.demo);
    EXPECT_EQ(accounting->scalar("SELECT COUNT(*) FROM IVA WHERE ANO = '2024'").toInt() > 0, c.demo);
}

INSTANTIATE_TEST_SUITE_P(Companies, AccountingLinkStep,
                         ::testing::Combine(::testing::Values(StepCase{"plain", false}, StepCase{"demo", true}),
                                            ::testing::ValuesIn(kv::test::engines())),
                         kv::test::caseName<StepCase>);

} // namespace
