#include "platform/ui/QtMessageService.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

namespace kv::ui {

void QtMessageService::beep() { QApplication::beep(); }

void QtMessageService::message(Kind kind, const QString& text, const QString& caption)
{
    QMessageBox::Icon icon = QMessageBox::Critical;
    if (kind == Kind::Warning)
        icon = QMessageBox::Warning;
    else if (kind == Kind::Information)
        icon = QMessageBox::Information;
    QMessageBox box(icon, caption.isEmpty() ? defaultCaption(kind) : caption, text, QMessageBox::NoButton,
                    QApplication::activeWindow());
    box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
    box.exec();
}

bool QtMessageService::question(const QString& text, const QString& caption)
{
    QMessageBox box(QMessageBox::Question, caption.isEmpty() ? QStringLiteral("Confirmação") : caption, text,
                    QMessageBox::NoButton, QApplication::activeWindow());
    QPushButton* yes = box.addButton(QStringLiteral("&Sim"), QMessageBox::YesRole);
    QPushButton* no = box.addButton(QStringLiteral("&Não"), QMessageBox::NoRole);
    box.setDefaultButton(yes);
    box.setEscapeButton(no);
    box.exec();
    return box.clickedButton() == yes;
}

} // namespace kv::ui
