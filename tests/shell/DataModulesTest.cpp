#include "shell/ShellTestInstallation.h"

#include "platform/db/DataModule.h"
#include "shell/DatasetCatalog.h"
#include "platform/db/DbError.h"
#include "schema/Schema.h"
#include "shell/ShellDataModules.h"
#include "shell/VersionUpdate.h"

#include <QDate>
#include <QRegularExpression>

using namespace kv::shell;
using namespace kv::shell::test;
using kv::db::Dataset;

namespace {

kv::schema::Database schemaDatabase(CompanyDatabase d)
{
    return d == CompanyDatabase::Invoicing    ? kv::schema::Database::Invoicing
           : d == CompanyDatabase::Accounting ? kv::schema::Database::Accounting
                                              : kv::schema::Database::Application;
}

// Every dataset reads a table that the schema or a version step creates, and
// every dataset that writes has a key to find its rows by.
TEST(DatasetCatalog, EveryTableIsKnownAndEveryWritingTableHasAKey)
{
    for (const DatasetDeclaration& d : datasetCatalog()) {
        const kv::schema::Table* table = kv::schema::Schema::standard().table(schemaDatabase(d.database), d.table);
        if (!table)
            for (const kv::schema::Table& created : VersionUpdate::createdTables())
                if (created.name == d.table)
                    table = &created;
        ASSERT_NE(table, nullptr) << d.module.toStdString() << "." << d.name.toStdString();
        if (d.hasUpdateObject()) {
            EXPECT_FALSE(table->keyColumns().isEmpty()) << d.table.toStdString();
        }
    }
}

TEST(DatasetCatalog, UpdateStatementsFindRowsByTheirOldKey)
{
    const auto s = ShellDataModules::updateStatementsFor("CUSTRANSP", {"PAIS", "REGIAO", "PRECO"}, {"PAIS", "REGIAO"});
    EXPECT_TRUE(s.writesTable());
    EXPECT_EQ(s.table, "CUSTRANSP");
    EXPECT_EQ(s.keyColumns, QStringList({"PAIS", "REGIAO"}));
    EXPECT_EQ(s.tableColumns, QStringList({"PAIS", "REGIAO", "PRECO"}));
}

class DataModulesFixture : public ::testing::TestWithParam<Engine> {
protected:
    void SetUp() override
    {
        KV_SKIP_WITHOUT(GetParam());
        install = std::make_unique<ShellTestInstallation>(GetParam());
        session = std::make_unique<Session>(install->installation(), sink);
        session->setUpdateErrorHandler([this](Dataset& dataset, const kv::db::DbError&, kv::db::UpdateKind) {
            handled << dataset.name();
            return kv::db::UpdateAction::Abort;
        });
        ASSERT_EQ(session->activate(), Activation::Login);
        const LoginResult result = session->login(install->credentials());
        ASSERT_TRUE(result.loggedIn) << result.stopMessage.toStdString();
    }

    Dataset& dataset(const QString& name) { return session->dataModules().dataset(name); }

