#pragma once

#include "shell/UpdateCheck.h"
#include "updater/core/TupAutoUpdater.h"

#include <memory>

namespace kv::install {
class Installation;
}

namespace kv::updater {

// Where the main program looks for updates: the [updates] group of the
// installation's alias file, e.g.
//   [updates]
//   folder = https://updates.example.pt/kavorimetas/
//   cafile = /etc/palvexworks/updates-ca.pem   ; keeps certificate checks on
struct UpdateServer {
    QString folder;
    QString caFile;
    static UpdateServer read(const kv::install::Installation& installation);
};

// The main program's updater as the shell asks it: the main window's one
// instance with the program's stored settings, compared with the installed
// version. Without a server folder the check ends at once.
class MainProgramUpdater final : public kv::shell::UpdateCheck {
public:
    MainProgramUpdater(UpdateServer server, UpdaterView* view, const QString& applicationFileName = QString());

    void check(const kv::shell::UpdateCheckRequest& request) override;

    TupAutoUpdater& updater() { return m_updater; }

private:
    UpdateServer m_server;
    TupAutoUpdater m_updater;
};

} // namespace kv::updater
