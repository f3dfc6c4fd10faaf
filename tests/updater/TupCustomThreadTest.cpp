#include "updater/core/TupCustomThread.h"

#include "updater/UpdaterTestApp.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>

#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>

using namespace kv::updater;

using kv::test::spinUntil;

namespace {

void settle()
{
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < 200)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
}

struct Recorder {
    std::atomic<int> works{0};
    std::vector<int> terminatedRuns;
    bool terminationOnMainThread = true;
};

} // namespace

class ThreadTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { kv::test::ensureApplication(); }
};

TEST_F(ThreadTest, StartTwiceRunsOnlyTheSecondTermination)
{
    Recorder r;
    std::atomic<bool> release{false};
    std::atomic<int> run{0};
    TupCustomThread thread;
    thread.SetOnExecute([&](TupCustomThread& t) {
        const int mine = ++run;
        ++r.works;
        while (!release && !t.IsTerminated())
            QThread::msleep(1);
        (void)mine;
    });
    thread.SetOnTerminate([&](TupCustomThread&) {
        r.terminatedRuns.push_back(run);
        r.terminationOnMainThread = QThread::currentThread() == QCoreApplication::instance()->thread();
    });
    thread.Start();
    ASSERT_TRUE(spinUntil([&] { return r.works == 1; }));
    thread.Start(); // ends the first worker without its termination step
    ASSERT_TRUE(spinUntil([&] { return r.works == 2; }));
    release = true;
    ASSERT_TRUE(spinUntil([&] { return !r.terminatedRuns.empty() && !thread.IsExecuting(); }));
    settle(); // a late termination of the first worker would arrive now
    EXPECT_EQ(r.terminatedRuns, std::vector<int>{2});
    EXPECT_TRUE(r.terminationOnMainThread);
}

TEST_F(ThreadTest, DestroyedUnstartedRunsNothing)
{
    std::atomic<int> works{0};
    int terminations = 0;
    const int before = TupEventThread::liveCount();
    {
        TupCustomThread thread;
        thread.SetOnExecute([&](TupCustomThread&) { ++works; });
        thread.SetOnTerminate([&](TupCustomThread&) { ++terminations; });
        EXPECT_EQ(TupEventThread::liveCount(), before + 1);
    }
    EXPECT_EQ(works, 0);
    EXPECT_EQ(terminations, 0);
    EXPECT_EQ(TupEventThread::liveCount(), before);
}

TEST_F(ThreadTest, ExceptionsReachOnExceptionOnce)
{
    struct Case {
        bool workThrows;
        bool terminationThrows;
        int exceptions;
        int terminations;
    };
    const Case cases[] = {{true, false, 1, 1}, {false, true, 1, 1}, {false, false, 0, 1}};
    for (const Case& c : cases) {
        int exceptions = 0, terminations = 0;
        bool exceptionOnMain = true;
        TupCustomThread thread;
        thread.SetOnExecute([&](TupCustomThread&) {
            if (c.workThrows)
                throw std::runtime_error("work");
        });
        thread.SetOnTerminate([&](TupCustomThread&) {
            ++terminations;
            if (c.terminationThrows)
                throw std::runtime_error("termination");
        });
        thread.SetOnException([&](TupCustomThread&) {
            ++exceptions;
            exceptionOnMain = QThread::currentThread() == QCoreApplication::instance()->thread();
        });
        thread.Start();
        ASSERT_TRUE(spinUntil([&] { return terminations == 1 && !thread.IsExecuting(); }));
        EXPECT_EQ(exceptions, c.exceptions) << c.workThrows << c.terminationThrows;
        EXPECT_TRUE(exceptionOnMain);
    }
}

TEST_F(ThreadTest, PrioritiesKeepTheirIndex)
{
    TupCustomThread thread;
    EXPECT_EQ(thread.Priority(), 3);
    thread.SetPriority(4);
    EXPECT_EQ(thread.Priority(), 4);
    std::atomic<int> seen{-1};
    thread.SetOnExecute([&](TupCustomThread&) { seen = int(QThread::currentThread()->priority()); });
    thread.Start(); // the renewed worker keeps it
    EXPECT_EQ(thread.Priority(), 4);
    ASSERT_TRUE(spinUntil([&] { return seen != -1; }));
    EXPECT_EQ(seen, int(QThread::HighPriority));
    thread.SetPriority(9);
    EXPECT_EQ(thread.Priority(), 6);
}

TEST_F(ThreadTest, DestroyedWhileExecutingSkipsItsHandlers)
{
    std::atomic<bool> started{false};
    int terminations = 0;
    {
        TupCustomThread thread;
        thread.SetOnExecute([&](TupCustomThread& t) {
            started = true;
            // A worker that hands a call over while its owner goes away.
            while (!t.IsTerminated())
                QThread::msleep(1);
            t.Synchronize([&] { ++terminations; });
        });
        thread.SetOnTerminate([&](TupCustomThread&) { ++terminations; });
        thread.Start();
        ASSERT_TRUE(spinUntil([&] { return started.load(); }));
        thread.setOwnerDestroying();
    }
    EXPECT_EQ(terminations, 0);
}

TEST_F(ThreadTest, PostedReportsKeepTheirOrderAndStopWithTheWork)
{
    std::vector<int> seen;
    std::atomic<bool> finished{false};
    TupCustomThread thread;
    thread.SetOnExecute([&](TupCustomThread& t) {
        for (int i = 0; i < 2000; ++i)
            t.Post([&seen, i] { seen.push_back(i); });
        t.Synchronize([&seen] { seen.push_back(-1); });
    });
    thread.SetOnTerminate([&](TupCustomThread&) { finished = true; });
    thread.Start();
    ASSERT_TRUE(spinUntil([&] { return finished.load(); }));
    ASSERT_EQ(seen.size(), 2001u);
    for (int i = 0; i < 2000; ++i)
        ASSERT_EQ(seen[std::size_t(i)], i);
    EXPECT_EQ(seen.back(), -1);

    // Reports still queued when a stop is asked are not shown.
    seen.clear();
    std::atomic<bool> posted{false};
    thread.SetOnExecute([&](TupCustomThread& t) {
        for (int i = 0; i < 100; ++i)
            t.Post([&seen, i] { seen.push_back(i); });
        posted = true;
        while (!t.IsTerminated())
            QThread::msleep(1);
    });
    thread.Start();
    while (!posted)
        QThread::msleep(1); // the main thread runs nothing meanwhile
    thread.Stop(false);
    ASSERT_TRUE(spinUntil([&] { return !thread.IsExecuting(); }));
    settle();
    EXPECT_TRUE(seen.empty());
}
