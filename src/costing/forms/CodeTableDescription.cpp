#include "costing/forms/CodeTableDescription.h"

namespace kv::costing {

const FieldSpec* CodeTableDescription::field(const QString& name) const
{
    for (const FieldSpec& spec : fields)
        if (spec.name == name)
            return &spec;
    return nullptr;
}

} // namespace kv::costing
