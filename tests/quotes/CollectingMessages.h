#pragma once

#include "quotes/core/MessageSink.h"

#include <QStringList>

namespace kv::quotes::test {

// Keeps the engine's messages for the test to look at.
class CollectingMessages : public MessageSink {
public:
    void error(const QString& text) override { errors << text; }
    void information(const QString& text) override { notices << text; }
    QStringList errors;
    QStringList notices;
};

} // namespace kv::quotes::test
