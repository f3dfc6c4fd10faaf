#pragma once

#include "useradmin/core/AdminSession.h"

class QWidget;

namespace kv::useradmin {

// The login prompt of a server database: a small modal dialog naming the
// database, with the user (pre-filled) and the password. Cancel refuses the
// connection.
class DatabaseLoginDialog : public DatabaseLogin {
public:
    bool ask(const QString& databaseName, QString& user, QString& password) override;
};

} // namespace kv::useradmin
