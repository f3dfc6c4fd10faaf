#pragma once

#include <QColor>

namespace kv::ui {

// The colours every form shares.
inline QColor formColour() { return QColor(175, 202, 228); }
inline QColor editingLabelColour() { return QColor(255, 255, 128); } // light yellow

} // namespace kv::ui
