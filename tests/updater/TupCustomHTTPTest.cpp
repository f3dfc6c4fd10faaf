#include "updater/core/TupCustomHTTP.h"

#include "updater/LocalHttpServer.h"
#include "updater/UpdaterTestApp.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace kv::updater;
using kv::test::LocalHttpServer;
using kv::test::spinUntil;

namespace {

// Every event of one transfer, in order, with its arguments.
struct Events {
    QStringList log;
    QByteArray data;
    TupHeaderInfo headers;
    int progressEvents = 0;
    bool finished = false;
    QString realm;

    void attach(TupCustomHTTP& http)
    {
        http.OnHeaderInfo = [this](const TupHeaderInfo& info, bool&) {
            headers = info;
            log << QStringLiteral("headers %1").arg(info.StatusCode);
        };
        http.OnDone = [this](const QString&, const QByteArray& bytes, qint64 size) {
            data = bytes;
            log << QStringLiteral("done %1").arg(size);
            finished = true;
        };
        http.OnStopped = [this] {
            log << QStringLiteral("stopped");
            finished = true;
        };
        http.OnTransferProgress = [this](const TupProgress&) { ++progressEvents; };
        http.OnConnectionLost = [this](const QString&, qint64 read, qint64 length) {
            log << QStringLiteral("lost %1/%2").arg(read).arg(length);
            finished = true;
        };
        http.OnNoResponse = [this] {
            log << QStringLiteral("no response");
            finished = true;
        };
        http.OnHTTPError = [this](int status) {
            log << QStringLiteral("error %1").arg(status);
            finished = true;
        };
        http.OnOutputFailed = [this](const QString&) {
            log << QStringLiteral("output failed");
            finished = true;
        };
    }
};

QByteArray body(int size)
{
    QByteArray b(size, Qt::Uninitialized);
    for (int i = 0; i < size; ++i)
        b[i] = char('a' + i % 26);
    return b;
}

} // namespace

class HttpTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { kv::test::ensureApplication(); }
    LocalHttpServer server;
    QTemporaryDir dir;
};

TEST_F(HttpTest, ResponsesEndInTheirOwnEvent)
{
    using R = LocalHttpServer::Response;
    const QByteArray full = body(10000);
    server.serve(QStringLiteral("/full"), R{200, full});
    server.serve(QStringLiteral("/short"), R{200, body(1000), R::ShortBody});
    server.serve(QStringLiteral("/nolength"), R{200, body(3000), R::NoLength});
    server.serve(QStringLiteral("/missing"), R{404, "gone"});
    struct Case {
        const char* path;
        QStringList log;
        int size;
    };
    const Case cases[] = {
        {"/full", {"headers 200", "done 10000"}, 10000},
        {"/short", {"headers 200", "lost 500/1000"}, -1},
        {"/nolength", {"headers 200", "done 3000"}, 3000},
        {"/missing", {"headers 404", "error 404"}, -1},
    };
    for (const Case& c : cases) {
        TupCustomHTTP http;
        Events events;
        events.attach(http);
        http.URL = server.url(QLatin1String(c.path));
        ASSERT_TRUE(http.StartGet());
        ASSERT_TRUE(spinUntil([&] { return events.finished && !http.Busy(); })) << c.path;
        EXPECT_EQ(events.log, c.log) << c.path;
        if (c.size >= 0) {
            EXPECT_EQ(events.data.size(), c.size) << c.path;
            EXPECT_GT(events.progressEvents, 0);
        }
    }
}

TEST_F(HttpTest, FileOutputIsWholeOrRemoved)
{
    using R = LocalHttpServer::Response;
    const QByteArray full = body(50000);
    server.serve(QStringLiteral("/a.bin"), R{200, full, R::Normal, "Last-Modified: Sun, 06 Nov 1994 08:49:37 GMT\r\n"});
    server.serve(QStringLiteral("/gone.bin"), R{404, "gone"});

    TupCustomHTTP http;
    Events events;
    events.attach(http);
    http.URL = server.url(QStringLiteral("/a.bin"));
    http.OutputFileName = dir.filePath(QStringLiteral("a.bin.uTMP"));
    ASSERT_TRUE(http.StartGet());
    EXPECT_FALSE(http.StartGet()); // one transfer at a time
    ASSERT_TRUE(spinUntil([&] { return events.finished; }));
    EXPECT_EQ(events.log, (QStringList{"headers 200", "done 50000"}));
    EXPECT_TRUE(events.data.isEmpty()); // written to the file, not kept
    QFile written(http.OutputFileName);
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    EXPECT_EQ(written.readAll(), full);
    EXPECT_EQ(events.headers.LastModified.toUTC(), QDateTime(QDate(1994, 11, 6), QTime(8, 49, 37), Qt::UTC));

    // An error page is never left as the file.
    Events second;
    second.attach(http);
    http.URL = server.url(QStringLiteral("/gone.bin"));
    http.OutputFileName = dir.filePath(QStringLiteral("gone.bin.uTMP"));
    ASSERT_TRUE(http.StartGet());
    ASSERT_TRUE(spinUntil([&] { return second.finished; }));
    EXPECT_EQ(second.log, (QStringList{"headers 404", "error 404"}));
    EXPECT_FALSE(QFile::exists(http.OutputFileName));

    // A folder that does not exist: nothing written, and said so.
    Events third;
    third.attach(http);
    http.URL = server.url(QStringLiteral("/a.bin"));
    http.OutputFileName = dir.filePath(QStringLiteral("no/such/folder/a.bin.uTMP"));
    ASSERT_TRUE(http.StartGet());
    ASSERT_TRUE(spinUntil([&] { return third.finished; }));
    EXPECT_EQ(third.log, (QStringList{"headers 200", "output failed"}));
}

