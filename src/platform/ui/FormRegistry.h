#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <map>

class QDialog;
class QWidget;

namespace kv::ui {

// The forms of one session by class name ("TORCF002"), so that menus, side
// doors and the tests open a form without knowing its header. Each subsystem
// adds its forms through a registration function of its own; a factory
// captures whatever the form needs from the session. The registry belongs to
// what lives no longer than the session (the main window, a test's
// scenario), so that no factory outlives the objects it captured.
class FormRegistry {
public:
    using Factory = std::function<QDialog*(QWidget* parent)>;

    void add(const QString& className, Factory factory); // replaces an earlier one
    void remove(const QString& className);
    void clear() { m_factories.clear(); }
    bool contains(const QString& className) const;
    QStringList classNames() const;

    // A new form owned by `parent`; nullptr when the class is unknown.
    QDialog* create(const QString& className, QWidget* parent = nullptr) const;

private:
    std::map<QString, Factory> m_factories;
};

} // namespace kv::ui
