#pragma once

#include "shell/SubsystemUnit.h"

namespace kv::quotes {

// The quotes in the program: their shared datasets, the subcontract class
// totals of their version step and the menu "Orçamentos".
kv::shell::SubsystemUnit quotesUnit();

} // namespace kv::quotes
