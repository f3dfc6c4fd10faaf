#include "CostingForms.h"

#include "CodeTableForm.h"
#include "ListReportForm.h"
#include "MachinesMember.h"
#include "MaterialMember.h"
#include "MemberDescriptions.h"
#include "ProceduresMember.h"
#include "TORCF000.h"
#include "TORCF014.h"
#include "WasteBandsMember.h"
#include "ParameterRowMembers.h"
#include "TransportMember.h"
#include "CustomerArticlesMember.h"

#include <FormRegistry.h>
#include <Session.h>

namespace kv::costing {

const std::vector<CodeTableDescription>& codeTableMembers()
{
    static const std::vector<CodeTableDescription> members{
        boardsMember(),         inksMember(),     varnishesMember(), gluesMember(), laminatingFilmMember(),
        windowPvcMember(),      finishesMember(), cuttingOperationsMember(),
        fixedCostsMember(),     subcontractsMember(), transportMember(), customerArticlesMember(),
        machinesMember(),       wasteBandsMember(), proceduresMember()};
    return members;
}

void registerCostingForms(EnvironmentSource source)
{
    kv::ui::FormRegistry& registry = kv::ui::FormRegistry::instance();
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

void registerCostingForms(kv::shell::Session& session)
{
    registerCostingForms([&session] { return CostingEnvironment(session.state(), session.dataModules()); });
}

} // namespace kv::costing
