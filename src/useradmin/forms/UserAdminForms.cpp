#include "useradmin/forms/UserAdminForms.h"

#include "useradmin/forms/AccessRightsForm.h"
#include "useradmin/forms/TKAVFUTIL001.h"

#include "platform/ui/FormRegistry.h"

namespace kv::useradmin {

void registerUserAdminForms(AdminSession& session, ui::FormRegistry& registry)
{
    registry.add(QStringLiteral("TKAVFUTIL001"),
                 [&session](QWidget* parent) { return new TKAVFUTIL001(session, parent); });
    registry.add(QStringLiteral("TKAVFUTIL002"), [&session](QWidget* parent) {
        return new AccessRightsForm(session, QStringLiteral("TKAVFUTIL002"),
                                    QStringLiteral("Acessos (Industrias de Kavorimeta)"), AdminSession::ApplicationKey,
                                    parent);
    });
    registry.add(QStringLiteral("TKAVFUTIL003"), [&session](QWidget* parent) {
        return new AccessRightsForm(session, QStringLiteral("TKAVFUTIL003"), QStringLiteral("Acessos (Módulo Base)"),
                                    AdminSession::BaseModuleKey, parent);
    });
}

} // namespace kv::useradmin
