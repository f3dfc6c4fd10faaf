#include "commercial/forms/CommercialEnvironment.h"

namespace kv::commercial {

namespace {

const QString Tabelas = QStringLiteral("Tabelas");

} // namespace

kv::shell::FormRights CommercialEnvironment::tableRights(kv::shell::RightsVariant variant, const QString& program) const
{
    return rights(variant, state().WModuloBase, Tabelas, program);
}

bool CommercialEnvironment::sideDoorVisible(const QString& program) const
{
    return FormEnvironment::sideDoorVisible(state().WModuloBase, Tabelas, program);
}

} // namespace kv::commercial
