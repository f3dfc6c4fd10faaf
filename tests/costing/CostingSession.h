#pragma once

#include "costing/forms/CostingEnvironment.h"
#include "support/CompanySession.h"

#include <optional>
#include <string>

namespace kv::costing::test {

using kv::test::Engine;
using kv::test::engineName;
using kv::test::engines;

// A company opened as the login leaves it, for the costing forms: the plain
// company (user "ANA" of company 1, working date 15-03-2024, its general
// costing parameters, no rights) or the demo company, with the costing forms
// registered over the session's data modules until the session ends.
class CostingSession : public kv::test::CompanySession {
public:
    // `demo`: the demo company and user (every right, dated today) instead.
    CostingSession(kv::test::Scenario& scenario, Engine engine, bool demo = false);
    ~CostingSession() override;

    // False when the engine is PostgreSQL and no test server is set.
    static bool available(Engine engine);

    CostingEnvironment environment()
    {
        return CostingEnvironment(session().state(), session().dataModules(), m_formsState);
    }

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
    CostingSessionState m_formsState;
};

} // namespace kv::costing::test
