#include "platform/ui/TMailit.h"

#include <QDesktopServices>
#include <QMouseEvent>

namespace kv::ui {

TMailit::TMailit(QWidget* parent) : QLabel(parent)
{
    QFont font(QStringLiteral("Arial"));
    font.setPointSize(this->font().pointSize());
    setFont(font);
    setFontColour(m_colorLeave);
}

void TMailit::SetMailTo(const QString& address)
{
    m_mailTo = address;
    setText(address);
}

QString TMailit::MailTo() const { return m_mailTo.isEmpty() ? objectName() : m_mailTo; }

void TMailit::SetMailHint(const QString& hint)
{
    m_hint = hint;
    setToolTip(hint);
}

void TMailit::SetMailCursor(bool hand)
{
    m_handCursor = hand;
    if (hand)
        setCursor(Qt::PointingHandCursor);
    else
        unsetCursor();
}

void TMailit::SetColorLeave(const QColor& colour)
{
    m_colorLeave = colour;
    setFontColour(colour);
}

void TMailit::setFontColour(const QColor& colour)
{
    QPalette palette = this->palette();
    palette.setColor(QPalette::WindowText, colour);
    setPalette(palette);
}

QUrl TMailit::mailUrl() const
{
    // "@" and "," stay readable in addresses; everything else that is not
    // plain text is encoded, so "&" in a subject cannot start another key.
    auto encode = [](const QString& part) { return QUrl::toPercentEncoding(part, "@,"); };
    QByteArray text = "mailto:" + encode(m_mailTo);
    text += "?Subject=" + encode(m_subject);
    text += "&cc=" + encode(m_cc);
    text += "&bcc=" + encode(m_bcc);
    return QUrl::fromEncoded(text, QUrl::StrictMode);
}

void TMailit::Click()
{
    QDesktopServices::openUrl(mailUrl());
    emit clicked();
}

void TMailit::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        Click();
    QLabel::mouseReleaseEvent(event);
}

void TMailit::enterEvent(QEnterEvent* event)
{
    setFontColour(m_colorEnter);
    QLabel::enterEvent(event);
}

void TMailit::leaveEvent(QEvent* event)
{
    setFontColour(m_colorLeave);
    QLabel::leaveEvent(event);
}

} // namespace kv::ui
