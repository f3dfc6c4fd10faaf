#include "quotes/core/Record.h"

#include <cmath>
#include <stdexcept>

namespace kv::quotes {

RecordLayout::RecordLayout(std::vector<RecordColumn> columns) : m_columns(std::move(columns))
{
    for (int i = 0; i < size(); ++i)
        m_index.insert(m_columns[static_cast<std::size_t>(i)].name.toUpper(), i);
}

int RecordLayout::indexOf(const QString& name) const { return m_index.value(name.toUpper(), -1); }

QStringList RecordLayout::names() const
{
    QStringList out;
    for (const auto& c : m_columns)
        out << c.name;
    return out;
}

Record::Record(const RecordLayout& layout) : m_layout(&layout), m_values(static_cast<std::size_t>(layout.size())) {}

int Record::require(const QString& column) const
{
    const int index = m_layout->indexOf(column);
    if (index < 0)
        throw std::invalid_argument("unknown column " + column.toStdString());
    return index;
}

QVariant Record::value(const QString& column) const { return m_values[static_cast<std::size_t>(require(column))]; }

double Record::number(const QString& column) const
{
    const QVariant v = value(column);
    return v.isNull() ? 0.0 : v.toDouble();
}

qint64 Record::integer(const QString& column) const
{
    const QVariant v = value(column);
    return v.isNull() ? 0 : v.toLongLong();
}

QString Record::text(const QString& column) const
{
    const QVariant v = value(column);
    return v.isNull() ? QString() : v.toString();
}

bool Record::isNull(const QString& column) const { return value(column).isNull(); }

void Record::set(const QString& column, const QVariant& value) { setAt(require(column), value); }

void Record::setNull(const QString& column) { m_values[static_cast<std::size_t>(require(column))] = QVariant(); }

void Record::setAt(int index, const QVariant& value)
{
    const RecordColumn& c = m_layout->columns()[static_cast<std::size_t>(index)];
    if (value.isNull()) {
        m_values[static_cast<std::size_t>(index)] = QVariant();
        return;
    }
    switch (c.kind) {
    case ColumnKind::Float: {
        const double d = value.toDouble();
        if (!std::isfinite(d))
            throw std::invalid_argument("non-finite value for " + c.name.toStdString());
        m_values[static_cast<std::size_t>(index)] = d;
        break;
    }
    case ColumnKind::Integer: m_values[static_cast<std::size_t>(index)] = value.toLongLong(); break;
    case ColumnKind::Text: {
        QString s = value.toString();
        if (c.size > 0 && s.size() > c.size)
            s.truncate(c.size);
        m_values[static_cast<std::size_t>(index)] = s;
        break;
    }
    case ColumnKind::DateTime: m_values[static_cast<std::size_t>(index)] = value; break;
    }
}

} // namespace kv::quotes
