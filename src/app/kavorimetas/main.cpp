// KAVORIMETAS, the main program: splash, main window, login on its first
// activation, and the message loop until the main window closes.

#include "program/ProgramUnits.h"
#include "shell/CredentialsLibrary.h"
#include "platform/install/Installation.h"
#include "platform/ui/MessageServiceSink.h"
#include "platform/ui/QtMessageService.h"
#include "shell/Session.h"
#include "shell/Subsystems.h"
#include "shell/forms/TFACFMENU.h"
#include "shell/forms/TKAVAPMENU.h"
#include "platform/ui/TUpdateErrorForm.h"
#include "updater/forms/MainProgramUpdater.h"
#include "updater/forms/UpdaterWindows.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    kv::program::assembleUnits();
    kv::ui::MessageService::install(std::make_shared<kv::ui::QtMessageService>());

    auto splash = std::make_unique<kv::shell::TKAVAPMENU>();
    splash->show();
    splash->repaint();
    QApplication::processEvents();
    QApplication::setApplicationDisplayName(QStringLiteral("Kavorimetas"));

    // Without the general database's credentials there is nothing to log in to.
    const kv::shell::GeneralCredentials credentials = kv::shell::CredentialsLibrary::load();
    if (!credentials.ok()) {
        splash.reset();
        kv::ui::messages().fail(credentials.error);
        return 1;
    }

    const kv::install::Installation installation;
    kv::ui::MessageServiceSink messages;
    kv::shell::Session session(installation, messages);
    // The updater ends the program by closing the main window, shut-down included.
    QWidget* mainWindow = nullptr;
    kv::updater::UpdaterWindows updaterWindows([&mainWindow] {
        if (mainWindow)
            mainWindow->close();
    });
    kv::updater::MainProgramUpdater updates(kv::updater::UpdateServer::read(installation), &updaterWindows);
    session.setUpdateCheck(&updates);
    kv::shell::TFACFMENU FACFMENU(session, credentials);
    mainWindow = &FACFMENU;
    kv::shell::Subsystems::registerForms(session, FACFMENU.forms());
    kv::ui::TUpdateErrorForm UpdateErrorForm;
    session.setUpdateErrorHandler(UpdateErrorForm.handler());
    splash.reset();

    FACFMENU.show();
    // The login runs on activation; a display without a window manager does not
    // activate a new window by itself.
    FACFMENU.activateWindow();
    const int code = application.exec();
    // A login that stopped is a failure for whoever started the program.
    return code != 0 ? code : FACFMENU.exitCode();
}
