#include "support/Scenario.h"

#include "support/InstallationClones.h"

#include "platform/ui/FormRegistry.h"
#include "schema/DemoInstallation.h"
#include "platform/ui/MessageServiceSink.h"

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QCoreApplication>
#include <QFile>
#include <QDialog>
#include <QTest>
#include <QTimer>

#include <atomic>

#include <gtest/gtest.h>

namespace kv::test {

using kv::db::Connection;
using kv::db::ConnectionSettings;
using kv::db::Dialect;

QApplication& application()
{
    static QApplication* app = [] {
        // Offscreen, on the smallest screen the program serves, with a large
        // one beside it (see LayoutCheck.h).
        const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
        if (platform.isEmpty() || platform == "offscreen")
            qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" KV_TEST_SCREENS);
        static int argc = 1;
        static char name[] = "kv-test";
        static char* argv[] = {name, nullptr};
        return new QApplication(argc, argv);
    }();
    return *app;
}

std::optional<kv::schema::PostgresServer> testServer()
{
    if (!postgresAvailable())
        return std::nullopt;
    const ConnectionSettings settings = serverSettings(QStringLiteral("postgres"));
    kv::schema::PostgresServer server;
    server.host = settings.host;
    server.port = settings.port;
    server.user = settings.user;
    return server;
}

namespace {

// Every test program that links the harness has its application object
// before the first test, whether or not the test opens a scenario.
class ApplicationEnvironment : public ::testing::Environment {
public:
    void SetUp() override { application(); }
};
[[maybe_unused]] ::testing::Environment* const applicationEnvironment =
    ::testing::AddGlobalTestEnvironment(new ApplicationEnvironment);

QString uniquePrefix()
{
    static std::atomic<int> counter{0};
    return QStringLiteral("kvt_%1_%2_%3_")
        .arg(QCoreApplication::applicationPid())
        .arg(QDateTime::currentMSecsSinceEpoch() % 100000000)
        .arg(counter++);
}

// What a login that must not fail says, kept to tell why it failed.
class RecordingSink : public kv::notify::MessageSink {
public:
    void beep() override {}
    void error(const QString& text) override { texts << text; }
    void information(const QString& text) override { texts << text; }
    QStringList texts;
};

// The login to the general database that the credentials library gives the
// programs, read from the installation's credentials file.
kv::shell::GeneralCredentials credentialsOf(const kv::install::Installation& installation)
{
    QFile file(installation.credentialsFile());
    kv::shell::GeneralCredentials credentials;
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        credentials.error = file.errorString();
        return credentials;
    }
    const QStringList lines = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'));
    credentials.userName = lines.value(0).trimmed();
    credentials.password = lines.value(1).trimmed();
    return credentials;
}

const QDate plainWorkingDate(2024, 3, 15);
const QString plainWorkstation = QStringLiteral("POSTO-TESTE");

// The plain company's user, login row and costing parameters.
void addPlainUser(const kv::install::Installation& installation, const QString& databaseUser)
{
    using kv::db::Connection;
    const auto company = kv::schema::CompanyAliases::forCompany(1);
    auto general =
        Connection::open(installation.alias(kv::schema::InstallationBuilder::generalAlias(),
                                            QStringLiteral("USER NAME=") + databaseUser, QStringLiteral("PASSWORD=")));
    general->exec(QStringLiteral("INSERT INTO PARAMUTIL (COMP_NAME, APLICACAO, UTIL, EMPNRO, ANO, DATA, PASSWOR) "
                                 "VALUES (:C, 'KAVORIMETAS', 'ANA', 1, :ANO, :DATA, 'SEGREDO')"),
                  {{QStringLiteral("C"), plainWorkstation},
                   {QStringLiteral("ANO"), QString::number(plainWorkingDate.year())},
                   {QStringLiteral("DATA"), plainWorkingDate.startOfDay()}});
    general->exec(QStringLiteral("INSERT INTO UTILPASSWORD (UTIL, EMPRESA, BDUSERNAME, BDPASSWORD) "
                                 "VALUES ('ANA', 1, :U, '')"),
                  {{QStringLiteral("U"), databaseUser}});
    auto application = Connection::open(installation.alias(
        company.application, QStringLiteral("USER NAME=") + databaseUser, QStringLiteral("PASSWORD=")));
    application->exec(
        QStringLiteral("INSERT INTO UTILIZADORES (NRO, PASSWOR, SUPUTIL) VALUES ('ANA', 'SEGREDO', 'N')"));
    application->exec(QStringLiteral("INSERT INTO ORCPARGER (CODIGO, TIPOORCAM, TIPOORDFAB) VALUES (1, '1', 'M')"));
}

// Logs in and out once, so the version update has run and recorded the
// program's version: the copies log in without running it again.
void firstLogin(const kv::install::Installation& installation)
{
    RecordingSink sink;
    kv::shell::Session session(installation, sink);
    const kv::shell::LoginResult result = session.activate() == kv::shell::Activation::Login
                                              ? session.login(credentialsOf(installation))
                                              : kv::shell::LoginResult{};
    if (!result.loggedIn)
        throw std::runtime_error("first login failed: " + sink.texts.join(QStringLiteral(" / ")).toStdString());
    session.shutDown();
}

} // namespace

