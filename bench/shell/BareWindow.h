#pragma once

// A bare Qt main window, shown and active, then the process ends at once
// (tearing the window down is not part of a start). The baseline of the main
// program's start, run by the bare program and by kv_shell_bench itself.
#include <QApplication>
#include <QElapsedTimer>
#include <QMainWindow>
#include <QWindow>

#include <cstdio>
#include <cstdlib>

inline int showBareWindow(int argc, char** argv)
{
    QApplication application(argc, argv);
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Kavorimetas"));
    window.resize(784, 549);
    window.show();
    window.activateWindow();
    QElapsedTimer timer;
    timer.start();
    while (!(window.isActiveWindow() && window.windowHandle()->isExposed()) && timer.elapsed() < 30000)
        QApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    std::fflush(nullptr);
    std::_Exit(window.isActiveWindow() ? 0 : 1);
}
