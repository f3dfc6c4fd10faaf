#include "quotes/core/ArticlePictures.h"

#include "platform/install/Installation.h"

namespace kv::quotes {

QString articlePicturePath(const kv::install::Installation& installation, const QString& pathFoto,
                           const QString& articleCode, int index)
{
    if (articleCode.trimmed().isEmpty())
        return {};
    return installation.mapWindowsPath(pathFoto + QLatin1Char('\\') + articleCode + QString::number(index)
                                       + QStringLiteral(".Bmp"));
}

} // namespace kv::quotes
