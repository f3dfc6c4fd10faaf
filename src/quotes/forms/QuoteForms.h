#pragma once

#include "quotes/approval/forms/ApprovalOpener.h"
#include "quotes/forms/QuoteFormsEnvironment.h"

namespace kv::shell {
class Session;
}
namespace kv::ui {
class FormRegistry;
}

namespace kv::quotes {

// Registers the quote forms in a form registry under their class names
// (TORCF021); the environment is asked for each form created. The approval
// list approves a quote through `openApproval`.
void registerQuoteForms(QuoteEnvironmentSource source, kv::ui::FormRegistry& forms,
                        approval::ApprovalOpener openApproval = {});
// The same over the running program's session.
void registerQuoteForms(kv::shell::Session& session, kv::ui::FormRegistry& forms);

} // namespace kv::quotes
