#include "shell/ShellTestInstallation.h"

#include "platform/db/DbError.h"
#include "shell/VersionUpdate.h"

#include <QDate>

using namespace kv::shell;
using namespace kv::shell::test;

namespace {

class VersionFixture : public ::testing::TestWithParam<Engine> {
protected:
    void SetUp() override
    {
        KV_SKIP_WITHOUT(GetParam());
        install = std::make_unique<ShellTestInstallation>(GetParam());
        db = install->application();
        state.setFixedValues();
        state.WEmpNro = 1;
        state.WData = QDate(2024, 5, 17);
    }

    // Records a version for company 1 as an earlier program would have.
    void record(const QString& version)
    {
        VersionUpdate(*db, state).readRecordedVersion();
        db->exec("UPDATE ACTUAL_VERSAO SET VERSAO = :V", {{"V", version}});
    }

    QStringList runFrom(const QString& version, QString* failure = nullptr)
    {
        record(version);
        VersionUpdate update(*db, state);
        update.readRecordedVersion();
        QStringList seen;
        const QString result = update.run([&seen](const QString& v) { seen << v; });
        if (failure)
            *failure = result;
        else
            EXPECT_TRUE(result.isEmpty()) << result.toStdString();
        return seen;
    }

    QString recorded() { return db->scalar("SELECT VERSAO FROM ACTUAL_VERSAO WHERE EMPRESA = 1").toString(); }

