#pragma once

#include <QMarginsF>
#include <QPageLayout>
#include <QPageSize>
#include <QSizeF>

namespace kv::report {

// Paper size, orientation and margins of a report, in millimetres.
class PageSetup {
public:
    QPageSize::PageSizeId size() const { return m_size; }
    PageSetup& setSize(QPageSize::PageSizeId size)
    {
        m_size = size;
        return *this;
    }
    QPageLayout::Orientation orientation() const { return m_orientation; }
    PageSetup& setOrientation(QPageLayout::Orientation orientation)
    {
        m_orientation = orientation;
        return *this;
    }
    const QMarginsF& margins() const { return m_margins; }
    PageSetup& setMargins(double left, double top, double right, double bottom)
    {
        m_margins = QMarginsF(left, top, right, bottom);
        return *this;
    }

    QSizeF sizeMm() const; // as printed, orientation applied
    double contentWidth() const; // between the left and right margins
    QPageLayout layout() const; // for printers and PDF writers, without margins

private:
    QPageSize::PageSizeId m_size = QPageSize::A4;
    QPageLayout::Orientation m_orientation = QPageLayout::Portrait;
    QMarginsF m_margins{10, 10, 10, 10};
};

} // namespace kv::report
