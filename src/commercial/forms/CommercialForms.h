#pragma once

#include "commercial/forms/CommercialEnvironment.h"

namespace kv::shell {
class Session;
}
namespace kv::ui {
class FormRegistry;
}

namespace kv::commercial {

// Registers the commercial forms in a form registry under their class
// names: per member its table form (TFACF008) and its list report form
// (TFACFPR008), which an opener creates before the table form. The
// environment is asked for each form created.
void registerCommercialForms(CommercialEnvironmentSource source, kv::ui::FormRegistry& forms);
// The same over the running program's session, with what the commercial
// forms keep for it living as long as the registrations.
void registerCommercialForms(kv::shell::Session& session, kv::ui::FormRegistry& forms);

} // namespace kv::commercial
