#pragma once

#include <QRectF>
#include <QString>

namespace kv::report {
class Band;
class Report;
} // namespace kv::report
namespace kv::quotes {
struct Letterhead;
}

namespace kv::production {

// What the supplier documents' prints share: a text in a drawn rectangle,
// and the eight letterhead lines at the top left of a page header.
void boxedText(kv::report::Band& band, const QString& text, const QRectF& rectMm, const QString& name = {},
               bool bold = false);
void addLetterheadLines(kv::report::Band& band);

} // namespace kv::production
