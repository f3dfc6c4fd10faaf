#pragma once

#include "costing/forms/CostingEnvironment.h"
#include "support/Scenario.h"

#include <optional>
#include <string>

namespace kv::costing::test {

using kv::test::Engine;
using kv::test::engineName;
using kv::test::engines;

// A company opened as the login leaves it, for the costing forms: the test
// kit's login (Scenario::login) on the engine asked for, to the plain company
// (user "ANA" of company 1, working date 15-03-2024, its general costing
// parameters, no rights) or to the demo company; the costing forms registered
// over the session's data modules in the scenario's form registry, until the
// session ends.
class CostingSession {
public:
    // `demo`: the demo company and user (every right, dated today) instead.
    CostingSession(kv::test::Scenario& scenario, Engine engine, bool demo = false);
    ~CostingSession();

    // False when the engine is PostgreSQL and no test server is set.
    static bool available(Engine engine);

    kv::shell::LoginState& state() { return m_session.state(); }
    CostingEnvironment environment()
    {
        return CostingEnvironment(m_session.state(), m_session.dataModules(), m_formsState);
    }
    kv::db::Dataset& dataset(const QString& qualifiedName) { return m_session.dataModules().dataset(qualifiedName); }

    // Connections of the test's own, as another workstation has them.
    std::shared_ptr<kv::db::Connection> application();
    std::shared_ptr<kv::db::Connection> invoicing();
    // A further workstation's own connection to the application database.
    std::shared_ptr<kv::db::Connection> newApplicationConnection() { return connect(state().WBdEspecif01); }

    // The user's rights row for a costing program ("S" or "N" per flag).
    void grant(const QString& program, const QString& inserir, const QString& eliminar = "S",
               const QString& imprimir = "S");
    // The company as it is before its general parameters were ever saved: no ORCPARGER row.
    void removeParameterRow();
    void addArticle(const QString& code, const QString& designation, const QString& type, double averageCost,
                    double standardCost);
    void addInk(int code, const QString& article, const QString& designation, double grams, double price);

private:
    std::shared_ptr<kv::db::Connection> connect(const QString& alias);

    kv::test::Scenario& m_scenario;
    kv::shell::Session& m_session;
    CostingSessionState m_formsState;
    std::shared_ptr<kv::db::Connection> m_application;
    std::shared_ptr<kv::db::Connection> m_invoicing;
};

} // namespace kv::costing::test
