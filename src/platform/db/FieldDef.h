#pragma once

#include <QString>

namespace kv::db {

enum class FieldType { Text, Int16, Int32, Int64, Float, DateTime, Memo, Blob };

// A column of a dataset, from the engine's description of the result.
struct FieldDef {
    QString name; // as the engine reports it; lookups ignore case
    FieldType type = FieldType::Text;
    int size = 0; // declared characters of a Text column, 0 when unbounded
    bool calculated = false; // filled by the program, never written to the table
};

inline bool isIntegerType(FieldType type)
{
    return type == FieldType::Int16 || type == FieldType::Int32 || type == FieldType::Int64;
}
inline bool isNumericType(FieldType type) { return isIntegerType(type) || type == FieldType::Float; }

} // namespace kv::db
