#pragma once

namespace kv::shell {
class Session;
}
namespace kv::ui {
class FormRegistry;
}

namespace kv::customers {

// Adds the article form `TORCF032ART` to the session's registry (no menu
// entry: the quote approval opens it), with the state the article forms
// keep for the session.
void registerArticleForms(kv::shell::Session& session, kv::ui::FormRegistry& forms);

} // namespace kv::customers
