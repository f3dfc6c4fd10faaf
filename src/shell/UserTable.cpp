#include "shell/UserTable.h"

#include "platform/db/DbError.h"

namespace kv::shell {
namespace {

const QString Nro = QStringLiteral("NRO");

// A locate without options is exact, letter case included, as the user
// codes are compared at login.
std::optional<QString> columnOfUser(db::Dataset& dataset, const QString& user, const QString& column)
{
    std::optional<QString> value;
    if (dataset.locate(Nro, user))
        value = dataset.value(column).toString();
    return value;
}

} // namespace

UserTable::UserTable(std::shared_ptr<db::Connection> application)
    : m_connection(std::move(application)), m_users(std::make_unique<db::Dataset>(QStringLiteral("UTILIZADORES")))
{
    m_users->setConnection(m_connection);
    m_users->setSql(QStringLiteral("SELECT NRO, PASSWOR, SUPUTIL FROM UTILIZADORES"));
    m_users->setMode(db::DatasetMode::Cached);
    // A password change writes the password only, whatever else another
    // workstation changed in the user's row meanwhile.
    m_users->setUpdateStatements(db::UpdateStatements::forTable(
        QStringLiteral("UTILIZADORES"), {QStringLiteral("NRO"), QStringLiteral("PASSWOR"), QStringLiteral("SUPUTIL")},
        {QStringLiteral("NRO")}));
}

std::optional<QString> UserTable::password(const QString& user)
{
    m_users->open();
    std::optional<QString> value = columnOfUser(*m_users, user, QStringLiteral("PASSWOR"));
    m_users->close();
    return value;
}

std::optional<QString> UserTable::upgradeLicense(const QString& user)
{
    db::Dataset query(QStringLiteral("UTIL"));
    query.setConnection(m_connection);
    query.setSql(QStringLiteral("SELECT NRO, UPGRADE_LICENSE FROM UTILIZADORES"));
    query.setMode(db::DatasetMode::ReadOnly);
    query.open();
    return columnOfUser(query, user, QStringLiteral("UPGRADE_LICENSE"));
}

bool UserTable::changePassword(const QString& user, const QString& password)
{
    m_users->open();
    if (!m_users->locate(Nro, user)) {
        m_users->close();
        return false;
    }
    try {
        m_users->edit();
        m_users->setValue(QStringLiteral("PASSWOR"), password);
        m_users->post();
        m_users->applyUpdates();
    } catch (const db::DbError&) {
        m_users->cancel();
        m_users->cancelUpdates();
        m_users->close();
        throw;
    }
    m_users->close();
    return true;
}

} // namespace kv::shell
