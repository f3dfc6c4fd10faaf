#pragma once

#include "platform/db/Dataset.h"

#include <QObject>
#include <QPointer>
#include <functional>

namespace kv::ui {

// Ties a control to one field of a dataset: tells the control when the
// value it shows may have changed (open, close, another row, an edit, a
// cancel) and writes the control's value into the current row, putting the
// row into edit first, as typing into a bound control does.
class FieldLink : public QObject {
    Q_OBJECT
public:
    explicit FieldLink(std::function<void()> refresh, QObject* parent = nullptr);

    void setField(kv::db::Dataset* dataset, const QString& fieldName);
    kv::db::Dataset* dataset() const { return m_dataset; }
    QString fieldName() const { return m_fieldName; }
    // True while the dataset is open and has the field.
    bool isActive() const;
    const kv::db::FieldDef* fieldDef() const;

    QVariant value() const;
    // Writes into the current row; false with the data layer's message when
    // the row cannot be edited or the value does not fit the field.
    bool write(const QVariant& value, QString* error);
    // True while write() is running (the control's own change coming back).
    bool isWriting() const { return m_writing; }

private:
    void changed();

    std::function<void()> m_refresh;
    QPointer<kv::db::Dataset> m_dataset;
    QString m_fieldName;
    QList<QMetaObject::Connection> m_connections;
    bool m_writing = false;
};

} // namespace kv::ui
