#pragma once

#include "platform/db/Connection.h"

#include <QString>
#include <memory>

namespace kv::install {
class Installation;
}

namespace kv::useradmin {

// The engine's login prompt: asked at each connection to a server database.
// `user` comes in pre-filled and goes out as typed; false is a cancel.
class DatabaseLogin {
public:
    virtual ~DatabaseLogin() = default;
    virtual bool ask(const QString& databaseName, QString& user, QString& password) = 0;
};

// The company the manager works on.
struct CompanyChoice {
    int number = 0;
    QString name;
    QString alias; // BDESPECIF01: the company's application database
    bool isSet() const { return number != 0; }
};

// One run of the user administration program: its two application keys, the
// general login lines, the general database while a company is being chosen
// and the chosen company's application database.
class AdminSession {
public:
    static const QString ApplicationKey; // "KAVORIMETAS"
    static const QString BaseModuleKey; // "MODULO BASE"
    static const QString GeneralAlias; // "QXRGERAL"
    static const QString GeneralDatabaseName; // "QXRGERAL"
    static const QString ApplicationDatabaseName; // "BDDADOSKAVORIME"
    static QString makerTag();

    // The general login as the credentials library gave it, read once.
    AdminSession(const install::Installation& installation, const QString& generalUser, const QString& generalPassword,
                 DatabaseLogin& login);
    ~AdminSession();

    const QString& generalUserLine() const { return m_userLine; }
    const QString& generalPasswordLine() const { return m_passwordLine; }

    // Connects the general database (asking for the login on a server);
    // throws DbError naming the alias when refused or cancelled.
    std::shared_ptr<db::Connection> connectGeneral();
    void releaseGeneral();
    bool generalConnected() const { return m_general != nullptr; }

    const CompanyChoice& company() const { return m_company; }
    void setCompany(const CompanyChoice& company) { m_company = company; }

    // The chosen company's application database under its alias, with an
    // empty login (the prompt asks on a server). Throws DbError when refused.
    void connectApplication();
    void disconnectApplication();
    // Null while no company's database is connected.
    std::shared_ptr<db::Connection> application() const { return m_application; }
    // The connected database, or DbError saying that none is.
    db::Connection& requireApplication() const;

private:
    std::shared_ptr<db::Connection> open(db::ConnectionSettings settings, const QString& databaseName);

    const install::Installation& m_installation;
    DatabaseLogin& m_login;
    QString m_userLine;
    QString m_passwordLine;
    CompanyChoice m_company;
    std::shared_ptr<db::Connection> m_general;
    std::shared_ptr<db::Connection> m_application;
};

} // namespace kv::useradmin
