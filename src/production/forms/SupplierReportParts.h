#pragma once

#include "platform/report/Document.h"

#include <QRectF>
#include <QString>
#include <memory>
#include <vector>

class QWidget;

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
// The runs of a print (one per document, each numbering its own pages) as
// one document.
kv::report::Document renderRuns(const std::vector<std::unique_ptr<kv::report::Report>>& runs);
// Opens the preview of a print and waits until it closes.
void previewPrint(kv::report::Document document, const QString& caption, QWidget* parent);

} // namespace kv::production
