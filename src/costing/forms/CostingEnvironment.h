#pragma once

#include "costing/forms/CostingSessionState.h"
#include "shell/FormEnvironment.h"

#include <functional>

namespace kv::costing {

// What the costing forms take from the running program: the login state,
// the company's data modules and what the costing forms keep for the
// session. All outlive every form, which is modal.
class CostingEnvironment : public kv::shell::FormEnvironment {
public:
    CostingEnvironment(kv::shell::LoginState& state, kv::shell::ShellDataModules& modules, CostingSessionState& session)
        : FormEnvironment(state, modules), m_session(&session)
    {
    }

    CostingSessionState& session() const { return *m_session; }

    // The rights row of a costing program (chapter "Tabelas Orcamentos").
    kv::shell::FormRights costingRights(kv::shell::RightsVariant variant, const QString& program) const;

private:
    CostingSessionState* m_session;
};

// Gives the environment of the session running now; asked each time a form
// is created, since a new login replaces the data modules.
using EnvironmentSource = std::function<CostingEnvironment()>;

} // namespace kv::costing
