// A company of the previous version gets the closing's tables and the stock
// movements' indexes.

#include "production/StockFixture.h"

#include "platform/db/DbError.h"
#include "shell/ShellDataModules.h"
#include "shell/VersionUpdate.h"
#include "support/Engines.h"

#include <gtest/gtest.h>

namespace kv::production::test {
namespace {

class StockVersionStepTest : public ::testing::TestWithParam<kv::test::Engine> {};

TEST_P(StockVersionStepTest, TablesAndIndexesComeToAnOlderCompany)
{
    KV_SKIP_WITHOUT(GetParam());
    StockFixture f(GetParam());
    kv::db::Connection& app = f.application();
    kv::db::Connection& inv = f.invoicing();
    const char* const tables[] = {"ACTUALFECHOOF", "IMPCONSUMOS", "WORKRELCXA"};
    const char* const indexes[] = {"STKMOV_ARTNRO_DATMOV", "STKMOV_ANO_MES_ARTNRO"};
    for (const char* table : tables)
        app.exec(QStringLiteral("DROP TABLE %1").arg(QLatin1String(table)));
    for (const char* index : indexes)
        inv.exec(QStringLiteral("DROP INDEX %1").arg(QLatin1String(index)));

    kv::shell::LoginState state = f.session.state();
    kv::shell::VersionUpdate(app, state).readRecordedVersion();
    app.exec("UPDATE ACTUAL_VERSAO SET VERSAO = '01.010'");
    for (int run = 0; run < 2; ++run) { // a second run finds everything there
        kv::shell::VersionUpdate update(app, state);
        update.readRecordedVersion();
        update.addCompanyDatabase(kv::schema::Database::Invoicing, inv);
        ASSERT_TRUE(update.run().isEmpty());
    }
    EXPECT_TRUE(app.columnExists("ACTUALFECHOOF", "ERRO"));
    EXPECT_TRUE(app.columnExists("IMPCONSUMOS", "QTDENC"));
    EXPECT_TRUE(app.columnExists("WORKRELCXA", "QTD_DIF"));
    // Creating an index under a name already taken is refused on both engines.
    for (const char* index : indexes)
        EXPECT_THROW(inv.exec(QStringLiteral("CREATE INDEX %1 ON STKMOV (DOCNRO)").arg(QLatin1String(index))),
                     kv::db::DbError)
            << index;
}

KV_ENGINE_SUITE(StockVersionStepTest);

} // namespace
} // namespace kv::production::test

namespace kv::production::test {
namespace {

// The demo company posts a closing at once: its parameters name transactions
// and warehouses that exist, its boards, glues and inks are in stock, and the
// demo user's documents start at 901.
class DemoStockTest : public ::testing::TestWithParam<kv::test::Engine> {};

TEST_P(DemoStockTest, TheDemoCompanyPostsItsFirstDocument)
{
    KV_SKIP_WITHOUT(GetParam());
    kv::test::Scenario scenario;
    kv::shell::Session& session = scenario.login(GetParam(), kv::test::Company::Demo);
    const auto connections = session.dataModules().connections();
    kv::db::Connection& app = *connections.DbKavorime;
    kv::db::Connection& inv = *connections.DbFacturacao;
    const auto parameters = app.query("SELECT TRS_SAIDA, ARM_SAIDA, TRS_ENTRADA, ARM_ENTRADA FROM ORCPARGER WHERE CODIGO = 1");
    ASSERT_FALSE(parameters.isEmpty());
    const QString year = QString::number(session.state().WData.year());
    StockPosting posting(inv, session.state().WUtil, year, StockPosting::costMethodOf(inv, year));
    ASSERT_TRUE(posting.transaction(parameters.value(0, "TRS_SAIDA").toInt()));
    ASSERT_TRUE(posting.transaction(parameters.value(0, "TRS_ENTRADA").toInt()));
    EXPECT_TRUE(posting.warehouseExists(parameters.value(0, "ARM_SAIDA").toInt()));
    EXPECT_TRUE(posting.warehouseExists(parameters.value(0, "ARM_ENTRADA").toInt()));
    for (const char* material : {"CT-CAR01", "CO-AMI01", "TI-CIA01"}) {
        const auto article = posting.article(material);
        ASSERT_TRUE(article) << material;
        EXPECT_GT(article->quantity, 0) << material;
        EXPECT_GT(article->value, 0) << material;
    }
    EXPECT_DOUBLE_EQ(inv.scalar("SELECT EXIQTD FROM STKARTGARMZ WHERE ARTIGO = 'CO-AMI01' AND ANO = :A AND CODIGO = 1",
                                {{"A", year}})
                         .toDouble(),
                     400);

    kv::db::Transaction transaction(inv);
    const int document = posting.takeDocument();
    posting.post(document, posting.nextLine(document),
                 {"CO-AMI01", 10, parameters.value(0, "TRS_SAIDA").toInt(), parameters.value(0, "ARM_SAIDA").toInt(), 0,
                  0, session.state().WData});
    transaction.commit();
    EXPECT_EQ(document, 901);
    EXPECT_DOUBLE_EQ(inv.scalar("SELECT EXIQTD FROM ARTIGOSCLS WHERE CODIGO = 'CO-AMI01'").toDouble(), 390);
}

KV_ENGINE_SUITE(DemoStockTest);

} // namespace
} // namespace kv::production::test
