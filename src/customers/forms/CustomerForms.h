#pragma once

namespace kv::shell {
class Session;
}
namespace kv::ui {
class FormRegistry;
}

namespace kv::customers {

// Adds the customer form `Torcf032cli` to the session's registry (no menu
// entry: the quote approval opens it). Its search dialog opens from it.
void registerCustomerForms(kv::shell::Session& session, kv::ui::FormRegistry& forms);

} // namespace kv::customers
