#include "updater/core/TupAutoUpdater.h"
#include "updater/forms/MainProgramUpdater.h"

#include "updater/LocalHttpServer.h"
#include "updater/UpdaterTestApp.h"

#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace kv::updater;
using kv::test::LocalHttpServer;
using R = kv::test::LocalHttpServer::Response;

namespace {

// Records what the updater shows and answers from the test's script.
class FakeView final : public UpdaterView {
public:
    QStringList shown;
    bool answerUpgrade = true;
    bool answerQuestion = false;
    bool answerPassword = true;
    bool abortAtFinish = false;
    bool closed = false;

    void message(Icon, const QString& text, const QString& caption) override
    {
        shown << QStringLiteral("message [%1] %2").arg(caption, text);
    }
    bool question(Icon, const QString& text, const QString& caption) override
    {
        shown << QStringLiteral("question [%1] %2").arg(caption, text);
        return answerQuestion;
    }
    bool askUpgrade(TupAutoUpdater&, const QString& text) override
    {
        shown << QStringLiteral("upgrade? %1").arg(text);
        return answerUpgrade;
    }
    bool askPassword(TupAutoUpdater& updater, const QString& text) override
    {
        shown << QStringLiteral("password? %1").arg(text);
        updater.HTTPUsername = QStringLiteral("ana");
        updater.HTTPPassword = QStringLiteral("pw");
        return answerPassword;
    }
    void showWizard(TupAutoUpdater& updater) override
    {
        m_updater = &updater;
        shown << QStringLiteral("wizard");
    }
    void wizardFile(const QString&, const QString& counter) override { shown << counter; }
    void wizardSize(const QString&) override {}
    void wizardProgress(const TupProgress&, int) override {}
    void wizardFinished() override
    {
        shown << QStringLiteral("finished");
        m_updater->wizardClosed(abortAtFinish);
    }
    void closeWizard() override { shown << QStringLiteral("wizard closed"); }
    void openURL(const QString& url) override { shown << QStringLiteral("browser ") + url; }
    void closeApplication() override { closed = true; }

private:
    TupAutoUpdater* m_updater = nullptr;
};

QByteArray bytes(int size, char seed)
{
    QByteArray b(size, Qt::Uninitialized);
    for (int i = 0; i < size; ++i)
        b[i] = char(seed + i % 7);
    return b;
}

} // namespace

class AutoUpdaterTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { kv::test::ensureApplication(); }

    void SetUp() override
    {
        // Temporary files of the updater (its installation program and
        // queue) go to the test's own folder.
        qputenv("TMPDIR", QFile::encodeName(temp()));
        qputenv("UPDHELPER_RECORD", QFile::encodeName(dir.filePath(QStringLiteral("record"))));
        QDir().mkpath(appFolder());
        QDir().mkpath(temp());
        QDir().mkpath(dir.filePath(QStringLiteral("record")));
        // A stand-in installation program: records what it was given.
        const QString helper = dir.filePath(QStringLiteral("fake-helper.sh"));
        QFile script(helper);
        ASSERT_TRUE(script.open(QIODevice::WriteOnly));
        script.write("#!/bin/sh\n"
                     "cp \"$UPDHELPER_QUEUE\" \"$UPDHELPER_RECORD/queue\" 2>/dev/null\n"
                     "echo \"$UPDHELPER_PARENT_PID\" > \"$UPDHELPER_RECORD/pid\"\n"
                     "printf '%s\\n' \"$@\" > \"$UPDHELPER_RECORD/args.tmp\"\n"
                     "mv \"$UPDHELPER_RECORD/args.tmp\" \"$UPDHELPER_RECORD/args\"\n");
        script.close();
    }
    void TearDown() override
    {
        qunsetenv("TMPDIR");
        qunsetenv("UPDHELPER_RECORD");
    }

    QString temp() const { return dir.filePath(QStringLiteral("tmp")); }
    QString appFolder() const { return dir.filePath(QStringLiteral("app")); }
    QString appFile() const { return appFolder() + QStringLiteral("/kavorimetas"); }
    QString record(const QString& name) const { return dir.filePath(QStringLiteral("record/") + name); }

    // The main program's updater over the test server's folder "/upd/".
    std::unique_ptr<MainProgramUpdater> mainProgram(const QString& folder = QString())
    {
        auto updates = std::make_unique<MainProgramUpdater>(
            UpdateServer{folder.isNull() ? server.url(QStringLiteral("/upd/")) : folder, {}}, &view, appFile());
        updates->updater().messages().setLanguage(UpdaterMessages::Portuguese);
        updates->updater().HelperSource = dir.filePath(QStringLiteral("fake-helper.sh"));
        return updates;
    }
    void announce(const QByteArray& info) { server.serve(QStringLiteral("/upd/UKavorimetas.txt"), R{200, info}); }

    QStringList leftovers() const
    {
        QStringList found;
        QDirIterator it(appFolder(), {QStringLiteral("*.uTMP")}, QDir::Files | QDir::Hidden,
                        QDirIterator::Subdirectories);
        while (it.hasNext())
            found << it.next();
        return found;
    }

    QTemporaryDir dir;
    LocalHttpServer server;
    FakeView view;
};

