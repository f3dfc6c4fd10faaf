#include "updater/forms/TupAutoUpdaterPasswordForm.h"

#include "platform/ui/FieldWidth.h"
#include "updater/core/TupAutoUpdater.h"
#include "updater/forms/UpdaterPictures.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace kv::updater {

namespace {

constexpr int CredentialCharacters = 24;

} // namespace

TupAutoUpdaterPasswordForm::TupAutoUpdaterPasswordForm(TupAutoUpdater& updater, const QString& text, QWidget* parent)
    : QDialog(parent)
{
    const UpdaterMessages& m = updater.messages();
    setObjectName(QStringLiteral("TupAutoUpdaterPasswordForm"));
    setWindowTitle(m.text(11));

    auto* icon = new QLabel(this);
    icon->setPixmap(UpdaterPictures::icon());
    icon->setAlignment(Qt::AlignTop);
    Label1 = new QLabel(text, this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setWordWrap(true);
    Label1->setFixedWidth(246); // a wrapped text takes the height its width needs
    auto* userLabel = new QLabel(m.text(12), this);
    userLabel->setObjectName(QStringLiteral("UsernameLab"));
    auto* passwordLabel = new QLabel(m.text(13), this);
    passwordLabel->setObjectName(QStringLiteral("PasswordLab"));
    UsernameEdit = new QLineEdit(updater.HTTPUsername, this);
    UsernameEdit->setObjectName(QStringLiteral("UsernameEdit"));
    PasswordEdit = new QLineEdit(this);
    PasswordEdit->setObjectName(QStringLiteral("PasswordEdit"));
    PasswordEdit->setEchoMode(QLineEdit::Password);
    // A server's user names and passwords have no set length: room for a long one.
    for (QLineEdit* edit : {UsernameEdit, PasswordEdit})
        kv::ui::setFieldWidth(edit, CredentialCharacters);
    OKBtn = new QPushButton(m.text(16), this);
    OKBtn->setObjectName(QStringLiteral("OKBtn"));
    OKBtn->setDefault(true);
    CancelBtn = new QPushButton(m.text(17), this);
    CancelBtn->setObjectName(QStringLiteral("CancelBtn"));
    connect(OKBtn, &QPushButton::clicked, this, [this, &updater] {
        updater.HTTPUsername = UsernameEdit->text();
        updater.HTTPPassword = PasswordEdit->text();
        accept();
    });
    connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);

    auto* top = new QHBoxLayout;
    top->addWidget(icon);
    top->addWidget(Label1, 1);
    auto* fields = new QGridLayout;
    fields->addWidget(userLabel, 0, 0);
    fields->addWidget(UsernameEdit, 0, 1);
    fields->addWidget(passwordLabel, 1, 0);
    fields->addWidget(PasswordEdit, 1, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(OKBtn);
    buttons->addWidget(CancelBtn);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(fields);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

} // namespace kv::updater
