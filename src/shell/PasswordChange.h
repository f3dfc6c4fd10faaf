#pragma once

#include <QString>

namespace kv::shell {

// The outcome of a check of the password dialog: the message to show after a
// beep and the field (1 new password, 2 confirmation) that takes the focus.
struct PasswordCheck {
    QString message;
    int focusField = 0;
    bool ok() const { return message.isEmpty(); }
};

// The rules of the password change. The fields force upper case, so the texts
// are compared and stored in upper case; at most 15 characters are kept.
class PasswordChange {
public:
    static constexpr int MaxLength = 15;

    // The password as stored: upper case, at most 15 characters.
    static QString stored(const QString& typed);
    // Leaving the new-password field.
    static PasswordCheck checkNew(const QString& typed);
    // Leaving the confirmation field.
    static PasswordCheck checkConfirmation(const QString& typedNew, const QString& typedConfirmation);
    // "Confirmar": both checks, the new password's first.
    static PasswordCheck confirm(const QString& typedNew, const QString& typedConfirmation);
};

} // namespace kv::shell