TEST_F(AutoUpdaterTest, ComparesWithTheInstalledVersion)
{
    struct Case {
        const char* version;
        bool silent;
        bool found;
        bool asked;
    };
    const Case cases[] = {
        {"01.011", false, false, false}, // the installed version: nothing newer
        {"01.004", false, false, false},
        {"01.012", true, true, false}, // silent: found, nothing offered
        {"01.012", false, true, true},
    };
    for (const Case& c : cases) {
        view.shown.clear();
        view.answerUpgrade = false;
        announce("#version=" + QByteArray(c.version) + "\r\n#url=" + server.url("/f/setup").toUtf8() + "\r\n");
        auto updates = mainProgram();
        updates->check({QStringLiteral("UKavorimetas.txt"), c.silent});
        const bool found = updates->updater().UpdateFound();
        if (!c.silent)
            kv::test::spinUntil([&] { return !updates->updater().Busy() && !updates->updater().TransferRunning(); });
        EXPECT_EQ(updates->updater().UpdateFound(), c.found) << c.version;
        if (c.silent) {
            EXPECT_EQ(found, c.found);
        }
        EXPECT_EQ(!view.shown.isEmpty(), c.asked) << c.version << " " << view.shown.join('|').toStdString();
        if (c.asked) {
            EXPECT_EQ(view.shown.value(0), QStringLiteral("upgrade? Existe uma nova versão do Kavorimetas.\n\n"
                                                          "Deseja actualizar a nova versão?"));
        }
    }
}

TEST_F(AutoUpdaterTest, DownloadsEverythingThenStartsTheInstallationProgram)
{
    const QByteArray setup = bytes(70000, 'a');
    const QByteArray library = bytes(5000, 'k');
    server.serve(QStringLiteral("/f/SetupKavorimetas"), R{200, setup});
    server.serve(QStringLiteral("/f/lib.so"), R{200, library});
    announce("#version=01.012\r\n#method=1\r\n#message={Nova versão}\r\n"
             "#url="
             + server.url("/f/SetupKavorimetas").toUtf8()
             + "\r\n"
               "#url2="
             + server.url("/f/lib.so").toUtf8()
             + "=%current%\\lib\\lib.so\r\n"
               "#url3="
             + server.url("/f/LIB.SO").toUtf8() + "=%CURRENT%\\LIB\\LIB.SO\r\n"); // the same entry
    // A leftover of an earlier upgrade is never installed with this one.
    QFile stale(appFolder() + QStringLiteral("/old.bin.uTMP"));
    ASSERT_TRUE(stale.open(QIODevice::WriteOnly));
    stale.close();

    auto updates = mainProgram();
    updates->check({QStringLiteral("UKavorimetas.txt"), false});
    ASSERT_TRUE(kv::test::spinUntil([&] { return QFile::exists(record(QStringLiteral("args"))); }))
        << view.shown.join('|').toStdString();

    EXPECT_TRUE(view.closed);
    EXPECT_TRUE(updates->updater().Restarting());
    EXPECT_EQ(view.shown,
              (QStringList{
                  "upgrade? Existe uma nova versão do Kavorimetas.\n\nNova versão\n\nDeseja actualizar a nova versão?",
                  "wizard", "Transferir 1 de 2", "Transferir 2 de 2", "finished"}));
    QFile setupFile(appFolder() + QStringLiteral("/SetupKavorimetas.uTMP"));
    ASSERT_TRUE(setupFile.open(QIODevice::ReadOnly));
    EXPECT_EQ(setupFile.readAll(), setup);
    QFile libraryFile(appFolder() + QStringLiteral("/lib/lib.so.uTMP"));
    ASSERT_TRUE(libraryFile.open(QIODevice::ReadOnly));
    EXPECT_EQ(libraryFile.readAll(), library);
    EXPECT_FALSE(stale.exists());

    QFile args(record(QStringLiteral("args")));
    ASSERT_TRUE(args.open(QIODevice::ReadOnly));
    EXPECT_EQ(args.readAll(), appFile().toUtf8() + "\n+/VerySilent1\n");
    QFile queue(record(QStringLiteral("queue")));
    ASSERT_TRUE(queue.open(QIODevice::ReadOnly));
    EXPECT_EQ(queue.readAll(), appFolder().toUtf8() + "/lib/lib.so\r\n");
    QFile pid(record(QStringLiteral("pid")));
    ASSERT_TRUE(pid.open(QIODevice::ReadOnly));
    EXPECT_EQ(pid.readAll().trimmed().toLongLong(), QCoreApplication::applicationPid());
}

