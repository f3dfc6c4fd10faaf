#pragma once

#include <QString>

class QTextDocument;

namespace kv::rtf {

// A notes file on disk: loaded as RTF when it is RTF, otherwise as plain
// text (UTF-8 when it decodes as such, else Windows-1252, the encoding the
// older workstations wrote); saved always as RTF, through a temporary file
// so that a failed write never leaves half a file behind.
class NotesText {
public:
    // Throws std::runtime_error with a Portuguese message when the file
    // cannot be read.
    static void load(const QString& path, QTextDocument& document);
    // Throws std::runtime_error with a Portuguese message when the file
    // cannot be written; the old file is then kept.
    static void save(const QString& path, const QTextDocument& document);
    // Plain text as the loader decodes it.
    static QString decodePlainText(const QByteArray& data);
};

} // namespace kv::rtf
