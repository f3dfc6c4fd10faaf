#include "updater/core/UpdaterUtils.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include <curl/curl.h>
#include <sys/statvfs.h>

#include <cmath>

namespace kv::updater {

namespace {

bool isNumber(const QString& part, int& value)
{
    if (part.isEmpty())
        return false;
    for (QChar c : part)
        if (!c.isDigit() || c.unicode() > 127)
            return false;
    bool ok = false;
    value = part.toInt(&ok);
    return ok;
}

const char* const Weekdays[] = {"SUN", "MON", "TUE", "WED", "THU", "FRI", "SAT"};
const char* const Months[] = {"JAN", "FEB", "MAR", "APR", "MAY", "JUN", "JUL", "AUG", "SEP", "OCT", "NOV", "DEC"};

int monthOf(const QString& text)
{
    const QString upper = text.left(3).toUpper();
    for (int i = 0; i < 12; ++i)
        if (upper == QLatin1String(Months[i]))
            return i + 1;
    return 0;
}

bool isWeekday(const QString& text)
{
    const QString upper = text.left(3).toUpper();
    for (const char* day : Weekdays)
        if (upper == QLatin1String(day))
            return true;
    return false;
}

int numberOr(const QString& text, int fallback)
{
    int value = 0;
    return isNumber(text, value) ? value : fallback;
}

QString withSlash(QString folder)
{
    if (!folder.isEmpty() && !folder.endsWith(QLatin1Char('/')))
        folder += QLatin1Char('/');
    return folder;
}

} // namespace

QStringList SplitVersion(const QString& version)
{
    QStringList parts = (version + QLatin1Char('.')).split(QLatin1Char('.'));
    parts.removeLast(); // what follows the appended "."
    while (parts.size() < 4)
        parts << QStringLiteral("0");
    return parts.mid(0, 4);
}

int CompareVersions(const QString& a, const QString& b)
{
    const QStringList pa = SplitVersion(a);
    const QStringList pb = SplitVersion(b);
    for (int i = 0; i < 4; ++i) {
        int va = -1, vb = -1;
        if (!isNumber(pa[i], va) || !isNumber(pb[i], vb)) {
            const int c = QString::compare(a, b, Qt::CaseSensitive);
            return c > 0 ? 1 : c < 0 ? -1 : 0;
        }
        if (va != vb)
            return va > vb ? 1 : -1;
    }
    return 0;
}

QDateTime ParseHTTPDate(const QString& input)
{
    QString text = input.trimmed();
    if (text.isEmpty())
        return {};
    if (isWeekday(text)) {
        const int blank = text.indexOf(QLatin1Char(' '));
        if (blank < 0)
            return {};
        text = text.mid(blank).trimmed();
    }
    const int firstBlank = text.indexOf(QLatin1Char(' '));
    const int dash = text.indexOf(QLatin1Char('-'), 1);
    const bool dashed = dash > 0 && (firstBlank < 0 || dash < firstBlank);

    QStringList fields;
    if (dashed) {
        fields = text.left(firstBlank < 0 ? text.size() : firstBlank).split(QLatin1Char('-'));
        if (firstBlank >= 0)
            fields += text.mid(firstBlank).split(QLatin1Char(' '), Qt::SkipEmptyParts);
    } else {
        fields = text.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    }
    if (fields.size() < 3)
        return {};

    int month = 0, day = 1, next = 2;
    if (monthOf(fields[0]) && fields[0].size() >= 3 && !fields[0][0].isDigit()) {
        month = monthOf(fields[0]);
        day = numberOr(fields[1], 1);
    } else {
        day = numberOr(fields[0], 1);
        month = monthOf(fields[1]);
    }
    if (month == 0)
        return {};

    QString timeText;
    int year = 0;
    if (!isNumber(fields[next], year)) {
        timeText = fields[next++];
        if (next >= fields.size() || !isNumber(fields[next], year))
            return {};
    }
    ++next;
    if (year < 80)
        year += 2000;
    else if (year < 100)
        year += 1900;
    if (timeText.isEmpty() && next < fields.size() && fields[next].contains(QLatin1Char(':')))
        timeText = fields[next++];

    const QDate date(year, month, day);
    if (!date.isValid())
        return {};
    QTime time(0, 0);
    if (!timeText.isEmpty()) {
        const QStringList hms = timeText.split(QLatin1Char(':'));
        time = QTime(numberOr(hms.value(0), 0), numberOr(hms.value(1), 0), numberOr(hms.value(2), 0));
        if (!time.isValid())
            time = QTime(0, 0);
    }
    QDateTime result(date, time, Qt::UTC);
    const QString zone = fields.mid(next).join(QLatin1Char(' '));
    if (zone.size() > 4 && (zone[0] == QLatin1Char('+') || zone[0] == QLatin1Char('-'))) {
        const QString digits = zone.mid(1, 4);
        int hhmm = 0;
        if (isNumber(digits, hhmm)) {
            const int seconds = (hhmm / 100) * 3600 + (hhmm % 100) * 60;
            result = result.addSecs(zone[0] == QLatin1Char('+') ? -seconds : seconds);
        }
    }
    return result.toLocalTime();
}

QString WithScheme(const QString& url)
{
    return url.contains(QLatin1String("://")) ? url : QStringLiteral("http://") + url;
}

std::optional<CrackedURL> CrackURL(const QString& url)
{
    CURLU* handle = curl_url();
    if (!handle)
        return std::nullopt;
    std::optional<CrackedURL> result;
    const QByteArray text = WithScheme(url).toUtf8();
    if (curl_url_set(handle, CURLUPART_URL, text.constData(),
                     CURLU_NON_SUPPORT_SCHEME | CURLU_PATH_AS_IS | CURLU_ALLOW_SPACE)
        == CURLUE_OK) {
        auto part = [&](CURLUPart which, unsigned flags = CURLU_URLDECODE) {
            char* value = nullptr;
            QString out;
            if (curl_url_get(handle, which, &value, flags) == CURLUE_OK && value)
                out = QString::fromUtf8(value);
            curl_free(value);
            return out;
        };
        CrackedURL c;
        c.scheme = part(CURLUPART_SCHEME, 0);
        c.host = part(CURLUPART_HOST);
        c.user = part(CURLUPART_USER);
        c.password = part(CURLUPART_PASSWORD);
        c.path = part(CURLUPART_PATH);
        const QString query = part(CURLUPART_QUERY);
        c.extra = query.isEmpty() ? QString() : QStringLiteral("?") + query;
        c.port = part(CURLUPART_PORT, CURLU_DEFAULT_PORT).toInt();
        result = c;
    }
    curl_url_cleanup(handle);
    return result;
}

QString EncodeURLExtra(const QString& text)
{
    static const QByteArray reserved(" #%*+<>");
    QString out;
    for (unsigned char c : text.toUtf8()) {
        if (c < 32 || c >= 128 || reserved.contains(char(c)))
            out += QStringLiteral("%%1").arg(int(c), 2, 16, QLatin1Char('0')).toUpper();
        else
            out += QLatin1Char(char(c));
    }
    return out;
}

QString URLHostName(const QString& url)
{
    const auto cracked = CrackURL(url);
    return cracked ? cracked->host : QString();
}

QString URLFileName(const QString& url)
{
    const auto cracked = CrackURL(url);
    if (!cracked)
        return {};
    QString path = cracked->path;
    path.replace(QLatin1Char('\\'), QLatin1Char('/'));
    return path.mid(path.lastIndexOf(QLatin1Char('/')) + 1);
}

QString FileNameFromURL(const QString& url)
{
    QString text = url;
    text.replace(QLatin1Char('\\'), QLatin1Char('/'));
    const int cut = std::max(text.lastIndexOf(QLatin1Char('/')), text.lastIndexOf(QLatin1Char(':')));
    return text.mid(cut + 1);
}

int Percent(qint64 part, qint64 whole)
{
    if (whole == 0)
        return 0;
    const double value = std::round(double(part) * 100.0 / double(whole));
    if (!std::isfinite(value) || value < 0)
        return 0;
    return int(std::min(value, 255.0));
}

PathMacros::PathMacros(const QString& applicationFolder)
{
    const QString program = withSlash(applicationFolder);
    auto standard = [&](QStandardPaths::StandardLocation where) {
        const QString folder = QStandardPaths::writableLocation(where);
        return folder.isEmpty() ? program : withSlash(folder);
    };
    m_folders = {program,
                 standard(QStandardPaths::DesktopLocation),
                 standard(QStandardPaths::DocumentsLocation),
                 standard(QStandardPaths::PicturesLocation),
                 standard(QStandardPaths::AppDataLocation),
                 program, // %programfiles%
                 program, // %windows%
                 program, // %system%
                 TempFolder(program),
                 program, // %help%
                 program, // %media%
                 program}; // %cursors%
}

const std::array<const char*, PathMacros::Count>& PathMacros::names()
{
    static const std::array<const char*, Count> macros = {
        "%current%", "%desktop%", "%mydocuments%", "%mypictures%", "%appdata%", "%programfiles%",
        "%windows%", "%system%",  "%temp%",        "%help%",       "%media%",   "%cursors%"};
    return macros;
}

void PathMacros::setFolder(int index, const QString& folder) { m_folders.at(std::size_t(index)) = withSlash(folder); }

QString PathMacros::expand(const QString& path, bool makeAbsolute) const
{
    QString result = path;
    for (int i = 0; i < Count; ++i) {
        const QString macro = QLatin1String(names()[std::size_t(i)]);
        if (!result.contains(macro, Qt::CaseInsensitive))
            continue;
        // The folder ends in "/"; a separator written after the macro is kept once.
        QString folder = m_folders[std::size_t(i)];
        int at = 0;
        while ((at = result.indexOf(macro, at, Qt::CaseInsensitive)) >= 0) {
            int length = macro.size();
            if (at + length < result.size()
                && (result[at + length] == QLatin1Char('\\') || result[at + length] == QLatin1Char('/')))
                ++length;
            result.replace(at, length, folder);
            at += folder.size();
        }
    }
    result.replace(QLatin1Char('\\'), QLatin1Char('/'));
    if (makeAbsolute && !result.isEmpty() && !QDir::isAbsolutePath(result))
        result = m_folders[0] + result;
    return result;
}

QString TempFolder(const QString& fallback)
{
    const QString temp = QDir::tempPath();
    return QFileInfo(temp).isDir() ? withSlash(temp) : withSlash(fallback);
}

bool ForceFolders(const QString& fileName)
{
    const QString folder = QFileInfo(fileName).absolutePath();
    return QFileInfo(folder).isDir() || QDir().mkpath(folder);
}

bool FolderAllowsPrograms(const QString& folder)
{
    struct statvfs info {};
    if (statvfs(QFile::encodeName(folder).constData(), &info) != 0)
        return false;
    return (info.f_flag & ST_NOEXEC) == 0;
}

} // namespace kv::updater
