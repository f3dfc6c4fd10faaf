#pragma once

#include <QString>

namespace kv::shell {

// One question to the updater: which information file to read, and whether
// the user may be asked to upgrade (silent: only find out).
struct UpdateCheckRequest {
    QString infoFile;
    bool silent = true;
};

// The automatic updater as the shell sees it. The login asks it at its end
// and the main window's "Actualizar" button asks it again; neither waits for
// an answer that could hold up the program.
class UpdateCheck {
public:
    virtual ~UpdateCheck() = default;
    virtual void check(const UpdateCheckRequest& request) = 0;

    // The standard information file for workstation type "S", else the "_MP" one.
    static QString infoFileFor(const QString& workstationType);
};

// Until the updater is built: asks nothing and returns at once.
class NoUpdateCheck final : public UpdateCheck {
public:
    void check(const UpdateCheckRequest&) override {}
};

} // namespace kv::shell
