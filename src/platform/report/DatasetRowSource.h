#pragma once

#include "platform/report/RowSource.h"

namespace kv::db {
class Dataset;
}

namespace kv::report {

// The rows of an open dataset, from its first row; the report moves the
// dataset's cursor, so its detail datasets follow as they do on a form.
class DatasetRowSource : public RowSource {
public:
    explicit DatasetRowSource(kv::db::Dataset& dataset) : m_dataset(dataset) {}

    bool first() override;
    bool next() override;
    int fieldCount() const override;
    QString fieldName(int index) const override;
    int fieldIndex(const QString& name) const override;
    QVariant value(int index) const override;
    using RowView::value;

private:
    kv::db::Dataset& m_dataset;
};

} // namespace kv::report
