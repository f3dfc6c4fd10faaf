#pragma once

#include <memory>

namespace kv::shell {
class Session;
}
namespace kv::ui {
class FormRegistry;
}

namespace kv::production {

struct ProductionSessionState;

// Adds the production forms to the session's registry (the menu
// "Planeamento" opens them by class name). Returns the state they share for
// the session.
std::shared_ptr<ProductionSessionState> registerProductionForms(kv::shell::Session& session,
                                                                kv::ui::FormRegistry& forms);

} // namespace kv::production
