#include "useradmin/forms/DatabaseLoginDialog.h"

#include "platform/ui/FieldWidth.h"
#include "platform/ui/TGlyphButton.h"

#include <QApplication>
#include <QDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace kv::useradmin {

bool DatabaseLoginDialog::ask(const QString& databaseName, QString& user, QString& password)
{
    QDialog dialog(QApplication::activeWindow());
    dialog.setObjectName(QStringLiteral("DatabaseLogin"));
    dialog.setWindowTitle(QStringLiteral("Início de Sessão na Base de Dados"));
    dialog.setModal(true);

    auto* database = new QLabel(QStringLiteral("Base de dados : %1").arg(databaseName), &dialog);
    database->setObjectName(QStringLiteral("Label_BaseDados"));
    auto* userLabel = new QLabel(QStringLiteral("Utilizador :"), &dialog);
    auto* userEdit = new QLineEdit(user, &dialog);
    userEdit->setObjectName(QStringLiteral("Edit_Utilizador"));
    auto* passwordLabel = new QLabel(QStringLiteral("Palavra Passe :"), &dialog);
    auto* passwordEdit = new QLineEdit(&dialog);
    passwordEdit->setObjectName(QStringLiteral("Edit_Password"));
    passwordEdit->setEchoMode(QLineEdit::Password);
    kv::ui::setFieldWidth(userEdit, 26);
    kv::ui::setFieldWidth(passwordEdit, 26);

    auto* ok = new ui::TGlyphButton(QStringLiteral("&OK"), &dialog);
    ok->setObjectName(QStringLiteral("BotOk"));
    auto* cancel = new ui::TGlyphButton(QStringLiteral("&Cancelar"), &dialog);
    cancel->setObjectName(QStringLiteral("BotCancelar"));
    QObject::connect(ok, &ui::TGlyphButton::clicked, &dialog, &QDialog::accept);
    QObject::connect(cancel, &ui::TGlyphButton::clicked, &dialog, &QDialog::reject);

    auto* fields = new QGridLayout;
    fields->addWidget(userLabel, 0, 0);
    fields->addWidget(userEdit, 0, 1);
    fields->addWidget(passwordLabel, 1, 0);
    fields->addWidget(passwordEdit, 1, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(database);
    layout->addLayout(fields);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    QObject::connect(userEdit, &QLineEdit::returnPressed, passwordEdit, [passwordEdit] { passwordEdit->setFocus(); });
    QObject::connect(passwordEdit, &QLineEdit::returnPressed, &dialog, &QDialog::accept);
    // The user is known: the password is what is asked for.
    (user.isEmpty() ? userEdit : passwordEdit)->setFocus();
    if (dialog.exec() != QDialog::Accepted)
        return false;
    user = userEdit->text();
    password = passwordEdit->text();
    return true;
}

} // namespace kv::useradmin
