#include "updater/installer/UpdateInstaller.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

using namespace kv::updater;

namespace {

void write(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

QByteArray read(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

} // namespace

class InstallerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        write(app(QStringLiteral("kavorimetas")), "old program");
        write(app(QStringLiteral("lib/a.so")), "old a");
        write(app(QStringLiteral("b.dat")), "old b");
    }
    QString app(const QString& name) const { return dir.filePath(QStringLiteral("app/") + name); }

    InstallRequest request(const QStringList& targets, const QString& restartText = QStringLiteral("/VerySilent0"))
    {
        InstallRequest r;
        r.programFile = app(QStringLiteral("kavorimetas"));
        r.restartText = restartText;
        r.parentPid = 0; // already ended
        r.queueFile = dir.filePath(QStringLiteral("UpdQueue.txt"));
        r.logFile = dir.filePath(QStringLiteral("UpdHelper.log"));
        QByteArray queue;
        for (const QString& t : targets)
            queue += t.toUtf8() + "\r\n";
        write(r.queueFile, queue);
        return r;
    }

    QTemporaryDir dir;
};

TEST_F(InstallerTest, ReplacesAllOrNone)
{
    const QStringList targets = {app(QStringLiteral("kavorimetas")), app(QStringLiteral("lib/a.so")),
                                 app(QStringLiteral("b.dat"))};
    struct Case {
        const char* name;
        std::function<void()> prepare;
        UpdateInstaller::Outcome outcome;
        QByteArray program, a, b;
    };
    const Case cases[] = {
        {"all present",
         [&] {
             write(app(QStringLiteral("kavorimetas.uTMP")), "new program");
             write(app(QStringLiteral("lib/a.so.uTMP")), "new a");
             write(app(QStringLiteral("b.dat.uTMP")), "new b");
         },
         UpdateInstaller::Outcome::Installed, "new program", "new a", "new b"},
        {"one missing",
         [&] {
             write(app(QStringLiteral("kavorimetas.uTMP")), "new program");
             write(app(QStringLiteral("b.dat.uTMP")), "new b");
         },
         UpdateInstaller::Outcome::MissingFile, "old program", "old a", "old b"},
        {"a rename failing midway",
         [&] {
             write(app(QStringLiteral("kavorimetas.uTMP")), "new program");
             write(app(QStringLiteral("lib/a.so.uTMP")), "new a");
             write(app(QStringLiteral("b.dat.uTMP")), "new b");
             // b.dat cannot be set aside: a folder stands where it would go.
             write(app(QStringLiteral("b.dat.uOLD/inside")), "x");
         },
         UpdateInstaller::Outcome::ReplaceFailed, "old program", "old a", "old b"},
    };
    for (const Case& c : cases) {
        QDir(dir.filePath(QStringLiteral("app"))).removeRecursively();
        SetUp();
        c.prepare();
        UpdateInstaller installer(request(targets));
        EXPECT_EQ(installer.install(), c.outcome) << c.name;
        EXPECT_EQ(read(app(QStringLiteral("kavorimetas"))), c.program) << c.name;
        EXPECT_EQ(read(app(QStringLiteral("lib/a.so"))), c.a) << c.name;
        EXPECT_EQ(read(app(QStringLiteral("b.dat"))), c.b) << c.name;
        EXPECT_FALSE(QFile::exists(app(QStringLiteral("lib/a.so.uOLD")))) << c.name;
    }
}

TEST_F(InstallerTest, WaitsForTheProgramAndGivesUpChangingNothing)
{
    write(app(QStringLiteral("b.dat.uTMP")), "new b");
    InstallRequest r = request({app(QStringLiteral("b.dat"))});
    r.parentPid = 4242;
    r.waitLimitMs = 300;
    UpdateInstaller stillRunning(r);
    stillRunning.processRunning = [](qint64) { return true; };
    EXPECT_EQ(stillRunning.install(), UpdateInstaller::Outcome::ProgramStillRunning);
    EXPECT_EQ(read(app(QStringLiteral("b.dat"))), "old b");

    int polls = 0;
    UpdateInstaller endsSoon(r);
    endsSoon.processRunning = [&](qint64 pid) { return pid == 4242 && ++polls < 3; };
    EXPECT_EQ(endsSoon.install(), UpdateInstaller::Outcome::Installed);
    EXPECT_EQ(read(app(QStringLiteral("b.dat"))), "new b");
}

