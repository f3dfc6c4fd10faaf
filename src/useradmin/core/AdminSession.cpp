#include "useradmin/core/AdminSession.h"

#include "platform/install/Installation.h"

namespace kv::useradmin {

const QString AdminSession::ApplicationKey = QStringLiteral("KAVORIMETAS");
const QString AdminSession::BaseModuleKey = QStringLiteral("MODULO BASE");
const QString AdminSession::GeneralAlias = QStringLiteral("QXRGERAL");
const QString AdminSession::GeneralDatabaseName = QStringLiteral("QXRGERAL");
const QString AdminSession::ApplicationDatabaseName = QStringLiteral("BDDADOSKAVORIME");

QString AdminSession::makerTag() { return QStringLiteral("Palvexworks - Utilizadores e Acessos"); }

AdminSession::AdminSession(const install::Installation& installation, const QString& generalUser,
                           const QString& generalPassword, DatabaseLogin& login)
    : m_installation(installation), m_login(login), m_userLine(QStringLiteral("USER NAME=") + generalUser),
      m_passwordLine(QStringLiteral("PASSWORD=") + generalPassword)
{
}

AdminSession::~AdminSession() = default;

std::shared_ptr<db::Connection> AdminSession::open(db::ConnectionSettings settings, const QString& databaseName)
{
    // A file database has no login; a server asks for one at each connection.
    if (settings.dialect == db::Dialect::Postgres) {
        QString user = settings.user;
        QString password;
        if (!m_login.ask(databaseName, user, password))
            throw db::DbError(db::DbError::Kind::Connection,
                              QStringLiteral("Ligação à base de dados «%1» cancelada.").arg(settings.alias));
        settings.user = user;
        settings.password = password;
    }
    return db::Connection::open(settings);
}

std::shared_ptr<db::Connection> AdminSession::connectGeneral()
{
    m_general.reset();
    m_general = open(m_installation.alias(GeneralAlias, m_userLine, m_passwordLine), GeneralDatabaseName);
    return m_general;
}

void AdminSession::releaseGeneral() { m_general.reset(); }

void AdminSession::connectApplication()
{
    m_application.reset();
    if (m_company.alias.trimmed().isEmpty())
        throw db::DbError(db::DbError::Kind::Connection,
                          QStringLiteral("Nenhuma empresa escolhida: sem base de dados da aplicação."));
    m_application = open(m_installation.alias(m_company.alias.trimmed()), ApplicationDatabaseName);
}

void AdminSession::disconnectApplication() { m_application.reset(); }

db::Connection& AdminSession::requireApplication() const
{
    if (!m_application)
        throw db::DbError(db::DbError::Kind::Connection,
                          QStringLiteral("A base de dados «%1» não está ligada.").arg(ApplicationDatabaseName));
    return *m_application;
}

} // namespace kv::useradmin
