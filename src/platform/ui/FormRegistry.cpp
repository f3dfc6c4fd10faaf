#include "platform/ui/FormRegistry.h"

#include <QDialog>

namespace kv::ui {

void FormRegistry::add(const QString& className, Factory factory) { m_factories[className] = std::move(factory); }

void FormRegistry::remove(const QString& className) { m_factories.erase(className); }

bool FormRegistry::contains(const QString& className) const { return m_factories.count(className) > 0; }

QStringList FormRegistry::classNames() const
{
    QStringList names;
    for (const auto& [name, factory] : m_factories)
        names << name;
    return names;
}

QDialog* FormRegistry::create(const QString& className, QWidget* parent) const
{
    auto it = m_factories.find(className);
    if (it == m_factories.end())
        return nullptr;
    QDialog* form = it->second(parent);
    if (form && form->objectName().isEmpty())
        form->setObjectName(className);
    return form;
}

} // namespace kv::ui
