#include "FieldDef.h"

namespace kv::db {

bool isIntegerType(FieldType type)
{
    return type == FieldType::Int16 || type == FieldType::Int32 || type == FieldType::Int64;
}

bool isNumericType(FieldType type)
{
    return isIntegerType(type) || type == FieldType::Float;
}

} // namespace kv::db
