#pragma once

#include "platform/ui/MessageService.h"

namespace kv::ui {

// The program's message boxes: the platform beep and modal boxes over the
// active window, with Portuguese buttons.
class QtMessageService : public MessageService {
public:
    void beep() override;
    void message(Kind kind, const QString& text, const QString& caption = {}) override;
    bool question(const QString& text, const QString& caption = {}) override;
    Answer ask(const QString& text, const QString& caption = {}) override;
};

} // namespace kv::ui
