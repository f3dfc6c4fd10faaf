#include "production/forms/ProductionForms.h"

#include "platform/ui/FormRegistry.h"
#include "production/forms/ProductionSessionState.h"
#include "production/forms/TORCF100.h"
#include "shell/Session.h"

namespace kv::production {

std::shared_ptr<ProductionSessionState> registerProductionForms(kv::shell::Session& session,
                                                                kv::ui::FormRegistry& forms)
{
    auto state = std::make_shared<ProductionSessionState>();
    // A later process completes a customer-order line's mark this one left undone.
    session.twoDatabaseKinds().add(OrderGeneration::kind());
    auto environment = [&session, &forms] {
        return kv::quotes::QuoteFormsEnvironment{&session.state(), &session.dataModules(), &forms,
                                                 &session.installation()};
    };
    forms.add(QStringLiteral("TORCF100"), [environment, &session](QWidget* parent) -> QDialog* {
        return new TORCF100(environment(), session.twoDatabaseWork(), parent);
    });
    return state;
}

} // namespace kv::production
