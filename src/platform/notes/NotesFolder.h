#pragma once

#include <QString>

namespace kv::install {
class Installation;
}

namespace kv::notes {

// Where a record's notes file lives: the folder the year's parameters name
// (a Windows path, mapped through the installation's drive table) and the
// file name, matched without regard to case against the files on disk so
// that "CLI45.Rtf" finds the "cli45.rtf" another workstation wrote.
class NotesFolder {
public:
    // Local folder of a stored folder path; empty when none is set or it
    // maps to nothing.
    static QString localFolder(const kv::install::Installation* installation, const QString& storedFolder);
    // The existing file of that name in the folder, whatever its letter case;
    // the folder and the name as given when there is none.
    static QString filePath(const QString& folder, const QString& fileName);
    // Deletes the record's notes file when the folder is set and the file
    // exists; true when a file was deleted.
    static bool remove(const QString& folder, const QString& fileName);
};

} // namespace kv::notes
