#include "platform/ui/QtMessageService.h"

#include <QApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

namespace kv::ui {

namespace {

// A message of more lines than this (the messages a run gathered) is shown
// in a list that scrolls, in a window that fits the screen.
constexpr int LongMessageLines = 20;

void showLongMessage(const QString& caption, const QString& text)
{
    QDialog dialog(QApplication::activeWindow());
    dialog.setObjectName(QStringLiteral("MensagemLonga"));
    dialog.setWindowTitle(caption);
    auto* layout = new QVBoxLayout(&dialog);
    auto* lines = new QPlainTextEdit(&dialog);
    lines->setObjectName(QStringLiteral("Mensagens"));
    lines->setReadOnly(true);
    lines->setLineWrapMode(QPlainTextEdit::NoWrap);
    lines->setPlainText(text);
    layout->addWidget(lines);
    auto* buttons = new QDialogButtonBox(&dialog);
    buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    layout->addWidget(buttons);
    const QScreen* screen = dialog.screen() ? dialog.screen() : QApplication::primaryScreen();
    const QRect available = screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
    const int lineHeight = lines->fontMetrics().lineSpacing();
    const int wanted = static_cast<int>(text.count(QLatin1Char('\n')) + 1) * lineHeight + 80;
    dialog.resize(std::min(640, available.width() * 9 / 10), std::min(wanted, available.height() * 3 / 4));
    dialog.exec();
}

} // namespace

void QtMessageService::beep() { QApplication::beep(); }

void QtMessageService::message(Kind kind, const QString& text, const QString& caption)
{
    if (text.count(QLatin1Char('\n')) >= LongMessageLines) {
        showLongMessage(caption.isEmpty() ? defaultCaption(kind) : caption, text);
        return;
    }
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
    return ask(text, caption) == Answer::Yes;
}

MessageService::Answer QtMessageService::ask(const QString& text, const QString& caption)
{
    QMessageBox box(QMessageBox::Question, caption.isEmpty() ? QStringLiteral("Confirmação") : caption, text,
                    QMessageBox::NoButton, QApplication::activeWindow());
    QPushButton* yes = box.addButton(QStringLiteral("&Sim"), QMessageBox::YesRole);
    QPushButton* no = box.addButton(QStringLiteral("&Não"), QMessageBox::NoRole);
    // Escape and the close box end the box on a button never shown, which
    // tells them from "Não".
    QPushButton* closed = box.addButton(QString(), QMessageBox::RejectRole);
    closed->setObjectName(QStringLiteral("FecharSemResposta"));
    closed->hide();
    box.setDefaultButton(yes);
    box.setEscapeButton(closed);
    box.exec();
    if (box.clickedButton() == yes)
        return Answer::Yes;
    return box.clickedButton() == no ? Answer::No : Answer::Closed;
}

} // namespace kv::ui
