#include "platform/report/RowSource.h"

namespace kv::report {

QVariant RowView::value(const QString& name) const
{
    const int index = fieldIndex(name);
    return index < 0 ? QVariant() : value(index);
}

} // namespace kv::report
