#pragma once

#include "support/Scenario.h"

#include <QString>
#include <memory>

namespace kv::test {

// A company opened as the login leaves it, for the form tests of one
// subsystem: the test kit's login (Scenario::login) on the engine asked for,
// to the plain company or the demo company. The subsystem's fixture derives
// from it and registers its forms in the scenario's registry; the forms
// still open when the session ends are closed, and the registry emptied.
class CompanySession {
public:
    CompanySession(Scenario& scenario, Engine engine, Company company);
    virtual ~CompanySession();
    CompanySession(const CompanySession&) = delete;
    CompanySession& operator=(const CompanySession&) = delete;

    kv::shell::LoginState& state() { return m_session.state(); }
    kv::shell::Session& session() { return m_session; }
    kv::db::Dataset& dataset(const QString& qualifiedName) { return m_session.dataModules().dataset(qualifiedName); }

    // Connections of the test's own, as another workstation has them.
    std::shared_ptr<kv::db::Connection> application();
    std::shared_ptr<kv::db::Connection> invoicing();
    std::shared_ptr<kv::db::Connection> accounting();
    // A further workstation's own connection to a database of the company.
    std::shared_ptr<kv::db::Connection> connect(const QString& alias);

    // The plain company's user's ("ANA" of company 1) rights row of a program
    // under an application and chapter ("S" or "N" per flag), read again by
    // the session's rights dataset. The demo user has every right already.
    void grantRights(const QString& application, const QString& chapter, const QString& program, const QString& aceder,
                     const QString& inserir, const QString& eliminar, const QString& imprimir);

protected:
    Scenario& scenario() { return m_scenario; }
    // The forms still open edit the modules' datasets, and the fixture's
    // session state: a derived fixture calls this first in its destructor.
    void closeForms();

private:
    Scenario& m_scenario;
    kv::shell::Session& m_session;
    std::shared_ptr<kv::db::Connection> m_application;
    std::shared_ptr<kv::db::Connection> m_invoicing;
    std::shared_ptr<kv::db::Connection> m_accounting;
};

} // namespace kv::test
