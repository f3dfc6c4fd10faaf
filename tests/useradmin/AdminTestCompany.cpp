#include "useradmin/AdminTestCompany.h"

#include "useradmin/forms/UserAdminForms.h"

#include "schema/InstallationBuilder.h"
#include "shell/LoginState.h"
#include "platform/notify/MessageSink.h"
#include "shell/VersionUpdate.h"

#include <QApplication>
#include <QDate>
#include <QDialog>
#include <QPointer>

namespace kv::useradmin::test {
namespace {

const QString Workstation = QStringLiteral("POSTO-TESTE");

class RecordingSink : public notify::MessageSink {
public:
    void beep() override {}
    void error(const QString& text) override { texts << text; }
    void information(const QString& text) override { texts << text; }
    QStringList texts;
};

QString databaseUser()
{
    const auto server = kv::test::testServer();
    return server ? server->user : QStringLiteral("ana_bd");
}

} // namespace

bool ScriptedLogin::ask(const QString& databaseName, QString& user, QString& password)
{
    asked << databaseName;
    prefilled << user;
    if (cancel)
        return false;
    const auto server = kv::test::testServer();
    user = server ? server->user : QString();
    password = server ? server->password : QString();
    return true;
}

bool AdminTestCompany::available(Engine engine) { return kv::test::engineAvailable(engine); }

AdminTestCompany::AdminTestCompany(kv::test::Scenario& scenario, Engine engine) : m_scenario(scenario), m_engine(engine)
{
    schema::InstallationOptions options;
    options.workstation = Workstation;
    m_installation = &scenario.createInstallation(engine, options);

    // The main program has opened the company once: UPGRADE_LICENSE exists.
    shell::LoginState state;
    state.setFixedValues();
    state.WEmpNro = 1;
    state.WData = QDate::currentDate();
    shell::VersionUpdate update(*application(), state);
    update.readRecordedVersion();
    if (const QString failure = update.run(); !failure.isEmpty())
        throw std::runtime_error(failure.toStdString());
    update.addRightsCatalogue();

    addUser(QStringLiteral("ANA"), QStringLiteral("SEGREDO"));
    application()->exec(QStringLiteral("INSERT INTO ORCPARGER (CODIGO, TIPOORCAM, TIPOORDFAB) VALUES (1, '1', 'M')"));
    m_session = std::make_unique<AdminSession>(*m_installation, databaseUser(), QString(), m_login);
    registerUserAdminForms(*m_session, m_scenario.forms());
}

AdminTestCompany::~AdminTestCompany()
{
    // The windows still open work on the session: they go first.
    std::vector<QPointer<QWidget>> windows;
    for (QWidget* window : QApplication::topLevelWidgets())
        if (qobject_cast<QDialog*>(window) || qobject_cast<TKAVFMENUUTIL*>(window))
            windows.emplace_back(window);
    for (const QPointer<QWidget>& window : windows) {
        if (window) {
            window->close();
            delete window.data();
        }
    }
    for (auto& session : m_shellSessions)
        session->shutDown();
    m_shellSessions.clear();
    m_session.reset();
}

std::shared_ptr<db::Connection> AdminTestCompany::general()
{
    if (!m_general)
        m_general = db::Connection::open(m_installation->alias(schema::InstallationBuilder::generalAlias(),
                                                               "USER NAME=" + databaseUser(), "PASSWORD="));
    return m_general;
}

std::shared_ptr<db::Connection> AdminTestCompany::application()
{
    if (!m_application)
        m_application =
            db::Connection::open(m_installation->alias(applicationAlias(), "USER NAME=" + databaseUser(), "PASSWORD="));
    return m_application;
}

QString AdminTestCompany::applicationAlias() const { return schema::CompanyAliases::forCompany(1).application; }

void AdminTestCompany::openCompany(int number)
{
    const db::QueryResult row =
        general()->query(QStringLiteral("SELECT NOME, BDESPECIF01 FROM EMPRESAS WHERE EMPNRO = :N"), {{"N", number}});
    m_session->setCompany({number, row.value(0, "NOME").toString(), row.value(0, "BDESPECIF01").toString()});
    m_session->connectApplication();
}

void AdminTestCompany::addCompany(int number, const QString& name, const QString& alias)
{
    general()->exec(QStringLiteral("INSERT INTO EMPRESAS (EMPNRO, NOME, BDESPECIF01) VALUES (:N, :NOME, :ALIAS)"),
                    {{"N", number}, {"NOME", name}, {"ALIAS", alias.isEmpty() ? QVariant() : QVariant(alias)}});
}

void AdminTestCompany::addUser(const QString& code, const QString& password)
{
    application()->exec(QStringLiteral("INSERT INTO UTILIZADORES (NRO, PASSWOR, SUPUTIL, UPGRADE_LICENSE) "
                                       "VALUES (:NRO, :P, 'N', 'N')"),
                        {{"NRO", code}, {"P", password}});
}

void AdminTestCompany::addRight(const QString& key, const QString& chapter, const QString& program, int company,
                                const QString& user, const QString& aceder)
{
    application()->exec(
        QStringLiteral("INSERT INTO APLICACAODET (APLICACAO, CAPITULO, PROGRAMA, EMPNRO, UTIL, ACEDER, INSERIR, "
                       "ALTERAR, ELIMINAR, IMPORTAR, IMPRIMIR, ARQUIVAR, MAIL, SCANNER) VALUES (:A, :C, :P, :E, "
                       ":U, :ACEDER, 'N', 'N', 'N', 'N', 'N', 'N', 'N', 'N')"),
        {{"A", key}, {"C", chapter}, {"P", program}, {"E", company}, {"U", user}, {"ACEDER", aceder}});
}

int AdminTestCompany::count(const QString& sql, const db::Params& params)
{
    return application()->scalar(sql, params).toInt();
}

QString AdminTestCompany::value(const QString& sql, const db::Params& params)
{
    return application()->scalar(sql, params).toString();
}

shell::LoginResult AdminTestCompany::mainProgramLogin(const QString& user, const QString& password,
                                                      QStringList* messages)
{
    const QDateTime today = QDate::currentDate().startOfDay();
    general()->exec(QStringLiteral("DELETE FROM PARAMUTIL WHERE COMP_NAME = :C"), {{"C", Workstation}});
    general()->exec(QStringLiteral("INSERT INTO PARAMUTIL (COMP_NAME, APLICACAO, UTIL, EMPNRO, ANO, DATA, PASSWOR) "
                                   "VALUES (:C, 'KAVORIMETAS', :U, 1, :ANO, :DATA, :P)"),
                    {{"C", Workstation},
                     {"U", user},
                     {"ANO", QString::number(today.date().year())},
                     {"DATA", today},
                     {"P", password}});
    general()->exec(QStringLiteral("DELETE FROM UTILPASSWORD WHERE UTIL = :U"), {{"U", user}});
    general()->exec(QStringLiteral("INSERT INTO UTILPASSWORD (UTIL, EMPRESA, BDUSERNAME, BDPASSWORD) "
                                   "VALUES (:U, 1, :BD, '')"),
                    {{"U", user}, {"BD", databaseUser()}});

    static RecordingSink sink;
    sink.texts.clear();
    auto session = std::make_unique<shell::Session>(*m_installation, sink);
    shell::GeneralCredentials credentials;
    credentials.userName = databaseUser();
    shell::LoginResult result;
    if (session->activate() == shell::Activation::Login)
        result = session->login(credentials);
    if (messages)
        *messages = sink.texts;
    m_shellSessions.push_back(std::move(session));
    return result;
}

TKAVFMENUUTIL* AdminTestCompany::openMainWindow(std::function<void(kv::test::FormDriver&)> selection, bool* ended)
{
    m_scenario.onDialog(std::move(selection));
    auto* window = new TKAVFMENUUTIL(*m_session);
    if (ended)
        QObject::connect(window, &TKAVFMENUUTIL::programEnded, [ended] { *ended = true; });
    m_scenario.show(window);
    window->activateWindow();
    m_scenario.wait(50);
    return window;
}

} // namespace kv::useradmin::test
