#include "quotes/approval/forms/ApprovalOpener.h"

#include "quotes/approval/forms/TORCF032A.h"

namespace kv::quotes::approval {

ApprovalOpener approvalOpener(kv::shell::Session& session, const kv::ui::FormRegistry& forms)
{
    return [&session, &forms](const ApprovalContext& context, QWidget* parent) {
        TORCF032A form(session, forms, context, parent);
        form.exec();
        return form.outcome();
    };
}

} // namespace kv::quotes::approval
