#pragma once

#include <QByteArray>

class QTextDocument;

namespace kv::rtf {

// Reads RTF into a document: font and colour tables, font, size, bold,
// italic, underline, colour, paragraph alignment, indents and bullets (both
// the older "\pn" paragraph numbering and list references). Text in a
// code page ("\'hh") is decoded by the code page of the document or of the
// run's font; "\uN" takes the character and skips its fallback. Groups the
// reader does not know that are marked optional ("\*") or hold no text
// (pictures, style sheets, document information) are skipped.
class RtfReader {
public:
    // RTF measures indents in twips; the document keeps them in points.
    static constexpr double TwipsPerPoint = 20.0;

    // Replaces the document's content. False when the data is not RTF
    // (no "{\rtf" at its start); the document is then left as it was.
    static bool read(const QByteArray& data, QTextDocument& document);
    static bool isRtf(const QByteArray& data);
};

} // namespace kv::rtf
