#include "platform/notes/NotesFolder.h"

#include "platform/install/Installation.h"

#include <QDir>
#include <QFile>

namespace kv::notes {

QString NotesFolder::localFolder(const kv::install::Installation* installation, const QString& storedFolder)
{
    const QString folder = storedFolder.trimmed();
    if (folder.isEmpty())
        return {};
    if (installation)
        return installation->mapWindowsPath(folder);
    return QDir::fromNativeSeparators(QString(folder).replace(u'\\', u'/'));
}

QString NotesFolder::filePath(const QString& folder, const QString& fileName)
{
    const QDir dir(folder);
    if (dir.exists(fileName))
        return dir.filePath(fileName);
    const QStringList files = dir.entryList(QDir::Files | QDir::Hidden);
    for (const QString& file : files) {
        if (file.compare(fileName, Qt::CaseInsensitive) == 0)
            return dir.filePath(file);
    }
    return dir.filePath(fileName);
}

bool NotesFolder::remove(const QString& folder, const QString& fileName)
{
    if (folder.isEmpty())
        return false;
    const QString path = filePath(folder, fileName);
    return QFile::exists(path) && QFile::remove(path);
}

} // namespace kv::notes