// Sees every dialog shown while the scenario lives and hands the modal ones
// that the scenario did not open itself to the queued handlers.
class Scenario::DialogWatcher : public QObject {
public:
    explicit DialogWatcher(Scenario& scenario) : m_scenario(scenario) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Show) {
            auto* dialog = qobject_cast<QDialog*>(watched);
            if (dialog && dialog->isWindow())
                m_scenario.dialogShown(dialog);
        }
        return false;
    }

private:
    Scenario& m_scenario;
};

Scenario::Scenario()
{
    application();
    m_messages = std::make_shared<ScriptedMessages>();
    m_previousMessages = kv::ui::MessageService::install(m_messages);
    m_watcher = new DialogWatcher(*this);
    qApp->installEventFilter(m_watcher);
    m_databasePrefix = uniquePrefix();
}

Scenario::~Scenario()
{
    for (auto it = m_windows.rbegin(); it != m_windows.rend(); ++it) {
        if (*it) {
            (*it)->close();
            delete it->data();
        }
    }
    m_windows.clear();
    QCoreApplication::processEvents();
    if (m_session) {
        // Forms the test opened by other ways still edit the session's datasets.
        for (QWidget* window : QApplication::topLevelWidgets()) {
            if (qobject_cast<QDialog*>(window)) {
                window->close();
                delete window;
            }
        }
        m_session->shutDown();
        m_session.reset();
    }
    qApp->removeEventFilter(m_watcher);
    delete m_watcher;
    if (!m_dialogHandlers.empty())
        ADD_FAILURE() << m_dialogHandlers.size() << " diálogo(s) esperado(s) não abriram";
    if (m_messages->pendingAnswers() > 0)
        ADD_FAILURE() << m_messages->pendingAnswers() << " resposta(s) preparada(s) sem pergunta";
    kv::ui::MessageService::install(m_previousMessages);

    m_connections.clear();
    if (auto server = testServer(); server && !m_postgresDatabases.empty()) {
        try {
            auto maintenance = Connection::open(serverSettings(QStringLiteral("postgres")));
            for (const QString& name : m_postgresDatabases)
                maintenance->exec(QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE)").arg(name));
        } catch (const kv::db::DbError& e) {
            ADD_FAILURE() << "Não foi possível apagar as bases de dados do teste: " << e.fullText().toStdString();
        }
    }
}

QString Scenario::tempPath(const QString& name) const { return name.isEmpty() ? m_temp.path() : m_temp.filePath(name); }

kv::install::Installation& Scenario::createInstallation(kv::schema::InstallationOptions options)
{
    return createInstallation(usesPostgres() ? Engine::Postgres : Engine::Sqlite, std::move(options));
}

kv::install::Installation& Scenario::createInstallation(Engine engine, kv::schema::InstallationOptions options)
{
    if (m_installation)
        throw std::logic_error("Scenario: installation already created");
    if (engine == Engine::Postgres && !options.postgres) {
        auto server = testServer();
        if (!server)
            throw std::logic_error("Scenario: no PostgreSQL test server (KV_TEST_PG_HOST)");
        server->databasePrefix = m_databasePrefix;
        options.postgres = *server;
    }
    if (options.workstation.isEmpty())
        options.workstation = QStringLiteral("POSTO-TESTE");
    m_installation = cloneInstallation(options, tempPath(QStringLiteral("instalacao")));
    if (options.postgres) {
        const auto company = kv::schema::CompanyAliases::forCompany(options.companyNumber);
        for (const QString& alias : {kv::schema::InstallationBuilder::generalAlias(), company.application,
                                     company.invoicing, company.accounting})
            m_postgresDatabases.push_back(m_installation->alias(alias).database);
    }
    return *m_installation;
}

