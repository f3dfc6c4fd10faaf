#include "support/Engines.h"

#include "schema/DemoInstallation.h"
#include "schema/InstallationBuilder.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using kv::db::Connection;
using kv::db::Dialect;
using kv::install::Installation;
using kv::schema::CompanyAliases;
using kv::schema::InstallationBuilder;
using kv::schema::InstallationError;
using kv::schema::InstallationOptions;
using kv::schema::PostgresServer;
using namespace kv::test;

namespace {

QString readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

// Every file and folder under `dir` with the content of the files.
QStringList snapshot(const QString& dir)
{
    QStringList entries;
    QDirIterator it(dir, QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        entries << path + "=" + readAll(path);
    }
    entries.sort();
    return entries;
}

// Options for one engine; on PostgreSQL the databases carry a prefix of
// their own and are dropped when the test ends.
struct EngineOptions {
    InstallationOptions options;
    QString prefix;
    explicit EngineOptions(Dialect dialect)
    {
        options.workstation = "PC-TESTE";
        if (dialect == Dialect::Postgres) {
            const auto s = serverSettings("postgres");
            prefix = uniqueDatabaseName("inst") + "_";
            options.postgres = PostgresServer{s.host, s.port, s.user, {}, prefix};
        }
    }
    ~EngineOptions()
    {
        if (prefix.isEmpty())
            return;
        const CompanyAliases a = CompanyAliases::forCompany(1);
        for (const QString& alias : {InstallationBuilder::generalAlias(), a.application, a.invoicing, a.accounting}) {
            try {
                dropServerDatabase(prefix + alias.toLower());
            } catch (...) {
            }
        }
    }
    QString database(const QString& alias) const { return prefix + alias.toLower(); }
};

class FreshInstallation : public ::testing::TestWithParam<Dialect> {
protected:
    void SetUp() override
    {
        if (GetParam() == Dialect::Postgres && !postgresAvailable())
            GTEST_SKIP() << "KV_TEST_PG_HOST não definido";
    }
};

TEST_P(FreshInstallation, IsCreatedAndReopenedThroughItsAliases)
{
    QTemporaryDir dir;
    EngineOptions engine(GetParam());
    const QString folder = dir.path() + "/nova";
    const Installation inst = InstallationBuilder(engine.options).create(folder);

    EXPECT_EQ(inst.root(), folder);
    EXPECT_EQ(readAll(inst.workstationFile()), "PC-TESTE\n");
    EXPECT_EQ(readAll(inst.workstationTypeFile()), "S\n");
    EXPECT_TRUE(QFileInfo(inst.pdfFolder()).isDir());
    EXPECT_EQ(inst.mapWindowsPath("X:\\Programas\\Pdf"), inst.pdfFolder());

    const CompanyAliases company = CompanyAliases::forCompany(1);
    // The login's connection lines; the server of the tests knows its user, SQLite ignores it.
    const QString userLine = "USER NAME=" + (engine.options.postgres ? engine.options.postgres->user : QString());
    const auto open = [&](const QString& alias) {
        const auto settings = inst.alias(alias, userLine, "PASSWORD=");
        if (engine.options.postgres) {
            EXPECT_EQ(settings.database, engine.database(alias));
        }
        return Connection::open(settings);
    };
    auto general = open(InstallationBuilder::generalAlias());
    const auto row = general->query("SELECT EMPNRO, NOME, BDFACTURA, BDCONTAB, BDESPECIF01 FROM EMPRESAS");
    ASSERT_EQ(row.rows.size(), 1u);
    EXPECT_EQ(row.value(0, "EMPNRO").toInt(), 1);
    EXPECT_EQ(row.value(0, "BDFACTURA").toString(), company.invoicing);
    EXPECT_EQ(row.value(0, "BDCONTAB").toString(), company.accounting);
    EXPECT_EQ(row.value(0, "BDESPECIF01").toString(), company.application);

    // Each alias that EMPRESAS names leads to its database with its tables.
    const std::vector<std::pair<QString, QString>> expectations = {{row.value(0, "BDESPECIF01").toString(), "TIPOTAB"},
                                                                   {row.value(0, "BDFACTURA").toString(), "CLIENTES"},
                                                                   {row.value(0, "BDCONTAB").toString(), "CNTPMOEDA"}};
    for (const auto& [alias, table] : expectations)
        EXPECT_TRUE(open(alias)->tableExists(table)) << alias.toStdString() << " " << table.toStdString();
    auto application = open(company.application);
    EXPECT_EQ(application->scalar("SELECT COUNT(*) FROM TIPOTAB").toInt(), 10);
    EXPECT_EQ(application->scalar("SELECT DESIGNACAO FROM TIPOTAB WHERE CODIGO = 1").toString(), "Máquinas");
}

TEST_P(FreshInstallation, KeepsTheCredentialsOwnerOnly)
{
    QTemporaryDir dir;
    EngineOptions engine(GetParam());
    const Installation inst = InstallationBuilder(engine.options).create(dir.path() + "/nova");
    const QFileInfo info(inst.credentialsFile());
    ASSERT_TRUE(info.exists());
    EXPECT_EQ(info.permissions() & ~(QFileDevice::ReadUser | QFileDevice::WriteUser),
              QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    const QStringList lines = readAll(inst.credentialsFile()).split('\n');
    ASSERT_EQ(lines.size(), 3) << "two lines and the final newline";
    EXPECT_FALSE(lines[0].isEmpty());
    if (engine.options.postgres) {
        EXPECT_EQ(lines[0], engine.options.postgres->user);
    } else {
        EXPECT_GE(lines[1].size(), 16) << "a real secret, not a placeholder";
    }
}

// The database files hold the users' passwords as the credentials do: the
// data folder and every file in it are owner-only, also the journal files
// a program leaves next to them.
TEST_P(FreshInstallation, KeepsTheDataFolderOwnerOnly)
{
    QTemporaryDir dir;
    EngineOptions engine(GetParam());
    const Installation inst = InstallationBuilder(engine.options).create(dir.path() + "/nova");
    const auto ownerOnly = QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner
                           | QFileDevice::ReadUser | QFileDevice::WriteUser | QFileDevice::ExeUser;
    const QFileInfo folder(inst.dataFolder());
    ASSERT_TRUE(folder.isDir());
    EXPECT_EQ(folder.permissions() & ~ownerOnly, QFileDevice::Permissions());
    if (engine.options.postgres)
        return;
    {
        // A program at work: SQLite's journal files appear beside the database.
        auto general = kv::db::Connection::open(inst.alias(InstallationBuilder::generalAlias()));
        general->exec("CREATE TABLE PROVA (N INTEGER)");
        const QStringList files = QDir(inst.dataFolder()).entryList(QDir::Files);
        EXPECT_GE(files.size(), 4) << files.join(' ').toStdString();
        for (const QString& name : files)
            EXPECT_EQ(QFileInfo(inst.dataFolder() + "/" + name).permissions() & ~ownerOnly, QFileDevice::Permissions())
                << name.toStdString();
    }
}

TEST_P(FreshInstallation, RefusesAFolderThatIsNotEmptyWithoutHarmingIt)
{
    QTemporaryDir dir;
    EngineOptions engine(GetParam());
    QDir().mkpath(dir.path() + "/usada/dados");
    QFile keep(dir.path() + "/usada/dados/importante.sqlite");
    ASSERT_TRUE(keep.open(QIODevice::WriteOnly));
    keep.write("não tocar");
    keep.close();
    const QStringList before = snapshot(dir.path());

    try {
        InstallationBuilder(engine.options).create(dir.path() + "/usada");
        FAIL() << "a non-empty folder was accepted";
    } catch (const InstallationError& e) {
        EXPECT_TRUE(e.text().contains("não está vazia")) << e.text().toStdString();
    }
    EXPECT_EQ(snapshot(dir.path()), before);
    if (engine.options.postgres) {
        auto server = Connection::open(serverSettings("postgres"));
        EXPECT_TRUE(server
                        ->scalar("SELECT 1 FROM pg_database WHERE datname = :N",
                                 {{"N", engine.database(InstallationBuilder::generalAlias())}})
                        .isNull());
    }
}

INSTANTIATE_TEST_SUITE_P(Engines, FreshInstallation, ::testing::Values(Dialect::Sqlite, Dialect::Postgres),
                         engineTestName);

TEST(FreshInstallation, AcceptsAnEmptyExistingFolderAndUndoesAFailureInside)
{
    QTemporaryDir dir;
    InstallationOptions options;
    options.workstation = QString(31, 'P'); // one character too long for a workstation name
    EXPECT_THROW(InstallationBuilder(options).create(dir.path()), InstallationError);
    EXPECT_TRUE(QDir(dir.path()).isEmpty());

    options.workstation = "PC1";
    EXPECT_NO_THROW(InstallationBuilder(options).create(dir.path()));
    EXPECT_TRUE(QFileInfo::exists(dir.path() + "/aliases.ini"));
}

TEST(FreshInstallation, FailingDatabaseLeavesNothingBehind)
{
    QTemporaryDir dir;
    kv::schema::Schema broken;
    broken.addDefinition(kv::schema::Database::General, "shell", "table EMPRESAS\n  EMPNRO int32 key\n");
    broken.addDefinition(kv::schema::Database::Accounting, "teste", "table T\n  A int16 key\nrows T (A)\n  70000\n");
    const QString folder = dir.path() + "/nova";
    try {
        InstallationBuilder({}, broken).create(folder);
        FAIL() << "a failing database was accepted";
    } catch (const InstallationError& e) {
        EXPECT_TRUE(e.text().startsWith("A instalação não foi criada")) << e.text().toStdString();
    }
    EXPECT_FALSE(QFileInfo::exists(folder));
}

TEST(FreshInstallation, OnPostgresRefusesDatabasesThatAlreadyHoldTables)
{
    if (!postgresAvailable())
        GTEST_SKIP() << "KV_TEST_PG_HOST não definido";
    QTemporaryDir dir;
    EngineOptions engine(Dialect::Postgres);
    const QString taken = engine.database(CompanyAliases::forCompany(1).invoicing);
    Connection::open(serverSettings("postgres"))
        ->exec(QStringLiteral("CREATE DATABASE %1 ENCODING 'UTF8' TEMPLATE template0").arg(taken));
    Connection::open(serverSettings(taken))->exec("CREATE TABLE CLIENTES (CODIGO INTEGER PRIMARY KEY)");

    EXPECT_THROW(InstallationBuilder(engine.options).create(dir.path() + "/nova"), InstallationError);
    EXPECT_FALSE(QFileInfo::exists(dir.path() + "/nova"));
    auto server = Connection::open(serverSettings("postgres"));
    EXPECT_TRUE(server
                    ->scalar("SELECT 1 FROM pg_database WHERE datname = :N",
                             {{"N", engine.database(InstallationBuilder::generalAlias())}})
                    .isNull());
    EXPECT_TRUE(Connection::open(serverSettings(taken))->tableExists("CLIENTES"));
}

// The administration program as a user runs it.
struct AdminRun {
    int exitCode;
    QString out;
    QString err;
};

AdminRun runAdmin(const QStringList& args)
{
    QProcess process;
    process.start(QStringLiteral(KV_ADMIN_PROGRAM), args);
    // A run that did not end by itself has no exit code to compare: -1.
    const bool finished = process.waitForFinished(300000);
    if (!finished) {
        process.kill();
        process.waitForFinished();
    }
    const bool normal = finished && process.exitStatus() == QProcess::NormalExit;
    QString err = QString::fromUtf8(process.readAllStandardError());
    if (!normal)
        err += finished ? QStringLiteral("\n(terminado à força)") : QStringLiteral("\n(não terminou a tempo)");
    return {normal ? process.exitCode() : -1, QString::fromUtf8(process.readAllStandardOutput()), err};
}

struct AdminCase {
    const char* what;
    QStringList args; // "<dir>" stands for the test folder
    int exitCode;
    const char* message; // part of what the program says
};

class AdminProgram : public ::testing::TestWithParam<AdminCase> {};

TEST_P(AdminProgram, AnswersInPortugueseWithItsExitCode)
{
    const AdminCase& c = GetParam();
    QTemporaryDir dir;
    QFile keep(dir.path() + "/usada/ficheiro.txt");
    QDir().mkpath(dir.path() + "/usada");
    ASSERT_TRUE(keep.open(QIODevice::WriteOnly));
    keep.write("conteúdo");
    keep.close();
    const QStringList before = snapshot(dir.path() + "/usada");

    QStringList args;
    for (const QString& a : c.args)
        args << QString(a).replace("<dir>", dir.path());
    const AdminRun run = runAdmin(args);
    EXPECT_EQ(run.exitCode, c.exitCode) << c.what << "\n" << run.err.toStdString();
    EXPECT_TRUE((run.out + run.err).contains(QString::fromUtf8(c.message))) << c.what << "\n"
                                                                            << (run.out + run.err).toStdString();
    EXPECT_EQ(snapshot(dir.path() + "/usada"), before) << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    Admin, AdminProgram,
    ::testing::Values(
        AdminCase{
            "fresh folder", {"create-installation", "<dir>/nova", "--workstation", "DEMO"}, 0, "Instalação criada"},
        AdminCase{"non-empty folder", {"create-installation", "<dir>/usada"}, 1, "não está vazia"},
        AdminCase{"no folder", {"create-installation"}, 2, "Falta a pasta"},
        AdminCase{"unknown command", {"apagar"}, 2, "Comando desconhecido"},
        AdminCase{"unknown option", {"create-installation", "<dir>/nova", "--rapido"}, 2, "Opção desconhecida"},
        AdminCase{
            "postgres without host", {"create-installation", "<dir>/nova", "--postgres", "port=5432"}, 2, "host="},
        AdminCase{
            "bad port", {"create-installation", "<dir>/nova", "--postgres", "host=h", "port=x"}, 2, "Porta inválida"},
        AdminCase{"workstation too long",
                  {"create-installation", "<dir>/nova", "--workstation", QString(31, 'W')},
                  1,
                  "mais de 30"},
        AdminCase{"fresh demo",
                  {"create-installation", "<dir>/nova", "--workstation", "DEMO", "--demo"},
                  0,
                  "Instalação criada"},
        AdminCase{
            "demo date of a folder that is no installation", {"demo-today", "<dir>/usada"}, 1, "não é uma instalação"},
        AdminCase{"demo date without a folder", {"demo-today"}, 2, "Indique só a pasta"}));

// ---------------------------------------------------------------- demo installation

using kv::schema::Database;
using kv::schema::DemoInstallation;

// An installation of one engine, demo or not, and its databases.
struct BuiltInstallation {
    QTemporaryDir dir;
    EngineOptions engine;
    Installation installation;
    BuiltInstallation(Dialect dialect, bool demo)
        : engine(dialect), installation([&] {
              engine.options.demo = demo;
              engine.options.workstation = "DEMO";
              return InstallationBuilder(engine.options).create(dir.path() + "/inst");
          }())
    {
    }
    std::shared_ptr<Connection> open(Database database) const
    {
        const CompanyAliases company = CompanyAliases::forCompany(1);
        const QString alias = database == Database::General       ? InstallationBuilder::generalAlias()
                              : database == Database::Application ? company.application
                              : database == Database::Invoicing   ? company.invoicing
                                                                  : company.accounting;
        const QString user = engine.options.postgres ? engine.options.postgres->user : QString();
        return Connection::open(installation.alias(alias, "USER NAME=" + user, "PASSWORD="));
    }
    int count(Database database, const QString& sql, const kv::db::Params& params = {}) const
    {
        return open(database)->scalar(sql, params).toInt();
    }
};

class DemoInstallationOn : public FreshInstallation {};

// What the demo user needs to log in and work, and what a real installation
// must not get from the demo.
TEST_P(DemoInstallationOn, HoldsItsRowsWhereAnInstallationThatIsNoDemoHasNone)
{
    const struct {
        Database database;
        const char* table;
    } demoTables[] = {
        {Database::General, "PARAMUTIL"},        {Database::General, "UTILPASSWORD"},
        {Database::Application, "UTILIZADORES"}, {Database::Application, "APLICACAODET"},
        {Database::Application, "ORCPARGER"},    {Database::Invoicing, "PARGER"},
        {Database::Invoicing, "FACTURAOBS"},     {Database::Invoicing, "ENCPARGER"},
        {Database::Invoicing, "CALENDARIO"},
    };
    const BuiltInstallation plain(GetParam(), false);
    const BuiltInstallation demo(GetParam(), true);
    for (const auto& t : demoTables) {
        const QString sql = QStringLiteral("SELECT COUNT(*) FROM %1").arg(t.table);
        EXPECT_EQ(plain.count(t.database, sql), 0) << t.table;
        EXPECT_GT(demo.count(t.database, sql), 0) << t.table;
    }
    // Both hold the rows every installation has.
    EXPECT_EQ(plain.count(Database::Application, "SELECT COUNT(*) FROM TIPOTAB"),
              demo.count(Database::Application, "SELECT COUNT(*) FROM TIPOTAB"));

    const QDate today = QDate::currentDate();
    const auto login = demo.open(Database::General)->query("SELECT * FROM PARAMUTIL");
    ASSERT_EQ(login.rows.size(), 1u);
    EXPECT_EQ(login.value(0, "COMP_NAME").toString(), "DEMO");
    EXPECT_EQ(login.value(0, "UTIL").toString(), DemoInstallation::user());
    EXPECT_EQ(login.value(0, "PASSWOR").toString(), DemoInstallation::password());
    EXPECT_EQ(login.value(0, "DATA").toDateTime().date(), today);
    EXPECT_EQ(login.value(0, "ANO").toString(), QString::number(today.year()));
    const QString year = QString::number(today.year());
    for (const char* table : {"PARGER", "FACTURAOBS", "ENCPARGER"})
        EXPECT_EQ(demo.count(Database::Invoicing, QStringLiteral("SELECT COUNT(*) FROM %1 WHERE ANO = :A").arg(table),
                             {{"A", year}}),
                  1)
            << table;
    EXPECT_EQ(demo.count(Database::Invoicing, "SELECT COUNT(*) FROM CALENDARIO WHERE ANO = :A", {{"A", year}}),
              QDate(today.year(), 12, 31).dayOfYear());
}

struct CalendarCase {
    QDate date;
    const char* weekday;
    const char* dayType;
    int week;
};

TEST_P(DemoInstallationOn, CalendarGivesEachDayItsWeekdayWorkingDayAndIsoWeek)
{
    const CalendarCase cases[] = {
        {QDate(2024, 2, 29), "Qui", "TB", 9},
        {QDate(2024, 12, 30), "Seg", "TB", 1}, // the first week of the next year
        {QDate(2027, 1, 1), "Sex", "TB", 53}, // the last week of the year before
        {QDate(2026, 2, 21), "Sáb", "FS", 8},
        {QDate(2026, 2, 22), "Dom", "FS", 8},
        {QDate(2026, 12, 31), "Qui", "TB", 53},
    };
    ScratchDatabase scratch(GetParam());
    auto invoicing = scratch.open();
    kv::schema::Schema::standard().create(*invoicing, Database::Invoicing);
    for (int year : {2024, 2026, 2027, 2024})
        DemoInstallation::addYear(*invoicing, Database::Invoicing, year);
    for (const auto& [year, days] : {std::pair{"2024", 366}, std::pair{"2026", 365}, std::pair{"2027", 365}})
        EXPECT_EQ(invoicing->scalar("SELECT COUNT(*) FROM CALENDARIO WHERE ANO = :A", {{"A", year}}).toInt(), days)
            << year;
    for (const CalendarCase& c : cases) {
        const auto row = invoicing->query("SELECT ANO, DIASEM, TIPODIA, SEMANA FROM CALENDARIO WHERE DATA = :D",
                                          {{"D", c.date.startOfDay()}});
        ASSERT_EQ(row.rows.size(), 1u) << c.date.toString(Qt::ISODate).toStdString();
        EXPECT_EQ(row.value(0, "ANO").toString(), QString::number(c.date.year()));
        EXPECT_EQ(row.value(0, "DIASEM").toString(), QString::fromUtf8(c.weekday));
        EXPECT_EQ(row.value(0, "TIPODIA").toString(), c.dayType);
        EXPECT_EQ(row.value(0, "SEMANA").toInt(), c.week) << c.date.toString(Qt::ISODate).toStdString();
    }
}

// A demo made in one year and started in the next: its login row moves to
// the new date only with the new year's rows in place, and what the user
// changed stays.
TEST_P(DemoInstallationOn, MovesToANewYearWithThatYearsRows)
{
    const BuiltInstallation demo(GetParam(), true);
    const int year = QDate::currentDate().year();
    demo.open(Database::Invoicing)->exec("UPDATE ENCPARGER SET ENCNRO1 = 7");
    // The password changed in the program is the one the workstation logs in with.
    demo.open(Database::Application)->exec("UPDATE UTILIZADORES SET PASSWOR = 'NOVA'");
    const QDate january(year + 1, 1, 4);
    ASSERT_TRUE(DemoInstallation::moveToDate(demo.installation, january));
    ASSERT_TRUE(DemoInstallation::moveToDate(demo.installation, january)); // twice adds nothing

    const auto login = demo.open(Database::General)->query("SELECT DATA, ANO, PASSWOR FROM PARAMUTIL");
    EXPECT_EQ(login.value(0, "DATA").toDateTime().date(), january);
    EXPECT_EQ(login.value(0, "PASSWOR").toString(), "NOVA");
    EXPECT_EQ(login.value(0, "ANO").toString(), QString::number(year + 1));
    for (const char* table : {"PARGER", "FACTURAOBS", "ENCPARGER"})
        EXPECT_EQ(demo.count(Database::Invoicing, QStringLiteral("SELECT COUNT(*) FROM %1").arg(table)), 2) << table;
    EXPECT_EQ(demo.count(Database::Invoicing, "SELECT COUNT(*) FROM CALENDARIO WHERE ANO = :A",
                         {{"A", QString::number(year + 1)}}),
              QDate(year + 1, 12, 31).dayOfYear());
    EXPECT_EQ(
        demo.count(Database::Invoicing, "SELECT ENCNRO1 FROM ENCPARGER WHERE ANO = :A", {{"A", QString::number(year)}}),
        7);
    EXPECT_EQ(demo.count(Database::Invoicing, "SELECT ENCNRO1 FROM ENCPARGER WHERE ANO = :A",
                         {{"A", QString::number(year + 1)}}),
              0);
}

// The first demo agent's notes are in the year's agents' folder, mapped
// through the drive map; notes already there are kept as the user left them.
TEST_P(DemoInstallationOn, GivesTheFirstAgentItsNotes)
{
    const BuiltInstallation demo(GetParam(), true);
    const QDate today = QDate::currentDate();
    ASSERT_TRUE(DemoInstallation::moveToDate(demo.installation, today));
    const QString stored = demo.open(Database::Invoicing)
                               ->scalar("SELECT PATHINFAGENTES FROM PARGER WHERE ANO = :A",
                                        {{"A", QString::number(today.year())}})
                               .toString();
    const QString notes = QDir(demo.installation.mapWindowsPath(stored)).filePath("AGT1.Rtf");
    QFile file(notes);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(file.readAll().startsWith("{\\rtf1"));
    file.close();
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write("mudado");
    file.close();
    ASSERT_TRUE(DemoInstallation::moveToDate(demo.installation, today.addDays(1)));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), "mudado");
}

