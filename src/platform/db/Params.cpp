#include "platform/db/Params.h"

namespace kv::db {

Params::Params(std::initializer_list<std::pair<QString, QVariant>> values)
{
    for (const auto& [name, value] : values)
        set(name, value);
}

void Params::set(const QString& name, const QVariant& value)
{
    for (auto& entry : m_values) {
        if (entry.first.compare(name, Qt::CaseInsensitive) == 0) {
            entry.second = value;
            return;
        }
    }
    m_values.emplace_back(name, value);
}

bool Params::contains(const QString& name) const
{
    for (const auto& entry : m_values)
        if (entry.first.compare(name, Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

QVariant Params::value(const QString& name) const
{
    for (const auto& entry : m_values)
        if (entry.first.compare(name, Qt::CaseInsensitive) == 0)
            return entry.second;
    return {};
}

QStringList Params::names() const
{
    QStringList out;
    out.reserve(static_cast<qsizetype>(m_values.size()));
    for (const auto& entry : m_values)
        out << entry.first;
    return out;
}

} // namespace kv::db
