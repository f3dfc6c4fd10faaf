#pragma once

#include "platform/db/Connection.h"
#include "platform/db/Dataset.h"
#include "platform/install/Installation.h"
#include "platform/notify/MessageSink.h"
#include "shell/Session.h"
#include "support/Engines.h"

#include <QStringList>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <map>
#include <memory>

namespace kv::shell::test {

using kv::test::Engine;
using kv::test::engineName;
using kv::test::postgresAvailable;

// Test names of cases combined with an engine: "Sqlite_3", "Postgres_3".
template <class Case>
std::string engineCaseName(const ::testing::TestParamInfo<std::tuple<Engine, Case>>& info)
{
    return (std::get<0>(info.param) == Engine::Sqlite ? "Sqlite_" : "Postgres_") + std::to_string(info.index);
}

// Records what the core tells the user.
class RecordingSink : public notify::MessageSink {
public:
    void beep() override { ++beeps; }
    void error(const QString& text) override { messages << text; }
    void information(const QString& text) override { messages << text; }
    int beeps = 0;
    QStringList messages;
};

// A fresh installation (SQLite, or PostgreSQL on the test server) with a
// workstation "PC-TESTE" whose login row names user "ANA" (password "SEGREDO")
// in company 1, the user's database login, the general costing parameters
// (layout "1", model "M") and an "S" rights row for every program of the menu.
class ShellTestInstallation {
public:
    explicit ShellTestInstallation(Engine engine);
    ~ShellTestInstallation();

    const install::Installation& installation() const { return *m_installation; }
    std::shared_ptr<db::Connection> general();
    std::shared_ptr<db::Connection> application();
    std::shared_ptr<db::Connection> invoicing();
    std::shared_ptr<db::Connection> accounting();
    // A login for the company databases that the engine accepts.
    QString databaseUser() const { return m_dbUser; }
    GeneralCredentials credentials() const;

    // Runs a statement on one of the databases.
    void execGeneral(const QString& sql, const db::Params& params = {});
    void execApplication(const QString& sql, const db::Params& params = {});
    // The application database with its version recorded and its version
    // steps run, as a program already started once leaves it.
    void bringToProgramVersion();

    // The rights rows as the data module reads them, open.
    std::unique_ptr<db::Dataset> rightsRows();
    // A login row of the invoicing program.
    void addInvoicingLogin(const QString& computer, const QString& year, int company);

    void setRights(const QString& application, const QString& chapter, const QString& program, const QString& aceder,
                   int company = 1, const QString& user = "ANA");

    static QStringList menuPrograms(); // chapter|program of every menu entry

private:
    std::shared_ptr<db::Connection> open(const QString& alias);
    // The connection the statement helpers share for an alias: one each, not
    // one per statement left open until the end of the test.
    db::Connection& statementConnection(const QString& alias);

    Engine m_engine;
    QTemporaryDir m_dir;
    QString m_prefix;
    QString m_dbUser;
    std::unique_ptr<install::Installation> m_installation;
    std::map<QString, std::shared_ptr<db::Connection>> m_statementConnections;
};

} // namespace kv::shell::test
