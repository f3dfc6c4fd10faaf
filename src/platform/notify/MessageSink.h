#pragma once

#include <QString>

namespace kv::notify {

// Where a core sends what the user must hear, so that it needs no widgets:
// the programs plug in the forms layer's message service
// (ui::MessageServiceSink), the tests a recorder.
class MessageSink {
public:
    virtual ~MessageSink();

    virtual void beep() = 0;
    // Something that could not be done; the program shows an error box.
    virtual void error(const QString& text) = 0;
    // A notice that stops nothing.
    virtual void information(const QString& text) = 0;

    // The system's way of reporting an error: a beep, then the message.
    void fail(const QString& text)
    {
        beep();
        error(text);
    }
};

} // namespace kv::notify
