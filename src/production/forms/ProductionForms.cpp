#include "production/forms/ProductionForms.h"

#include "platform/ui/FormRegistry.h"
#include "production/forms/ProductionSessionState.h"
#include "shell/Session.h"

namespace kv::production {

std::shared_ptr<ProductionSessionState> registerProductionForms(kv::shell::Session& session,
                                                                kv::ui::FormRegistry& forms)
{
    auto state = std::make_shared<ProductionSessionState>();
    (void)session;
    (void)forms;
    return state;
}

} // namespace kv::production
