#pragma once

#include "platform/report/ListReportDialog.h"
#include "platform/ui/TableForm.h"
#include "shell/FormEnvironment.h"

#include <functional>
#include <map>

namespace kv::ui {
class FormRegistry;
}
namespace kv::install {
class Installation;
}

namespace kv::commercial {

class CommercialListReport;

// What the commercial forms keep from one form to the next for one session.
struct CommercialSessionState {
    kv::ui::RememberedKeys rememberedKeys; // by form class
    kv::report::OpenReports openReports; // by report class, while the report form lives
    // Where the notes folders stored in the data are mapped to (the agents' notes).
    const kv::install::Installation* installation = nullptr;
};

// What the commercial forms take from the running program: the login state,
// the data modules, the session's form registry (the side doors open forms
// through it) and what the commercial forms keep for the session.
class CommercialEnvironment : public kv::shell::FormEnvironment {
public:
    CommercialEnvironment(kv::shell::LoginState& state, kv::shell::ShellDataModules& modules,
                          CommercialSessionState& session, const kv::ui::FormRegistry& forms)
        : FormEnvironment(state, modules), m_session(&session), m_forms(&forms)
    {
    }

    CommercialSessionState& session() const { return *m_session; }
    const kv::ui::FormRegistry& forms() const { return *m_forms; }

    // The rights row of a commercial table (application WModuloBase, chapter "Tabelas").
    kv::shell::FormRights tableRights(kv::shell::RightsVariant variant, const QString& program) const;
    bool sideDoorVisible(const QString& program) const;

private:
    CommercialSessionState* m_session;
    const kv::ui::FormRegistry* m_forms;
};

using CommercialEnvironmentSource = std::function<CommercialEnvironment()>;

} // namespace kv::commercial
