#pragma once

namespace kv::useradmin {

class AdminSession;

// Registers the working forms of the user administration program under their
// class names: the user file TKAVFUTIL001 and the rights editors TKAVFUTIL002
// ("KAVORIMETAS") and TKAVFUTIL003 ("MODULO BASE").
void registerUserAdminForms(AdminSession& session);

} // namespace kv::useradmin
