#pragma once

#include <QString>
#include <QVariant>

namespace kv::report {

// One row of values, read by column index (resolved once per run) or name.
class RowView {
public:
    virtual ~RowView() = default;
    // Without regard to case; -1 when the row has no such column.
    virtual int fieldIndex(const QString& name) const = 0;
    virtual QVariant value(int index) const = 0;
    QVariant value(const QString& name) const;
};

// The rows a data band prints, one after the other. After the last row
// next() answers false and the source stays on the last row, so footers
// and summaries still read it.
class RowSource : public RowView {
public:
    virtual bool first() = 0; // false when there are no rows
    virtual bool next() = 0; // false when there is no further row
    virtual int fieldCount() const = 0;
    virtual QString fieldName(int index) const = 0;
};

} // namespace kv::report
