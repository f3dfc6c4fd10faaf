#pragma once

#include <QByteArray>

class QTextDocument;

namespace kv::rtf {

// Writes a document as RTF the way the common Windows editors read it:
// ANSI code page 1252 with "\'hh" escapes, "\uN?" for characters outside it,
// a font table and a colour table, and bullets as "\pn" paragraph numbering
// with its "\pntext" fallback.
class RtfWriter {
public:
    static QByteArray write(const QTextDocument& document);
};

} // namespace kv::rtf
