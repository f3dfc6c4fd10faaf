#pragma once

#include <QHash>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <vector>

namespace kv::quotes {

enum class ColumnKind { Integer, Float, Text, DateTime };

struct RecordColumn {
    QString name;
    ColumnKind kind = ColumnKind::Float;
    int size = 0; // characters of a text column
};

// The columns of a table in the order of its insert statement, with a lookup
// by name (without regard to case).
class RecordLayout {
public:
    explicit RecordLayout(std::vector<RecordColumn> columns);

    const std::vector<RecordColumn>& columns() const { return m_columns; }
    int size() const { return static_cast<int>(m_columns.size()); }
    int indexOf(const QString& name) const; // -1 when absent
    QStringList names() const;

private:
    std::vector<RecordColumn> m_columns;
    QHash<QString, int> m_index;
};

// One row of a table held in memory: the values by column, null where the
// row has nothing. Reading a column the layout does not have, or writing a
// value that does not suit it, throws std::invalid_argument: a misspelt
// column name is a programming error, never a silent zero.
class Record {
public:
    explicit Record(const RecordLayout& layout);

    const RecordLayout& layout() const { return *m_layout; }

    QVariant value(const QString& column) const;
    double number(const QString& column) const; // null: 0
    qint64 integer(const QString& column) const; // null: 0
    QString text(const QString& column) const; // null: ""
    bool isNull(const QString& column) const;

    void set(const QString& column, const QVariant& value);
    void setNull(const QString& column);

    const std::vector<QVariant>& values() const { return m_values; }
    QVariant valueAt(int index) const { return m_values[static_cast<std::size_t>(index)]; }
    void setAt(int index, const QVariant& value);

private:
    int require(const QString& column) const;
    const RecordLayout* m_layout;
    std::vector<QVariant> m_values;
};

} // namespace kv::quotes
