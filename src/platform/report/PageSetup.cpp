#include "platform/report/PageSetup.h"

namespace kv::report {

QSizeF PageSetup::sizeMm() const
{
    const QSizeF portrait = QPageSize::size(m_size, QPageSize::Millimeter);
    return m_orientation == QPageLayout::Landscape ? portrait.transposed() : portrait;
}

double PageSetup::contentWidth() const { return sizeMm().width() - m_margins.left() - m_margins.right(); }

QPageLayout PageSetup::layout() const
{
    return QPageLayout(QPageSize(m_size), m_orientation, QMarginsF(), QPageLayout::Millimeter);
}

} // namespace kv::report
