#include "platform/install/Installation.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using kv::db::DbError;
using kv::db::Dialect;
using kv::install::Installation;

namespace {

void writeFile(const QString& path, const QByteArray& content = {})
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(content);
}

// An installation folder whose alias file holds `ini`.
struct Folder {
    QTemporaryDir dir;
    explicit Folder(const QByteArray& ini) { writeFile(dir.path() + "/aliases.ini", ini); }
    Installation installation() const { return Installation(dir.path()); }
};

const QByteArray aliases = R"(; aliases of a test installation
[QXRGERAL]
driver = sqlite
file = geral.sqlite

[prdxfactur01]
driver = SQLite
file = /var/dados/factur.sqlite

[PRDXCONTAB01]
driver = postgres
host = db.local
port = 6543
database = contab01

[PRDXKAVORIME01]
driver = postgres
host = 127.0.0.1
database = kavorime01

[SEMDRIVER]
file = x.sqlite

[DESCONHECIDO]
driver = oracle

[SEMFICHEIRO]
driver = sqlite

[PORTAMA]
driver = postgres
host = h
port = 99999
database = d

[SEMSERVIDOR]
driver = postgres
database = d
)";

struct AliasCase {
    const char* name;
    Dialect dialect;
    const char* database; // "<data>/" stands for the data folder
    const char* host;
    int port;
};

class AliasResolution : public ::testing::TestWithParam<AliasCase> {};

TEST_P(AliasResolution, GivesTheDriverAndItsSettings)
{
    const AliasCase& c = GetParam();
    Folder folder(aliases);
    const Installation inst = folder.installation();
    const auto settings = inst.alias(c.name);
    EXPECT_EQ(settings.dialect, c.dialect);
    EXPECT_EQ(settings.database, QString(c.database).replace("<data>", inst.dataFolder()));
    EXPECT_EQ(settings.host, c.host);
    EXPECT_EQ(settings.port, c.port);
    EXPECT_EQ(settings.alias.toUpper(), QString(c.name).toUpper().trimmed());
}

INSTANTIATE_TEST_SUITE_P(
    Aliases, AliasResolution,
    ::testing::Values(AliasCase{"QXRGERAL", Dialect::Sqlite, "<data>/geral.sqlite", "", 5432},
                      AliasCase{"qxrgeral", Dialect::Sqlite, "<data>/geral.sqlite", "", 5432},
                      AliasCase{" PRDXFACTUR01 ", Dialect::Sqlite, "/var/dados/factur.sqlite", "", 5432},
                      AliasCase{"PRDXCONTAB01", Dialect::Postgres, "contab01", "db.local", 6543},
                      AliasCase{"PRDXKAVORIME01", Dialect::Postgres, "kavorime01", "127.0.0.1", 5432}));

struct AliasErrorCase {
    const char* name;
    const char* textPart; // what the message must say besides the alias
};

class AliasErrors : public ::testing::TestWithParam<AliasErrorCase> {};

TEST_P(AliasErrors, ThrowConnectionErrorNamingTheAlias)
{
    const AliasErrorCase& c = GetParam();
    Folder folder(aliases);
    try {
        folder.installation().alias(c.name);
        FAIL() << "no error for " << c.name;
    } catch (const DbError& e) {
        EXPECT_EQ(e.kind(), DbError::Kind::Connection);
        EXPECT_TRUE(e.text().contains(QString(c.name).trimmed())) << e.text().toStdString();
        EXPECT_TRUE(e.text().contains(c.textPart)) << e.text().toStdString();
    }
}

INSTANTIATE_TEST_SUITE_P(Aliases, AliasErrors,
                         ::testing::Values(AliasErrorCase{"PRDXFACTUR99", "não existe"},
                                           AliasErrorCase{"drives", "não existe"},
                                           AliasErrorCase{"SEMDRIVER", "driver"},
                                           AliasErrorCase{"DESCONHECIDO", "oracle"},
                                           AliasErrorCase{"SEMFICHEIRO", "file="}, AliasErrorCase{"PORTAMA", "99999"},
                                           AliasErrorCase{"SEMSERVIDOR", "host="}));

