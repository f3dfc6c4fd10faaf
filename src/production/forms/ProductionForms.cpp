#include "production/forms/ProductionForms.h"

#include "platform/ui/FormRegistry.h"
#include "production/forms/ProductionSessionState.h"
#include "production/forms/StockMapReports.h"
#include "production/forms/TORCF104.h"
#include "production/forms/TORCF110.h"
#include "shell/FormEnvironment.h"
#include "shell/Session.h"

namespace kv::production {

std::shared_ptr<ProductionSessionState> registerProductionForms(kv::shell::Session& session,
                                                                kv::ui::FormRegistry& forms)
{
    auto state = std::make_shared<ProductionSessionState>();
    const kv::shell::FormEnvironment environment(session.state(), session.dataModules());
    forms.add(QStringLiteral("TORCF104"), [environment](QWidget* parent) { return new TORCF104(environment, parent); });
    const kv::quotes::QuoteFormsEnvironment stockMapEnvironment{&session.state(), &session.dataModules(), &forms,
                                                                &session.installation()};
    forms.add(QStringLiteral("TORCF110"),
              [stockMapEnvironment](QWidget* parent) { return new TORCF110(stockMapEnvironment, parent); });
    StockMapReports::registerReports(forms);
    return state;
}

} // namespace kv::production
