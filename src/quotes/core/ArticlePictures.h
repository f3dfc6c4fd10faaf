#pragma once

#include <QString>

namespace kv::install {
class Installation;
}

namespace kv::quotes {

// The local file of an article's picture `index` (1 to 4): the pictures
// folder of the working year (`PATHFOTO`, a Windows path), the article code,
// the digit and ".Bmp", found through the installation's drive map without
// regard to case. Empty when the code is empty or no such file exists.
QString articlePicturePath(const kv::install::Installation& installation, const QString& pathFoto,
                           const QString& articleCode, int index);

} // namespace kv::quotes
