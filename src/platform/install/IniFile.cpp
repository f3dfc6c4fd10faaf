#include "platform/install/IniFile.h"

#include <QFile>

namespace kv::install {

IniFile IniFile::read(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return {};
    return parse(QString::fromUtf8(file.readAll()));
}

IniFile IniFile::parse(const QString& text)
{
    IniFile ini;
    Group* current = nullptr;
    const QStringList lines = text.split(QLatin1Char('\n'));
    for (QString line : lines) {
        line = line.trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char(';')) || line.startsWith(QLatin1Char('#')))
            continue;
        if (line.startsWith(QLatin1Char('[')) && line.endsWith(QLatin1Char(']'))) {
            const QString name = line.mid(1, line.size() - 2).trimmed();
            auto it = std::find_if(ini.m_groups.begin(), ini.m_groups.end(), [&](const Group& g) {
                return g.name.compare(name, Qt::CaseInsensitive) == 0;
            });
            if (it == ini.m_groups.end()) {
                ini.m_groups.push_back({name, {}});
                current = &ini.m_groups.back();
            } else {
                current = &*it;
            }
            continue;
        }
        const qsizetype eq = line.indexOf(QLatin1Char('='));
        if (eq <= 0 || !current)
            continue;
        current->entries.emplace_back(line.left(eq).trimmed(), line.mid(eq + 1).trimmed());
    }
    return ini;
}

const IniFile::Group* IniFile::find(const QString& group) const
{
    for (const Group& g : m_groups)
        if (g.name.compare(group, Qt::CaseInsensitive) == 0)
            return &g;
    return nullptr;
}

bool IniFile::hasGroup(const QString& group) const
{
    return find(group) != nullptr;
}

QStringList IniFile::groups() const
{
    QStringList names;
    for (const Group& g : m_groups)
        names << g.name;
    return names;
}

QString IniFile::value(const QString& group, const QString& key, const QString& fallback) const
{
    if (const Group* g = find(group)) {
        // The last assignment of a key wins, as an administrator editing by hand expects.
        for (auto it = g->entries.rbegin(); it != g->entries.rend(); ++it)
            if (it->first.compare(key, Qt::CaseInsensitive) == 0)
                return it->second;
    }
    return fallback;
}

std::vector<std::pair<QString, QString>> IniFile::entries(const QString& group) const
{
    const Group* g = find(group);
    return g ? g->entries : std::vector<std::pair<QString, QString>>{};
}

} // namespace kv::install
