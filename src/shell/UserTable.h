#pragma once

#include "platform/db/Connection.h"
#include "platform/db/Dataset.h"

#include <QString>
#include <memory>
#include <optional>

namespace kv::shell {

// The main window's view of the application database's users: NRO, PASSWOR
// and SUPUTIL, with an update object that writes them back by NRO.
class UserTable {
public:
    explicit UserTable(std::shared_ptr<db::Connection> application);

    // The user's password, or nothing when there is no user of that exact code.
    std::optional<QString> password(const QString& user);
    // The user's UPGRADE_LICENSE, or nothing when there is no such user.
    std::optional<QString> upgradeLicense(const QString& user);
    // Writes a new password in one transaction; false when there is no such
    // user. A refused write throws DbError and changes nothing.
    bool changePassword(const QString& user, const QString& password);

    db::Dataset& dataset() { return *m_users; }

private:
    std::shared_ptr<db::Connection> m_connection;
    std::unique_ptr<db::Dataset> m_users;
};

} // namespace kv::shell
