#pragma once

#include <QFont>
#include <QString>

namespace kv::report {

// Layouts name Windows fonts ("Arial", "Comic Sans MS", the fonts of the
// letterhead rows). Each is printed with an installed font of the same
// metrics, so that texts keep the widths the layouts were drawn for:
// Arial -> Liberation Sans, Arial Narrow -> Liberation Sans Narrow,
// Times New Roman -> Liberation Serif, Courier New -> Liberation Mono,
// Comic Sans MS -> Comic Neue. Other names are left to the platform's
// own substitution.
class FontMap {
public:
    static QString family(const QString& family); // without regard to case
    static QFont map(const QFont& font);
    // Registers the substitutions with Qt once, for widgets that show
    // layout fonts (the preview's own texts, forms).
    static void install();
};

} // namespace kv::report
