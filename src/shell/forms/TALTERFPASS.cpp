#include "shell/forms/TALTERFPASS.h"

#include "shell/PasswordChange.h"

#include "platform/ui/FieldWidth.h"
#include "platform/ui/MessageService.h"
#include "platform/ui/TGlyphButton.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QValidator>
#include <QVBoxLayout>

namespace kv::shell {
namespace {

// Whatever is typed appears in upper case.
class UpperCase final : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString& input, int&) const override
    {
        input = input.toUpper();
        return Acceptable;
    }
};

QLineEdit* passwordEdit(const char* name, QWidget* parent)
{
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QString::fromLatin1(name));
    edit->setEchoMode(QLineEdit::Password);
    edit->setStyleSheet(QStringLiteral("lineedit-password-character: 35;")); // "#"
    edit->setValidator(new UpperCase(edit));
    // Room for a whole password; a longer one is refused on leaving the field.
    ui::setFieldWidth(edit, PasswordChange::MaxLength);
    return edit;
}

} // namespace

TALTERFPASS::TALTERFPASS(QWidget* parent) : ui::Form(parent)
{
    setObjectName(QStringLiteral("TALTERFPASS"));
    setWindowTitle(QStringLiteral("Alteração de Palavra Passe"));
    setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint);

    auto* title = new QLabel(windowTitle(), body());
    title->setObjectName(QStringLiteral("PanelTitulo"));
    title->setAlignment(Qt::AlignCenter);
    title->setStyleSheet(QStringLiteral("background: rgb(0, 0, 128); color: white; font-weight: bold;"));

    auto* label1 = new QLabel(QStringLiteral("Nova Palavra-Passe : "), body());
    label1->setObjectName(QStringLiteral("Label101"));
    auto* label2 = new QLabel(QStringLiteral("Confirmação : "), body());
    label2->setObjectName(QStringLiteral("Label102"));
    Edit_Pass1 = passwordEdit("Edit_Pass1", body());
    Edit_Pass2 = passwordEdit("Edit_Pass2", body());

    auto* confirm = new ui::TGlyphButton(QStringLiteral("&Confirmar"), buttonBar());
    confirm->setObjectName(QStringLiteral("BitTerminar"));
    confirm->SetHint(QStringLiteral("Confirmar Alteração"));
    auto* cancel = new ui::TGlyphButton(QStringLiteral("&Anular"), buttonBar());
    cancel->setObjectName(QStringLiteral("BotCancelar"));
    cancel->SetHint(QStringLiteral("Cancelar Alteração"));
    connect(confirm, &ui::TGlyphButton::clicked, this, &TALTERFPASS::BitTerminarClick);
    connect(cancel, &ui::TGlyphButton::clicked, this, &TALTERFPASS::BotCancelarClick);

    auto* fields = new QGridLayout;
    fields->addWidget(label1, 0, 0);
    fields->addWidget(Edit_Pass1, 0, 1);
    fields->addWidget(label2, 1, 0);
    fields->addWidget(Edit_Pass2, 1, 1);
    fields->setColumnStretch(2, 1);
    auto* buttons = new QHBoxLayout(buttonBar());
    buttons->addStretch();
    buttons->addWidget(confirm);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(body());
    layout->addWidget(title);
    layout->addLayout(fields);

    setCaptionLabel(Edit_Pass1, label1);
    setCaptionLabel(Edit_Pass2, label2);
    setExitHandler(Edit_Pass1, [this] { Edit_Pass1Exit(); });
    setExitHandler(Edit_Pass2, [this] { Edit_Pass2Exit(); });
}

void TALTERFPASS::FormActivate()
{
    m_outcome = Open;
    EnableEvents();
    focusField(Edit_Pass1);
}

bool TALTERFPASS::Edit_Pass1Exit()
{
    if (m_outcome == Cancelled)
        return true;
    m_newPassword = PasswordChange::stored(Edit_Pass1->text());
    return accepted(PasswordChange::checkNew(Edit_Pass1->text()));
}

bool TALTERFPASS::Edit_Pass2Exit()
{
    if (m_outcome == Cancelled)
        return true;
    return accepted(PasswordChange::checkConfirmation(Edit_Pass1->text(), Edit_Pass2->text()));
}

bool TALTERFPASS::accepted(const PasswordCheck& check)
{
    if (check.ok())
        return true;
    QLineEdit* target = check.focusField == 1 ? Edit_Pass1 : Edit_Pass2;
    // Leaving the field to correct: the focus stays; otherwise it goes there.
    if (leavingField() == target) {
        rejectField(check.message);
    } else {
        ui::messages().fail(check.message);
        focusField(target);
    }
    return false;
}

void TALTERFPASS::BitTerminarClick()
{
    if (!Edit_Pass1Exit() || !Edit_Pass2Exit())
        return;
    m_outcome = Confirmed;
    accept();
}

void TALTERFPASS::BotCancelarClick()
{
    m_outcome = Cancelled;
    reject();
}

} // namespace kv::shell
