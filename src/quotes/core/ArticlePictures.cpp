#include "quotes/core/ArticlePictures.h"

#include "platform/install/Installation.h"

#include <QFileInfo>

namespace kv::quotes {

QString articlePicturePath(const kv::install::Installation& installation, const QString& pathFoto,
                           const QString& articleCode, int index)
{
    const QString code = articleCode.trimmed();
    const QString folder = pathFoto.trimmed();
    if (code.isEmpty() || folder.isEmpty())
        return {};
    QString windowsPath = folder;
    if (!windowsPath.endsWith(QLatin1Char('\\')) && !windowsPath.endsWith(QLatin1Char('/')))
        windowsPath += QLatin1Char('\\');
    windowsPath += code + QString::number(index) + QStringLiteral(".Bmp");
    const QString local = installation.mapWindowsPath(windowsPath);
    if (local.isEmpty() || !QFileInfo(local).isFile())
        return {};
    return local;
}

} // namespace kv::quotes
