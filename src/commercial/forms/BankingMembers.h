#pragma once

#include "commercial/forms/CommercialTableDescription.h"

#include <vector>

namespace kv::commercial {

// The banking members of the commercial table form: the kinds of bank
// account (TFACF023), the banks with their accounts (TFACF030A) and the
// agents with their contacts and notes (TFACF031).
const std::vector<CommercialTableDescription>& bankingMembers();

} // namespace kv::commercial
