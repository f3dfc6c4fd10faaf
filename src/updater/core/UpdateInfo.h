#pragma once

#include "updater/core/TupStringList.h"

#include <QByteArray>
#include <QDate>
#include <QString>

namespace kv::updater {

enum class UpgradeMethod { SelfUpgrade = 0, UseExternalSetup = 1, RedirectToURL = 2 };

// The update information file: "#key=value" entries anywhere in the text,
// keys without regard to case. The last two characters of the file never
// belong to a value, so a file must end with a line break.
class UpdateInfo {
public:
    explicit UpdateInfo(const QByteArray& bytes);
    explicit UpdateInfo(QString text) : m_text(std::move(text)) {}

    // The value of the first "key=" (or "key={" in brace mode) up to the first
    // control character (in brace mode up to the first "}", line breaks kept).
    QString ReadInfoKey(const QString& key, bool braces = false) const;

    QString version() const { return ReadInfoKey(QStringLiteral("#version")); }
    // "#date" as MM/DD/YYYY; today when missing or unreadable.
    QDate date(const QDate& today = QDate::currentDate()) const;
    QString message() const { return ReadInfoKey(QStringLiteral("#message"), true); }
    UpgradeMethod method() const;
    // "#url", "#url0", then the numbered keys from (entries so far + 1) on.
    TupStringList files() const;

    // MM/DD/YYYY, today when unreadable.
    static QDate readDate(const QString& text, const QDate& today = QDate::currentDate());

private:
    QString m_text;
};

} // namespace kv::updater
