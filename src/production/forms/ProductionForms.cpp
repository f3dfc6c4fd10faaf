#include "production/forms/ProductionForms.h"

#include "platform/ui/FormRegistry.h"
#include "production/forms/ProductionSessionState.h"
#include "production/forms/RequirementsScreen.h"
#include "production/forms/PurchaseOrderReport.h"
#include "production/forms/RequirementListReport.h"
#include "production/forms/RequisitionReport.h"
#include "quotes/print/QuoteReportForm.h"
#include "shell/Session.h"

namespace kv::production {

std::shared_ptr<ProductionSessionState> registerProductionForms(kv::shell::Session& session,
                                                                kv::ui::FormRegistry& forms)
{
    auto state = std::make_shared<ProductionSessionState>();
    for (const RequirementsScreenVariant& variant :
         {RequirementsScreenVariant::requisition(), RequirementsScreenVariant::manufacture()})
        forms.add(variant.className, [&session, variant](QWidget* parent) -> QDialog* {
            return new RequirementsScreen(session, variant, parent);
        });
    const std::pair<QString, QString> reports[] = {{RequisitionReport::kColoursAndSizes, RequisitionReport::kCaption},
                                                   {RequisitionReport::kDimensions, RequisitionReport::kCaption},
                                                   {PurchaseOrderReport::kClass, PurchaseOrderReport::kCaption},
                                                   {RequirementListReport::kClass, RequirementListReport::kTitle}};
    for (const auto& [report, caption] : reports)
        forms.add(report, [report, caption](QWidget* parent) -> QDialog* {
            return new kv::quotes::QuoteReportForm(report, caption, parent);
        });
    return state;
}

} // namespace kv::production
