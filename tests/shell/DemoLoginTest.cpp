// The demo that ./run creates and starts, as the README tells it: the demo
// user logs in to the demo company on the workstation DEMO.
#include "shell/ShellTestInstallation.h"

#include "shell/CredentialsLibrary.h"
#include "schema/DemoInstallation.h"
#include "schema/InstallationBuilder.h"
#include "shell/MainMenu.h"
#include "platform/ui/MessageServiceSink.h"
#include "support/Scenario.h"
#include "shell/forms/TFACFMENU.h"

#include <QProcess>
#include <QStandardPaths>
#include <QTest>

using namespace kv::shell;
using namespace kv::shell::test;
using kv::schema::DemoInstallation;
using kv::test::FormDriver;
using kv::test::Scenario;

namespace {

// The installation folder the programs and the credentials library read.
class InstallationRoot {
public:
    explicit InstallationRoot(const QString& root) : m_previous(qgetenv("PALVEXWORKS_ROOT"))
    {
        qputenv("PALVEXWORKS_ROOT", root.toLocal8Bit());
    }
    ~InstallationRoot() { qputenv("PALVEXWORKS_ROOT", m_previous); }

private:
    QByteArray m_previous;
};

GeneralCredentials credentialsOf(const kv::install::Installation& installation)
{
    InstallationRoot root(installation.root());
    return CredentialsLibrary::load({QStringLiteral(KV_PALVEXWORKS_LIBRARY)});
}

// The demo as ./run creates it: kavorimetas-admin create-installation with
// --demo, on the test server's PostgreSQL when asked. The server's databases
// of that name are dropped at the end, and never touched when they were
// there before.
class AdminDemo {
public:
    explicit AdminDemo(Engine engine) : m_root(m_dir.path() + QStringLiteral("/demo"))
    {
        QStringList args{QStringLiteral("create-installation"), m_root, QStringLiteral("--workstation"),
                         QStringLiteral("DEMO"), QStringLiteral("--demo")};
        if (engine == Engine::Postgres) {
            m_server = kv::test::testServer();
            const auto maintenance = kv::db::Connection::open(serverSettings(QStringLiteral("postgres")));
            for (const QString& name : databases()) {
                if (!maintenance->scalar(QStringLiteral("SELECT 1 FROM pg_database WHERE datname = :N"), {{"N", name}})
                         .isNull()) {
                    m_error = QStringLiteral("o servidor de teste já tem a base de dados %1").arg(name);
                    m_server.reset();
                    return;
                }
            }
            args << QStringLiteral("--postgres") << QStringLiteral("host=") + m_server->host
                 << QStringLiteral("port=%1").arg(m_server->port) << QStringLiteral("user=") + m_server->user;
        }
        QProcess admin;
        admin.start(QStringLiteral(KV_ADMIN_PROGRAM), args);
        // A program still running, or ended by a signal, made no demo: its
        // exit code says nothing then.
        if (!admin.waitForFinished(300000)) {
            m_error = QStringLiteral("o kavorimetas-admin não terminou: %1").arg(admin.errorString());
            admin.kill();
            admin.waitForFinished();
        } else if (admin.exitStatus() != QProcess::NormalExit || admin.exitCode() != 0) {
            m_error = QStringLiteral("o kavorimetas-admin falhou (%1): %2")
                          .arg(admin.exitStatus() == QProcess::NormalExit ? QString::number(admin.exitCode())
                                                                          : QStringLiteral("terminado à força"),
                               QString::fromUtf8(admin.readAllStandardError()));
        }
    }

    ~AdminDemo()
    {
        if (!m_server)
            return;
        try {
            const auto maintenance = kv::db::Connection::open(serverSettings(QStringLiteral("postgres")));
            for (const QString& name : databases())
                maintenance->exec(QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE)").arg(name));
        } catch (const kv::db::DbError& e) {
            ADD_FAILURE() << e.fullText().toStdString();
        }
    }

    QString error() const { return m_error; }
    QString root() const { return m_root; }

private:
    QStringList databases() const
    {
        const auto company = kv::schema::CompanyAliases::forCompany(1);
        QStringList names;
        for (const QString& alias : {kv::schema::InstallationBuilder::generalAlias(), company.application,
                                     company.invoicing, company.accounting})
            names << m_server->databasePrefix + alias.toLower();
        return names;
    }

