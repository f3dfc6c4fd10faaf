#pragma once

#include "shell/SubsystemUnit.h"

namespace kv::shell {

// The shell's own part of the program: the base module's shared datasets,
// the version table and the users' update permission, and the menu "Geral".
SubsystemUnit shellUnit();

} // namespace kv::shell
