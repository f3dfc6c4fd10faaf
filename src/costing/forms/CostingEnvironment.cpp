#include "costing/forms/CostingEnvironment.h"

namespace kv::costing {

kv::shell::FormRights CostingEnvironment::costingRights(kv::shell::RightsVariant variant,
                                                       const QString& program) const
{
    kv::shell::AccessRights rights(dataset(QStringLiteral("DTEMPRESAS.APLICACAODET")), *m_state);
    return rights.readForm(variant, m_state->WAplicacao, QStringLiteral("Tabelas Orcamentos"), program);
}

QString CostingEnvironment::companyName() const
{
    kv::db::Dataset& rows = dataset(QStringLiteral("DTEMPRESAS.PARAMTMP"));
    if (rows.isOpen()
        && rows.locate({QStringLiteral("UTIL"), QStringLiteral("APLICACAO")}, {m_state->WUtil, m_state->WAplicacao}))
        return rows.value(QStringLiteral("EMPNOM")).toString();
    return m_state->WEmpNom;
}

} // namespace kv::costing
