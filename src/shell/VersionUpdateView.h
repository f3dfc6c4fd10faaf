#pragma once

#include "shell/VersionUpdate.h"

namespace kv::shell {

// Shows a version update while it runs (the "Actualização de Versão ..."
// dialog) and returns what VersionUpdate::run returned.
class VersionUpdateView {
public:
    virtual ~VersionUpdateView() = default;
    virtual QString show(VersionUpdate& update) = 0;
};

// Runs the update without showing anything.
class SilentVersionUpdateView final : public VersionUpdateView {
public:
    QString show(VersionUpdate& update) override { return update.run(); }
};

} // namespace kv::shell