TEST(AliasFile, MissingFileMakesEveryAliasMissing)
{
    QTemporaryDir dir;
    EXPECT_THROW(Installation(dir.path()).alias("QXRGERAL"), DbError);
}

struct LoginLinesCase {
    const char* userLine;
    const char* passwordLine;
    const char* user;
    const char* password;
};

class LoginLines : public ::testing::TestWithParam<LoginLinesCase> {};

TEST_P(LoginLines, BecomeUserAndPassword)
{
    const LoginLinesCase& c = GetParam();
    Folder folder(aliases);
    const auto settings = folder.installation().alias("PRDXCONTAB01", c.userLine, c.passwordLine);
    EXPECT_EQ(settings.user, QString::fromUtf8(c.user));
    EXPECT_EQ(settings.password, QString::fromUtf8(c.password));
    EXPECT_EQ(settings.database, "contab01");
}

INSTANTIATE_TEST_SUITE_P(
    Aliases, LoginLines,
    ::testing::Values(LoginLinesCase{"USER NAME=joao", "PASSWORD=segredo", "joao", "segredo"},
                      LoginLinesCase{"USER NAME=o'neil;--", "PASSWORD= a=b ", "o'neil;--", " a=b "},
                      LoginLinesCase{"user name=Maria", "password=Çé", "Maria", "Çé"},
                      LoginLinesCase{"USER NAME=", "PASSWORD=", "", ""}, LoginLinesCase{"", "", "", ""}));

TEST(LoginLines, LineWithoutItsPrefixIsRefused)
{
    kv::db::ConnectionSettings settings;
    settings.alias = "PRDXCONTAB01";
    EXPECT_THROW(kv::install::applyLoginLines(settings, "joao", "PASSWORD=x"), DbError);
    EXPECT_THROW(kv::install::applyLoginLines(settings, "USER NAME=joao", "segredo"), DbError);
}

// Drive mapping over a folder tree made for the test.
struct DriveCase {
    const char* windowsPath;
    const char* expected; // relative to the test folder; "" when unmapped; "=" the input itself
};

class DriveMapping : public ::testing::TestWithParam<DriveCase> {};

TEST_P(DriveMapping, MapsPrefixAndMatchesNamesWithoutCase)
{
    const DriveCase& c = GetParam();
    QTemporaryDir dir;
    const QString root = dir.path() + "/inst";
    writeFile(root + "/programas/Pdf/Kavorimetas.Pdf");
    writeFile(dir.path() + "/servidor/Fotos/A1.Bmp");
    writeFile(dir.path() + "/disco-c/Outro.txt");
    writeFile(root + "/aliases.ini", "[drives]\n"
                                     "X: = .\n"
                                     "\\\\SRV\\share = ../servidor\n"
                                     "C: = "
                                         + (dir.path() + "/disco-c").toUtf8()
                                         + "\n"
                                           "C:\\Palvexworks\\ = .\n");
    const QString mapped = Installation(root).mapWindowsPath(c.windowsPath);
    const QString expected = QString(c.expected) == "="      ? QString(c.windowsPath)
                             : QString(c.expected).isEmpty() ? QString()
                                                             : QDir::cleanPath(dir.path() + "/" + c.expected);
    EXPECT_EQ(mapped, expected) << c.windowsPath;
}

