// A bare Qt program: one empty main window, shown and active, then gone.
// The baseline of the main program's start in kv_shell_bench.
#include <QApplication>
#include <QElapsedTimer>
#include <QMainWindow>
#include <QWindow>

#include <cstdio>
#include <cstdlib>

int main(int argc, char* argv[])
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
    // Leaving at once: tearing the window down is not part of the start.
    std::fflush(nullptr);
    std::_Exit(window.isActiveWindow() ? 0 : 1);
}