    std::unique_ptr<ShellTestInstallation> install;
    std::shared_ptr<kv::db::Connection> db;
    LoginState state;
};

// ---------------------------------------------------------------- chains

struct ChainCase {
    QString from;
    QStringList steps; // versions the progress shows
    bool step2Ran; // UTILIZADORES.UPGRADE_LICENSE added
    bool step4Ran; // SUBCONTRATO created
};

class VersionChains : public ::testing::TestWithParam<std::tuple<Engine, ChainCase>> {};

TEST_P(VersionChains, RunTheStepsFromTheRecordedVersion)
{
    const auto& [engine, c] = GetParam();
    KV_SKIP_WITHOUT(engine);
    ShellTestInstallation install(engine);
    auto db = install.application();
    LoginState state;
    state.setFixedValues();
    state.WEmpNro = 1;
    state.WData = QDate(2024, 5, 17);
    VersionUpdate(*db, state).readRecordedVersion();
    db->exec("UPDATE ACTUAL_VERSAO SET VERSAO = :V", {{"V", c.from}});

    VersionUpdate update(*db, state);
    update.readRecordedVersion();
    EXPECT_EQ(state.WVersaoBd, c.from);
    QStringList seen;
    ASSERT_TRUE(update.run([&seen](const QString& v) { seen << v; }).isEmpty());
    EXPECT_EQ(seen, c.steps);
    EXPECT_EQ(state.WVersaoBd, kv::shell::ProgramVersion);
    EXPECT_EQ(db->scalar("SELECT VERSAO FROM ACTUAL_VERSAO").toString(), kv::shell::ProgramVersion);
    if (!c.steps.isEmpty()) {
        EXPECT_EQ(db->scalar("SELECT DATULTACT FROM ACTUAL_VERSAO").toDateTime().date(), QDate(2024, 5, 17));
    }
    EXPECT_EQ(db->columnExists("UTILIZADORES", "UPGRADE_LICENSE"), c.step2Ran);
    EXPECT_EQ(db->tableExists("SUBCONTRATO"), c.step4Ran);
    if (c.step4Ran) { // a company that is not the demo gets no demo subcontracts
        EXPECT_EQ(db->scalar("SELECT COUNT(*) FROM SUBCONTRATO").toInt(), 0);
    }
    if (c.steps.contains(QStringLiteral("01.006"))) { // steps 005 and 006 ran
        EXPECT_TRUE(db->columnExists("WORKORDFAB", "PLCOMPRI2"));
        EXPECT_TRUE(db->columnExists("WORKORDFAB", "PLLARGUR2"));
        EXPECT_TRUE(db->tableExists("WORKORDFABDET"));
        EXPECT_TRUE(db->columnExists("ORCCONSUMOS", "CONSUMIDO"));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Version, VersionChains,
    ::testing::Combine(
        ::testing::Values(Engine::Sqlite, Engine::Postgres),
        ::testing::Values(
            ChainCase{"01.001",
                      {"01.002", "01.003", "01.004", "01.005", "01.006", "01.007", "01.008", "01.009", "01.010", "01.011"},
                      true, true},
            ChainCase{
                "01.002", {"01.003", "01.004", "01.005", "01.006", "01.007", "01.008", "01.009", "01.010", "01.011"}, false, true},
            ChainCase{"01.004", {"01.005", "01.006", "01.007", "01.008", "01.009", "01.010", "01.011"}, false, false},
            ChainCase{"01.008", {"01.009", "01.010", "01.011"}, false, false}, ChainCase{"01.009", {"01.010", "01.011"}, false, false},
            ChainCase{"01.010", {"01.011"}, false, false}, ChainCase{"01.011", {}, false, false})),
    [](const auto& testInfo) {
        return std::string(std::get<0>(testInfo.param) == Engine::Sqlite ? "Sqlite_" : "Postgres_")
               + std::get<1>(testInfo.param).from.mid(3).toStdString();
    });

// ---------------------------------------------------------------- plans

struct PlanCase {
    QString recorded;
    VersionPlan::Kind kind;
    int firstStep;
};

class VersionPlans : public ::testing::TestWithParam<PlanCase> {};

TEST_P(VersionPlans, FromTheRecordedVersion)
{
    const PlanCase& c = GetParam();
    const VersionPlan plan = VersionUpdate::planFor(c.recorded, kv::shell::ProgramVersion);
    EXPECT_EQ(plan.kind, c.kind);
    if (c.kind == VersionPlan::Kind::Chain) {
        EXPECT_EQ(plan.firstStep, c.firstStep);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Version, VersionPlans,
    ::testing::Values(PlanCase{"01.011", VersionPlan::Kind::UpToDate, 0},
                      PlanCase{"01.010", VersionPlan::Kind::Chain, 11},
                      PlanCase{"01.009", VersionPlan::Kind::Chain, 10},
                      PlanCase{"01.007", VersionPlan::Kind::Chain, 8}, PlanCase{"01.001", VersionPlan::Kind::Chain, 2},
                      PlanCase{"01.005", VersionPlan::Kind::Chain, 6}, PlanCase{"01.012", VersionPlan::Kind::Newer, 0},
                      PlanCase{"02.000", VersionPlan::Kind::Newer, 0},
                      PlanCase{"01.000", VersionPlan::Kind::Unknown, 0}, PlanCase{"", VersionPlan::Kind::Unknown, 0},
                      PlanCase{"1.3", VersionPlan::Kind::Unknown, 0}));

// ---------------------------------------------------------------- behaviour

class Version : public VersionFixture {};

TEST_P(Version, NewerVersionChangesNothing)
{
    record("01.012");
    VersionUpdate update(*db, state);
    update.readRecordedVersion();
    EXPECT_EQ(update.plan().kind, VersionPlan::Kind::Newer);
    EXPECT_TRUE(update.run().isEmpty());
    EXPECT_EQ(recorded(), "01.012");
    EXPECT_FALSE(db->columnExists("UTILIZADORES", "UPGRADE_LICENSE"));
    EXPECT_TRUE(update.refusal().contains("01.012"));
}

TEST_P(Version, FailingStepIsRolledBackAndTheLaterStepsDoNotRun)
{
    // Step 006 creates WORKORDFABDET, then adds a column to ORCCONSUMOS,
    // which is missing here: the table it created must go again.
    db->exec("DROP TABLE ORCCONSUMOS");
    QString failure;
    runFrom("01.004", &failure);
    EXPECT_TRUE(failure.contains("01.006")) << failure.toStdString();
    EXPECT_EQ(recorded(), "01.005");
    EXPECT_EQ(state.WVersaoBd, "01.005");
    EXPECT_FALSE(db->tableExists("WORKORDFABDET"));
    EXPECT_TRUE(db->columnExists("WORKORDFAB", "PLCOMPRI2"));
}

TEST_P(Version, StepsOnAnUpgradedDatabaseKeepItsData)
{
    // A second company whose row is new runs the whole chain on a database
    // that is already at the program's version.
    db->exec("INSERT INTO ORCDET (CODIGO, SUBCODIGO, DETAIL, TIPOTABELA) VALUES (1, 0, 1, 11)");
    runFrom("01.001");
    EXPECT_EQ(db->scalar("SELECT TIPOTABELA FROM ORCDET").toInt(), 99);
    db->exec("INSERT INTO ORCDET (CODIGO, SUBCODIGO, DETAIL, TIPOTABELA) VALUES (2, 0, 1, 11)");
    db->exec("UPDATE UTILIZADORES SET UPGRADE_LICENSE = 'S'");

    state.WEmpNro = 2;
    VersionUpdate second(*db, state);
    second.readRecordedVersion();
    EXPECT_EQ(state.WVersaoBd, "01.001");
    ASSERT_TRUE(second.run().isEmpty());
    EXPECT_EQ(db->scalar("SELECT TIPOTABELA FROM ORCDET WHERE CODIGO = 2").toInt(), 11);
    EXPECT_EQ(db->scalar("SELECT UPGRADE_LICENSE FROM UTILIZADORES").toString(), "S");
    EXPECT_EQ(db->scalar("SELECT COUNT(*) FROM TIPOTAB WHERE CODIGO IN (11, 99)").toInt(), 2);
    EXPECT_EQ(db->scalar("SELECT DESIGNACAO FROM TIPOTAB WHERE CODIGO = 11").toString(), "Subcontratação");
    EXPECT_EQ(db->scalar("SELECT COUNT(*) FROM ACTUAL_VERSAO").toInt(), 2);
}

TEST_P(Version, TwoDatabaseWorkTablesComeToEveryCompanyDatabase)
{
    // A company whose databases were made before the tables existed.
    auto invoicing = install->invoicing();
    auto accounting = install->accounting();
    for (kv::db::Connection* c : {db.get(), invoicing.get(), accounting.get()})
        for (const char* table : {"OPERPENDENTE", "OPERDIARIO"})
            c->exec(QStringLiteral("DROP TABLE %1").arg(QLatin1String(table)));
    record("01.006");
    VersionUpdate update(*db, state);
    update.readRecordedVersion();
    update.addCompanyDatabase(kv::schema::Database::Invoicing, *invoicing);
    update.addCompanyDatabase(kv::schema::Database::Accounting, *accounting);
    ASSERT_TRUE(update.run().isEmpty());
    EXPECT_EQ(recorded(), kv::shell::ProgramVersion);
    for (kv::db::Connection* c : {db.get(), invoicing.get(), accounting.get()}) {
        EXPECT_TRUE(c->columnExists("OPERPENDENTE", "DADOS")) << c->alias().toStdString();
        EXPECT_TRUE(c->columnExists("OPERDIARIO", "ESTADO")) << c->alias().toStdString();
    }
}

TEST_P(Version, QuoteLookupIndexesComeToAnOlderCompany)
{
    // Made before the quote lookups read on indexes: the step adds them once,
    // and a second run finds them there.
    for (const char* index : {"ORCMAS_SUBCODIGO", "ORCMAS_NOME"})
        db->exec(QStringLiteral("DROP INDEX %1").arg(QLatin1String(index)));
    runFrom("01.007");
    runFrom("01.007");
    EXPECT_EQ(recorded(), kv::shell::ProgramVersion);
    // Creating an index under a name already taken is refused on both engines.
    for (const char* index : {"ORCMAS_SUBCODIGO", "ORCMAS_NOME"})
        EXPECT_THROW(db->exec(QStringLiteral("CREATE INDEX %1 ON ORCMAS (CODIGO)").arg(QLatin1String(index))),
                     kv::db::DbError)
            << index;
}

TEST_P(Version, QuoteIssueQueueAndSelectionIndexesComeToAnOlderCompany)
{
    db->exec(QStringLiteral("DROP TABLE ORCAMIMPR"));
    for (const char* index : {"ORCMAS_DATEMI", "ORCMAS_CLINRO", "ORCMAS_VNDNRO", "ORCMAS_NOSREF"})
        db->exec(QStringLiteral("DROP INDEX %1").arg(QLatin1String(index)));
    runFrom("01.008");
    EXPECT_EQ(recorded(), kv::shell::ProgramVersion);
    EXPECT_TRUE(db->columnExists("ORCAMIMPR", "VIA"));
    for (const char* index : {"ORCMAS_DATEMI", "ORCMAS_CLINRO", "ORCMAS_VNDNRO", "ORCMAS_NOSREF"})
        EXPECT_THROW(db->exec(QStringLiteral("CREATE INDEX %1 ON ORCMAS (CODIGO)").arg(QLatin1String(index))),
                     kv::db::DbError)
            << index;
}

TEST_P(Version, LookupIndexesComeToAnOlderCompanysInvoicing)
{
    // The worksheet's customer and article lookups read in name and
    // designation order, the automatic coding on the customisation values,
    // on these indexes of the invoicing database.
    auto invoicing = install->invoicing();
    struct IndexCase {
        const char* from;
        const char* index;
        const char* table;
    };
    const IndexCase cases[] = {{"01.008", "CLIENTES_NOME", "CLIENTES"},
                               {"01.008", "ARTIGOSCLS_DESIGNACAO", "ARTIGOSCLS"},
                               {"01.009", "ARTIGOSCLS_CUSTOM", "ARTIGOSCLS"}};
    for (const IndexCase& c : cases) {
        invoicing->exec(QStringLiteral("DROP INDEX %1").arg(QLatin1String(c.index)));
        record(c.from);
        VersionUpdate update(*db, state);
        update.readRecordedVersion();
        update.addCompanyDatabase(kv::schema::Database::Invoicing, *invoicing);
        ASSERT_TRUE(update.run().isEmpty()) << c.index;
        EXPECT_EQ(recorded(), kv::shell::ProgramVersion);
        // Creating an index under a name already taken is refused on both engines.
        EXPECT_THROW(invoicing->exec(QStringLiteral("CREATE INDEX %1 ON %2 (CODIGO)")
                                         .arg(QLatin1String(c.index), QLatin1String(c.table))),
                     kv::db::DbError)
            << c.index;
    }
}

TEST_P(Version, NewUsersGetNoUpgradeRight)
{
    runFrom("01.001");
    EXPECT_EQ(db->scalar("SELECT UPGRADE_LICENSE FROM UTILIZADORES WHERE NRO = 'ANA'").toString(), "N");
}

TEST_P(Version, OneVersionRowPerCompanyAndProgram)
{
    VersionUpdate(*db, state).readRecordedVersion();
    VersionUpdate(*db, state).readRecordedVersion();
    EXPECT_EQ(db->scalar("SELECT COUNT(*) FROM ACTUAL_VERSAO").toInt(), 1);
    EXPECT_THROW(db->exec("INSERT INTO ACTUAL_VERSAO (EMPRESA, PROGRAMA, VERSAO) "
                          "VALUES (1, 'KAVORIME', '01.001')"),
                 kv::db::DbError);
}

TEST_P(Version, RightsCatalogueTwiceLeavesOneRowPerKey)
{
    VersionUpdate update(*db, state);
    update.addRightsCatalogue();
    const int chapters = db->scalar("SELECT COUNT(*) FROM APLICACAOCAP").toInt();
    const int programs = db->scalar("SELECT COUNT(*) FROM APLICACAOMST").toInt();
    update.addRightsCatalogue();
    EXPECT_EQ(db->scalar("SELECT COUNT(*) FROM APLICACAOCAP").toInt(), chapters);
    EXPECT_EQ(db->scalar("SELECT COUNT(*) FROM APLICACAOMST").toInt(), programs);
    for (const auto& [chapter, program] :
         {std::pair{"Tabelas", "Custom. Artigos 9"}, std::pair{"Ficheiros Base", "Clientes"}})
        EXPECT_EQ(db->scalar("SELECT COUNT(*) FROM APLICACAOMST WHERE APLICACAO = 'MODULO BASE' "
                             "AND CAPITULO = :C AND PROGRAMA = :P",
                             {{"C", chapter}, {"P", program}})
                      .toInt(),
                  1);
    EXPECT_EQ(db->scalar("SELECT COUNT(*) FROM APLICACAOMST WHERE PROGRAMA = 'Finalizacao Producao'").toInt(), 1);
}

INSTANTIATE_TEST_SUITE_P(Engines, Version, ::testing::Values(Engine::Sqlite, Engine::Postgres),
                         kv::test::engineTestName);

} // namespace
