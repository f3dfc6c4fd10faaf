#pragma once

#include <QString>

namespace kv::quotes {

// Where the engine's messages go. The worksheet connects it to the message
// service (an error beeps and shows a message box); tests collect them.
class MessageSink {
public:
    virtual ~MessageSink() = default;
    // A line or step that could not be done ("Erro Grave, ...").
    virtual void error(const QString& text) = 0;
    // A notice that does not stop anything.
    virtual void information(const QString& text) = 0;
};

} // namespace kv::quotes
