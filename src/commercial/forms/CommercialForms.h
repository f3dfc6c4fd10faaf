#pragma once

namespace kv::shell {
class Session;
}
namespace kv::ui {
class FormRegistry;
}

namespace kv::commercial {

// Registers the commercial forms in a session's form registry under their
// class names: per member its table form (TFACF008) and its list report
// form (TFACFPR008).
void registerCommercialForms(kv::shell::Session& session, kv::ui::FormRegistry& forms);

} // namespace kv::commercial
