#include "production/forms/ProductionForms.h"

#include "platform/ui/FormRegistry.h"
#include "production/forms/OrderIssueForm.h"
#include "production/forms/ProductionSessionState.h"
#include "production/print/OrderDocumentReports.h"
#include "shell/Session.h"

namespace kv::production {

std::shared_ptr<ProductionSessionState> registerProductionForms(kv::shell::Session& session,
                                                                kv::ui::FormRegistry& forms)
{
    auto state = std::make_shared<ProductionSessionState>();
    for (const auto& [className, model] : {std::pair{"TORCF102", IssueModel::Detail}, std::pair{"TORCF106", IssueModel::ModelT}})
        forms.add(QString::fromLatin1(className), [&session, model](QWidget* parent) -> QDialog* {
            return new OrderIssueForm(model, kv::shell::FormEnvironment(session.state(), session.dataModules()),
                                      &session.installation(), parent);
        });
    registerOrderDocumentForms(forms);
    return state;
}

} // namespace kv::production
