#include "TestEngines.h"

#include <InstallationBuilder.h>

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
using namespace kv::schema::test;

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
            const auto s = postgresSettings("postgres");
            prefix = uniqueName("inst") + "_";
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
                dropPostgresDatabase(prefix + alias.toLower());
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
    const std::vector<std::pair<QString, QString>> expectations = {
        {row.value(0, "BDESPECIF01").toString(), "TIPOTAB"},
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
        auto server = Connection::open(postgresSettings("postgres"));
        EXPECT_TRUE(server->scalar("SELECT 1 FROM pg_database WHERE datname = :N",
                                   {{"N", engine.database(InstallationBuilder::generalAlias())}}).isNull());
    }
}

INSTANTIATE_TEST_SUITE_P(Engines, FreshInstallation, ::testing::Values(Dialect::Sqlite, Dialect::Postgres),
                         [](const auto& info) { return engineName(info.param).toStdString(); });

TEST(FreshInstallation, AcceptsAnEmptyExistingFolderAndUndoesAFailureInside)
{
    QTemporaryDir dir;
    InstallationOptions options;
    options.workstation = QString(31, 'P');   // one character too long for a workstation name
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
    broken.addDefinition(kv::schema::Database::Accounting, "teste",
                         "table T\n  A int16 key\nrows T (A)\n  70000\n");
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
    Connection::open(postgresSettings("postgres"))
        ->exec(QStringLiteral("CREATE DATABASE %1 ENCODING 'UTF8' TEMPLATE template0").arg(taken));
    Connection::open(postgresSettings(taken))->exec("CREATE TABLE CLIENTES (CODIGO INTEGER PRIMARY KEY)");

    EXPECT_THROW(InstallationBuilder(engine.options).create(dir.path() + "/nova"), InstallationError);
    EXPECT_FALSE(QFileInfo::exists(dir.path() + "/nova"));
    auto server = Connection::open(postgresSettings("postgres"));
    EXPECT_TRUE(server->scalar("SELECT 1 FROM pg_database WHERE datname = :N",
                               {{"N", engine.database(InstallationBuilder::generalAlias())}}).isNull());
    EXPECT_TRUE(Connection::open(postgresSettings(taken))->tableExists("CLIENTES"));
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
    process.waitForFinished(120000);
    return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}

struct AdminCase {
    const char* what;
    QStringList args;          // "<dir>" stands for the test folder
    int exitCode;
    const char* message;       // part of what the program says
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

INSTANTIATE_TEST_SUITE_P(Admin, AdminProgram, ::testing::Values(
    AdminCase{"fresh folder", {"create-installation", "<dir>/nova", "--workstation", "DEMO"}, 0, "Instalação criada"},
    AdminCase{"non-empty folder", {"create-installation", "<dir>/usada"}, 1, "não está vazia"},
    AdminCase{"no folder", {"create-installation"}, 2, "Falta a pasta"},
    AdminCase{"unknown command", {"apagar"}, 2, "Comando desconhecido"},
    AdminCase{"unknown option", {"create-installation", "<dir>/nova", "--rapido"}, 2, "Opção desconhecida"},
    AdminCase{"postgres without host", {"create-installation", "<dir>/nova", "--postgres", "port=5432"}, 2, "host="},
    AdminCase{"bad port", {"create-installation", "<dir>/nova", "--postgres", "host=h", "port=x"}, 2, "Porta inválida"},
    AdminCase{"workstation too long", {"create-installation", "<dir>/nova", "--workstation", QString(31, 'W')}, 1,
              "mais de 30"}));

} // namespace
