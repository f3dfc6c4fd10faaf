#pragma once

#include <QString>

namespace kv::shell {

// Where the shell's core sends what the user must hear: the program plugs in
// the forms layer's message service, tests a recorder.
class MessageSink {
public:
    virtual ~MessageSink() = default;
    virtual void beep() = 0;
    virtual void message(const QString& text) = 0;
};

} // namespace kv::shell
