#pragma once

#include "useradmin/core/AdminSession.h"
#include "useradmin/forms/TKAVFMENUUTIL.h"

#include "shell/Session.h"
#include "support/Scenario.h"

#include <optional>
#include <string>
#include <vector>

namespace kv::useradmin::test {

using kv::test::Engine;
using kv::test::engines;
inline std::string engineName(const ::testing::TestParamInfo<Engine>& info) { return kv::test::engineTestName(info); }

// Test names of cases combined with an engine: "Sqlite_3", "Postgres_3".
template <class Case>
std::string engineCaseName(const ::testing::TestParamInfo<std::tuple<Case, Engine>>& info)
{
    return (std::get<1>(info.param) == Engine::Sqlite ? "Sqlite_" : "Postgres_") + std::to_string(info.index);
}

#define KV_SKIP_UNLESS_AVAILABLE(engine)                                                                               \
    if (!::kv::useradmin::test::AdminTestCompany::available(engine))                                                   \
    GTEST_SKIP() << "KV_TEST_PG_HOST não definido"

// Answers the server's login prompt with the test server's user, as the
// manager would type it; counts the prompts.
class ScriptedLogin : public DatabaseLogin {
public:
    bool ask(const QString& databaseName, QString& user, QString& password) override;
    QStringList asked; // database names, in order
    QStringList prefilled; // the user each prompt started with
    bool cancel = false;
};

// A fresh installation on the engine asked for, its application database at
// the main program's version, user "ANA" (password "SEGREDO") and the user
// administration program's session over it with the working forms registered.
class AdminTestCompany {
public:
    AdminTestCompany(kv::test::Scenario& scenario, Engine engine);
    ~AdminTestCompany();
    static bool available(Engine engine);

    const install::Installation& installation() const { return *m_installation; }
    AdminSession& session() { return *m_session; }
    ScriptedLogin& login() { return m_login; }
    bool usesPostgres() const { return m_engine == Engine::Postgres; }

    // The test's own connections.
    std::shared_ptr<db::Connection> general();
    std::shared_ptr<db::Connection> application();
    QString applicationAlias() const;

    // The company chosen and its database connected, as "Ok" leaves them.
    void openCompany(int number = 1);
    void addCompany(int number, const QString& name, const QString& alias);
    void addUser(const QString& code, const QString& password);
    void addRight(const QString& key, const QString& chapter, const QString& program, int company, const QString& user,
                  const QString& aceder = "S");
    int count(const QString& sql, const db::Params& params = {});
    QString value(const QString& sql, const db::Params& params = {});

    // The main program's login of `user` with `password` on the workstation
    // to company 1, through the shell.
    shell::LoginResult mainProgramLogin(const QString& user, const QString& password, QStringList* messages = nullptr);

    // The program's main window, shown and activated; the first company
    // selection is answered by `selection`.
    TKAVFMENUUTIL* openMainWindow(std::function<void(kv::test::FormDriver&)> selection, bool* ended = nullptr);

private:
    kv::test::Scenario& m_scenario;
    Engine m_engine;
    install::Installation* m_installation = nullptr;
    ScriptedLogin m_login;
    std::unique_ptr<AdminSession> m_session;
    std::shared_ptr<db::Connection> m_general;
    std::shared_ptr<db::Connection> m_application;
    std::vector<std::unique_ptr<shell::Session>> m_shellSessions;
};

} // namespace kv::useradmin::test
