#pragma once

#include "costing/forms/CostingEnvironment.h"
#include "support/Scenario.h"

#include <optional>
#include <string>

namespace kv::costing::test {

using kv::test::Engine;
using kv::test::engineName;
using kv::test::engines;

// A company opened as the login leaves it, for the costing forms: a fresh
// installation on the engine asked for (in the scenario's folder, or on the
// test server), the login state of user "ANA" of company 1 and the eight data
// modules; the costing forms registered over them in the scenario's form
// registry, until the session ends.
class CostingSession {
public:
    // `demo`: the installation holds the demo company's rows as well.
    CostingSession(kv::test::Scenario& scenario, Engine engine, bool demo = false);
    ~CostingSession();

    // False when the engine is PostgreSQL and no test server is set.
    static bool available(Engine engine);

    kv::shell::LoginState& state() { return m_state; }
    CostingEnvironment environment() { return CostingEnvironment(m_state, *m_modules, m_formsState); }
    kv::db::Dataset& dataset(const QString& qualifiedName) { return m_modules->dataset(qualifiedName); }

    // Connections of the test's own, as another workstation has them.
    std::shared_ptr<kv::db::Connection> application();
    std::shared_ptr<kv::db::Connection> invoicing();
    // A further workstation's own connection to the application database.
    std::shared_ptr<kv::db::Connection> newApplicationConnection() { return connect(m_state.WBdEspecif01); }

    // The user's rights row for a costing program ("S" or "N" per flag).
    void grant(const QString& program, const QString& inserir, const QString& eliminar = "S",
               const QString& imprimir = "S");
    void addArticle(const QString& code, const QString& designation, const QString& type, double averageCost,
                    double standardCost);
    void addInk(int code, const QString& article, const QString& designation, double grams, double price);

private:
    std::shared_ptr<kv::db::Connection> connect(const QString& alias);

    kv::test::Scenario& m_scenario;
    kv::install::Installation* m_installation = nullptr;
    kv::shell::LoginState m_state;
    CostingSessionState m_formsState;
    std::unique_ptr<kv::shell::ShellDataModules> m_modules;
    std::shared_ptr<kv::db::Connection> m_application;
    std::shared_ptr<kv::db::Connection> m_invoicing;
};

} // namespace kv::costing::test
