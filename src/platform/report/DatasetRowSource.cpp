#include "platform/report/DatasetRowSource.h"

#include "platform/db/Dataset.h"

namespace kv::report {

bool DatasetRowSource::first()
{
    if (!m_dataset.isOpen())
        return false;
    m_dataset.first();
    return !m_dataset.isEmpty();
}

bool DatasetRowSource::next()
{
    // A detail dataset may have been emptied by its master's move.
    if (m_dataset.isEmpty() || m_dataset.eof())
        return false;
    const int before = m_dataset.currentRow();
    m_dataset.next();
    if (m_dataset.eof() || m_dataset.currentRow() == before) {
        m_dataset.moveTo(before);
        return false;
    }
    return true;
}

int DatasetRowSource::fieldCount() const { return m_dataset.fieldCount(); }

QString DatasetRowSource::fieldName(int index) const { return m_dataset.fieldDef(index).name; }

int DatasetRowSource::fieldIndex(const QString& name) const { return m_dataset.fieldIndex(name); }

QVariant DatasetRowSource::value(int index) const
{
    const int row = m_dataset.currentRow();
    return row < 0 ? QVariant() : m_dataset.valueAt(row, index);
}

} // namespace kv::report
