#include "production/forms/ProductionForms.h"

#include "platform/ui/FormRegistry.h"
#include "production/forms/ProductionSessionState.h"
#include "production/forms/RequirementsScreen.h"
#include "shell/Session.h"

namespace kv::production {

std::shared_ptr<ProductionSessionState> registerProductionForms(kv::shell::Session& session,
                                                                kv::ui::FormRegistry& forms)
{
    auto state = std::make_shared<ProductionSessionState>();
    forms.add(QStringLiteral("TORCF040"), [&session, &forms](QWidget* parent) -> QDialog* {
        return new RequirementsScreen(session, forms, RequirementsScreenVariant::requisition(), parent);
    });
    return state;
}

} // namespace kv::production
