#pragma once

#include <QString>
#include <QStringList>

namespace kv::schema {

// Pictures 1 to 4 of each demo article ("<code>1.Bmp" .. "<code>4.Bmp") in
// the demo's picture folder: a closed box seen from two sides, the box open
// and its flat blank, drawn in a colour of the article's own. Files already
// there are left as they are. False when the folder cannot be written.
bool writeDemoPictures(const QString& folder, const QStringList& articleCodes);

} // namespace kv::schema
