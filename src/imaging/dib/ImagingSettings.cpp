#include "imaging/dib/ImagingSettings.h"

#include <QDir>
#include <QStandardPaths>

namespace kv::imaging {

QString imagingSettingsFolder()
{
    const QString overridden = qEnvironmentVariable("KAVORIMETAS_IMAGING_SETTINGS");
    if (!overridden.isEmpty())
        return overridden;
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + QStringLiteral("/kavorimetas");
}

QString twainSettingsFile() { return imagingSettingsFolder() + QStringLiteral("/imgtwain.ini"); }

QString annotationSettingsFile() { return imagingSettingsFolder() + QStringLiteral("/img_anno.ini"); }

} // namespace kv::imaging

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringList>

namespace kv::imaging {
namespace {

QStringList fileLines(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return {};
    return QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'));
}

bool isSection(const QString& line, QString* name)
{
    const QString t = line.trimmed();
    if (!t.startsWith(QLatin1Char('[')) || !t.endsWith(QLatin1Char(']')))
        return false;
    *name = t.mid(1, t.size() - 2).trimmed();
    return true;
}

} // namespace

QList<std::pair<QString, QString>> iniSection(const QString& file, const QString& section)
{
    QList<std::pair<QString, QString>> entries;
    bool inside = false;
    for (const QString& line : fileLines(file)) {
        QString name;
        if (isSection(line, &name)) {
            inside = name.compare(section, Qt::CaseInsensitive) == 0;
            continue;
        }
        const qsizetype eq = line.indexOf(QLatin1Char('='));
        if (inside && eq > 0 && !line.trimmed().startsWith(QLatin1Char(';')))
            entries.append({line.left(eq).trimmed(), line.mid(eq + 1).trimmed()});
    }
    return entries;
}

QString iniValue(const QString& file, const QString& section, const QString& key)
{
    for (const auto& [name, value] : iniSection(file, section))
        if (name.compare(key, Qt::CaseInsensitive) == 0)
            return value;
    return {};
}

bool writeIniValue(const QString& file, const QString& section, const QString& key, const QString& value)
{
    QStringList lines = fileLines(file);
    while (!lines.isEmpty() && lines.last().trimmed().isEmpty())
        lines.removeLast();
    const QString entry = key + QLatin1Char('=') + value;
    qsizetype sectionAt = -1;
    qsizetype insertAt = -1;
    bool done = false;
    for (qsizetype i = 0; i < lines.size() && !done; ++i) {
        QString name;
        if (isSection(lines[i], &name)) {
            if (sectionAt >= 0)
                break;
            if (name.compare(section, Qt::CaseInsensitive) == 0)
                sectionAt = insertAt = i + 1;
            continue;
        }
        if (sectionAt < 0)
            continue;
        const qsizetype eq = lines[i].indexOf(QLatin1Char('='));
        if (eq > 0 && lines[i].left(eq).trimmed().compare(key, Qt::CaseInsensitive) == 0) {
            lines[i] = entry;
            done = true;
        } else if (!lines[i].trimmed().isEmpty()) {
            insertAt = i + 1;
        }
    }
    if (!done) {
        if (sectionAt < 0)
            lines << QLatin1Char('[') + section + QLatin1Char(']') << entry;
        else
            lines.insert(insertAt, entry);
    }
    QSaveFile out(file);
    if (!out.open(QIODevice::WriteOnly | QIODevice::Text))
        return false;
    out.write((lines.join(QLatin1Char('\n')) + QLatin1Char('\n')).toUtf8());
    return out.commit();
}

} // namespace kv::imaging
