#pragma once

#include "commercial/forms/CommercialEnvironment.h"
#include "support/CompanySession.h"

namespace kv::commercial::test {

using kv::test::Engine;

// A company opened as the login leaves it, for the commercial table forms:
// the plain company (user "ANA", no rights rows) or the demo company, with
// the commercial forms registered over the session's data modules in the
// scenario's form registry until the session ends.
class CommercialSession : public kv::test::CompanySession {
public:
    CommercialSession(kv::test::Scenario& scenario, Engine engine,
                      kv::test::Company company = kv::test::Company::Plain);
    ~CommercialSession() override;

    CommercialEnvironment environment()
    {
        return CommercialEnvironment(session().state(), session().dataModules(), m_formsState, scenario().forms());
    }

    // The user's rights row for a commercial table ("S" or "N" per flag).
    void grant(const QString& program, const QString& inserir = "S", const QString& eliminar = "S",
               const QString& imprimir = "S", const QString& aceder = "S");
    // Every commercial table's row with every flag.
    void grantAll();

private:
    CommercialSessionState m_formsState;
};

} // namespace kv::commercial::test
