#pragma once

#include <QGuiApplication>

namespace kv::test {

// Fonts need a GUI application; these tests have no main of their own.
inline void ensureGuiApplication()
{
    if (QCoreApplication::instance())
        return;
    static int argc = 1;
    static char name[] = "kv_rtf_tests";
    static char* argv[] = {name, nullptr};
    static QGuiApplication app(argc, argv);
}

} // namespace kv::test