TEST_F(InstallerTest, ExternalSetupRunsWithTheRestartParameters)
{
    // A downloaded setup: a program folder download the queue does not name.
    const QString record = dir.filePath(QStringLiteral("setup-args"));
    write(app(QStringLiteral("SetupKavorimetas.uTMP")),
          "#!/bin/sh\nprintf '%s\\n' \"$@\" > '" + record.toUtf8() + "'\n");
    write(app(QStringLiteral("b.dat.uTMP")), "new b");
    UpdateInstaller installer(request({app(QStringLiteral("b.dat"))}, QStringLiteral("/VerySilent1")));
    EXPECT_EQ(installer.install(), UpdateInstaller::Outcome::Installed);
    EXPECT_EQ(read(record), "/VerySilent\n");
    EXPECT_FALSE(QFile::exists(app(QStringLiteral("SetupKavorimetas"))));
    EXPECT_FALSE(QFile::exists(app(QStringLiteral("SetupKavorimetas.uTMP"))));
    EXPECT_EQ(read(app(QStringLiteral("b.dat"))), "new b");
}

TEST_F(InstallerTest, ReadsTheProgramsArguments)
{
    struct Case {
        QStringList arguments;
        bool ok;
        const char* params;
        int method;
    };
    const Case cases[] = {
        {{"/tmp/UpdHelper", "/opt/kv/kavorimetas", "+/VerySilent1"}, true, "/VerySilent", 1},
        {{"/tmp/UpdHelper", "/opt/kv/kavorimetas", "+ 0"}, true, "", 0},
        {{"/tmp/UpdHelper", "/opt/kv/kavorimetas"}, false, "", 0},
        {{"/tmp/UpdHelper", "/opt/kv/kavorimetas", "/VerySilent1"}, false, "", 0},
    };
    for (const Case& c : cases) {
        const auto r = InstallRequest::fromArguments(c.arguments, QStringLiteral("77"), QStringLiteral("/tmp/q"));
        ASSERT_EQ(bool(r), c.ok) << c.arguments.join(' ').toStdString();
        if (!r)
            continue;
        EXPECT_EQ(r->programFile, QStringLiteral("/opt/kv/kavorimetas"));
        EXPECT_EQ(r->restartParams(), QLatin1String(c.params));
        EXPECT_EQ(r->method(), c.method);
        EXPECT_EQ(r->parentPid, 77);
    }
}

TEST_F(InstallerTest, TheInstallationProgramReplacesAndStartsAgain)
{
    // The program: a script that records the arguments it was started with.
    const QString started = dir.filePath(QStringLiteral("started"));
    write(app(QStringLiteral("kavorimetas.uTMP")), "#!/bin/sh\nprintf '%s\\n' \"$@\" > '" + started.toUtf8() + "'\n");
    write(app(QStringLiteral("b.dat.uTMP")), "new b");
    const InstallRequest r =
        request({app(QStringLiteral("kavorimetas")), app(QStringLiteral("b.dat"))}, QStringLiteral("/VerySilent0"));
    QProcess helper;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("UPDHELPER_PARENT_PID"), QStringLiteral("0"));
    environment.insert(QStringLiteral("UPDHELPER_QUEUE"), r.queueFile);
    helper.setProcessEnvironment(environment);
    helper.start(QStringLiteral(UPDHELPER_PATH), {r.programFile, QStringLiteral("+/VerySilent0")});
    ASSERT_TRUE(helper.waitForFinished(20000));
    EXPECT_EQ(helper.exitCode(), 0);
    EXPECT_EQ(read(app(QStringLiteral("b.dat"))), "new b");
    for (int i = 0; i < 200 && !QFile::exists(started); ++i)
        QThread::msleep(50);
    EXPECT_EQ(read(started), "/VerySilent\n");
}
