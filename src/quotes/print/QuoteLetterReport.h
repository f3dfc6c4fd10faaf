#pragma once

#include "quotes/core/Letterhead.h"
#include "quotes/core/QuoteIssue.h"

#include "platform/report/Document.h"

#include <QString>

class QWidget;

namespace kv::report {
class Report;
}

namespace kv::quotes {

// Dresses the eight letterhead items (QRLogoDes1..8) of a report from the
// year's row: font, known colour, size (0: the default size) and a valid
// pair of style flags; an unknown colour or flag pair keeps the item's look.
// The text is the stored line, unchanged.
void applyLogoDes(kv::report::Report& report, const Letterhead& letterhead);

// The customer quote letter "Emissao de Orcamentos" of a layout: one A4
// page per queued copy, the letterhead at the top left (layout "T" with the
// company logo above it), the copy name at the top right, the quote, the
// quantities and prices, the conditions and the closing.
class QuoteLetterReport {
public:
    static const QString kTitle; // "Emissao de Orcamentos"
    // The report form of a layout: TORCFPR022QUAL, TORCFPR022MICRO, TORCFPR022CONT.
    static QString reportClass(LetterLayout layout);

    // `logoFile`: the local logo picture (layout "T"); empty or missing
    // leaves the logo area empty.
    QuoteLetterReport(const LetterPages& pages, const Letterhead& letterhead, LetterLayout layout, QString logoFile);

    kv::report::Document render() const;
    // Opens the preview (maximised, page width) and waits until it closes.
    void preview(QWidget* parent) const;

private:
    const LetterPages& m_pages;
    const Letterhead& m_letterhead;
    LetterLayout m_layout;
    QString m_logoFile;
};

} // namespace kv::quotes
