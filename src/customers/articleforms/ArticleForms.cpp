#include "customers/articleforms/ArticleForms.h"

#include "customers/articleforms/TORCF032ART.h"
#include "customers/articleforms/ArticleSessionState.h"
#include "platform/ui/FormRegistry.h"
#include "shell/Session.h"

#include <memory>

namespace kv::customers {

std::shared_ptr<ArticleSessionState> registerArticleForms(kv::shell::Session& session, kv::ui::FormRegistry& forms)
{
    auto state = std::make_shared<ArticleSessionState>();
    forms.add(QStringLiteral("TORCF032ART"), [&session, &forms, state](QWidget* parent) -> QDialog* {
        return new TORCF032ART(kv::shell::FormEnvironment(session.state(), session.dataModules()), forms, *state,
                               &session.installation(), parent);
    });
    return state;
}

} // namespace kv::customers
