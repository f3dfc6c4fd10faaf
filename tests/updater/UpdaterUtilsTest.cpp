#include "updater/core/UpdateInfo.h"
#include "updater/core/UpdaterMessages.h"
#include "updater/core/UpdaterUtils.h"

#include <gtest/gtest.h>

using namespace kv::updater;

TEST(UpdaterUtils, CompareVersions)
{
    struct Case {
        const char* a;
        const char* b;
        int expected;
    };
    const Case cases[] = {
        {"01.006", "01.002", 1}, {"01.002", "01.006", -1},    {"1.6", "01.006", 0},
        {"2", "1.9.9.9", 1},     {"1.2.3.4.5", "1.2.3.4", 0}, // text after the fourth part is ignored
        {"1.2b", "1.10", 1}, // not numbers: the texts ("1.2b" > "1.10")
        {"", "01.002", -1}, // an empty announcement is never newer
        {"01.0", "01.002", -1}, // a value cut short by a missing final line break
    };
    for (const Case& c : cases)
        EXPECT_EQ(CompareVersions(QString::fromLatin1(c.a), QString::fromLatin1(c.b)), c.expected)
            << c.a << " vs " << c.b;
}

TEST(UpdaterUtils, ParseHTTPDate)
{
    const QDateTime reference(QDate(1994, 11, 6), QTime(8, 49, 37), Qt::UTC);
    struct Case {
        const char* text;
        QDateTime utc;
    };
    const Case cases[] = {
        {"Sun, 06 Nov 1994 08:49:37 GMT", reference},
        {"Sunday, 06-Nov-94 08:49:37 GMT", reference},
        {"06-Nov-94 08:49:37 GMT", reference},
        {"Sun Nov  6 08:49:37 1994", reference},
        {"Sun, 06 Nov 1994 08:49:37 +0100", reference.addSecs(-3600)},
        {"Sun, 06 Nov 1994 08:49:37 -0230", reference.addSecs(9000)},
        {"Thu, 01 Jan 2015 00:00:00 GMT", QDateTime(QDate(2015, 1, 1), QTime(0, 0), Qt::UTC)},
        {"", QDateTime()},
        {"not a date", QDateTime()},
        {"Sun, 31 Feb 1994 08:49:37 GMT", QDateTime()},
    };
    for (const Case& c : cases) {
        const QDateTime parsed = ParseHTTPDate(QString::fromLatin1(c.text));
        EXPECT_EQ(parsed.isValid(), c.utc.isValid()) << c.text;
        if (c.utc.isValid()) {
            EXPECT_EQ(parsed.toUTC(), c.utc) << c.text;
            EXPECT_EQ(parsed.timeSpec(), Qt::LocalTime) << c.text;
        }
    }
}

TEST(UpdaterUtils, UrlsAndFileNames)
{
    EXPECT_EQ(EncodeURLExtra(QStringLiteral("?a=1 2")), QStringLiteral("?a=1%202"));
    EXPECT_EQ(EncodeURLExtra(QStringLiteral("?x=#%*+<>é")), QStringLiteral("?x=%23%25%2A%2B%3C%3E%C3%A9"));
    struct Case {
        const char* url;
        const char* host;
        const char* urlFile;
        const char* fileFromUrl;
    };
    const Case cases[] = {
        {"http://host/dir/setup.exe", "host", "setup.exe", "setup.exe"},
        {"host:8080/dir/a.dll", "host", "a.dll", "a.dll"}, // no scheme: http
        {"https://h/a%20b.txt?x=1", "h", "a b.txt", "a%20b.txt?x=1"},
        {"http://h/", "h", "", ""},
    };
    for (const Case& c : cases) {
        const QString url = QString::fromLatin1(c.url);
        EXPECT_EQ(URLHostName(url), QLatin1String(c.host)) << c.url;
        EXPECT_EQ(URLFileName(url), QLatin1String(c.urlFile)) << c.url;
        EXPECT_EQ(FileNameFromURL(url), QLatin1String(c.fileFromUrl)) << c.url;
    }
    const auto cracked = CrackURL(QStringLiteral("http://me:secret@h:81/p/f.txt?q=1"));
    ASSERT_TRUE(cracked);
    EXPECT_EQ(cracked->user, QStringLiteral("me"));
    EXPECT_EQ(cracked->password, QStringLiteral("secret"));
    EXPECT_EQ(cracked->port, 81);
    EXPECT_EQ(cracked->path, QStringLiteral("/p/f.txt"));
    EXPECT_EQ(cracked->extra, QStringLiteral("?q=1"));
}

TEST(UpdaterUtils, Percent)
{
    struct Case {
        qint64 part, whole;
        int expected;
    };
    const Case cases[] = {{0, 0, 0}, {5, 0, 0}, {1, 3, 33}, {2, 3, 67}, {100, 100, 100}, {-1, 10, 0}};
    for (const Case& c : cases)
        EXPECT_EQ(Percent(c.part, c.whole), c.expected) << c.part << "/" << c.whole;
}

