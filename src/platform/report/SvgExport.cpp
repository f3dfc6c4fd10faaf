#include "platform/report/ExportSupport.h"
#include "platform/report/PagePainter.h"

#include <QBuffer>
#include <QPainter>
#include <QSvgGenerator>

namespace kv::report {

QByteArray svgBytes(const Document& document)
{
    // The pages one under the other, 5 mm apart, in one picture.
    constexpr int dpi = 96;
    constexpr double gapMm = 5.0;
    const double scale = dpi / 25.4;
    double widthMm = 0.0;
    double heightMm = 0.0;
    for (const RenderedPage& page : document.pages) {
        widthMm = std::max(widthMm, page.setup.sizeMm().width());
        heightMm += page.setup.sizeMm().height() + gapMm;
    }
    heightMm -= gapMm;

    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QSvgGenerator svg;
    svg.setOutputDevice(&buffer);
    svg.setResolution(dpi);
    const QSize size(qRound(widthMm * scale), qRound(heightMm * scale));
    svg.setSize(size);
    svg.setViewBox(QRect(QPoint(0, 0), size));
    svg.setTitle(document.title);
    QPainter painter(&svg);
    double top = 0.0;
    for (const RenderedPage& page : document.pages) {
        painter.save();
        painter.translate(0, top * scale);
        painter.fillRect(QRectF(QPointF(0, 0), page.setup.sizeMm() * scale), Qt::white);
        PagePainter::paint(painter, page);
        painter.restore();
        top += page.setup.sizeMm().height() + gapMm;
    }
    painter.end();
    return bytes;
}

} // namespace kv::report
