#pragma once

#include "costing/forms/CostingSessionState.h"
#include "shell/AccessRights.h"
#include "shell/LoginState.h"
#include "shell/ShellDataModules.h"

#include <functional>

namespace kv::costing {

// What the costing forms take from the running program: the login state,
// the company's data modules and what the costing forms keep for the
// session. All outlive every form, which is modal.
class CostingEnvironment {
public:
    CostingEnvironment(kv::shell::LoginState& state, kv::shell::ShellDataModules& modules,
                       CostingSessionState& session)
        : m_state(&state), m_modules(&modules), m_session(&session)
    {
    }

    kv::shell::LoginState& state() const { return *m_state; }
    kv::shell::ShellDataModules& modules() const { return *m_modules; }
    CostingSessionState& session() const { return *m_session; }
    kv::db::Dataset& dataset(const QString& qualifiedName) const { return m_modules->dataset(qualifiedName); }
    std::shared_ptr<kv::db::Connection> invoicing() const { return m_modules->connections().DbFacturacao; }
    std::shared_ptr<kv::db::Connection> application() const { return m_modules->connections().DbKavorime; }

    // The rights row of a costing program (chapter "Tabelas Orcamentos").
    kv::shell::FormRights costingRights(kv::shell::RightsVariant variant, const QString& program) const;

    // The company name of this user's login row, as the report footers print it.
    QString companyName() const;

private:
    kv::shell::LoginState* m_state;
    kv::shell::ShellDataModules* m_modules;
    CostingSessionState* m_session;
};

// Gives the environment of the session running now; asked each time a form
// is created, since a new login replaces the data modules.
using EnvironmentSource = std::function<CostingEnvironment()>;

} // namespace kv::costing
