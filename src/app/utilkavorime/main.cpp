// UTILKAVORIME, the user administration program: the system manager picks a
// company and keeps its users, their passwords and their access rights.

#include "useradmin/core/AdminSession.h"
#include "useradmin/forms/DatabaseLoginDialog.h"
#include "useradmin/forms/TKAVFMENUUTIL.h"
#include "useradmin/forms/UserAdminForms.h"

#include "platform/install/Installation.h"
#include "program/ProgramUnits.h"
#include "platform/ui/QtMessageService.h"
#include "platform/ui/TUpdateErrorForm.h"
#include "shell/CredentialsLibrary.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    // The companies it opens carry every subsystem's tables.
    kv::program::assembleUnits();
    kv::ui::MessageService::install(std::make_shared<kv::ui::QtMessageService>());
    QApplication::setApplicationDisplayName(QStringLiteral("Industrias de Kavorimeta, Utilizadores"));

    // The general database's login, read once; without it nothing can be chosen.
    const kv::shell::GeneralCredentials credentials = kv::shell::CredentialsLibrary::load();
    if (!credentials.ok()) {
        kv::ui::messages().fail(credentials.error);
        return 1;
    }

    const kv::install::Installation installation;
    kv::useradmin::DatabaseLoginDialog login;
    kv::useradmin::AdminSession session(installation, credentials.userName, credentials.password, login);
    kv::useradmin::TKAVFMENUUTIL KAVFMENUUTIL(session);
    kv::ui::TUpdateErrorForm UpdateErrorForm;
    QObject::connect(&KAVFMENUUTIL, &kv::useradmin::TKAVFMENUUTIL::programEnded, &application, &QCoreApplication::quit,
                     Qt::QueuedConnection);

    KAVFMENUUTIL.show();
    // The company selection runs on activation; a display without a window
    // manager does not activate a new window by itself.
    KAVFMENUUTIL.activateWindow();
    return application.exec();
}
