#include "shell/CredentialsLibrary.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using kv::shell::CredentialsLibrary;

namespace {

const QString Library = QStringLiteral(KV_PALVEXWORKS_LIBRARY);

struct CredentialsCase {
    const char* label;
    bool writeFile;
    QByteArray content;
    QFile::Permissions permissions;
    QString userName; // expected when the file can be used
    QString password;
    QString errorFragment; // expected in the message otherwise
};

void PrintTo(const CredentialsCase& c, std::ostream* os) { *os << c.label; }

class CredentialsFileCases : public ::testing::TestWithParam<CredentialsCase> {};

constexpr auto OwnerOnly = QFile::ReadOwner | QFile::WriteOwner;

TEST_P(CredentialsFileCases, ReturnsTheLoginOrSaysWhy)
{
    const CredentialsCase& c = GetParam();
    QTemporaryDir root;
    qputenv("PALVEXWORKS_ROOT", root.path().toLocal8Bit());
    if (c.writeFile) {
        QFile file(root.filePath("credenciais"));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(c.content);
        file.close();
        ASSERT_TRUE(file.setPermissions(c.permissions));
    }
    const auto credentials = CredentialsLibrary::load({Library});
    if (c.errorFragment.isEmpty()) {
        EXPECT_TRUE(credentials.ok()) << credentials.error.toStdString();
        EXPECT_EQ(credentials.userName, c.userName);
        EXPECT_EQ(credentials.password, c.password);
    } else {
        EXPECT_FALSE(credentials.ok());
        EXPECT_TRUE(credentials.error.contains(c.errorFragment)) << credentials.error.toStdString();
        EXPECT_TRUE(credentials.error.contains("O programa vai terminar"));
    }
    qunsetenv("PALVEXWORKS_ROOT");
}

INSTANTIATE_TEST_SUITE_P(
    Credentials, CredentialsFileCases,
    ::testing::Values(
        CredentialsCase{"two lines", true, "geral\nsegredo\n", OwnerOnly, "geral", "segredo", ""},
        CredentialsCase{"windows line ends", true, "geral\r\nseg redo\r\n", OwnerOnly, "geral", "seg redo", ""},
        CredentialsCase{"no password line", true, "geral\n", OwnerOnly, "geral", "", ""},
        CredentialsCase{"missing file", false, "", OwnerOnly, "", "", "inexistente"},
        CredentialsCase{"readable by others", true, "geral\nsegredo\n", OwnerOnly | QFile::ReadGroup | QFile::ReadOther,
                        "", "", "outros utilizadores"},
        CredentialsCase{"empty login name", true, "\nsegredo\n", OwnerOnly, "", "", "nome de utilizador"}));

TEST(CredentialsLibrary, MissingLibraryIsExplainedNotALoaderError)
{
    const auto credentials = CredentialsLibrary::load({"/nao/existe/libpalvexworks.so"});
    EXPECT_FALSE(credentials.ok());
    EXPECT_TRUE(credentials.error.startsWith("Não foi encontrada a biblioteca de credenciais"));
    EXPECT_TRUE(credentials.error.contains("/nao/existe/libpalvexworks.so"));
}

TEST(CredentialsLibrary, LibraryWithoutTheFunctionsIsRefused)
{
    // Any shared library that is not ours: the C library.
    const auto credentials = CredentialsLibrary::load({"libc.so.6"});
    EXPECT_FALSE(credentials.ok());
    EXPECT_TRUE(credentials.error.contains("não é válida")) << credentials.error.toStdString();
}

} // namespace
