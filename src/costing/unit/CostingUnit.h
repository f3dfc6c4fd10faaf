#pragma once

#include "shell/SubsystemUnit.h"

namespace kv::costing {

// The costing tables in the program: their shared datasets, the subcontracts
// table and the table types of its version step (with the demo company's
// subcontracts), the menu "Tabelas" and the costing forms.
kv::shell::SubsystemUnit costingUnit();

} // namespace kv::costing
