#include "shell/FormEnvironment.h"

namespace kv::shell {

FormRights FormEnvironment::rights(RightsVariant variant, const QString& application, const QString& chapter,
                                   const QString& program) const
{
    AccessRights rows(dataset(QStringLiteral("DTEMPRESAS.APLICACAODET")), *m_state);
    return rows.readForm(variant, application, chapter, program);
}

bool FormEnvironment::sideDoorVisible(const QString& application, const QString& chapter, const QString& program) const
{
    AccessRights rows(dataset(QStringLiteral("DTEMPRESAS.APLICACAODET")), *m_state);
    return rows.sideDoorVisible(application, chapter, program);
}

QString FormEnvironment::companyName() const
{
    kv::db::Dataset& rows = dataset(QStringLiteral("DTEMPRESAS.PARAMTMP"));
    if (rows.isOpen() &&
        rows.locate({QStringLiteral("UTIL"), QStringLiteral("APLICACAO")}, {m_state->WUtil, m_state->WAplicacao}))
        return rows.value(QStringLiteral("EMPNOM")).toString();
    return m_state->WEmpNom;
}

} // namespace kv::shell
