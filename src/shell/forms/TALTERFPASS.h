#pragma once

#include "shell/PasswordChange.h"

#include "platform/ui/Form.h"

class QLineEdit;
class QLabel;

namespace kv::ui {
class TGlyphButton;
}

namespace kv::shell {

// "Alteração de Palavra Passe": asks for the new password twice. The main
// window writes it when the outcome is Confirmed.
class TALTERFPASS : public ui::Form {
    Q_OBJECT
public:
    enum Outcome { Confirmed = 0, Cancelled = 1, Open = 9 };

    explicit TALTERFPASS(QWidget* parent = nullptr);

    Outcome outcome() const { return m_outcome; }
    // The password to store (upper case, at most 15 characters).
    QString newPassword() const { return m_newPassword; }

protected:
    void FormActivate() override;

private:
    bool Edit_Pass1Exit();
    bool Edit_Pass2Exit();
    bool accepted(const PasswordCheck& check);
    void BitTerminarClick();
    void BotCancelarClick();

    QLineEdit* Edit_Pass1;
    QLineEdit* Edit_Pass2;
    Outcome m_outcome = Open;
    QString m_newPassword;
};

} // namespace kv::shell
