#include "updater/core/TupStringList.h"

#include <QSaveFile>

namespace kv::updater {

int TupStringList::Add(const QString& entry)
{
    for (int i = 0; i < m_entries.size(); ++i)
        if (m_entries[i].compare(entry, Qt::CaseInsensitive) == 0)
            return i;
    m_entries << entry;
    return int(m_entries.size()) - 1;
}

QString TupStringList::NameOf(int index) const
{
    const QString& entry = m_entries.at(index);
    const int separator = entry.indexOf(QLatin1Char('='));
    return separator < 0 ? entry : entry.left(separator);
}

QString TupStringList::ValueOf(int index) const
{
    const QString& entry = m_entries.at(index);
    const int separator = entry.indexOf(QLatin1Char('='));
    return separator < 0 ? QString() : entry.mid(separator + 1);
}

void TupStringList::SetValueOf(int index, const QString& value)
{
    if (m_entries.at(index).contains(QLatin1Char('=')))
        m_entries[index] = NameOf(index) + QLatin1Char('=') + value;
}

QStringList TupStringList::values() const
{
    QStringList out;
    for (int i = 0; i < Count(); ++i)
        if (!ValueOf(i).isEmpty())
            out << ValueOf(i);
    return out;
}

bool TupStringList::SaveValues(const QString& fileName) const
{
    const QStringList lines = values();
    if (lines.isEmpty())
        return true;
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    for (const QString& line : lines)
        file.write(line.toUtf8() + "\r\n");
    return file.commit();
}

} // namespace kv::updater