TEST_F(AutoUpdaterTest, ABrokenTransferLeavesNothingAndSaysSo)
{
    server.serve(QStringLiteral("/f/a.bin"), R{200, bytes(4000, 'a')});
    server.serve(QStringLiteral("/f/b.bin"), R{200, bytes(8000, 'b'), R::ShortBody});
    server.serve(QStringLiteral("/f/c.bin"), R{404, "gone"});
    struct Case {
        const char* second;
        const char* shown;
    };
    const Case cases[] = {
        {"/f/b.bin", "message [Actualização do Software] Ligação do servidor foi perdida.\n\n"
                     "Refaça a ligação e continue com actualização do software."},
        {"/f/c.bin", "wizard closed"}, // a lost file aborts the upgrade with the program's settings
    };
    for (const Case& c : cases) {
        view.shown.clear();
        announce("#version=01.012\r\n#url1=" + server.url("/f/a.bin").toUtf8()
                 + "=a.bin\r\n#url2=" + server.url(QLatin1String(c.second)).toUtf8() + "=sub\\b.bin\r\n");
        auto updates = mainProgram();
        bool aborted = false;
        updates->updater().OnAborted = [&] { aborted = true; };
        updates->check({QStringLiteral("UKavorimetas.txt"), false});
        ASSERT_TRUE(kv::test::spinUntil([&] { return view.shown.contains(QString::fromUtf8(c.shown)); }))
            << view.shown.join('|').toStdString();
        kv::test::spinUntil([&] { return !updates->updater().TransferRunning(); });
        EXPECT_EQ(leftovers(), QStringList()) << c.second;
        EXPECT_FALSE(view.closed);
        EXPECT_FALSE(QFile::exists(record(QStringLiteral("args"))));
        EXPECT_EQ(aborted, QLatin1String(c.second) == QLatin1String("/f/c.bin"));
    }
}

TEST_F(AutoUpdaterTest, LostFileQuestionAndSizeSkip)
{
    server.serve(QStringLiteral("/f/a.bin"), R{200, bytes(4000, 'a')});
    server.serve(QStringLiteral("/f/same.bin"), R{200, bytes(300, 's')});
    announce("#version=01.012\r\n#url1=" + server.url("/f/missing.bin").toUtf8()
             + "=missing.bin\r\n#url2=" + server.url("/f/same.bin").toUtf8()
             + "=same.bin\r\n#url3=" + server.url("/f/a.bin").toUtf8() + "=a.bin\r\n");
    QFile same(appFolder() + QStringLiteral("/same.bin"));
    ASSERT_TRUE(same.open(QIODevice::WriteOnly));
    same.write(bytes(300, 'x'));
    same.close();

    auto updates = mainProgram();
    TupAutoUpdater& u = updates->updater();
    u.ShowMessages |= mLostFile;
    u.MiscFilesUpgrade = TupMiscFilesUpgrade::mfuOnlyIfSizeDifferent;
    view.answerQuestion = true; // skip the missing file
    updates->check({QStringLiteral("UKavorimetas.txt"), false});
    ASSERT_TRUE(kv::test::spinUntil([&] { return QFile::exists(record(QStringLiteral("args"))); }))
        << view.shown.join('|').toStdString();
    EXPECT_TRUE(view.shown.contains(
        QStringLiteral("question [Erro #404] Ficheiro missing.bin não foi encontrado ou está inacessível.\n\n"
                       "Tente não actualizar este ficheiro e continuar com a actualização?")));
    // Only what came in whole is installed: neither the missing file nor the skipped one.
    QFile queue(record(QStringLiteral("queue")));
    ASSERT_TRUE(queue.open(QIODevice::ReadOnly));
    EXPECT_EQ(queue.readAll(), appFolder().toUtf8() + "/a.bin\r\n");
    EXPECT_FALSE(QFile::exists(appFolder() + QStringLiteral("/same.bin.uTMP")));
}

