#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>

#include <array>
#include <optional>

namespace kv::updater {

// Version texts of up to four dot-separated numbers: the text with "." added,
// cut at each "." into four parts; parts beyond the text read "0".
QStringList SplitVersion(const QString& version);
// 1 when a is newer, -1 when older, 0 when equal part by part. When a part of
// either is not a number the whole texts are compared (case-sensitive).
int CompareVersions(const QString& a, const QString& b);

// The three HTTP date forms (RFC 1123, RFC 850 and the C library's), with an
// optional +hhmm/-hhmm zone; an invalid QDateTime for an empty or unreadable
// text. The result is in local time.
QDateTime ParseHTTPDate(const QString& text);

struct CrackedURL {
    QString scheme, host, user, password, path, extra;
    int port = 0;
};
// "http://" is put in front when the URL has no "://"; escapes are decoded.
std::optional<CrackedURL> CrackURL(const QString& url);
// Blanks, "#", "%", "*", "+", "<", ">", control and non-ASCII bytes become %XX.
QString EncodeURLExtra(const QString& text);
QString WithScheme(const QString& url);
QString URLHostName(const QString& url);
// The last element of the URL's path.
QString URLFileName(const QString& url);
// The whole URL's text after its last slash, backslash or colon.
QString FileNameFromURL(const QString& url);

// round(part x 100 / whole), 0 when whole is 0.
int Percent(qint64 part, qint64 whole);

// The folders the information file's path macros stand for, each with a
// trailing "/". The program folder stands in for the Windows-only folders.
class PathMacros {
public:
    static constexpr int Count = 12;
    explicit PathMacros(const QString& applicationFolder);
    static const std::array<const char*, Count>& names();
    QString folder(int index) const { return m_folders.at(std::size_t(index)); }
    void setFolder(int index, const QString& folder);
    // Every macro replaced (without regard to case), backslashes turned into
    // "/", and, with makeAbsolute, a relative result put under the program folder.
    QString expand(const QString& path, bool makeAbsolute) const;

private:
    std::array<QString, Count> m_folders;
};

// The platform's temporary folder with a trailing "/"; the fallback when it is missing.
QString TempFolder(const QString& fallback);
// Creates every folder along the file's path; false when one cannot be made.
bool ForceFolders(const QString& fileName);
// Whether programs may be run from the folder (a file system mounted noexec forbids it).
bool FolderAllowsPrograms(const QString& folder);

} // namespace kv::updater
