#include "commercial/forms/CommercialForms.h"

#include "commercial/forms/AgentFileForm.h"
#include "commercial/forms/BankFileForm.h"
#include "commercial/forms/BankingMembers.h"

#include "commercial/forms/CommercialListReport.h"
#include "commercial/forms/CommercialMembers.h"
#include "commercial/forms/CommercialTableForm.h"
#include "commercial/forms/CountryTableForm.h"
#include "commercial/forms/FamilyListReport.h"
#include "commercial/forms/FamilyTableForm.h"
#include "commercial/forms/SalesmanTableForm.h"
#include "commercial/forms/VatTableForm.h"

#include "platform/ui/FormRegistry.h"
#include "shell/Session.h"

#include <memory>

namespace kv::commercial {

void registerCommercialForms(CommercialEnvironmentSource source, kv::ui::FormRegistry& registry)
{
    for (const CommercialTableDescription& member : commercialTableMembers()) {
        registry.add(member.formClass, [source, &member](QWidget* parent) -> QDialog* {
            switch (member.kind) {
            case CommercialFormKind::VatCodes: return new VatTableForm(member, source(), parent);
            case CommercialFormKind::Countries: return new CountryTableForm(member, source(), parent);
            case CommercialFormKind::Families: return new FamilyTableForm(member, source(), parent);
            case CommercialFormKind::Salesmen: return new SalesmanTableForm(member, source(), parent);
            case CommercialFormKind::Table: break;
            case CommercialFormKind::Banks: break;
            case CommercialFormKind::Agents: break;
            }
            return new CommercialTableForm(member, source(), parent);
        });
        if (member.report.reportClass.isEmpty())
            continue; // a file form without a list report
        registry.add(member.report.reportClass, [source, &member](QWidget* parent) -> QDialog* {
            if (member.kind == CommercialFormKind::Families)
                return new FamilyListReport(member.report, source(), parent);
            return new CommercialListReport(member.report, source(), parent);
        });
    }
    // The banking members: the kinds of account with their list report, the banks and the agents.
    for (const CommercialTableDescription& member : bankingMembers()) {
        registry.add(member.formClass, [source, &member](QWidget* parent) -> QDialog* {
            if (member.kind == CommercialFormKind::Banks)
                return new BankFileForm(member, source(), parent);
            if (member.kind == CommercialFormKind::Agents)
                return new AgentFileForm(member, source(), parent);
            return new CommercialTableForm(member, source(), parent);
        });
        if (!member.report.reportClass.isEmpty())
            registry.add(member.report.reportClass, [source, &member](QWidget* parent) -> QDialog* {
                return new CommercialListReport(member.report, source(), parent);
            });
    }
}

void registerCommercialForms(kv::shell::Session& session, kv::ui::FormRegistry& forms)
{
    auto state = std::make_shared<CommercialSessionState>();
    state->installation = &session.installation();
    registerCommercialForms(
        [&session, &forms, state] {
            return CommercialEnvironment(session.state(), session.dataModules(), *state, forms);
        },
        forms);
}

} // namespace kv::commercial