TEST_F(AutoUpdaterTest, ProtectedFilesAskForCredentials)
{
    R protectedFile{200, bytes(1000, 'p'), R::Basic};
    protectedFile.realm = "Updates";
    protectedFile.credentials = "ana:pw";
    server.serve(QStringLiteral("/f/p.bin"), protectedFile);
    announce("#version=01.012\r\n#url=" + server.url("/f/p.bin").toUtf8() + "=p.bin\r\n");
    auto updates = mainProgram();
    updates->check({QStringLiteral("UKavorimetas.txt"), false});
    ASSERT_TRUE(kv::test::spinUntil([&] { return QFile::exists(record(QStringLiteral("args"))); }))
        << view.shown.join('|').toStdString();
    EXPECT_TRUE(view.shown.contains(QStringLiteral(
        "password? O acesso a certos ficheiros \"p.bin\" esta protegido por palavra passe.\n\n"
        "Por favor introduza a sua password (recebida depois de registado) para continuar o upgrade do software.")));
    EXPECT_EQ(QFileInfo(appFolder() + QStringLiteral("/p.bin.uTMP")).size(), 1000);
}

TEST_F(AutoUpdaterTest, AbortsWhenTheWizardIsClosedOrTheHelperCannotStart)
{
    server.serve(QStringLiteral("/f/a.bin"), R{200, bytes(4000, 'a')});
    announce("#version=01.012\r\n#url1=" + server.url("/f/a.bin").toUtf8() + "=a.bin\r\n");
    struct Case {
        bool closeWizard;
        bool brokenHelper;
        bool missingHelper;
    };
    const Case cases[] = {{true, false, false}, {false, true, false}, {false, false, true}};
    for (const Case& c : cases) {
        view.shown.clear();
        view.abortAtFinish = c.closeWizard;
        auto updates = mainProgram();
        bool aborted = false;
        updates->updater().OnAborted = [&] { aborted = true; };
        if (c.brokenHelper) {
            // Not a program: it cannot be started.
            const QString broken = dir.filePath(QStringLiteral("broken"));
            QFile f(broken);
            ASSERT_TRUE(f.open(QIODevice::WriteOnly));
            f.write("\x7f"
                    "ELFnot really");
            f.close();
            updates->updater().HelperSource = broken;
        }
        if (c.missingHelper) {
            // An old helper of someone else's in the temporary folder is never run instead.
            QFile old(temp() + QStringLiteral("/UpdHelper"));
            ASSERT_TRUE(old.open(QIODevice::WriteOnly));
            old.write("#!/bin/sh\ntouch \"$UPDHELPER_RECORD/args\"\n");
            old.close();
            old.setPermissions(old.permissions() | QFileDevice::ExeOwner);
            updates->updater().HelperSource = dir.filePath(QStringLiteral("no-such-helper"));
        }
        updates->check({QStringLiteral("UKavorimetas.txt"), false});
        ASSERT_TRUE(kv::test::spinUntil([&] { return aborted; })) << view.shown.join('|').toStdString();
        EXPECT_EQ(leftovers(), QStringList());
        EXPECT_FALSE(view.closed);
        EXPECT_FALSE(updates->updater().Restarting());
        EXPECT_FALSE(QFile::exists(record(QStringLiteral("args"))));
        if (c.brokenHelper || c.missingHelper) {
            EXPECT_TRUE(view.shown.contains(QStringLiteral(
                "message [Actualização do Software] Não foi possível iniciar o programa de instalação da "
                "actualização.\n\nA actualização foi interrompida.")));
        }
    }
}

TEST_F(AutoUpdaterTest, SilentCheckNeverHoldsTheLoginUp)
{
    server.serve(QStringLiteral("/upd/UKavorimetas_MP.txt"), R{200, {}, R::NeverAnswer});
    struct Case {
        QString folder;
        qint64 limitMs;
    };
    const Case cases[] = {
        {QString(""), 100}, // no server configured: at once
        {QStringLiteral("http://127.0.0.1:1/"), 6000}, // nobody listening
        {server.url(QStringLiteral("/upd/")), 12000}, // a server that never answers
    };
    for (const Case& c : cases) {
        view.shown.clear();
        auto updates = mainProgram(c.folder);
        QElapsedTimer clock;
        clock.start();
        updates->check({QStringLiteral("UKavorimetas_MP.txt"), true});
        EXPECT_LT(clock.elapsed(), c.limitMs) << c.folder.toStdString();
        EXPECT_FALSE(updates->updater().UpdateFound());
        EXPECT_EQ(view.shown, QStringList()) << c.folder.toStdString();
    }
}

