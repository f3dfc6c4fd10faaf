#pragma once

#include <QLocale>
#include <QString>

namespace kv::updater {

// The updater speaks the language of the system it runs on, not the
// program's: Portuguese texts on Portuguese (and Brazilian) systems, English
// elsewhere. Messages are numbered 0-30.
class UpdaterMessages {
public:
    enum Language { Auto = 0, English = 1, Portuguese = 6, PortugueseBrazilian = 7 };

    // Picks the language from the locale's language and territory; any
    // language outside the table gives English.
    static int chooseLanguage(const QLocale& locale = QLocale::system());

    explicit UpdaterMessages(int language = chooseLanguage()) : m_language(language) {}
    int language() const { return m_language; }
    void setLanguage(int language) { m_language = language == Auto ? chooseLanguage() : language; }

    QString text(int number) const;
    // The message with its %s, %d and %.1f filled in order.
    template <typename... Args>
    QString format(int number, const Args&... args) const
    {
        return fill(text(number).toUtf8(), hold(args)...);
    }

    // The estimated time left as message 8 (hours, minutes, seconds).
    QString timeLeft(qint64 seconds) const
    {
        return format(8, int(seconds / 3600), int((seconds / 60) % 60), int(seconds % 60));
    }

private:
    // Texts become UTF-8 bytes held for the length of the call.
    static int hold(int v) { return v; }
    static double hold(double v) { return v; }
    static QByteArray hold(const QString& v) { return v.toUtf8(); }
    static int pass(int v) { return v; }
    static double pass(double v) { return v; }
    static const char* pass(const QByteArray& v) { return v.constData(); }
    template <typename... Held>
    static QString fill(const QByteArray& pattern, const Held&... held)
    {
        return QString::asprintf(pattern.constData(), pass(held)...);
    }

    int m_language;
};

} // namespace kv::updater
