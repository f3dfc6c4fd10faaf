#pragma once

#include "costing/forms/CodeTableDescription.h"

namespace kv::costing {

// Raw material per customer article: PLN_FICTEC in TORCF015. A row is
// keyed by customer and product, both checked against the invoicing
// database when the row is made; an existing row is edited in its raw
// material only.
CodeTableDescription customerArticlesMember();

} // namespace kv::costing
