#include "production/forms/ProductionForms.h"

#include "platform/ui/FormRegistry.h"
#include "production/forms/ProductionSessionState.h"
#include "production/forms/RequirementsScreen.h"
#include "production/forms/RequisitionReport.h"
#include "quotes/print/QuoteReportForm.h"
#include "shell/Session.h"

namespace kv::production {

std::shared_ptr<ProductionSessionState> registerProductionForms(kv::shell::Session& session,
                                                                kv::ui::FormRegistry& forms)
{
    auto state = std::make_shared<ProductionSessionState>();
    forms.add(QStringLiteral("TORCF040"), [&session](QWidget* parent) -> QDialog* {
        return new RequirementsScreen(session, RequirementsScreenVariant::requisition(), parent);
    });
    for (const QString& report : {RequisitionReport::kColoursAndSizes, RequisitionReport::kDimensions})
        forms.add(report, [report](QWidget* parent) -> QDialog* {
            return new kv::quotes::QuoteReportForm(report, RequisitionReport::kCaption, parent);
        });
    return state;
}

} // namespace kv::production
