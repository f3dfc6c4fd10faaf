#pragma once

#include "costing/forms/CodeTableDescription.h"
#include "costing/forms/CostingEnvironment.h"

#include <vector>

namespace kv::shell {
class Session;
}

namespace kv::costing {

// The costing tables kept in the code table form, one description each.
const std::vector<CodeTableDescription>& codeTableMembers();

// Registers the costing forms in the form registry under their class names:
// TORCF000, and per member its table form (TORCF002) and its list report
// form (TORCFPR002), which the menu creates before the table form. The
// environment is asked for each form created.
void registerCostingForms(EnvironmentSource source);
// The same over the running program's session.
void registerCostingForms(kv::shell::Session& session);

} // namespace kv::costing
