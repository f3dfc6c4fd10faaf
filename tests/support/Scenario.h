#pragma once

#include "support/Engines.h"
#include "support/FormDriver.h"
#include "support/QtPrinters.h"
#include "support/ScriptedMessages.h"

#include "platform/db/Connection.h"
#include "platform/install/Installation.h"
#include "platform/ui/FormRegistry.h"
#include "schema/InstallationBuilder.h"
#include "shell/Session.h"

#include <QTemporaryDir>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

class QApplication;
class QDialog;

namespace kv::test {

// The companies a test logs in to.
enum class Company {
    // Company 1 "Cartonagem do Vale, Lda" with user "ANA" (password
    // "SEGREDO", working date 15-03-2024), its general costing parameters
    // (layout "1", model "M") and no rights: the test grants what it needs.
    Plain,
    // The demo company with the demo user (every right), dated today.
    Demo
};

// The application object of a test program (created on first use, on the
// offscreen platform unless QT_QPA_PLATFORM says otherwise).
QApplication& application();

// The PostgreSQL server of the test command (KV_TEST_PG_HOST, KV_TEST_PG_PORT,
// KV_TEST_PG_USER), or nothing: the tests then use SQLite.
std::optional<kv::schema::PostgresServer> testServer();

// One test scenario: a temporary folder, the scripted message service, at
// most one fresh installation, the windows it opened. Everything is closed,
// dropped and removed when it ends. Windows open without blocking: forms are
// shown non-modally, and a dialog that a form shows modally (lookups, the
// update-error dialog, side doors) is handed to the handler queued with
// onDialog() while it is open.
class Scenario {
public:
    Scenario();
    ~Scenario();
    Scenario(const Scenario&) = delete;
    Scenario& operator=(const Scenario&) = delete;

    ScriptedMessages& messages() { return *m_messages; }
    QString tempPath(const QString& name = {}) const;
    bool usesPostgres() const { return testServer().has_value(); }

    // --- databases ---
    // A fresh installation in the temporary folder: SQLite files, or the
    // test server's PostgreSQL databases (dropped at the end). It is a copy
    // of one built once per test program (see InstallationClones.h).
    kv::install::Installation& createInstallation(kv::schema::InstallationOptions options = {});
    // The same on the engine asked for (SQLite even when there is a server).
    kv::install::Installation& createInstallation(Engine engine, kv::schema::InstallationOptions options = {});
    kv::install::Installation& installation();
    // A connection to one alias of the installation ("QXRGERAL", or the
    // company's aliases below), opened once and kept.
    std::shared_ptr<kv::db::Connection> connect(const QString& alias);
    kv::schema::CompanyAliases companyAliases() const;
    std::shared_ptr<kv::db::Connection> generalDatabase();
    std::shared_ptr<kv::db::Connection> applicationDatabase();
    std::shared_ptr<kv::db::Connection> invoicingDatabase();
    std::shared_ptr<kv::db::Connection> accountingDatabase();
    // Logs in as the main program does on its first activation: an
    // installation of the company on the engine asked for (its version
    // update already run once per test program), a Session over it,
    // activate() and login() with the installation's credentials. A login
    // that stops fails the test. Forms are registered over session() by
    // the test, as the programs do.
    kv::shell::Session& login(Engine engine, Company company = Company::Plain);
    kv::shell::Session& session();
    // An empty database of the scenario's own, for tests of the platform
    // layers (same engine choice).
    std::shared_ptr<kv::db::Connection> emptyDatabase(const QString& name = QStringLiteral("vazia"));
    // Rows of a statement, read through a connection.
    kv::db::QueryResult rows(const std::shared_ptr<kv::db::Connection>& connection, const QString& sql,
                             const kv::db::Params& params = {});

    // --- windows ---
    // The scenario's form registry, which stands for the session's: the
    // subsystems register their forms here and `open` creates them.
    kv::ui::FormRegistry& forms() { return m_forms; }
    // Creates the form registered under `className` and opens it.
    FormDriver open(const QString& className);
    // Opens a window the test built (owned by the scenario from now on).
    FormDriver show(QWidget* window);
    // Handles the next dialog a window opens modally, while it is open; the
    // handler answers it (clicks OK, closes it...). A modal dialog with no
    // handler queued fails the test and is dismissed.
    void onDialog(std::function<void(FormDriver&)> handler);
    int pendingDialogHandlers() const { return static_cast<int>(m_dialogHandlers.size()); }
    // Lets queued work run (timers, deferred focus moves) for `ms` milliseconds.
    void wait(int ms = 0);
    // Runs the queued work (posted events, timers that are due, deferred
    // deletes) until a round finds none: no fixed wait, no dependence on the
    // machine's speed.
    void settle();

private:
    class DialogWatcher;
    void dialogShown(QDialog* dialog);
    std::shared_ptr<kv::db::Connection> openDatabase(const QString& name);

    QTemporaryDir m_temp;
    std::shared_ptr<ScriptedMessages> m_messages;
    std::shared_ptr<kv::ui::MessageService> m_previousMessages;
    std::optional<kv::install::Installation> m_installation;
    std::unique_ptr<kv::notify::MessageSink> m_sink;
    std::unique_ptr<kv::shell::Session> m_session;
    QString m_databasePrefix;
    std::vector<QString> m_postgresDatabases;
    std::vector<std::pair<QString, std::shared_ptr<kv::db::Connection>>> m_connections;
    std::vector<QPointer<QWidget>> m_windows;
    kv::ui::FormRegistry m_forms;
    std::deque<std::function<void(FormDriver&)>> m_dialogHandlers;
    DialogWatcher* m_watcher = nullptr;
};

} // namespace kv::test
