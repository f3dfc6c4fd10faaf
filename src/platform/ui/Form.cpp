#include "platform/ui/Form.h"

#include "platform/ui/BoundControl.h"
#include "platform/ui/FormColours.h"
#include "platform/ui/MessageService.h"
#include "platform/ui/StatusBar.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QScreen>
#include <QScrollArea>
#include <QTabWidget>
#include <QVBoxLayout>
#include <QWindow>

#include <algorithm>

namespace kv::ui {

namespace {

QWidget* focusTarget(QWidget* widget)
{
    while (widget && widget->focusProxy())
        widget = widget->focusProxy();
    return widget;
}

bool matchesShortcut(const QAction* action, const QKeyEvent* event)
{
    const QKeySequence pressed(event->keyCombination());
    for (const QKeySequence& shortcut : action->shortcuts()) {
        if (shortcut.matches(pressed) == QKeySequence::ExactMatch)
            return true;
    }
    return false;
}

// The forms' key preview: every key pressed in a form reaches the form before
// the focused control. A control's own standard keys (Ctrl+Insert copies,
// Shift+Insert pastes in an edit) give way to a shortcut that the form put on
// that control, such as the lookup actions of a field.
class KeyPreview : public QObject {
public:
    using QObject::QObject;

    static void ensureInstalled()
    {
        static KeyPreview* preview = nullptr;
        if (!preview && qApp) {
            preview = new KeyPreview(qApp);
            qApp->installEventFilter(preview);
        }
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::KeyPress && event->type() != QEvent::ShortcutOverride)
            return false;
        auto* widget = qobject_cast<QWidget*>(watched);
        if (!widget)
            return false;
        auto* form = qobject_cast<Form*>(widget->window());
        if (!form)
            return false;
        // A key ignored by a control travels on to its parents; the form sees it once.
        QWidget* focus = QApplication::focusWidget();
        if (focus && widget != focus && widget != form)
            return false;
        auto* key = static_cast<QKeyEvent*>(event);
        if (event->type() == QEvent::ShortcutOverride) {
            for (QAction* action : widget->actions()) {
                if (action->isEnabled() && matchesShortcut(action, key))
                    return true; // not claimed by the control: the shortcut fires
            }
            return false;
        }
        return form->previewKey(key);
    }
};

// The scroller around a form's body: as big as the body asks, so that the
// form's natural size is its content's; smaller when the screen is.
class BodyScroll : public QScrollArea {
public:
    using QScrollArea::QScrollArea;

    QSize sizeHint() const override
    {
        const int frame = 2 * frameWidth();
        return widget() ? widget()->sizeHint().expandedTo(widget()->minimumSizeHint()) + QSize(frame, frame)
                        : QScrollArea::sizeHint();
    }

protected:
    // The body asks for another size (a page shown, a field sized): the
    // form measures this scroller again, whose size is the body's.
    bool viewportEvent(QEvent* event) override
    {
        if (event->type() == QEvent::LayoutRequest)
            updateGeometry();
        return QScrollArea::viewportEvent(event);
    }
};

// The part of a window's outer size that its frame takes.
QSize frameExtent(const QWidget* window)
{
    if (const QWindow* handle = window->windowHandle()) {
        const QMargins margins = handle->frameMargins();
        return {margins.left() + margins.right(), margins.top() + margins.bottom()};
    }
    return {0, 0};
}

// Where a window of outer size `outer` meant to stand at `wanted` stands
// within the screen's available area.
QPoint withinScreen(QPoint wanted, QSize outer, const QRect& available)
{
    return {
        std::clamp(wanted.x(), available.left(), std::max(available.left(), available.right() + 1 - outer.width())),
        std::clamp(wanted.y(), available.top(), std::max(available.top(), available.bottom() + 1 - outer.height()))};
}

} // namespace

Form::Form(QWidget* parent, int statusPanels) : QDialog(parent)
{
    KeyPreview::ensureInstalled();
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, formColour());
    setPalette(palette);
    setAutoFillBackground(true);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    m_scroll = new BodyScroll(this);
    m_scroll->setObjectName(QStringLiteral("BodyScroll"));
    m_scroll->setFrameShape(QFrame::NoFrame);
    m_scroll->setFocusPolicy(Qt::NoFocus);
    m_scroll->setWidgetResizable(true);
    m_body = new QWidget;
    m_body->setObjectName(QStringLiteral("Body"));
    m_scroll->setWidget(m_body);
    m_scroll->viewport()->setAutoFillBackground(false);
    m_body->setAutoFillBackground(false);
    layout->addWidget(m_scroll, 1);
    m_statusBar = new StatusBar(statusPanels, this);
    layout->addWidget(m_statusBar);
}

