#pragma once

#include <memory>

namespace kv::shell {
class Session;
}
namespace kv::ui {
class FormRegistry;
}

namespace kv::customers {

struct ArticleSessionState;

// Adds the article form `TORCF032ART` to the session's registry (no menu
// entry: the quote approval opens it). Returns the state the article forms
// keep for the session, which the forms the article form opens share.
std::shared_ptr<ArticleSessionState> registerArticleForms(kv::shell::Session& session, kv::ui::FormRegistry& forms);

} // namespace kv::customers
