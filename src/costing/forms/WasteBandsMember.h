#pragma once

#include "costing/forms/CodeTableDescription.h"

namespace kv::costing {

// The net print-run waste bands TIRAGLIQ in TORCF010: the bands 1 to 100
// always present, their sheet limits and their twelve waste percentages; the
// label of the field being edited turns red.
CodeTableDescription wasteBandsMember();

} // namespace kv::costing
