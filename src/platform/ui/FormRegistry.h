#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <map>

class QDialog;
class QWidget;

namespace kv::ui {

// The forms of the program by class name ("TORCF002"), so that menus, side
// doors and the tests open a form without knowing its header. Each subsystem
// adds its forms through a registration function of its own, called by the
// program at start and by the tests that need them; a factory captures
// whatever the form needs from the running session.
class FormRegistry {
public:
    using Factory = std::function<QDialog*(QWidget* parent)>;

    static FormRegistry& instance();

    void add(const QString& className, Factory factory); // replaces an earlier one
    void remove(const QString& className);
    bool contains(const QString& className) const;
    QStringList classNames() const;

    // A new form owned by `parent`; nullptr when the class is unknown.
    QDialog* create(const QString& className, QWidget* parent = nullptr) const;

private:
    std::map<QString, Factory> m_factories;
};

} // namespace kv::ui
