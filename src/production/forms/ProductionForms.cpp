#include "production/forms/ProductionForms.h"

#include "platform/ui/FormRegistry.h"
#include "production/core/ProductionClosing.h"
#include "production/forms/OrderClosingForm.h"
#include "production/forms/OrderConsultationForm.h"
#include "production/forms/OrderIssueForm.h"
#include "production/forms/ProductionSessionState.h"
#include "production/forms/PurchaseOrderReport.h"
#include "production/forms/RequirementListReport.h"
#include "production/forms/RequirementsScreen.h"
#include "production/forms/RequisitionReport.h"
#include "production/forms/StockMapReports.h"
#include "production/forms/TORCF100.h"
#include "production/forms/TORCF101A.h"
#include "production/forms/TORCF101B.h"
#include "production/forms/TORCF104.h"
#include "production/forms/TORCF105A.h"
#include "production/forms/TORCF110.h"
#include "production/print/OrderDocumentReports.h"
#include "quotes/print/QuoteReportForm.h"
#include "shell/FormEnvironment.h"
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
    session.twoDatabaseKinds().add(OrderConsultation::deletionKind());
    for (const OrderModel model : {OrderModel::Slots, OrderModel::PerLine})
        forms.add(model == OrderModel::Slots ? QStringLiteral("TORCF101") : QStringLiteral("TORCF105"),
                  [&session, &forms, state, model](QWidget* parent) -> QDialog* {
                      return new OrderConsultationForm(model, session, forms, *state, parent);
                  });
    forms.add(QStringLiteral("TORCF101A"), [&session, state](QWidget* parent) -> QDialog* {
        return new TORCF101A(kv::shell::FormEnvironment(session.state(), session.dataModules()), state->selected,
                             parent);
    });
    forms.add(QStringLiteral("TORCF105A"), [&session, state](QWidget* parent) -> QDialog* {
        return new TORCF105A(kv::shell::FormEnvironment(session.state(), session.dataModules()), state->selected,
                             parent);
    });
    forms.add(QStringLiteral("TORCF101B"), [&session, &forms, state](QWidget* parent) -> QDialog* {
        return new TORCF101B({&session.state(), &session.dataModules(), &forms, &session.installation()},
                             state->selected, parent);
    });
    for (const auto& [className, model] : {std::pair{"TORCF102", IssueModel::Detail}, std::pair{"TORCF106", IssueModel::ModelT}})
        forms.add(QString::fromLatin1(className), [&session, model](QWidget* parent) -> QDialog* {
            return new OrderIssueForm(model, kv::shell::FormEnvironment(session.state(), session.dataModules()),
                                      &session.installation(), parent);
        });
    registerOrderDocumentForms(forms);
    const kv::shell::FormEnvironment mapEnvironment(session.state(), session.dataModules());
    forms.add(QStringLiteral("TORCF104"), [mapEnvironment](QWidget* parent) { return new TORCF104(mapEnvironment, parent); });
    const kv::quotes::QuoteFormsEnvironment stockMapEnvironment{&session.state(), &session.dataModules(), &forms,
                                                                &session.installation()};
    forms.add(QStringLiteral("TORCF110"),
              [stockMapEnvironment](QWidget* parent) { return new TORCF110(stockMapEnvironment, parent); });
    for (const auto& [className, model] : {std::pair{"TORCF107", ClosingModel::WholeOrders},
                                           std::pair{"TORCF108", ClosingModel::OrderSlots}})
        forms.add(QString::fromLatin1(className), [&session, &forms, model](QWidget* parent) -> QDialog* {
            return new OrderClosingForm(model, session, forms, parent);
        });
    StockMapReports::registerReports(forms);
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
