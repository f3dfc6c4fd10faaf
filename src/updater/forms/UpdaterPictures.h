#pragma once

#include <QPixmap>

namespace kv::updater {

// The updater's own pictures, drawn rather than shipped.
class UpdaterPictures {
public:
    static QPixmap icon(); // 32 x 32, the question and credentials windows
    static QPixmap wizard(); // 118 x 218, the download wizard's side panel
};

} // namespace kv::updater
