#include "updater/core/UpdateInfo.h"

#include <QStringDecoder>

namespace kv::updater {

UpdateInfo::UpdateInfo(const QByteArray& bytes)
{
    // Written by hand on the server: UTF-8 as a rule, Latin-1 from older editors.
    QStringDecoder utf8(QStringDecoder::Utf8);
    m_text = utf8.decode(bytes);
    if (utf8.hasError())
        m_text = QString::fromLatin1(bytes);
}

QString UpdateInfo::ReadInfoKey(const QString& key, bool braces) const
{
    QString searched = key.toLower() + QLatin1Char('=');
    if (braces)
        searched += QLatin1Char('{');
    const int found = m_text.toLower().indexOf(searched);
    if (found < 0)
        return {};
    const int start = found + int(searched.size());
    const int end = int(m_text.size()) - 2;
    if (end <= start)
        return {};
    QString value = m_text.mid(start, end - start);
    for (int i = 0; i < value.size(); ++i) {
        const QChar c = value[i];
        if (braces ? c == QLatin1Char('}') : c.unicode() < 32) {
            value.truncate(i);
            break;
        }
    }
    return value;
}

QDate UpdateInfo::readDate(const QString& text, const QDate& today)
{
    const QStringList parts = text.split(QLatin1Char('/'));
    if (parts.size() != 3)
        return today;
    bool okMonth = false, okDay = false, okYear = false;
    const QDate date(parts[2].trimmed().toInt(&okYear), parts[0].trimmed().toInt(&okMonth),
                     parts[1].trimmed().toInt(&okDay));
    return okMonth && okDay && okYear && date.isValid() ? date : today;
}

QDate UpdateInfo::date(const QDate& today) const { return readDate(ReadInfoKey(QStringLiteral("#date")), today); }

UpgradeMethod UpdateInfo::method() const
{
    const QString value = ReadInfoKey(QStringLiteral("#method"));
    if (value.startsWith(QLatin1Char('1')))
        return UpgradeMethod::UseExternalSetup;
    if (value.startsWith(QLatin1Char('2')))
        return UpgradeMethod::RedirectToURL;
    return UpgradeMethod::SelfUpgrade;
}

TupStringList UpdateInfo::files() const
{
    TupStringList list;
    for (const char* key : {"#url", "#url0"}) {
        const QString value = ReadInfoKey(QLatin1String(key));
        if (!value.isEmpty())
            list.Add(value);
    }
    for (int n = list.Count() + 1;; ++n) {
        const QString value = ReadInfoKey(QStringLiteral("#url%1").arg(n));
        if (value.isEmpty())
            break;
        list.Add(value);
    }
    return list;
}

} // namespace kv::updater
