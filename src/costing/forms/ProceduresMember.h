#pragma once

#include "costing/forms/CodeTableDescription.h"

namespace kv::costing {

// The procedure names PROCMAS in TORCF013; deleting a procedure deletes its
// lines with it.
CodeTableDescription proceduresMember();

} // namespace kv::costing
