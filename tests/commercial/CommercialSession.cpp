#include "commercial/CommercialSession.h"

#include "commercial/forms/CommercialForms.h"
#include "commercial/forms/CommercialMembers.h"

namespace kv::commercial::test {

CommercialSession::CommercialSession(kv::test::Scenario& scenario, Engine engine, kv::test::Company company)
    : CompanySession(scenario, engine, company)
{
    m_formsState.installation = &scenario.installation();
    registerCommercialForms([this] { return environment(); }, scenario.forms());
}

CommercialSession::~CommercialSession() { closeForms(); }

void CommercialSession::grant(const QString& program, const QString& inserir, const QString& eliminar,
                              const QString& imprimir, const QString& aceder)
{
    grantRights(state().WModuloBase, QStringLiteral("Tabelas"), program, aceder, inserir, eliminar, imprimir);
}

void CommercialSession::grantAll()
{
    for (const CommercialTableDescription& member : commercialTableMembers())
        grant(member.rightsProgram);
}

} // namespace kv::commercial::test
