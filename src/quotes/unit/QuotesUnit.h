#pragma once

#include "shell/SubsystemUnit.h"

namespace kv::quotes {

// The quotes in the program: their shared datasets, the subcontract class
// totals of their version step, the menu "Orçamentos" and the quote worksheet.
kv::shell::SubsystemUnit quotesUnit();

} // namespace kv::quotes