TEST_P(DemoInstallationOn, LeavesAnInstallationThatIsNoDemoAsItIs)
{
    const BuiltInstallation plain(GetParam(), false);
    EXPECT_FALSE(DemoInstallation::moveToDate(plain.installation, QDate::currentDate().addYears(1)));
    for (const char* table : {"PARGER", "FACTURAOBS", "ENCPARGER", "CALENDARIO"})
        EXPECT_EQ(plain.count(Database::Invoicing, QStringLiteral("SELECT COUNT(*) FROM %1").arg(table)), 0) << table;
}

INSTANTIATE_TEST_SUITE_P(Engines, DemoInstallationOn, ::testing::Values(Dialect::Sqlite, Dialect::Postgres),
                         engineTestName);

TEST(AdminDemoToday, MovesTheDemoAndSaysWhenTheInstallationIsNoDemo)
{
    const BuiltInstallation demo(Dialect::Sqlite, true);
    const BuiltInstallation plain(Dialect::Sqlite, false);
    const struct {
        const Installation& installation;
        const char* message;
    } cases[] = {{demo.installation, "com a data de trabalho"}, {plain.installation, "não é de demonstração"}};
    for (const auto& c : cases) {
        const AdminRun run = runAdmin({"demo-today", c.installation.root()});
        EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
        EXPECT_TRUE(run.out.contains(QString::fromUtf8(c.message))) << run.out.toStdString();
    }
}

} // namespace
