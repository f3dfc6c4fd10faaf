#pragma once

#include "platform/db/FieldDef.h"

#include <QVariant>

namespace kv::db {

// Values as a dataset's fields hold them: what a field's setter stores, what a
// locate key is compared as and what a row read back after a conflict becomes.
class FieldConversion {
public:
    // A null of the field type's QVariant type.
    static QVariant nullOf(FieldType type);

    // The value converted to the field's type. Refused with DbError when it
    // does not fit: a text longer than the column, a number outside the type's
    // range, a text that is no number or no date. An empty text is a null.
    static QVariant convert(const FieldDef& def, const QVariant& value);

    // Equal values, where a null equals only a null.
    static bool same(const QVariant& a, const QVariant& b);
};

} // namespace kv::db
