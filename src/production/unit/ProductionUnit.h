#pragma once

#include "shell/SubsystemUnit.h"

namespace kv::production {

// Production planning in the program: its shared datasets, the version steps
// of the production-order work tables and the menu "Planeamento" with the
// stock of materials.
kv::shell::SubsystemUnit productionUnit();

} // namespace kv::production
