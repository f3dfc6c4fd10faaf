#pragma once

#include <QString>
#include <optional>

namespace kv::install {
class Installation;
}

namespace kv::customers {

// The picture files of one article: picture n (1 to 4) is the picture
// folder of the working year (`PATHFOTO`, a stored Windows path), the
// article code, the digit and ".Bmp". A file is found as the picture control
// finds it (the drive map, then the name without regard to case); a new one
// is written as ".Bmp". A code holding a path separator names no file, so a
// name built from a code never leaves the folder.
class ArticlePictureFiles {
public:
    ArticlePictureFiles(const kv::install::Installation* installation, QString storedFolder, QString code);

    // A code that may name a file of its own: not empty, no path separator
    // and no drive.
    static bool codeNamesFile(const QString& code);

    bool hasFolder() const { return !m_storedFolder.trimmed().isEmpty(); }
    bool hasCode() const { return codeNamesFile(m_code); }

    // The local file of picture n, whatever the letter case on disk; empty
    // without a folder or a code.
    QString path(int n) const;
    // The file of picture n when it exists.
    QString existing(int n) const;
    // Which picture of this article `localPath` is (1 to 4), or 0.
    int pictureNumber(const QString& localPath) const;

    // Makes `source` picture n, replacing a file already there; the message
    // of what failed otherwise (nothing of the old picture lost).
    std::optional<QString> import(const QString& source, int n) const;
    // Deletes `localPath` when it is one of this article's four pictures and
    // exists; false otherwise.
    bool remove(const QString& localPath) const;

private:
    QString localFolder() const;

    const kv::install::Installation* m_installation;
    QString m_storedFolder;
    QString m_code;
};

} // namespace kv::customers
