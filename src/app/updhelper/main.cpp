// UpdHelper, the installation program the updater starts before the program
// closes: waits for the program to end, puts the downloaded files in place
// and starts the program again.

#include "updater/installer/UpdateInstaller.h"

#include <QCoreApplication>
#include <QProcessEnvironment>

int main(int argc, char* argv[])
{
    QCoreApplication application(argc, argv);
    const QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    const auto request = kv::updater::InstallRequest::fromArguments(
        QCoreApplication::arguments(), environment.value(QStringLiteral("UPDHELPER_PARENT_PID")),
        environment.value(QStringLiteral("UPDHELPER_QUEUE")));
    if (!request)
        return 2;
    kv::updater::UpdateInstaller installer(*request);
    const auto outcome = installer.install();
    // A program that did not end is left alone; otherwise it comes back, updated or not.
    if (outcome == kv::updater::UpdateInstaller::Outcome::ProgramStillRunning)
        return 1;
    installer.startProgram();
    return outcome == kv::updater::UpdateInstaller::Outcome::Installed ? 0 : 1;
}