TEST_F(AutoUpdaterTest, RedirectMethodOpensTheBrowser)
{
    announce("#version=01.012\r\n#method=2\r\n#url=pagename\r\n");
    auto updates = mainProgram();
    updates->check({QStringLiteral("UKavorimetas.txt"), false});
    ASSERT_TRUE(kv::test::spinUntil([&] { return view.shown.size() == 2; }));
    EXPECT_EQ(view.shown.value(1), QStringLiteral("browser http://pagename"));
    EXPECT_EQ(leftovers(), QStringList());
}

TEST_F(AutoUpdaterTest, RestartParameters)
{
    struct Case {
        QString set;
        QString stored;
        QStringList arguments;
        bool afterRestart;
    };
    const Case cases[] = {
        {QStringLiteral("/VerySilent"), QStringLiteral("/VerySilent"), {"kavorimetas", "/VerySilent"}, true},
        {QStringLiteral("/VerySilent"), QStringLiteral("/VerySilent"), {"kavorimetas", "/verysilent"}, false},
        {QString(), QStringLiteral(" "), {"kavorimetas", " "}, true},
        {QString(), QStringLiteral(" "), {"kavorimetas"}, false},
    };
    for (const Case& c : cases) {
        TupAutoUpdater updater(nullptr, appFile());
        updater.SetRestartParams(c.set);
        EXPECT_EQ(updater.RestartParams, c.stored);
        bool raised = false;
        updater.OnAfterRestart = [&] { raised = true; };
        updater.Loaded(c.arguments);
        EXPECT_EQ(raised, c.afterRestart) << c.arguments.join(' ').toStdString();
    }

    // An empty restart text reaches the installation program as "+ " and the method digit.
    server.serve(QStringLiteral("/f/a.bin"), R{200, bytes(100, 'a')});
    announce("#version=01.012\r\n#url1=" + server.url("/f/a.bin").toUtf8() + "=a.bin\r\n");
    auto updates = mainProgram();
    updates->updater().OnEndUpgrade = [&](bool&) { updates->updater().SetRestartParams(QString()); };
    updates->check({QStringLiteral("UKavorimetas.txt"), false});
    ASSERT_TRUE(kv::test::spinUntil([&] { return QFile::exists(record(QStringLiteral("args"))); }));
    QFile args(record(QStringLiteral("args")));
    ASSERT_TRUE(args.open(QIODevice::ReadOnly));
    EXPECT_EQ(args.readAll(), appFile().toUtf8() + "\n+ 0\n");
}

TEST_F(AutoUpdaterTest, FileTimesComeFromTheServerAndNeverCarryOver)
{
    server.serve(QStringLiteral("/f/a.bin"),
                 R{200, bytes(1000, 'a'), R::Normal, "Last-Modified: Sun, 06 Nov 1994 08:49:37 GMT\r\n"});
    const QString local = dir.filePath(QStringLiteral("local.bin"));
    QFile source(local);
    ASSERT_TRUE(source.open(QIODevice::WriteOnly));
    source.write(bytes(500, 'l'));
    source.close();
    announce("#version=01.012\r\n#url1=" + server.url("/f/a.bin").toUtf8() + "=a.bin\r\n#url2=file://" + local.toUtf8()
             + "=b.bin\r\n");
    auto updates = mainProgram();
    QStringList started;
    updates->updater().OnFileStart = [&](const QString& url, qint64 size, const QDateTime& time, bool&) {
        started
            << QStringLiteral("%1 %2 %3").arg(FileNameFromURL(url)).arg(size).arg(time.toUTC().toString(Qt::ISODate));
    };
    const QDateTime before = QDateTime::currentDateTimeUtc().addSecs(-5);
    updates->check({QStringLiteral("UKavorimetas.txt"), false});
    ASSERT_TRUE(kv::test::spinUntil([&] { return QFile::exists(record(QStringLiteral("args"))); }));
    // A file read from disk has no headers: no start event, and not the time of the file before it.
    EXPECT_EQ(started, QStringList{"a.bin 1000 1994-11-06T08:49:37Z"});
    EXPECT_EQ(QFileInfo(appFolder() + QStringLiteral("/a.bin.uTMP")).lastModified().toUTC(),
              QDateTime(QDate(1994, 11, 6), QTime(8, 49, 36), Qt::UTC)); // to two seconds
    EXPECT_GT(QFileInfo(appFolder() + QStringLiteral("/b.bin.uTMP")).lastModified().toUTC(), before);
}
