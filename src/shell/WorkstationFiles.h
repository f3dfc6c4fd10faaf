#pragma once

#include <QString>

namespace kv::shell {

// What the two workstation files say, or why the program must stop.
struct WorkstationReading {
    QString name; // up to 30 characters
    QString type; // one character
    QString stopMessage; // empty when both files were read
    bool ok() const { return stopMessage.isEmpty(); }
};

// Reads the workstation name and type. Each line of a file gives a value (the
// first 30 characters of the name file's line, the first character of the type
// file's line) and the last line wins. An empty line, or a file that is missing,
// unreadable or has no line, leaves the workstation unidentified: the program
// shows the message and ends.
class WorkstationFiles {
public:
    static WorkstationReading read(const QString& nameFile, const QString& typeFile);

    static constexpr int NameLength = 30;
    static QString nameMessage();
    static QString typeMessage();
};

} // namespace kv::shell
