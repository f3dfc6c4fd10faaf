#include "shell/Session.h"

#include "shell/WorkstationFiles.h"

#include "platform/db/DbError.h"
#include "platform/db/RecordClaims.h"
#include "platform/db/SqlDialect.h"
#include "platform/install/Installation.h"
#include "schema/Schema.h"

namespace kv::shell {
namespace {

const QString GeneralAlias = QStringLiteral("QXRGERAL");

QString text(const db::QueryResult& result, const char* column)
{
    return result.value(0, QString::fromLatin1(column)).toString();
}

} // namespace

Session::Session(const install::Installation& installation, notify::MessageSink& messages)
    : m_installation(installation), m_messages(messages),
      m_modules(std::make_unique<ShellDataModules>(m_state, installation))
{
}

Session::~Session() = default;

void Session::setUpdateErrorHandler(db::UpdateErrorHandler handler) { m_errorHandler = std::move(handler); }

void Session::setVersionUpdateView(VersionUpdateView* view) { m_versionView = view ? view : &m_silentView; }

void Session::setUpdateCheck(UpdateCheck* updates) { m_updates = updates ? updates : &m_noUpdates; }

Activation Session::activate()
{
    m_state.setFixedValues();
    const WorkstationReading workstation =
        WorkstationFiles::read(m_installation.workstationFile(), m_installation.workstationTypeFile());
    if (!workstation.ok()) {
        m_messages.fail(workstation.stopMessage);
        return Activation::Stop;
    }
    m_state.WComputador = workstation.name;
    m_state.WTipoComputador = workstation.type;
    return ++m_activations == 1 ? Activation::Login : Activation::Continue;
}

LoginResult Session::stop(const QString& message)
{
    m_messages.fail(message);
    LoginResult result;
    result.stopMessage = message;
    return result;
}

LoginResult Session::login(const GeneralCredentials& credentials, const QDate& today)
{
    LoginResult result;
    try {
        openCompany(credentials);
        updateDatabaseVersion();
        checkUser();
        // The invoicing program's login rows of this company and year go.
        m_general->exec(
            QStringLiteral("DELETE FROM PARAMUTIL WHERE APLICACAO = :APLICACAO "
                           "AND ANO = :WAno AND EMPNRO = :WEmpNro"),
            {{"APLICACAO", QStringLiteral("FACTURACAO")}, {"WAno", m_state.WAno}, {"WEmpNro", m_state.WEmpNro}});
        readCostingParameters();
        result.menu = rights().menuRights();
        createParamTmp();
    } catch (const Stop& s) {
        return stop(s.message);
    } catch (const db::DbError& error) {
        return stop(error.fullText());
    }

    // The working year follows the working date from here on.
    m_state.WAno = QStringLiteral("%1").arg(m_state.WData.year(), 4, 10, QLatin1Char('0'));
    result.dateOutsideCurrentYear = m_state.WData.year() != today.year();

    try {
        if (!testUpdates(result))
            return stop(QStringLiteral("Utilizador Inexistente (Teste Actualização) : ") + m_state.WUtil);
    } catch (const db::DbError& error) {
        return stop(error.fullText());
    }
    result.loggedIn = true;
    finishPendingWork();
    releaseStoppedClaims();
    return result;
}

void Session::openCompany(const GeneralCredentials& credentials)
{
    m_general =
        db::Connection::open(m_installation.alias(GeneralAlias, QStringLiteral("USER NAME=") + credentials.userName,
                                                  QStringLiteral("PASSWORD=") + credentials.password));

    const db::QueryResult workstation = m_general->query(
        QStringLiteral("SELECT * FROM PARAMUTIL WHERE APLICACAO = :APLICACAO AND COMP_NAME = :XCompStr"),
        {{"APLICACAO", m_state.WAplicacao}, {"XCompStr", m_state.WComputador}});
    const int empNro = workstation.isEmpty() ? 0 : workstation.value(0, QStringLiteral("EMPNRO")).toInt();
    const db::QueryResult company =
        m_general->query(QStringLiteral("SELECT * FROM EMPRESAS WHERE EMPNRO = :EMPNRO"), {{"EMPNRO", empNro}});
    if (company.isEmpty())
        throw Stop{QStringLiteral("Empresa Inexistente : %1").arg(empNro)};

    m_state.WUtil = text(workstation, "UTIL");
    m_state.WData = workstation.value(0, QStringLiteral("DATA")).toDateTime().date();
    m_state.WAno = text(workstation, "ANO").left(4);
    m_workstationPassword = text(workstation, "PASSWOR");
    m_state.WEmpNom = text(company, "NOME");
    m_state.WEmpNro = empNro;
    m_state.WPathFotosLogo = text(company, "PATHFOTOSLOGO");
    m_state.WFicTec = text(company, "FICTEC");
    m_state.WBdFactura = text(company, "BDFACTURA").trimmed();
    m_state.WBdContab = text(company, "BDCONTAB").trimmed();
    m_state.WBdEspecif01 = text(company, "BDESPECIF01").trimmed();
    if (m_state.WBdFactura.isEmpty())
        throw Stop{QStringLiteral("BASE DE DADOS DE FACTURAÇÃO INEXISTENTE")};
    if (m_state.WBdContab.isEmpty())
        throw Stop{QStringLiteral("BASE DE DADOS DE CONTABILIDADE INEXISTENTE")};
    if (m_state.WBdEspecif01.isEmpty())
        throw Stop{QStringLiteral("BASE DE DADOS DE KAVORIMETAS INEXISTENTE")};

    // The user's own login to the company's databases; the user code is
    // matched exactly, as everywhere else.
    const db::QueryResult logins =
        m_general->query(QStringLiteral("SELECT * FROM UTILPASSWORD WHERE UTIL = :WUtil AND EMPRESA = :WEmpNro"),
                         {{"WUtil", m_state.WUtil}, {"WEmpNro", m_state.WEmpNro}});
    QString userName;
    QString password;
    for (std::size_t row = 0; row < logins.rows.size(); ++row) {
        if (logins.value(row, QStringLiteral("UTIL")).toString() == m_state.WUtil) {
            userName = logins.value(row, QStringLiteral("BDUSERNAME")).toString();
            password = logins.value(row, QStringLiteral("BDPASSWORD")).toString();
            break;
        }
    }
    if (userName.isEmpty())
        throw Stop{QStringLiteral("Problemas com o acesso à empresa !! Contacte o seu Gestor de Sistema")};
    m_state.WParamUserName = QStringLiteral("USER NAME=") + userName;
    m_state.WParamPassword = QStringLiteral("PASSWORD=") + password;

    m_loginRowWritten = false;
    m_users.reset();
    m_modules = std::make_unique<ShellDataModules>(m_state, m_installation, m_errorHandler);
    m_modules->create();
    m_users = std::make_unique<UserTable>(m_modules->connections().DbKavorime);
}

void Session::updateDatabaseVersion()
{
    const CompanyConnections& company = m_modules->connections();
    VersionUpdate update(*company.DbKavorime, m_state);
    update.addCompanyDatabase(schema::Database::Invoicing, *company.DbFacturacao);
    update.addCompanyDatabase(schema::Database::Accounting, *company.DbContab);
    update.readRecordedVersion();
    const VersionPlan plan = update.plan();
    if (plan.kind == VersionPlan::Kind::Newer || plan.kind == VersionPlan::Kind::Unknown)
        throw Stop{update.refusal()};
    if (plan.kind == VersionPlan::Kind::Chain) {
        const QString failure = m_versionView->show(update);
        if (!failure.isEmpty())
            throw Stop{failure};
        m_modules->refreshUpdateStatements();
    }
    update.addRightsCatalogue();
}

void Session::checkUser()
{
    const std::optional<QString> password = m_users->password(m_state.WUtil);
    if (!password)
        throw Stop{QStringLiteral("Utilizador Inexistente : ") + m_state.WUtil};
    if (*password != m_workstationPassword)
        throw Stop{QStringLiteral("Palavra-passe Inválida")};
}

void Session::readCostingParameters()
{
    m_modules->dataset(QStringLiteral("DTTABELAS.PARGRUPOS")).open();
    db::Dataset& parameters = m_modules->dataset(QStringLiteral("ZURIVAVEZA.ORCPARGER"));
    parameters.open();
    if (!parameters.locate(QStringLiteral("CODIGO"), 1)) {
        parameters.close();
        throw Stop{QStringLiteral("Parâmetros Gerais Inexistentes !!")};
    }
    const QString layout = parameters.value(QStringLiteral("TIPOORCAM")).toString();
    if (layout.isEmpty()) {
        parameters.close();
        throw Stop{QStringLiteral("Tipo de Impressão não Definido !!")};
    }
    m_state.WTipoOrcam = layout.left(1);
    m_state.WTipoOrdFab = parameters.value(QStringLiteral("TIPOORDFAB")).toString().left(1);
}

void Session::createParamTmp()
{
    db::Dataset& rows = m_modules->dataset(QStringLiteral("DTEMPRESAS.PARAMTMP"));
    db::Connection& application = *m_modules->connections().DbKavorime;
    // One statement writes the row or brings it up to date (so the reports
    // never print another company's name): programs of one user starting at
    // once would otherwise each find no row and each add one.
    application.exec(db::sql::upsert(application.dialect(), QStringLiteral("PARAMTMP"),
                                     {QStringLiteral("UTIL"), QStringLiteral("APLICACAO")},
                                     {QStringLiteral("EMPNRO"), QStringLiteral("EMPNOM"), QStringLiteral("DATA")}),
                     {{"UTIL", m_state.WUtil},
                      {"APLICACAO", m_state.WAplicacao},
                      {"EMPNRO", m_state.WEmpNro},
                      {"EMPNOM", m_state.WEmpNom},
                      {"DATA", QDateTime(m_state.WData, QTime(0, 0))}});
    m_loginRowWritten = true;
    rows.refresh();
    rows.locate({QStringLiteral("UTIL"), QStringLiteral("APLICACAO")}, {m_state.WUtil, m_state.WAplicacao});
}

bool Session::testUpdates(LoginResult& result)
{
    const std::optional<QString> license = m_users->upgradeLicense(m_state.WUtil);
    if (!license)
        return false;
    const bool mayUpgrade = *license == QLatin1String("S");
    result.updateButtonsVisible = mayUpgrade;
    m_updates->check({UpdateCheck::infoFileFor(m_state.WTipoComputador), !mayUpgrade});
    return true;
}

void Session::checkForUpdates() { m_updates->check({UpdateCheck::infoFileFor(m_state.WTipoComputador), false}); }

db::TwoDatabaseWork Session::twoDatabaseWork() const
{
    const CompanyConnections& company = m_modules->connections();
    return db::TwoDatabaseWork(m_twoDatabaseKinds, {{db::role::application(), company.DbKavorime},
                                                    {db::role::invoicing(), company.DbFacturacao},
                                                    {db::role::accounting(), company.DbContab}});
}

void Session::finishPendingWork()
{
    QStringList texts;
    try {
        texts = db::TwoDatabaseWork::messages(twoDatabaseWork().recover());
    } catch (const db::DbError& error) {
        texts << error.fullText();
    }
    for (const QString& text : texts) {
        m_messages.error(text);
    }
}

// Records this workstation began to create before it stopped (a new
// customer's number) are free again.
void Session::releaseStoppedClaims()
{
    const std::shared_ptr<db::Connection> invoicing = m_modules->connections().DbFacturacao;
    if (!invoicing)
        return;
    try {
        db::RecordClaims::releaseWorkstation(*invoicing, m_state.WComputador);
    } catch (const db::DbError& error) {
        m_messages.error(error.fullText());
    }
}

AccessRights Session::rights()
{
    return AccessRights(m_modules->dataset(QStringLiteral("DTEMPRESAS.APLICACAODET")), m_state);
}

bool Session::changePassword(const QString& newPassword)
{
    return m_users && m_users->changePassword(m_state.WUtil, newPassword);
}

void Session::shutDown()
{
    if (m_modules->exists()) {
        try {
            db::Dataset& rows = m_modules->dataset(QStringLiteral("DTEMPRESAS.PARAMTMP"));
            // Only a row this run wrote is ours to delete: a login that
            // stopped leaves the user's other sessions alone.
            if (m_loginRowWritten) {
                rows.refresh();
                if (rows.locate({QStringLiteral("UTIL"), QStringLiteral("APLICACAO")},
                                {m_state.WUtil, m_state.WAplicacao})) {
                    rows.deleteRecord();
                    rows.applyUpdates();
                }
            }
            rows.close();
            m_modules->dataset(QStringLiteral("DTTABELAS.PARGRUPOS")).close();
        } catch (const db::DbError& error) {
            m_messages.fail(error.fullText());
        }
        m_users.reset();
        m_modules->freeAtShutdown();
    }
    m_loginRowWritten = false;
    m_general.reset();
}

} // namespace kv::shell