    kv::db::ConnectionSettings serverSettings(const QString& database) const
    {
        kv::db::ConnectionSettings s;
        s.alias = database;
        s.dialect = kv::db::Dialect::Postgres;
        s.host = m_server->host;
        s.port = m_server->port;
        s.user = m_server->user;
        s.password = m_server->password;
        s.database = database;
        return s;
    }

    QTemporaryDir m_dir;
    QString m_root;
    std::optional<kv::schema::PostgresServer> m_server;
    QString m_error;
};

class DemoLogin : public ::testing::TestWithParam<Engine> {};

TEST_P(DemoLogin, MainWindowLogsTheDemoUserInWithEveryRight)
{
    KV_SKIP_WITHOUT(GetParam());
    const AdminDemo demo(GetParam());
    ASSERT_TRUE(demo.error().isEmpty()) << demo.error().toStdString();
    const kv::install::Installation installation(demo.root());
    const GeneralCredentials credentials = credentialsOf(installation);
    ASSERT_TRUE(credentials.ok()) << credentials.error.toStdString();

    kv::ui::MessageServiceSink sink;
    Session session(installation, sink);
    Scenario scenario; // closes the window while the session still exists
    QString versionDialog;
    scenario.onDialog([&versionDialog](FormDriver& dialog) { versionDialog = dialog.caption(); });
    auto* window = new TFACFMENU(session, credentials);
    FormDriver main = scenario.show(window);
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitFor([window] { return window->loggedIn(); }, 10000))
        << scenario.messages().texts().join("\n").toStdString();
    EXPECT_TRUE(scenario.messages().transcript().isEmpty());
    // A new database is brought to the program's version at its first login.
    EXPECT_EQ(versionDialog, "Actualização de Versão ...");
    EXPECT_EQ(main.text("Label_Computador"), "DEMO");
    EXPECT_EQ(main.text("Edit_EmpNom"), "Empresa de Demonstração");
    EXPECT_EQ(main.text("BotPassord"), DemoInstallation::user());
    const LoginState& state = session.state();
    EXPECT_EQ(state.WData, QDate::currentDate());
    EXPECT_EQ(state.WAno, QString::number(QDate::currentDate().year()));
    EXPECT_EQ(state.WTipoOrcam, "1");
    EXPECT_EQ(state.WTipoOrdFab, "M");

    // Every menu entry is the user's; of the closing entries only those of
    // the production-order model "M".
    const MenuRights menu = session.rights().menuRights();
    for (const MainMenu::Menu& m : MainMenu::menus()) {
        for (const auto* list : {&m.functions, &m.submenuFunctions, &m.afterSubmenu}) {
            for (const MenuFunction& f : *list)
                EXPECT_EQ(menu.isEnabled(f.item), f.item != "PLANO006") << f.item.toStdString();
        }
    }
    // Every program of the rights catalogue, as the login leaves it, with every flag.
    auto application = session.dataModules().connections().DbKavorime;
    const auto missing = application->query(
        "SELECT M.APLICACAO, M.CAPITULO, M.PROGRAMA FROM APLICACAOMST M WHERE NOT EXISTS ("
        "SELECT 1 FROM APLICACAODET D WHERE D.APLICACAO = M.APLICACAO AND D.CAPITULO = M.CAPITULO "
        "AND D.PROGRAMA = M.PROGRAMA AND D.UTIL = :U AND D.EMPNRO = 1 AND D.ACEDER = 'S' AND D.INSERIR = 'S' "
        "AND D.ALTERAR = 'S' AND D.ELIMINAR = 'S' AND D.IMPORTAR = 'S' AND D.IMPRIMIR = 'S' "
        "AND D.ARQUIVAR = 'S' AND D.MAIL = 'S' AND D.SCANNER = 'S')",
        {{"U", DemoInstallation::user()}});
    for (const auto& row : missing.rows)
        ADD_FAILURE() << "sem direitos: " << row[0].toString().toStdString() << " / " << row[1].toString().toStdString()
                      << " / " << row[2].toString().toStdString();
    EXPECT_GT(application->scalar("SELECT COUNT(*) FROM APLICACAOMST").toInt(), 0);
    // The version step that makes the subcontracts table gives the demo its subcontracts.
    EXPECT_GT(application->scalar("SELECT COUNT(*) FROM SUBCONTRATO").toInt(), 0);
}

