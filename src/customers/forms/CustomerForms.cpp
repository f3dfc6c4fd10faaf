#include "customers/forms/CustomerForms.h"

#include "customers/forms/Torcf032cli.h"
#include "platform/ui/FormRegistry.h"
#include "shell/Session.h"

namespace kv::customers {

void registerCustomerForms(kv::shell::Session& session, kv::ui::FormRegistry& forms)
{
    forms.add(QStringLiteral("Torcf032cli"), [&session, &forms](QWidget* parent) -> QDialog* {
        return new Torcf032cli(kv::shell::FormEnvironment(session.state(), session.dataModules()), forms, parent);
    });
}

} // namespace kv::customers
