#pragma once

#include "platform/db/Dataset.h"

#include <functional>
#include <vector>

namespace kv::db {

// What a locate looks for, and whether a row holds it: each field's value as
// the field would hold it (compared exactly, or as the start of the text with
// LocatePartialKey, with or without regard to case), a null matching a null.
class RecordLocator {
public:
    // Throws DbError when the dataset has no such field.
    RecordLocator(const Dataset& dataset, const QStringList& fields, const QVariantList& values, int options);

    // False when a value cannot be held by its field: no row matches it.
    bool canMatch() const { return m_canMatch; }
    // valueOf(column) gives the row's value of a column.
    bool matches(const std::function<QVariant(int)>& valueOf) const;

private:
    int m_options;
    bool m_canMatch = true;
    std::vector<int> m_columns;
    std::vector<FieldType> m_types;
    std::vector<QVariant> m_wanted;
};

} // namespace kv::db
