#include "customers/articles/ArticlePictureFiles.h"

#include "platform/install/Installation.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace kv::customers {

ArticlePictureFiles::ArticlePictureFiles(const kv::install::Installation* installation, QString storedFolder,
                                         QString code)
    : m_installation(installation), m_storedFolder(std::move(storedFolder)), m_code(std::move(code))
{
}

bool ArticlePictureFiles::codeNamesFile(const QString& code)
{
    if (code.trimmed().isEmpty())
        return false;
    for (const QChar c : code)
        if (c == QLatin1Char('/') || c == QLatin1Char('\\') || c == QLatin1Char(':') || c.unicode() < 32)
            return false;
    return true;
}

QString ArticlePictureFiles::localFolder() const
{
    const QString folder = m_storedFolder.trimmed();
    if (folder.isEmpty())
        return {};
    if (m_installation)
        return m_installation->mapWindowsPath(folder);
    return QString(folder).replace(QLatin1Char('\\'), QLatin1Char('/'));
}

QString ArticlePictureFiles::path(int n) const
{
    if (n < 1 || n > 4 || !hasCode())
        return {};
    const QString folder = localFolder();
    if (folder.isEmpty())
        return {};
    const QString name = m_code + QString::number(n) + QStringLiteral(".Bmp");
    const QDir dir(folder);
    if (!dir.exists(name))
        for (const QString& file : dir.entryList(QDir::Files | QDir::Hidden))
            if (file.compare(name, Qt::CaseInsensitive) == 0)
                return dir.filePath(file);
    return dir.filePath(name);
}

QString ArticlePictureFiles::existing(int n) const
{
    const QString file = path(n);
    return !file.isEmpty() && QFileInfo(file).isFile() ? file : QString();
}

int ArticlePictureFiles::pictureNumber(const QString& localPath) const
{
    if (localPath.isEmpty())
        return 0;
    const QString wanted = QFileInfo(localPath).absoluteFilePath();
    for (int n = 1; n <= 4; ++n) {
        const QString file = path(n);
        if (!file.isEmpty() && QFileInfo(file).absoluteFilePath() == wanted)
            return n;
    }
    return 0;
}

std::optional<QString> ArticlePictureFiles::import(const QString& source, int n) const
{
    const QString target = path(n);
    if (target.isEmpty())
        return QStringLiteral("O ARTIGO AINDA NÃO FOI REFERENCIADO ...");
    QFile in(source);
    if (!in.open(QIODevice::ReadOnly))
        return QStringLiteral("Não foi possível ler o ficheiro \"%1\": %2")
            .arg(QDir::toNativeSeparators(source), in.errorString());
    // Written beside the target and moved over it once complete: a copy that
    // fails halfway leaves the old picture as it was.
    QSaveFile out(target);
    if (!out.open(QIODevice::WriteOnly) || out.write(in.readAll()) < 0 || !out.commit())
        return QStringLiteral("Não foi possível gravar a fotografia \"%1\": %2")
            .arg(QDir::toNativeSeparators(target), out.errorString());
    return std::nullopt;
}

bool ArticlePictureFiles::remove(const QString& localPath) const
{
    if (pictureNumber(localPath) == 0 || !QFileInfo(localPath).isFile())
        return false;
    return QFile::remove(localPath);
}

} // namespace kv::customers
