#pragma once

#include <QColor>
#include <QPointer>
#include <QString>
#include <QWidget>

namespace kv::test {

// Drives one open window (a form, or a dialog a form opened) as a user would:
// controls are found by their object names, which are the component names
// of the forms ("Edit_Codigo", "BotInserir", "DBGrid1"); "Parent/Child"
// reaches a named part of a control ("BotNavig/Next"). A control that is
// missing, hidden or disabled where the action needs it fails the test.
class FormDriver {
public:
    FormDriver() = default;
    explicit FormDriver(QWidget* window) : m_window(window) {}

    QWidget* window() const { return m_window; }
    bool isOpen() const { return m_window && m_window->isVisible(); }
    QString caption() const;

    // --- finding ---
    QWidget* find(const QString& name) const; // fails the test when absent
    template <class T>
    T* find(const QString& name) const
    {
        return qobject_cast<T*>(find(name));
    }
    bool has(const QString& name) const;
    bool isVisible(const QString& name) const; // shown on screen (itself and its parents)
    bool isEnabled(const QString& name) const;

    // --- focus and keys ---
    // Name of the control with the focus (the named control around an inner
    // edit), "" when none.
    QString focused() const;
    // Clicks into the control, as the mouse moves the focus.
    void focus(const QString& name);
    // Clicks into the control, selects what it holds and types `text`.
    void type(const QString& name, const QString& text);
    // Types into the control that has the focus.
    void typeText(const QString& text);
    void press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
    void enter() { press(Qt::Key_Return); }
    void tab() { press(Qt::Key_Tab); }
    void escape() { press(Qt::Key_Escape); }
    void insert() { press(Qt::Key_Insert); }
    void ctrlInsert() { press(Qt::Key_Insert, Qt::ControlModifier); }
    void shiftInsert() { press(Qt::Key_Insert, Qt::ShiftModifier); }

    // --- mouse and menus ---
    // Left click in the middle of the control (a button, a navigator button, a label).
    void click(const QString& name);
    // Left click on the button whose caption, without "&", is `caption`
    // (the buttons of a message box: "OK", "Sim", "Não").
    void clickButton(const QString& caption);
    void doubleClick(const QString& name);
    // Triggers the menu entry (window menu or a control's popup menu) whose
    // text, without "&", is `text`.
    void triggerMenu(const QString& text);
    // Clicks a grid line.
    void clickRow(const QString& grid, int row);

    // --- reading ---
    // The text a control shows: label, edit, memo, combo, button caption,
    // check box, mail label, lookup field.
    QString text(const QString& name) const;
    bool isChecked(const QString& name) const;
    // The background colour of a label (the form's colour when it paints none).
    QColor colour(const QString& name) const;
    QString statusPanel(int panel) const; // of the window's "StatusBar"
    int gridRowCount(const QString& grid) const;
    int gridCurrentRow(const QString& grid) const;
    QString gridCell(const QString& grid, int row, int column) const;
    QStringList gridColumn(const QString& grid, int column) const; // every row's cell, top to bottom
    QStringList gridTitles(const QString& grid) const;

    // Saves a picture of the window to a PNG file; false when it could not be written.
    bool screenshot(const QString& path) const;

    // Closes the window by its close box.
    void close();

private:
    QWidget* focusTarget() const;
    QWidget* usable(const QString& name) const; // found, shown and enabled

    QPointer<QWidget> m_window;
};

} // namespace kv::test
