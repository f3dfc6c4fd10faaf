#pragma once

#include "costing/forms/CodeTableDescription.h"
#include "costing/forms/CostingEnvironment.h"

#include <vector>

namespace kv::shell {
class Session;
}
namespace kv::ui {
class FormRegistry;
}

namespace kv::costing {

// The costing tables kept in the code table form, one description each.
const std::vector<CodeTableDescription>& codeTableMembers();

// Registers the costing forms in a session's form registry under their class
// names: TORCF000, and per member its table form (TORCF002) and its list
// report form (TORCFPR002), which the menu creates before the table form.
// The environment is asked for each form created.
void registerCostingForms(EnvironmentSource source, kv::ui::FormRegistry& forms);
// The same over the running program's session, with what the costing forms
// keep for it living as long as the registrations.
void registerCostingForms(kv::shell::Session& session, kv::ui::FormRegistry& forms);

} // namespace kv::costing
