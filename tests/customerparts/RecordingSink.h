#pragma once

#include "platform/notify/MessageSink.h"

#include <QStringList>

namespace kv::test {

// What a core told the user, in order; beeps as "<beep>".
class RecordingSink : public kv::notify::MessageSink {
public:
    void beep() override { said << QStringLiteral("<beep>"); }
    void error(const QString& text) override { said << text; }
    void information(const QString& text) override { said << text; }

    QStringList said;
};

} // namespace kv::test
