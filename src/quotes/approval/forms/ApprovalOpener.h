#pragma once

#include "quotes/approval/core/ApprovalContext.h"

#include <functional>

class QWidget;

namespace kv::shell {
class Session;
}
namespace kv::ui {
class FormRegistry;
}

namespace kv::quotes::approval {

// Opens the approval form `TORCF032A` of one quote modally and returns what
// it did. The approval list gets one from the quotes' registration (or a
// scripted one in its tests) and calls it on "&Aprovar".
using ApprovalOpener = std::function<ApprovalOutcome(const ApprovalContext& context, QWidget* parent)>;

// The opener of a session: the form takes the session's login state, data
// modules and two-database work, and opens the article and customer forms
// (`TORCF032ART`, `Torcf032cli`) from `forms`.
ApprovalOpener approvalOpener(kv::shell::Session& session, const kv::ui::FormRegistry& forms);

} // namespace kv::quotes::approval
