#pragma once

#include "shell/MessageSink.h"
#include "platform/ui/MessageService.h"

namespace kv::shell {

// The core's messages shown through the forms layer's message service.
class MessageServiceSink final : public MessageSink {
public:
    void beep() override { ui::messages().beep(); }
    void message(const QString& text) override { ui::messages().error(text); }
};

} // namespace kv::shell
