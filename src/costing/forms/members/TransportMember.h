#pragma once

#include "costing/forms/CodeTableDescription.h"

namespace kv::costing {

// Transport costs: CUSTRANSP in TORCF011, listed by destination. The code is
// typed without a proposal; country, region and province are plain fields
// checked against the commercial geography tables, and each value that
// passes its check is written into the row.
CodeTableDescription transportMember();

} // namespace kv::costing
