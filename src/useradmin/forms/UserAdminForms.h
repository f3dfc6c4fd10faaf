#pragma once

namespace kv::ui {
class FormRegistry;
}

namespace kv::useradmin {

class AdminSession;

// Registers the working forms of the user administration program under their
// class names: the user file TKAVFUTIL001 and the rights editors TKAVFUTIL002
// ("KAVORIMETAS") and TKAVFUTIL003 ("MODULO BASE").
void registerUserAdminForms(AdminSession& session, ui::FormRegistry& registry);

} // namespace kv::useradmin
