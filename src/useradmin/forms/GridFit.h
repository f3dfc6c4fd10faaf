#pragma once

#include "platform/ui/DbGrid.h"

#include <QHeaderView>
#include <QScrollBar>

namespace kv::useradmin {

// A grid exactly as wide as its columns and a vertical scroll bar, `lines`
// lines high: no title cut, nothing to scroll sideways.
inline void fitGridToColumns(ui::DbGrid* grid, int lines)
{
    int width = 2 * grid->frameWidth() + grid->verticalScrollBar()->sizeHint().width() + 2;
    for (int i = 0; i < grid->model()->columnCount(); ++i)
        width += grid->columnWidth(i);
    grid->setFixedWidth(width);
    grid->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    grid->setMinimumHeight(grid->horizontalHeader()->sizeHint().height()
                           + grid->verticalHeader()->defaultSectionSize() * lines + 2 * grid->frameWidth());
}

} // namespace kv::useradmin