Form::~Form()
{
    // The controls outlive this part of the form while the base destroys them.
    for (const auto& [target, field] : m_fields) {
        disconnect(target, &QObject::destroyed, this, nullptr);
        target->removeEventFilter(this);
    }
    m_fields.clear();
}

QWidget* Form::buttonBar()
{
    if (!m_buttonBar) {
        m_buttonBar = new QWidget(this);
        m_buttonBar->setObjectName(QStringLiteral("ButtonBar"));
        static_cast<QVBoxLayout*>(layout())->insertWidget(1, m_buttonBar);
    }
    return m_buttonBar;
}

void Form::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!m_fitted && !event->spontaneous()) {
        m_fitted = true;
        // Notebook pages in the form's colour, as the rest of the form.
        for (QTabWidget* pages : findChildren<QTabWidget*>())
            for (int i = 0; i < pages->count(); ++i)
                pages->widget(i)->setAutoFillBackground(true);
        fitToScreen();
    }
}

void Form::fitToScreen()
{
    QScreen* screen = this->screen();
    if (!screen)
        return;
    // Fields sized meanwhile (a dataset opened) have their layouts still to redo.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    // Pages not shown yet measure as the style will draw them.
    for (QWidget* child : findChildren<QWidget*>())
        child->ensurePolished();
    // A hidden notebook page does not pass its fields' new widths up: the
    // layouts around it keep the size they measured before. Every layout
    // measures again.
    for (QLayout* inner : findChildren<QLayout*>())
        inner->invalidate();
    if (QLayout* own = layout())
        own->activate();
    const QRect available = screen->availableGeometry();
    const QSize frame = frameExtent(this);
    const QSize size = sizeHint().expandedTo(minimumSizeHint()).boundedTo(available.size() - frame);
    resize(size);
    // Centred on the window the form opened from, within the screen.
    QWidget* over = parentWidget() ? parentWidget()->window() : QApplication::activeWindow();
    const QRect area = (over && over != this && over->isVisible()) ? over->frameGeometry() : available;
    const QSize outer = size + frame;
    move(withinScreen(area.center() - QPoint(outer.width() / 2, outer.height() / 2), outer, available));
}

void Form::growToContent()
{
    const QScreen* screen = this->screen();
    if (!screen)
        return;
    const QRect available = screen->availableGeometry();
    const QSize frame = frameExtent(this);
    const QSize grown = size().expandedTo(sizeHint()).boundedTo(available.size() - frame);
    if (grown.width() <= width() && grown.height() <= height())
        return;
    resize(grown.expandedTo(size()));
    move(withinScreen(pos(), size() + frame, available));
}

void Form::setStatusText(int panel, const QString& text) { m_statusBar->setText(panel, text); }

QString Form::statusText(int panel) const { return m_statusBar->text(panel); }

Form::Field& Form::fieldFor(QWidget* widget)
{
    QWidget* target = focusTarget(widget);
    auto it = m_fields.find(target);
    if (it == m_fields.end()) {
        it = m_fields.emplace(target, Field{}).first;
        it->second.widget = widget;
        watch(target);
        connect(target, &QObject::destroyed, this, [this, target] { m_fields.erase(target); });
    }
    return it->second;
}

Form::Field* Form::fieldAt(QObject* focusTarget)
{
    auto it = m_fields.find(static_cast<QWidget*>(focusTarget));
    return it == m_fields.end() ? nullptr : &it->second;
}

void Form::watch(QWidget* widget) { widget->installEventFilter(this); }

void Form::setCaptionLabel(QWidget* field, QLabel* label)
{
    fieldFor(field).label = label;
    paintLabel(label, false);
}

QLabel* Form::captionLabel(QWidget* field) const
{
    auto it = m_fields.find(focusTarget(field));
    return it == m_fields.end() ? nullptr : it->second.label.data();
}

void Form::setKeyHint(QWidget* field, const QString& hint) { fieldFor(field).hint = hint; }

void Form::setEnterHandler(QWidget* field, std::function<void()> handler)
{
    fieldFor(field).enter = std::move(handler);
}

void Form::setExitHandler(QWidget* field, std::function<void()> handler) { fieldFor(field).exit = std::move(handler); }

void Form::EnableEvents()
{
    // Bound controls check what was typed into them whether or not the form
    // gave them handlers of its own.
    for (QWidget* child : findChildren<QWidget*>()) {
        if (dynamic_cast<BoundControl*>(child))
            fieldFor(child);
    }
    m_eventsEnabled = true;
}

void Form::DisableEvents()
{
    m_eventsEnabled = false;
    m_redirect = nullptr;
    m_redirecting = false;
}

