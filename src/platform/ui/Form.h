#pragma once

#include <QDialog>
#include <QPointer>
#include <functional>
#include <map>

class QLabel;
class QKeyEvent;
class QScrollArea;

namespace kv::ui {

class StatusBar;

// Base of every form: the form colour, the status bar (panel 0 the key hints
// of the field being edited, panel 1 the maker tag), Enter moving to the next
// control, the caption label of the focused field in light yellow, and field
// enter/exit handlers whose checks keep the focus in the field.
//
// Enter and exit handlers run only while events are enabled (EnableEvents at
// activation, DisableEvents first thing at close), and only for focus moves
// made by the user or the program inside the form: a message box or a popup
// taking the focus away and giving it back runs none of them.
//
// Inside a handler the focus is moved with focusField() (or kept with
// rejectField()); the move happens once the focus change that called the
// handler is over, and no handler runs for the steps in between.
//
// A form opens at its natural size (what its layout asks for), centred on
// the window it opened from, and never larger than the screen: a body taller
// or wider than the screen scrolls, while the button bar under it stays in
// sight. It keeps that size while the user works in it.
class Form : public QDialog {
    Q_OBJECT
public:
    explicit Form(QWidget* parent = nullptr, int statusPanels = 2);
    ~Form() override;

    // Where the form lays out its controls (above the button bar).
    QWidget* body() const { return m_body; }
    // The bar of the form's own buttons (Terminar...) under the body: the
    // form gives it a layout. Created on first use.
    QWidget* buttonBar();

    StatusBar* statusBar() const { return m_statusBar; }
    void setStatusText(int panel, const QString& text);
    QString statusText(int panel) const;
    // Panel 1: the maker tag of the login state, written at activation.
    void setMakerTag(const QString& tag) { setStatusText(1, tag); }

    // --- fields ---
    // The caption label that turns light yellow while `field` has the focus.
    void setCaptionLabel(QWidget* field, QLabel* label);
    QLabel* captionLabel(QWidget* field) const;
    // The key hint shown in panel 0 while `field` has the focus.
    void setKeyHint(QWidget* field, const QString& hint);
    void setEnterHandler(QWidget* field, std::function<void()> handler);
    void setExitHandler(QWidget* field, std::function<void()> handler);

    // Gives `widget` the focus. From inside a handler the move is made when
    // the current focus change is over; the widget's enter handler runs on
    // arrival.
    void focusField(QWidget* widget);
    // From an exit handler: the check failed. Beeps (unless `beep` is
    // false), shows `message` (none when empty) and puts the focus back into
    // the field being left.
    void rejectField(const QString& message = {}, bool beep = true);
    // The field whose exit handler is running, or nullptr.
    QWidget* leavingField() const { return m_leaving; }
    bool isHandlerRunning() const { return m_handlerDepth > 0; }

    virtual void EnableEvents();
    virtual void DisableEvents();
    bool eventsEnabled() const { return m_eventsEnabled; }

    // True once FormActivate has run for this opening.
    bool isActivated() const { return m_activated; }

    void done(int result) override;

    // Used by the key preview of the application; true consumes the key.
    bool previewKey(QKeyEvent* event) { return FormKeyPress(event); }

protected:
    // Runs once per opening, at the first activation of the window; message
    // boxes closing over the form do not run it again.
    virtual void FormActivate() {}
    // Runs once when the form closes, after DisableEvents.
    virtual void FormClose() {}
    // Sees every key before the focused control (key preview). The default
    // moves to the next control in tab order on Enter and consumes it.
    virtual bool FormKeyPress(QKeyEvent* event);

    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;

    // Sizes the window to its natural size within the screen and centres
    // it; run when it opens and once more after FormActivate has filled it.
    void fitToScreen();
    // Makes the open window as large as its content asks, within the
    // screen, where it has grown; never smaller.
    void growToContent();

private:
    struct Field {
        QPointer<QWidget> widget;
        QPointer<QLabel> label;
        QString hint;
        std::function<void()> enter;
        std::function<void()> exit;
    };

    Field& fieldFor(QWidget* widget);
    Field* fieldAt(QObject* focusTarget);
    void watch(QWidget* widget);
    void runEnter(Field& field);
    void runExit(Field& field);
    void land();
    void paintLabel(QLabel* label, bool editing);

    QWidget* m_body = nullptr;
    QScrollArea* m_scroll = nullptr;
    QWidget* m_buttonBar = nullptr;
    StatusBar* m_statusBar = nullptr;
    bool m_fitted = false;
    std::map<QWidget*, Field> m_fields; // by focus target
    bool m_eventsEnabled = false;
    bool m_activated = false;
    bool m_closing = false;
    int m_handlerDepth = 0;
    QPointer<QWidget> m_leaving;
    QPointer<QWidget> m_redirect; // where the focus is going once the current change is over
    bool m_redirecting = false;
};

} // namespace kv::ui