INSTANTIATE_TEST_SUITE_P(
    Paths, DriveMapping,
    ::testing::Values(DriveCase{"X:\\Programas\\Pdf\\Kavorimetas.pdf", "inst/programas/Pdf/Kavorimetas.Pdf"},
                      DriveCase{"x:\\PROGRAMAS\\pdf\\", "inst/programas/Pdf"}, DriveCase{"X:", "inst"},
                      DriveCase{"X:\\Programas\\Novo\\Ficheiro.TXT", "inst/programas/Novo/Ficheiro.TXT"},
                      DriveCase{"\\\\srv\\SHARE\\fotos\\a1.bmp", "servidor/Fotos/A1.Bmp"},
                      DriveCase{"//srv/share/Fotos/A1.BMP", "servidor/Fotos/A1.Bmp"},
                      DriveCase{"\\\\srv\\sharex\\Fotos", ""}, DriveCase{"\\\\outro\\share\\Fotos", ""},
                      DriveCase{"C:\\Palvexworks\\Programas\\PDF", "inst/programas/Pdf"},
                      DriveCase{"C:\\outro.TXT", "disco-c/Outro.txt"}, DriveCase{"Y:\\Programas", ""},
                      DriveCase{"Programas\\Pdf", ""}, DriveCase{"", ""}, DriveCase{"/usr/share/doc", "="}));

TEST(InstallationFolder, NamesItsFilesUnderTheRoot)
{
    const Installation inst("/srv/palvex/");
    EXPECT_EQ(inst.root(), "/srv/palvex");
    EXPECT_EQ(inst.workstationFile(), "/srv/palvex/programas/Computador/Computador.txt");
    EXPECT_EQ(inst.workstationTypeFile(), "/srv/palvex/programas/Computador/TipoComputador.txt");
    EXPECT_EQ(inst.pdfFolder(), "/srv/palvex/programas/Pdf");
    EXPECT_EQ(inst.aliasFile(), "/srv/palvex/aliases.ini");
    EXPECT_EQ(inst.credentialsFile(), "/srv/palvex/credenciais");
    EXPECT_EQ(inst.dataFolder(), "/srv/palvex/dados");
}

TEST(InstallationFolder, DefaultRootFollowsTheEnvironment)
{
    const QByteArray saved = qgetenv("PALVEXWORKS_ROOT");
    qputenv("PALVEXWORKS_ROOT", "/opt/palvex");
    EXPECT_EQ(Installation::defaultRoot(), "/opt/palvex");
    qunsetenv("PALVEXWORKS_ROOT");
    EXPECT_EQ(Installation::defaultRoot(), QDir::homePath() + "/.local/share/palvexworks");
    if (!saved.isNull())
        qputenv("PALVEXWORKS_ROOT", saved);
}

} // namespace

namespace {

// A huge alias file (an administrator's mistake, or a damaged disk) is read
// once and in time proportional to its size: the start does not hang.
TEST(AliasFile, AHugeFileIsReadOnceInLinearTime)
{
    QByteArray ini = aliases;
    ini.reserve(4 * 1024 * 1024);
    for (int i = 0; i < 40000; ++i)
        ini += "[LIXO" + QByteArray::number(i) + "]\ndriver = sqlite\nfile = lixo.sqlite\n; comentario\n";
    ini += "[ULTIMO]\ndriver = postgres\nhost = h\ndatabase = ultimo\n";
    Folder folder(ini);
    const Installation inst = folder.installation();
    QElapsedTimer clock;
    clock.start();
    for (int i = 0; i < 20; ++i) {
        EXPECT_EQ(inst.alias("ultimo").database, "ultimo");
        EXPECT_EQ(inst.alias("QXRGERAL").database, inst.dataFolder() + "/geral.sqlite");
        EXPECT_EQ(inst.mapWindowsPath("Z:\\nada"), "");
    }
    EXPECT_LT(clock.elapsed(), 30000); // read once: a fraction of that, even under the sanitizers
    // An edit made while the program runs is read.
    writeFile(folder.dir.path() + "/aliases.ini", aliases + "\n[ULTIMO]\ndriver = sqlite\nfile = u.sqlite\n");
    EXPECT_EQ(inst.alias("ULTIMO").dialect, Dialect::Sqlite);
}

} // namespace
