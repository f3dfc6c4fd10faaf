#pragma once

#include "commercial/forms/CommercialTableDescription.h"

#include <vector>

namespace kv::commercial {

// The commercial tables kept in the commercial table form, one description each.
const std::vector<CommercialTableDescription>& commercialTableMembers();

} // namespace kv::commercial
