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
    // One pass over the text, each group found through the index and no
    // copy of a line that is not kept: a huge or hostile file costs its
    // length, not its length times its groups.
    IniFile ini;
    std::size_t current = 0;
    bool inGroup = false;
    const QStringView all(text);
    qsizetype start = 0;
    while (start <= all.size()) {
        qsizetype end = all.indexOf(QLatin1Char('\n'), start);
        if (end < 0)
            end = all.size();
        const QStringView line = all.mid(start, end - start).trimmed();
        start = end + 1;
        if (line.isEmpty() || line.startsWith(QLatin1Char(';')) || line.startsWith(QLatin1Char('#')))
            continue;
        if (line.startsWith(QLatin1Char('[')) && line.endsWith(QLatin1Char(']'))) {
            const QString name = line.mid(1, line.size() - 2).trimmed().toString();
            const QString key = name.toCaseFolded();
            const auto it = ini.m_index.constFind(key);
            if (it == ini.m_index.constEnd()) {
                ini.m_index.insert(key, ini.m_groups.size());
                ini.m_groups.push_back({name, {}});
                current = ini.m_groups.size() - 1;
            } else {
                current = *it;
            }
            inGroup = true;
            continue;
        }
        const qsizetype eq = line.indexOf(QLatin1Char('='));
        if (eq <= 0 || !inGroup)
            continue;
        ini.m_groups[current].entries.emplace_back(line.left(eq).trimmed().toString(),
                                                   line.mid(eq + 1).trimmed().toString());
    }
    return ini;
}

const IniFile::Group* IniFile::find(const QString& group) const
{
    const auto it = m_index.constFind(group.toCaseFolded());
    return it == m_index.constEnd() ? nullptr : &m_groups[*it];
}

bool IniFile::hasGroup(const QString& group) const { return find(group) != nullptr; }

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
