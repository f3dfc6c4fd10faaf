#pragma once

#include "costing/forms/CodeTableDescription.h"

namespace kv::costing {

// The costing tables that open only over the general costing parameters'
// row 1: without it the form says so and closes before opening its table.

// Fixed costs: CUSTFIXOS in TORCF012, with their "S"/"N" flags.
CodeTableDescription fixedCostsMember();

// Subcontracts: SUBCONTRATO (dataset ZURIVAVEZA.SUBCONT) in TORCF016, with
// the accessory mark and the calculation unit.
CodeTableDescription subcontractsMember();

} // namespace kv::costing