kv::shell::Session& Scenario::login(Engine engine, Company company)
{
    if (m_session)
        throw std::logic_error("Scenario: already logged in");
    kv::schema::InstallationOptions options;
    options.workstation = plainWorkstation;
    if (engine == Engine::Postgres) {
        auto server = testServer();
        if (!server)
            throw std::logic_error("Scenario: no PostgreSQL test server (KV_TEST_PG_HOST)");
        server->databasePrefix = m_databasePrefix;
        options.postgres = *server;
    }
    Preparation preparation;
    if (company == Company::Demo) {
        options.demo = true;
        preparation = {QStringLiteral("demo login"), firstLogin};
    } else {
        options.companyName = QStringLiteral("Cartonagem do Vale, Lda");
        const QString databaseUser = options.postgres ? options.postgres->user : QStringLiteral("ana_bd");
        preparation = {QStringLiteral("plain login"), [databaseUser](const kv::install::Installation& installation) {
                           addPlainUser(installation, databaseUser);
                           firstLogin(installation);
                       }};
    }
    if (m_installation)
        throw std::logic_error("Scenario: installation already created");
    m_installation = cloneInstallation(options, tempPath(QStringLiteral("instalacao")), preparation);
    if (options.postgres) {
        const auto aliases = kv::schema::CompanyAliases::forCompany(options.companyNumber);
        for (const QString& alias : {kv::schema::InstallationBuilder::generalAlias(), aliases.application,
                                     aliases.invoicing, aliases.accounting})
            m_postgresDatabases.push_back(m_installation->alias(alias).database);
    }

    m_sink = std::make_unique<kv::ui::MessageServiceSink>();
    m_session = std::make_unique<kv::shell::Session>(*m_installation, *m_sink);
    const kv::shell::Activation activation = m_session->activate();
    const kv::shell::LoginResult result = activation == kv::shell::Activation::Login
                                              ? m_session->login(credentialsOf(*m_installation))
                                              : kv::shell::LoginResult{};
    if (!result.loggedIn)
        ADD_FAILURE() << "O login não entrou: " << m_messages->texts().join(QStringLiteral(" / ")).toStdString();
    return *m_session;
}

kv::shell::Session& Scenario::session()
{
    if (!m_session)
        throw std::logic_error("Scenario: not logged in; call login() first");
    return *m_session;
}

kv::install::Installation& Scenario::installation()
{
    if (!m_installation)
        throw std::logic_error("Scenario: no installation; call createInstallation() first");
    return *m_installation;
}

std::shared_ptr<Connection> Scenario::connect(const QString& alias)
{
    for (const auto& [name, connection] : m_connections) {
        if (name == alias)
            return connection;
    }
    ConnectionSettings settings = installation().alias(alias);
    // The program logs in with the user's own lines; the tests use the test server's login.
    if (auto server = testServer(); server && settings.dialect == Dialect::Postgres && settings.user.isEmpty()) {
        settings.user = server->user;
        settings.password = server->password;
    }
    auto connection = Connection::open(settings);
    m_connections.emplace_back(alias, connection);
    return connection;
}

kv::schema::CompanyAliases Scenario::companyAliases() const { return kv::schema::CompanyAliases::forCompany(1); }

std::shared_ptr<Connection> Scenario::generalDatabase()
{
    return connect(kv::schema::InstallationBuilder::generalAlias());
}

std::shared_ptr<Connection> Scenario::applicationDatabase() { return connect(companyAliases().application); }

std::shared_ptr<Connection> Scenario::invoicingDatabase() { return connect(companyAliases().invoicing); }

std::shared_ptr<Connection> Scenario::accountingDatabase() { return connect(companyAliases().accounting); }

