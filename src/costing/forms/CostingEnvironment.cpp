#include "costing/forms/CostingEnvironment.h"

namespace kv::costing {

kv::shell::FormRights CostingEnvironment::costingRights(kv::shell::RightsVariant variant, const QString& program) const
{
    return rights(variant, state().WAplicacao, QStringLiteral("Tabelas Orcamentos"), program);
}

} // namespace kv::costing