void Form::paintLabel(QLabel* label, bool editing)
{
    if (!label)
        return;
    QPalette palette = label->palette();
    palette.setColor(QPalette::Window, editing ? editingLabelColour() : formColour());
    label->setPalette(palette);
    label->setAutoFillBackground(true);
}

void Form::focusField(QWidget* widget)
{
    if (!widget)
        return;
    if (m_handlerDepth == 0) {
        widget->setFocus(Qt::OtherFocusReason);
        return;
    }
    // A focus change is under way: finish it first, then move.
    m_redirect = focusTarget(widget);
    if (m_redirecting)
        return;
    m_redirecting = true;
    QMetaObject::invokeMethod(
        this, [this] { land(); }, Qt::QueuedConnection);
}

void Form::land()
{
    m_redirecting = false;
    QPointer<QWidget> target = m_redirect;
    if (!target || !m_eventsEnabled) {
        m_redirect = nullptr;
        return;
    }
    if (target->hasFocus()) {
        m_redirect = nullptr;
        if (Field* field = fieldAt(target))
            runEnter(*field);
        return;
    }
    if (!m_fields.count(target))
        watch(target);
    target->setFocus(Qt::OtherFocusReason);
    // Refused (hidden, disabled, window gone): do not stay on hold.
    if (target && !target->hasFocus() && isActiveWindow())
        m_redirect = nullptr;
}

void Form::rejectField(const QString& message, bool beep)
{
    QWidget* field = m_leaving;
    if (field)
        m_redirect = focusTarget(field); // hold every handler while the box is up
    if (beep)
        messages().beep();
    if (!message.isEmpty())
        messages().error(message);
    if (field)
        focusField(field);
}

void Form::runEnter(Field& field)
{
    ++m_handlerDepth;
    paintLabel(field.label, true);
    if (!field.hint.isEmpty())
        setStatusText(0, field.hint);
    if (field.enter)
        field.enter();
    --m_handlerDepth;
}

void Form::runExit(Field& field)
{
    ++m_handlerDepth;
    QPointer<QWidget> previous = m_leaving;
    m_leaving = field.widget;
    setStatusText(0, QString());
    paintLabel(field.label, false);
    QString error;
    auto* bound = dynamic_cast<BoundControl*>(field.widget.data());
    if (bound && !bound->commitPending(&error))
        rejectField(error);
    else if (field.exit)
        field.exit();
    m_leaving = previous;
    --m_handlerDepth;
}

bool Form::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    if ((type == QEvent::FocusIn || type == QEvent::FocusOut) && m_eventsEnabled) {
        auto* focus = static_cast<QFocusEvent*>(event);
        if (m_redirect) {
            // On hold: only the arrival at the target counts.
            if (type == QEvent::FocusIn && watched == m_redirect.data()) {
                m_redirect = nullptr;
                if (Field* field = fieldAt(watched))
                    runEnter(*field);
            }
            return QDialog::eventFilter(watched, event);
        }
        const Qt::FocusReason reason = focus->reason();
        const bool windowSwitch = reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason
                                  || reason == Qt::MenuBarFocusReason || reason == Qt::NoFocusReason;
        if (!windowSwitch && m_handlerDepth == 0) {
            if (Field* field = fieldAt(watched)) {
                if (type == QEvent::FocusIn)
                    runEnter(*field);
                else
                    runExit(*field);
            }
        }
    }
    return QDialog::eventFilter(watched, event);
}

bool Form::FormKeyPress(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        if (event->modifiers() & ~(Qt::KeypadModifier))
            return false;
        focusNextChild();
        return true;
    }
    return false;
}

void Form::keyPressEvent(QKeyEvent* event)
{
    // A form closes by its own buttons or the close box, not by Escape.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        event->ignore();
        return;
    }
    QDialog::keyPressEvent(event);
}

bool Form::event(QEvent* event)
{
    const bool handled = QDialog::event(event);
    // Content that grew once the form was open (a page shown for the first
    // time, a field sized by its data) gets its room rather than scroll bars.
    if (event->type() == QEvent::LayoutRequest && m_fitted && isVisible())
        growToContent();
    if (event->type() == QEvent::WindowActivate && !m_activated && !m_closing) {
        m_activated = true;
        FormActivate();
        // What the activation filled in (datasets opened, names shown) counts.
        if (isVisible())
            fitToScreen();
    }
    return handled;
}

void Form::done(int result)
{
    if (!m_closing) {
        m_closing = true;
        DisableEvents();
        FormClose();
    }
    QDialog::done(result);
    m_closing = false;
    m_activated = false;
    m_fitted = false;
}

} // namespace kv::ui
