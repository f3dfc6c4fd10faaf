#include "platform/report/MemoryRowSource.h"

namespace kv::report {

MemoryRowSource::MemoryRowSource(const QStringList& fields) : m_fields(fields)
{
    for (int i = 0; i < fields.size(); ++i)
        m_index.insert(fields[i].toUpper(), i);
}

void MemoryRowSource::append(std::vector<QVariant> row)
{
    row.resize(m_fields.size());
    m_rows.push_back(std::move(row));
}

void MemoryRowSource::clear()
{
    m_rows.clear();
    m_current = 0;
}

bool MemoryRowSource::first()
{
    m_current = 0;
    return !m_rows.empty();
}

bool MemoryRowSource::next()
{
    if (m_current + 1 >= m_rows.size())
        return false;
    ++m_current;
    return true;
}

int MemoryRowSource::fieldIndex(const QString& name) const { return m_index.value(name.toUpper(), -1); }

QVariant MemoryRowSource::value(int index) const
{
    if (m_current >= m_rows.size() || index < 0 || index >= fieldCount())
        return {};
    return m_rows[m_current][static_cast<std::size_t>(index)];
}

void RowSnapshot::take(const RowSource& source)
{
    m_source = &source;
    const int n = source.fieldCount();
    m_values.resize(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i)
        m_values[static_cast<std::size_t>(i)] = source.value(i);
}

int RowSnapshot::fieldIndex(const QString& name) const { return m_source ? m_source->fieldIndex(name) : -1; }

QVariant RowSnapshot::value(int index) const
{
    if (index < 0 || index >= static_cast<int>(m_values.size()))
        return {};
    return m_values[static_cast<std::size_t>(index)];
}

} // namespace kv::report
