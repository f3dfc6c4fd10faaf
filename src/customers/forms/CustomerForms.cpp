#include "customers/forms/CustomerForms.h"

#include "customers/forms/CustomerFormParts.h"
#include "customers/forms/Torcf032cli.h"
#include "customers/parts/CustomerAccounts.h"
#include "platform/ui/FormRegistry.h"
#include "shell/Session.h"

namespace kv::customers {

void registerCustomerForms(kv::shell::Session& session, kv::ui::FormRegistry& forms)
{
    session.twoDatabaseKinds().add(CustomerAccounts::bulkAccountKind());
    forms.add(QStringLiteral("Torcf032cli"), [&session, &forms](QWidget* parent) -> QDialog* {
        auto* form = new Torcf032cli(kv::shell::FormEnvironment(session.state(), session.dataModules()), forms, parent);
        form->parts().setSessionServices(&session.installation(), [&session] { return session.twoDatabaseWork(); });
        return form;
    });
}

} // namespace kv::customers
