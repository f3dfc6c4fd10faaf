#pragma once

#include <QColor>
#include <QLabel>
#include <QUrl>

namespace kv::ui {

// A label showing an e-mail address; a click opens the user's mail program
// on a new message to it, through the desktop's handler of "mailto:" links.
// The font colour follows the pointer (ColorEnter over it, ColorLeave away).
class TMailit : public QLabel {
    Q_OBJECT
public:
    explicit TMailit(QWidget* parent = nullptr);

    // Sets the address and shows it as the caption.
    void SetMailTo(const QString& address);
    // The address; the control's name while no address is set.
    QString MailTo() const;
    void SetMailSubject(const QString& subject) { m_subject = subject; }
    QString MailSubject() const { return m_subject; }
    void SetMailCC(const QString& cc) { m_cc = cc; }
    QString MailCC() const { return m_cc; }
    void SetMailBCC(const QString& bcc) { m_bcc = bcc; }
    QString MailBCC() const { return m_bcc; }
    void SetMailHint(const QString& hint);
    QString MailHint() const { return m_hint; }
    void SetMailCursor(bool hand);
    bool MailCursor() const { return m_handCursor; }
    void SetColorEnter(const QColor& colour) { m_colorEnter = colour; }
    QColor ColorEnter() const { return m_colorEnter; }
    void SetColorLeave(const QColor& colour);
    QColor ColorLeave() const { return m_colorLeave; }

    // The link the click opens: "mailto:" + address + "?Subject=" + subject +
    // "&cc=" + copies + "&bcc=" + blind copies, every part percent-encoded so
    // that blanks, "&", "?" and accents arrive as typed.
    QUrl mailUrl() const;

    // Opens the mail program, then emits clicked().
    void Click();

Q_SIGNALS:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    void setFontColour(const QColor& colour);

    QString m_mailTo;
    QString m_subject;
    QString m_cc;
    QString m_bcc;
    QString m_hint;
    bool m_handCursor = false;
    QColor m_colorEnter = Qt::blue;
    QColor m_colorLeave = Qt::black;
};

} // namespace kv::ui
