#pragma once

#include "shell/AccessRights.h"
#include "shell/CredentialsLibrary.h"
#include "shell/LoginState.h"
#include "shell/ShellDataModules.h"
#include "shell/UpdateCheck.h"
#include "shell/UserTable.h"
#include "shell/VersionUpdateView.h"

#include "platform/db/Connection.h"
#include "platform/db/Dataset.h"
#include "platform/db/TwoDatabaseWork.h"
#include "platform/notify/MessageSink.h"

#include <QDate>
#include <memory>

namespace kv::install {
class Installation;
}

namespace kv::shell {

// What the main window does after an activation.
enum class Activation {
    Stop, // the message was shown: the program ends
    Login, // the first activation: log in now
    Continue // a later activation: nothing more
};

// The outcome of a login. A stop has already been told to the user (beep and
// message); the program then ends.
struct LoginResult {
    bool loggedIn = false;
    QString stopMessage;
    MenuRights menu; // the entries and buttons to enable
    bool updateButtonsVisible = false; // BotBusca and BotPdf
    bool dateOutsideCurrentYear = false; // the date panel turns red
};

// One run of the main program: its login state, the general database, the
// company's data modules, and the login, update check and shut-down.
class Session {
public:
    Session(const install::Installation& installation, notify::MessageSink& messages);
    ~Session();

    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    LoginState& state() { return m_state; }
    const install::Installation& installation() const { return m_installation; }

    // The update-error dialog for the datasets that have one; set before login.
    void setUpdateErrorHandler(db::UpdateErrorHandler handler);
    // Defaults: the version update runs without a view, and no updater.
    void setVersionUpdateView(VersionUpdateView* view);
    void setUpdateCheck(UpdateCheck* updates);

    // Every activation of the main window: the fixed values and the two
    // workstation files; the first activation that reads them asks for the login.
    Activation activate();

    // Logs in with the general database's credentials: the workstation's
    // login row, the company and its databases, the data modules, the version
    // update, the user's password, the general costing parameters, the menu
    // rights and the login row, then the working year from the working date
    // (`today` decides whether the date panel turns red) and the update check.
    LoginResult login(const GeneralCredentials& credentials, const QDate& today = QDate::currentDate());
    bool loggedIn() const { return m_loginRowWritten; }

    // Closing the main window: deletes this user's login row of this
    // application, frees the data modules and disconnects the general database.
    void shutDown();

    // "Actualizar": the update check that may offer an upgrade.
    void checkForUpdates();

    // Writes the logged-in user's new password (as PasswordChange::stored gives
    // it); false when the user has no row. Throws DbError when refused.
    bool changePassword(const QString& newPassword);

    // The kinds of two-database work the program knows; each subsystem adds
    // its own from its registration function, before the login.
    db::TwoDatabaseKinds& twoDatabaseKinds() { return m_twoDatabaseKinds; }
    // Work over the open company's databases.
    db::TwoDatabaseWork twoDatabaseWork() const;
    // Finishes the company's pending two-database work (after the login, and
    // when a form that starts such work opens); what needs the user's
    // attention is told through the message sink.
    void finishPendingWork();

    ShellDataModules& dataModules() { return *m_modules; }
    AccessRights rights();
    std::shared_ptr<db::Connection> generalDatabase() const { return m_general; }

private:
    void releaseStoppedClaims();
    struct Stop {
        QString message;
    };
    void openCompany(const GeneralCredentials& credentials);
    void updateDatabaseVersion();
    void checkUser();
    void readCostingParameters();
    void createParamTmp();
    bool testUpdates(LoginResult& result);
    LoginResult stop(const QString& message);

    const install::Installation& m_installation;
    notify::MessageSink& m_messages;
    LoginState m_state;
    int m_activations = 0;
    db::UpdateErrorHandler m_errorHandler;
    SilentVersionUpdateView m_silentView;
    VersionUpdateView* m_versionView = &m_silentView;
    NoUpdateCheck m_noUpdates;
    UpdateCheck* m_updates = &m_noUpdates;
    std::shared_ptr<db::Connection> m_general;
    std::unique_ptr<ShellDataModules> m_modules;
    std::unique_ptr<UserTable> m_users;
    QString m_workstationPassword;
    bool m_loginRowWritten = false;
    db::TwoDatabaseKinds m_twoDatabaseKinds;
};

} // namespace kv::shell
