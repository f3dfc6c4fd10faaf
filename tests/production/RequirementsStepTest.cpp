// An older company gets the requirements' work tables, the requisitions,
// purchase orders and their print queue, delivery place 1's address and the
// purchase orders' observation lines.
#include "shell/LoginState.h"
#include "shell/VersionUpdate.h"
#include "support/Scenario.h"

#include <QDate>

using kv::test::Engine;

namespace {

class RequirementsStep : public ::testing::TestWithParam<Engine> {};

TEST_P(RequirementsStep, OlderCompanyGetsTheRequirementsTables)
{
    KV_SKIP_WITHOUT(GetParam());
    kv::test::Scenario scenario;
    scenario.createInstallation(GetParam());
    auto app = scenario.applicationDatabase();
    auto inv = scenario.invoicingDatabase();
    for (const char* table : {"LOGSELENC", "LOGARTIGOS", "LOGFRNENC", "LOGARTGFORN"})
        app->exec(QStringLiteral("DROP TABLE %1").arg(QLatin1String(table)));
    for (const char* table : {"FRNREQMAS", "FRNREQDET", "FRNENCMAS", "FRNENCDET", "FRNENCIMPR", "LOCCARGA"})
        inv->exec(QStringLiteral("DROP TABLE %1").arg(QLatin1String(table)));
    inv->exec("CREATE TABLE LOCCARGA (CODIGO INTEGER NOT NULL PRIMARY KEY)");
    // purchasing's own headers, older than the order's observation lines
    inv->exec("CREATE TABLE FRNENCMAS (ENCNRO INTEGER NOT NULL PRIMARY KEY, FRNNRO INTEGER)");
    inv->exec("INSERT INTO FRNENCMAS (ENCNRO, FRNNRO) VALUES (7, 12)");
    inv->exec("INSERT INTO LOCCARGA (CODIGO) VALUES (1)");

    kv::shell::LoginState state;
    state.setFixedValues();
    state.WEmpNro = 1;
    state.WData = QDate(2024, 5, 17);
    kv::shell::VersionUpdate(*app, state).readRecordedVersion();
    app->exec("UPDATE ACTUAL_VERSAO SET VERSAO = '01.010'");
    kv::shell::VersionUpdate update(*app, state);
    update.addCompanyDatabase(kv::schema::Database::Invoicing, *inv);
    update.readRecordedVersion();
    ASSERT_TRUE(update.run().isEmpty());

    for (const char* table : {"LOGSELENC", "LOGARTIGOS", "LOGFRNENC", "LOGARTGFORN"})
        EXPECT_TRUE(app->tableExists(QLatin1String(table))) << table;
    for (const char* table : {"FRNREQMAS", "FRNREQDET", "FRNENCMAS", "FRNENCDET", "FRNENCIMPR"})
        EXPECT_TRUE(inv->tableExists(QLatin1String(table))) << table;
    // the headers keep their rows and take the observation lines
    inv->exec("UPDATE FRNENCMAS SET OBSERV1 = 'Entregar de manhã', OBSERV2 = 'Paletes' WHERE ENCNRO = 7");
    EXPECT_EQ(inv->scalar("SELECT OBSERV1 FROM FRNENCMAS WHERE ENCNRO = 7").toString(), "Entregar de manhã");
    // the place keeps its row and takes an address
    inv->exec("UPDATE LOCCARGA SET MORADA1 = 'Armazém', MORADA2 = 'Lote 3', CODPOSTAL = '4470-000' WHERE CODIGO = 1");
    EXPECT_EQ(inv->scalar("SELECT CODPOSTAL FROM LOCCARGA WHERE CODIGO = 1").toString(), "4470-000");
}

KV_ENGINE_SUITE(RequirementsStep);

} // namespace