    std::unique_ptr<ShellTestInstallation> install;
    RecordingSink sink;
    std::unique_ptr<Session> session;
    QStringList handled;
};

class DataModules : public DataModulesFixture {};

TEST_P(DataModules, EveryDatasetOpensOnTheSchema)
{
    for (const DatasetDeclaration& d : datasetCatalog()) {
        Dataset& ds = dataset(d.module + "." + d.name);
        // The forms give the parameters; any value shows the statement is sound.
        static const QRegularExpression parameter(":(\\w+)");
        for (auto it = parameter.globalMatch(d.where); it.hasNext();)
            ds.setParam(it.next().captured(1), 0);
        const bool wasOpen = ds.isOpen();
        EXPECT_NO_THROW({
            ds.open();
            if (!wasOpen)
                ds.close();
        }) << d.module.toStdString()
           << "." << d.name.toStdString();
    }
}

TEST_P(DataModules, CurrenciesShowOnlyTheWorkingYear)
{
    auto accounting = install->accounting();
    const QString year = session->state().WAno;
    for (const auto& [ano, moeda] : {std::pair{year, "EUR"}, std::pair{QString("1999"), "ESC"}, std::pair{year, "USD"}})
        accounting->exec("INSERT INTO CNTPMOEDA (ANO, DESCRI, CAMBEURO) VALUES (:A, :D, 1)",
                         {{"A", ano}, {"D", moeda}});
    Dataset& moedas = dataset("DTTABELAS.MOEDAS");
    moedas.open();
    EXPECT_EQ(moedas.recordCount(), 2);
    EXPECT_FALSE(moedas.locate("DESCRI", "ESC"));
}

TEST_P(DataModules, CustomisationRowsFollowTheTableCodeFilter)
{
    auto invoicing = install->invoicing();
    for (int code : {0, 0, 3})
        invoicing->exec("INSERT INTO CUSTCLI (TABCOD, CODIGO) VALUES (:T, :C)",
                        {{"T", code}, {"C", invoicing->scalar("SELECT COUNT(*) FROM CUSTCLI").toInt() + 1}});
    Dataset& rows = dataset("DTTABELAS.CUSTCLI");
    rows.open();
    EXPECT_EQ(rows.recordCount(), 2);
    rows.close();
    session->state().WTabCodFiltro = 3;
    rows.open();
    EXPECT_EQ(rows.recordCount(), 1);
}

TEST_P(DataModules, StockMovementsShareTheUpdateErrorDialog)
{
    Dataset& trs = dataset("DTSTKPRD.STKTRS");
    Dataset& mov = dataset("DTSTKPRD.STKMOVIM");
    EXPECT_TRUE(trs.hasErrorHandler());
    EXPECT_TRUE(mov.hasErrorHandler());
    EXPECT_FALSE(dataset("DTEMPRESAS.PARAMTMP").hasErrorHandler());
    EXPECT_FALSE(dataset("ZURIVAVEZA.PROCMAS").hasErrorHandler());

    // Two movements with one key: the second is refused and reaches the dialog.
    mov.open();
    for (int i = 0; i < 2; ++i) {
        mov.append();
        mov.setValue("DOCNRO", 1);
        mov.setValue("DETAIL", 1);
        mov.post();
    }
    EXPECT_THROW(mov.applyUpdates(), kv::db::DbError);
    EXPECT_EQ(handled, QStringList{"STKMOVIM"});
}

TEST_P(DataModules, QuoteLinesFollowTheQuote)
{
    auto app = install->application();
    app->exec("INSERT INTO ORCMAS (CODIGO, SUBCODIGO) VALUES (1, 0), (1, 1)");
    app->exec("INSERT INTO ORCDET (CODIGO, SUBCODIGO, DETAIL) VALUES (1, 0, 1), (1, 0, 2), (1, 1, 1)");
    Dataset& quotes = dataset("ZURIVAVEZA.ORCMAS");
    Dataset& lines = dataset("ZURIVAVEZA.ORCDET");
    quotes.open();
    lines.open();
    EXPECT_EQ(lines.recordCount(), 2);
    quotes.next();
    EXPECT_EQ(lines.recordCount(), 1);
}

TEST_P(DataModules, CachedDatasetsWriteEveryColumnAddedByTheVersionSteps)
{
    // The login upgraded the fresh database: ORCMAS gained VALSUB1.
    Dataset& quotes = dataset("ZURIVAVEZA.ORCMAS");
    quotes.open();
    quotes.append();
    quotes.setValue("CODIGO", 7);
    quotes.setValue("SUBCODIGO", 0);
    quotes.setValue("VALSUB1", 12.5);
    quotes.post();
    quotes.applyUpdates();
    auto app = install->application();
    EXPECT_EQ(app->scalar("SELECT VALSUB1 FROM ORCMAS WHERE CODIGO = 7").toDouble(), 12.5);

    ASSERT_TRUE(quotes.locate("CODIGO", 7));
    quotes.edit();
    quotes.setValue("VALSUB1", 3.0);
    quotes.post();
    quotes.applyUpdates();
    EXPECT_EQ(app->scalar("SELECT VALSUB1 FROM ORCMAS WHERE CODIGO = 7").toDouble(), 3.0);

    ASSERT_TRUE(quotes.locate("CODIGO", 7));
    quotes.deleteRecord();
    quotes.applyUpdates();
    EXPECT_EQ(app->scalar("SELECT COUNT(*) FROM ORCMAS").toInt(), 0);

    // The subcontract table exists only after the step; its dataset writes too.
    Dataset& sub = dataset("ZURIVAVEZA.SUBCONT");
    sub.open();
    sub.append();
    sub.setValue("CODIGO", 1);
    sub.setValue("DESIGNACAO", "Corte exterior");
    sub.post();
    sub.applyUpdates();
    EXPECT_EQ(app->scalar("SELECT DESIGNACAO FROM SUBCONTRATO").toString(), "Corte exterior");
}

TEST_P(DataModules, ShutDownFreesInItsOrder)
{
    QStringList freed;
    for (const QString& name : dataModuleNames())
        QObject::connect(session->dataModules().module(name), &QObject::destroyed, [&freed, name] { freed << name; });
    session->shutDown();
    EXPECT_EQ(freed, (QStringList{"DTEMPRESAS", "DTFILES", "DTGTS", "DTSTKPRD", "DTTABELAS", "DTDATABASE"}));
    EXPECT_NE(session->dataModules().module("ZURIVAVEZA"), nullptr);
    EXPECT_NE(session->dataModules().module("DTVERSAO"), nullptr);
    session->dataModules().freeAll();
    EXPECT_EQ(freed.mid(6), (QStringList{"ZURIVAVEZA", "DTVERSAO"}));
}

TEST_P(DataModules, SecondCompanyOpeningFreesInCreationOrder)
{
    QStringList freed;
    for (const QString& name : dataModuleNames())
        QObject::connect(session->dataModules().module(name), &QObject::destroyed, [&freed, name] { freed << name; });
    session->dataModules().freeAll();
    EXPECT_EQ(freed, dataModuleNames());
}

INSTANTIATE_TEST_SUITE_P(Engines, DataModules, ::testing::Values(Engine::Sqlite, Engine::Postgres),
                         kv::test::engineTestName);

} // namespace