TEST(UpdaterUtils, PathMacros)
{
    PathMacros macros(QStringLiteral("/opt/kv"));
    macros.setFolder(8, QStringLiteral("/tmp/t"));
    struct Case {
        const char* path;
        bool absolute;
        const char* expected;
    };
    const Case cases[] = {
        {"%TEMP%\\setup.exe", true, "/tmp/t/setup.exe"},
        {"%current%\\lib\\a.dll", true, "/opt/kv/lib/a.dll"},
        {"bin\\x.dll", true, "/opt/kv/bin/x.dll"},
        {"bin\\x.dll", false, "bin/x.dll"},
        {"/srv/x.dll", true, "/srv/x.dll"},
        {"%ProgramFiles%\\a.txt", true, "/opt/kv/a.txt"}, // Windows folders: the program folder
    };
    for (const Case& c : cases)
        EXPECT_EQ(macros.expand(QString::fromLatin1(c.path), c.absolute), QLatin1String(c.expected)) << c.path;
}

TEST(UpdaterUtils, InformationFile)
{
    struct Case {
        const char* text;
        const char* version;
        QStringList files;
    };
    // Files written with CR LF line breaks, as the server keeps them.
    const Case cases[] = {
        {"#VERSION=01.006\r\n#url=http://h/a\r\n", "01.006", {"http://h/a"}},
        {"#url=http://h/a\r\n#version=01.006", "01.0", {"http://h/a"}}, // no final line break
        {"#url0=a\r\n#url1=b\r\n", "", {"a"}}, // numbering goes on at url2
        {"#url1=a\r\n#url2=b\r\n", "", {"a", "b"}},
        {"#url=a\r\n#url0=b\r\n#url3=c\r\n#url4=d\r\n", "", {"a", "b", "c", "d"}},
        {"#url1=a\r\n#url2=A\r\n#url3=c\r\n", "", {"a", "c"}}, // duplicates once
        {"#url=http://h/x.dll=%current%\\x.dll\r\n", "", {"http://h/x.dll=%current%\\x.dll"}},
        {"text #Version=2.0 inside a line\r\n", "2.0 inside a line", {}},
    };
    for (const Case& c : cases) {
        const UpdateInfo info(QString::fromUtf8(c.text));
        EXPECT_EQ(info.version(), QLatin1String(c.version)) << c.text;
        const TupStringList list = info.files();
        QStringList entries;
        for (int i = 0; i < list.Count(); ++i)
            entries << list.at(i);
        EXPECT_EQ(entries, c.files) << c.text;
    }

    const UpdateInfo braces(QStringLiteral("#message={Line 1\r\nLine 2}\r\n#method=1\r\n"));
    EXPECT_EQ(braces.message(), QStringLiteral("Line 1\r\nLine 2"));
    EXPECT_EQ(braces.method(), UpgradeMethod::UseExternalSetup);
    EXPECT_EQ(UpdateInfo(QStringLiteral("#method=2\r\n")).method(), UpgradeMethod::RedirectToURL);
    EXPECT_EQ(UpdateInfo(QStringLiteral("#method=x\r\n")).method(), UpgradeMethod::SelfUpgrade);

    const QDate today(2026, 12, 10);
    EXPECT_EQ(UpdateInfo(QStringLiteral("#date=08/30/2008\r\n")).date(today), QDate(2008, 8, 30));
    EXPECT_EQ(UpdateInfo(QStringLiteral("#date=13/45/2009\r\n")).date(today), today);
    EXPECT_EQ(UpdateInfo(QStringLiteral("#version=1\r\n")).date(today), today);
}

TEST(UpdaterMessages, LanguageFollowsTheSystem)
{
    struct Case {
        QLocale locale;
        int language;
        const char* yes;
    };
    const Case cases[] = {
        {QLocale(QLocale::Portuguese, QLocale::Portugal), UpdaterMessages::Portuguese, "&Sim"},
        {QLocale(QLocale::Portuguese, QLocale::Brazil), UpdaterMessages::PortugueseBrazilian, "&Sim"},
        {QLocale(QLocale::German, QLocale::Germany), 3, "&Yes"}, // in the table, texts in English
        {QLocale(QLocale::Japanese, QLocale::Japan), UpdaterMessages::English, "&Yes"},
    };
    for (const Case& c : cases) {
        const UpdaterMessages messages(UpdaterMessages::chooseLanguage(c.locale));
        EXPECT_EQ(messages.language(), c.language) << c.locale.name().toStdString();
        EXPECT_EQ(messages.text(14), QString::fromUtf8(c.yes));
    }
    const UpdaterMessages pt(UpdaterMessages::Portuguese);
    EXPECT_EQ(pt.format(23, QStringLiteral("Kavorimetas"), QString()),
              QStringLiteral("Existe uma nova versão do Kavorimetas.\n\nDeseja actualizar a nova versão?"));
    EXPECT_EQ(pt.timeLeft(3725), QStringLiteral("Tempo estimado: 1:02:05"));
    EXPECT_EQ(pt.format(6, 1.5), QStringLiteral("Tamanho do ficheiro: 1.5 Kb"));
}
