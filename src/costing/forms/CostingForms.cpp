#include "costing/forms/CostingForms.h"

#include "costing/forms/CodeTableForm.h"
#include "costing/forms/ListReportForm.h"
#include "costing/forms/MachinesMember.h"
#include "costing/forms/MaterialMember.h"
#include "costing/forms/members/MemberDescriptions.h"
#include "costing/forms/ProceduresMember.h"
#include "costing/forms/TORCF000.h"
#include "costing/forms/TORCF014.h"
#include "costing/forms/WasteBandsMember.h"
#include "costing/forms/members/ParameterRowMembers.h"
#include "costing/forms/members/TransportMember.h"
#include "costing/forms/members/CustomerArticlesMember.h"

#include "platform/ui/FormRegistry.h"
#include "shell/Session.h"

namespace kv::costing {

const std::vector<CodeTableDescription>& codeTableMembers()
{
    static const std::vector<CodeTableDescription> members{
        boardsMember(),         inksMember(),         varnishesMember(), gluesMember(),
        laminatingFilmMember(), windowPvcMember(),    finishesMember(),  cuttingOperationsMember(),
        fixedCostsMember(),     subcontractsMember(), transportMember(), customerArticlesMember(),
        machinesMember(),       wasteBandsMember(),   proceduresMember()};
    return members;
}

void registerCostingForms(EnvironmentSource source, kv::ui::FormRegistry& registry)
{
    registry.add(QStringLiteral("TORCF000"),
                 [source](QWidget* parent) -> QDialog* { return new TORCF000(source(), parent); });
    registry.add(QStringLiteral("TORCF014"),
                 [source](QWidget* parent) -> QDialog* { return new TORCF014(source(), parent); });
    for (const CodeTableDescription& member : codeTableMembers()) {
        registry.add(member.formClass, [source, &member](QWidget* parent) -> QDialog* {
            return new CodeTableForm(member, source(), parent);
        });
        if (member.print)
            registry.add(member.print->reportClass, [source, &member](QWidget* parent) -> QDialog* {
                return new ListReportForm(*member.print, source(), parent);
            });
    }
}

void registerCostingForms(kv::shell::Session& session, kv::ui::FormRegistry& forms)
{
    auto state = std::make_shared<CostingSessionState>();
    registerCostingForms(
        [&session, state] { return CostingEnvironment(session.state(), session.dataModules(), *state); }, forms);
}

} // namespace kv::costing
