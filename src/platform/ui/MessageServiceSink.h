#pragma once

#include "platform/notify/MessageSink.h"
#include "platform/ui/MessageService.h"

namespace kv::ui {

// A core's messages shown through the installed message service.
class MessageServiceSink final : public notify::MessageSink {
public:
    void beep() override { messages().beep(); }
    void error(const QString& text) override { messages().error(text); }
    void information(const QString& text) override { messages().information(text); }
};

} // namespace kv::ui
