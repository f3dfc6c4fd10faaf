#pragma once

#include "platform/notify/MessageSink.h"

#include <QStringList>

namespace kv::quotes::test {

// Keeps the engine's messages for the test to look at.
class CollectingMessages : public notify::MessageSink {
public:
    void beep() override { ++beeps; }
    void error(const QString& text) override { errors << text; }
    void information(const QString& text) override { notices << text; }
    QStringList errors;
    QStringList notices;
    int beeps = 0;
};

} // namespace kv::quotes::test
