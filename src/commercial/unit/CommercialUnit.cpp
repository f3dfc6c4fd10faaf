#include "commercial/unit/CommercialUnit.h"

#include "commercial/forms/CommercialForms.h"
#include "commercial/unit/AccountingLinkStep.h"

namespace kv::commercial {

kv::shell::SubsystemUnit commercialUnit()
{
    kv::shell::SubsystemUnit unit;
    unit.name = QStringLiteral("commercial");
    unit.versionSteps = {{8, unit.name, addAccountingLinkTables}};
    unit.opening = [](const QString&, const kv::shell::LoginState&) { return kv::shell::FormOpening{}; };
    unit.registerForms = [](kv::shell::Session& session, kv::ui::FormRegistry& forms) {
        registerCommercialForms(session, forms);
    };
    return unit;
}

} // namespace kv::commercial