TEST_F(HttpTest, AuthorizationAsksAndSendsAgain)
{
    using R = LocalHttpServer::Response;
    R protectedFile{200, "secret data", R::Basic};
    protectedFile.realm = "Updates";
    protectedFile.credentials = "ana:pw";
    server.serve(QStringLiteral("/p"), protectedFile);

    struct Case {
        bool tryAgain;
        QStringList log;
    };
    const Case cases[] = {{false, {"headers 401", "error 401"}}, {true, {"headers 200", "done 11"}}};
    for (const Case& c : cases) {
        TupCustomHTTP http;
        Events events;
        events.attach(http);
        http.OnAuthorizationRequest = [&](const QString& realm, bool& tryAgain) {
            events.realm = realm;
            http.HTTPUsername = QStringLiteral("ana");
            http.HTTPPassword = QStringLiteral("pw");
            tryAgain = c.tryAgain;
        };
        http.URL = server.url(QStringLiteral("/p"));
        ASSERT_TRUE(http.StartGet());
        ASSERT_TRUE(spinUntil([&] { return events.finished; }));
        EXPECT_EQ(events.realm, QStringLiteral("Updates"));
        EXPECT_EQ(events.log, c.log);
    }
    EXPECT_EQ(TupCustomHTTP::realmOf(QStringLiteral("Basic realm=\"Updates\"")), QStringLiteral("Updates"));
    EXPECT_EQ(TupCustomHTTP::realmOf(QStringLiteral("Negotiate")), QStringLiteral("Negotiate"));
}

TEST_F(HttpTest, FileUrlsAndUrlsWithoutScheme)
{
    using R = LocalHttpServer::Response;
    server.serve(QStringLiteral("/plain"), R{200, "abc"});
    const QString local = dir.filePath(QStringLiteral("local.txt"));
    QFile f(local);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(body(9000));
    f.close();

    struct Case {
        QString url;
        QStringList log;
    };
    const Case cases[] = {
        {QStringLiteral("127.0.0.1:%1/plain").arg(server.port()), {"headers 200", "done 3"}},
        {QStringLiteral("file://") + local, {"done 9000"}}, // no headers from a file
        {QStringLiteral("file://") + local + QStringLiteral(".none"), {"error 404"}},
    };
    for (const Case& c : cases) {
        TupCustomHTTP http;
        Events events;
        events.attach(http);
        http.URL = c.url;
        ASSERT_TRUE(http.StartGet());
        ASSERT_TRUE(spinUntil([&] { return events.finished; })) << c.url.toStdString();
        EXPECT_EQ(events.log, c.log) << c.url.toStdString();
    }
}

TEST_F(HttpTest, AbortEndsWithoutEventsAndTimeoutsBoundTheWait)
{
    using R = LocalHttpServer::Response;
    server.serve(QStringLiteral("/slow"), R{200, body(20000), R::Slow});
    server.serve(QStringLiteral("/silent"), R{200, {}, R::NeverAnswer});

    TupCustomHTTP http;
    Events events;
    events.attach(http);
    http.URL = server.url(QStringLiteral("/slow"));
    ASSERT_TRUE(http.StartGet());
    ASSERT_TRUE(spinUntil([&] { return events.progressEvents > 0; }));
    http.AbortTransfer();
    ASSERT_TRUE(spinUntil([&] { return !http.TransferRunning(); }));
    kv::test::spinUntil([] { return false; }, 300);
    EXPECT_EQ(events.log, QStringList{"headers 200"});
    EXPECT_FALSE(http.Busy());

    // A server that never answers: the transfer gives up within its limit.
    Events silent;
    silent.attach(http);
    http.URL = server.url(QStringLiteral("/silent"));
    http.Timeouts = TransferTimeouts{2, 3, 1, 3};
    QElapsedTimer clock;
    clock.start();
    ASSERT_TRUE(http.StartGet());
    ASSERT_TRUE(spinUntil([&] { return silent.finished; }, 10000));
    EXPECT_LT(clock.elapsed(), 6000);
    EXPECT_EQ(silent.log, QStringList{"no response"});

    // Nobody listening at all.
    Events refused;
    refused.attach(http);
    http.URL = QStringLiteral("http://127.0.0.1:1/x");
    ASSERT_TRUE(http.StartGet());
    ASSERT_TRUE(spinUntil([&] { return refused.finished; }, 10000));
    EXPECT_EQ(refused.log, QStringList{"no response"});
}
