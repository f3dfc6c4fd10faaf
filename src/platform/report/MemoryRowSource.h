#pragma once

#include "platform/report/RowSource.h"

#include <QHash>
#include <QStringList>
#include <vector>

namespace kv::report {

// Rows held in memory: computed lines, work-table copies, and reports that
// print values rather than a query.
class MemoryRowSource : public RowSource {
public:
    explicit MemoryRowSource(const QStringList& fields);

    void append(std::vector<QVariant> row); // one value per field, missing ones null
    void clear();
    int rowCount() const { return static_cast<int>(m_rows.size()); }

    bool first() override;
    bool next() override;
    int fieldCount() const override { return static_cast<int>(m_fields.size()); }
    QString fieldName(int index) const override { return m_fields.value(index); }
    int fieldIndex(const QString& name) const override;
    QVariant value(int index) const override;
    using RowView::value;

private:
    QStringList m_fields;
    QHash<QString, int> m_index; // upper-case name -> column
    std::vector<std::vector<QVariant>> m_rows;
    std::size_t m_current = 0;
};

// A copy of the current row of a source, kept while the source moves on
// (a group footer prints the last row of its group).
class RowSnapshot : public RowView {
public:
    void take(const RowSource& source);
    void setSource(const RowSource* source) { m_source = source; }
    int fieldIndex(const QString& name) const override;
    QVariant value(int index) const override;
    using RowView::value;

private:
    const RowSource* m_source = nullptr;
    std::vector<QVariant> m_values;
};

} // namespace kv::report
