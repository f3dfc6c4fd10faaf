#include "platform/ui/FieldLink.h"

#include "platform/db/DbError.h"

namespace kv::ui {

using kv::db::Dataset;
using kv::db::DatasetState;

FieldLink::FieldLink(std::function<void()> refresh, QObject* parent) : QObject(parent), m_refresh(std::move(refresh)) {}

void FieldLink::setField(Dataset* dataset, const QString& fieldName)
{
    for (const auto& connection : m_connections)
        disconnect(connection);
    m_connections.clear();
    m_dataset = dataset;
    m_fieldName = fieldName;
    if (dataset) {
        m_connections << connect(dataset, &Dataset::opened, this, &FieldLink::changed)
                      << connect(dataset, &Dataset::closed, this, &FieldLink::changed)
                      << connect(dataset, &Dataset::reset, this, &FieldLink::changed)
                      << connect(dataset, &Dataset::currentChanged, this, &FieldLink::changed)
                      << connect(dataset, &Dataset::stateChanged, this, &FieldLink::changed)
                      << connect(dataset, &Dataset::rowRemoved, this, &FieldLink::changed)
                      << connect(dataset, &Dataset::rowInserted, this, &FieldLink::changed)
                      << connect(dataset, &Dataset::rowChanged, this, [this](int row) {
                             if (m_dataset && row == m_dataset->currentRow())
                                 changed();
                         });
    }
    changed();
}

void FieldLink::changed()
{
    if (!m_writing && m_refresh)
        m_refresh();
}

bool FieldLink::isActive() const { return m_dataset && m_dataset->isOpen() && m_dataset->fieldIndex(m_fieldName) >= 0; }

const kv::db::FieldDef* FieldLink::fieldDef() const
{
    if (!isActive())
        return nullptr;
    return &m_dataset->fieldDef(m_dataset->fieldIndex(m_fieldName));
}

QVariant FieldLink::value() const
{
    if (!isActive() || (m_dataset->isEmpty() && m_dataset->state() == DatasetState::Browse))
        return {};
    return m_dataset->value(m_fieldName);
}

bool FieldLink::write(const QVariant& value, QString* error)
{
    if (!isActive()) {
        *error = QStringLiteral("O campo %1 não está disponível").arg(m_fieldName);
        return false;
    }
    m_writing = true;
    bool written = true;
    try {
        if (m_dataset->state() == DatasetState::Browse)
            m_dataset->edit();
        m_dataset->setValue(m_fieldName, value);
    } catch (const kv::db::DbError& e) {
        *error = e.text();
        written = false;
    }
    m_writing = false;
    return written;
}

} // namespace kv::ui
