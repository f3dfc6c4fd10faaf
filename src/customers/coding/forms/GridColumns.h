#pragma once

#include "platform/ui/GridColumn.h"

namespace kv::customers {

// A plain column of a grid or lookup list: field, title, width in characters.
inline kv::ui::GridColumn gridColumn(const QString& field, const QString& title, int width)
{
    kv::ui::GridColumn column;
    column.field = field;
    column.title = title;
    column.width = width;
    return column;
}

} // namespace kv::customers
