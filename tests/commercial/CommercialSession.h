#pragma once

#include "commercial/forms/CommercialEnvironment.h"
#include "support/Scenario.h"

#include <memory>

namespace kv::commercial::test {

using kv::test::Engine;

// A company opened as the login leaves it, for the commercial table forms:
// the plain company (user "ANA", no rights rows) on the engine asked for,
// with the commercial forms registered over the session's data modules in
// the scenario's form registry until the session ends.
class CommercialSession {
public:
    CommercialSession(kv::test::Scenario& scenario, Engine engine);
    ~CommercialSession();

    kv::shell::LoginState& state() { return m_session.state(); }
    CommercialEnvironment environment()
    {
        return CommercialEnvironment(m_session.state(), m_session.dataModules(), m_formsState, m_scenario.forms());
    }
    kv::db::Dataset& dataset(const QString& qualifiedName) { return m_session.dataModules().dataset(qualifiedName); }

    // Connections of the test's own, as another workstation has them.
    kv::db::Connection& invoicing();
    kv::db::Connection& accounting();
    kv::db::Connection& application();

    // The user's rights row for a commercial table ("S" or "N" per flag).
    void grant(const QString& program, const QString& inserir = "S", const QString& eliminar = "S",
               const QString& imprimir = "S", const QString& aceder = "S");
    // Every commercial table's row with every flag.
    void grantAll();

private:
    std::shared_ptr<kv::db::Connection> connect(const QString& alias);

    kv::test::Scenario& m_scenario;
    kv::shell::Session& m_session;
    CommercialSessionState m_formsState;
    std::shared_ptr<kv::db::Connection> m_invoicing;
    std::shared_ptr<kv::db::Connection> m_accounting;
    std::shared_ptr<kv::db::Connection> m_application;
};

} // namespace kv::commercial::test
