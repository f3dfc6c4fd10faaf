#pragma once

#include <QApplication>
#include <QElapsedTimer>
#include <QThread>

namespace kv::test {

// The one application object of the updater's tests (offscreen).
inline void ensureApplication()
{
    static int argc = 1;
    static char name[] = "kavorimetas";
    static char* argv[] = {name, nullptr};
    if (!QCoreApplication::instance())
        new QApplication(argc, argv);
}

// Lets queued work reach the main thread until the condition holds.
template <typename Condition>
bool spinUntil(Condition done, int limitMs = 15000)
{
    QElapsedTimer clock;
    clock.start();
    while (!done() && clock.elapsed() < limitMs) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QThread::msleep(1);
    }
    return done();
}

} // namespace kv::test
