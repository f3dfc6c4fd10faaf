#pragma once

#include <QString>

namespace kv::install {
class Installation;
}

namespace kv::quotes {

// Local path of picture `index` (1 to 4) of an article: the picture folder
// as stored (`PATHFOTO`), a backslash, the code, the digit and ".Bmp",
// through the installation's drive map, whose names match the files on disk
// without regard to case. An empty code has no pictures: looking for "1.Bmp"
// would show a picture that belongs to no article.
QString articlePicturePath(const kv::install::Installation& installation, const QString& pathFoto,
                           const QString& articleCode, int index);

} // namespace kv::quotes