INSTANTIATE_TEST_SUITE_P(Shell, DemoLogin, ::testing::Values(Engine::Sqlite, Engine::Postgres),
                         kv::test::engineTestName);

// The program itself, as ./run starts it on a machine without a display: on
// a virtual X screen that has no window manager to activate its window.
TEST(MainProgram, LogsInOnTheDemoOnAScreenWithoutWindowManager)
{
    const QString xvfb = QStandardPaths::findExecutable(QStringLiteral("Xvfb"));
    if (xvfb.isEmpty())
        GTEST_SKIP() << "Xvfb não está instalado";
    const AdminDemo demo(Engine::Sqlite);
    ASSERT_TRUE(demo.error().isEmpty()) << demo.error().toStdString();

    QProcess screen;
    screen.start(xvfb,
                 {QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-screen"), QStringLiteral("0"),
                  QStringLiteral("1280x1024x24"), QStringLiteral("-nolisten"), QStringLiteral("tcp")});
    ASSERT_TRUE(screen.waitForReadyRead(20000)) << "o Xvfb não arrancou";
    const QString display = QStringLiteral(":") + QString::fromLatin1(screen.readLine()).trimmed();

    QProcess program;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(QStringLiteral("QT_QPA_PLATFORM"));
    environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
    environment.insert(QStringLiteral("DISPLAY"), display);
    environment.insert(QStringLiteral("PALVEXWORKS_ROOT"), demo.root());
    program.setProcessEnvironment(environment);
    program.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    program.start(QStringLiteral(KV_KAVORIMETAS_PROGRAM), {});
    ASSERT_TRUE(program.waitForStarted(20000));

    // Logged in: the login row of the demo user is written.
    const kv::install::Installation installation(demo.root());
    auto application =
        kv::db::Connection::open(installation.alias(kv::schema::CompanyAliases::forCompany(1).application));
    // A program that ended will not log in any more: no use waiting for it.
    const auto loginWritten = [&] {
        return application->scalar("SELECT COUNT(*) FROM PARAMTMP WHERE UTIL = 'DEMO'").toInt() == 1;
    };
    (void)QTest::qWaitFor([&] { return program.state() != QProcess::Running || loginWritten(); }, 60000);
    const bool running = program.state() == QProcess::Running;
    const bool loggedIn = running && loginWritten();
    program.terminate();
    program.waitForFinished(10000);
    screen.terminate();
    screen.waitForFinished(10000);
    EXPECT_TRUE(loggedIn) << (running ? "o programa não entrou" : "o programa terminou");
}

// A demo created in one year and started in the next: ./run moves its
// working date, and the login goes on in the new year, with the password the
// user has now.
TEST(DemoLoginNextYear, LogsInOnTheFirstDayOfTheNextYear)
{
    Scenario scenario;
    kv::schema::InstallationOptions options;
    options.workstation = QStringLiteral("DEMO");
    options.demo = true;
    const kv::install::Installation& installation = scenario.createInstallation(options);
    // The user changed his password in the program meanwhile.
    scenario.applicationDatabase()->exec("UPDATE UTILIZADORES SET PASSWOR = 'NOVA' WHERE NRO = 'DEMO'");
    const QDate january(QDate::currentDate().year() + 1, 1, 1);
    ASSERT_TRUE(DemoInstallation::moveToDate(installation, january));

    kv::ui::MessageServiceSink sink;
    Session session(installation, sink);
    ASSERT_EQ(session.activate(), Activation::Login);
    const LoginResult result = session.login(credentialsOf(installation), january);
    ASSERT_TRUE(result.loggedIn) << result.stopMessage.toStdString();
    EXPECT_FALSE(result.dateOutsideCurrentYear);
    EXPECT_EQ(session.state().WAno, QString::number(january.year()));
    auto invoicing = session.dataModules().connections().DbFacturacao;
    for (const char* table : {"PARGER", "FACTURAOBS", "ENCPARGER", "CALENDARIO"})
        EXPECT_GT(invoicing
                      ->scalar(QStringLiteral("SELECT COUNT(*) FROM %1 WHERE ANO = :A").arg(table),
                               {{"A", session.state().WAno}})
                      .toInt(),
                  0)
            << table;
    session.shutDown();
}

} // namespace