std::shared_ptr<Connection> Scenario::emptyDatabase(const QString& name)
{
    const QString key = QStringLiteral("vazia:") + name;
    for (const auto& [alias, connection] : m_connections) {
        if (alias == key)
            return connection;
    }
    auto connection = openDatabase(name);
    m_connections.emplace_back(key, connection);
    return connection;
}

std::shared_ptr<Connection> Scenario::openDatabase(const QString& name)
{
    if (auto server = testServer()) {
        const QString database = (m_databasePrefix + name).toLower();
        auto maintenance = Connection::open(serverSettings(QStringLiteral("postgres")));
        maintenance->exec(QStringLiteral("CREATE DATABASE %1 ENCODING 'UTF8' TEMPLATE template0").arg(database));
        m_postgresDatabases.push_back(database);
        return Connection::open(serverSettings(database));
    }
    ConnectionSettings settings;
    settings.alias = name;
    settings.dialect = Dialect::Sqlite;
    settings.database = tempPath(name + QStringLiteral(".sqlite"));
    return Connection::open(settings);
}

kv::db::QueryResult Scenario::rows(const std::shared_ptr<Connection>& connection, const QString& sql,
                                   const kv::db::Params& params)
{
    return connection->query(sql, params);
}

FormDriver Scenario::open(const QString& className)
{
    QDialog* form = m_forms.create(className);
    if (!form) {
        ADD_FAILURE() << "Formulário não registado: " << className.toStdString();
        return FormDriver();
    }
    return show(form);
}

FormDriver Scenario::show(QWidget* window)
{
    m_windows.emplace_back(window);
    window->show();
    window->activateWindow();
    if (!QTest::qWaitForWindowActive(window, 2000))
        ADD_FAILURE() << "A janela não ficou activa: " << window->objectName().toStdString();
    QCoreApplication::processEvents();
    return FormDriver(window);
}

void Scenario::onDialog(std::function<void(FormDriver&)> handler) { m_dialogHandlers.push_back(std::move(handler)); }

void Scenario::dialogShown(QDialog* dialog)
{
    for (const auto& window : m_windows) {
        if (window == dialog)
            return;
    }
    if (!dialog->isModal() && dialog->windowModality() == Qt::NonModal)
        return;
    QPointer<QDialog> shown(dialog);
    // When the dialog is gone, the window under it becomes active again, as
    // a window manager does.
    QPointer<QWidget> under = QApplication::activeWindow();
    QObject::connect(
        dialog, &QDialog::finished, dialog,
        [under] {
            if (under)
                QTimer::singleShot(0, under, [under] {
                    if (under && under->isVisible())
                        under->activateWindow();
                });
        },
        Qt::SingleShotConnection);
    if (m_dialogHandlers.empty()) {
        ADD_FAILURE() << "Diálogo inesperado: \"" << dialog->windowTitle().toStdString() << "\"";
        QTimer::singleShot(0, dialog, [shown] {
            if (shown)
                shown->reject();
        });
        return;
    }
    auto handler = std::move(m_dialogHandlers.front());
    m_dialogHandlers.pop_front();
    QTimer::singleShot(0, dialog, [shown, handler = std::move(handler)] {
        if (!shown)
            return;
        shown->activateWindow();
        // A dialog that does its work on activation may close itself meanwhile.
        (void)QTest::qWaitFor([&] { return !shown || !shown->isVisible() || QApplication::activeWindow() == shown; },
                              2000);
        FormDriver driver(shown.data());
        handler(driver);
        // A handler that left the dialog open would block the test.
        if (shown && shown->isVisible()) {
            ADD_FAILURE() << "O diálogo \"" << shown->windowTitle().toStdString() << "\" ficou aberto";
            shown->reject();
        }
    });
}

void Scenario::settle()
{
    QAbstractEventDispatcher* dispatcher = QAbstractEventDispatcher::instance();
    // Two quiet rounds in a row: work that queues more work is followed.
    for (int round = 0, quiet = 0; quiet < 2 && round < 1000; ++round) {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        const bool worked = dispatcher->processEvents(QEventLoop::AllEvents);
        quiet = worked ? 0 : quiet + 1;
    }
}

void Scenario::wait(int ms)
{
    if (ms <= 0) {
        QCoreApplication::processEvents();
        return;
    }
    QTest::qWait(ms);
}

} // namespace kv::test
