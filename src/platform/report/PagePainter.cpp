#include "platform/report/PagePainter.h"

#include <QPaintDevice>
#include <QPainter>

namespace kv::report {

namespace {

QRectF scaled(const QRectF& mm, double scale)
{
    return QRectF(mm.left() * scale, mm.top() * scale, mm.width() * scale, mm.height() * scale);
}

QRectF fitted(const QRectF& frame, const QSize& picture)
{
    if (picture.isEmpty())
        return frame;
    QSizeF size = QSizeF(picture).scaled(frame.size(), Qt::KeepAspectRatio);
    return QRectF(frame.center() - QPointF(size.width() / 2, size.height() / 2), size);
}

} // namespace

void PagePainter::paint(QPainter& painter, const RenderedPage& page)
{
    const double scale = painter.device()->logicalDpiX() / 25.4;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    for (const RenderedBand& band : page.bands) {
        if (band.color.isValid())
            painter.fillRect(scaled(band.rect, scale), band.color);
        for (const RenderedItem& item : band.items) {
            const QRectF rect = scaled(item.rect, scale);
            switch (item.kind) {
            case RenderedItem::Kind::Text:
                if (item.fill.isValid())
                    painter.fillRect(rect, item.fill);
                if (item.text.isEmpty())
                    break;
                painter.setFont(item.font);
                painter.setPen(item.color);
                painter.drawText(rect, item.flags | Qt::TextDontClip, item.text);
                break;
            case RenderedItem::Kind::Rectangle:
            case RenderedItem::Kind::Ellipse:
            case RenderedItem::Kind::Line: {
                QPen pen(item.color);
                pen.setWidthF(std::max(item.penWidth * scale, 0.5));
                painter.setPen(item.penWidth > 0 ? pen : QPen(Qt::NoPen));
                painter.setBrush(item.fill.isValid() ? QBrush(item.fill) : QBrush(Qt::NoBrush));
                if (item.kind == RenderedItem::Kind::Rectangle)
                    painter.drawRect(rect);
                else if (item.kind == RenderedItem::Kind::Ellipse)
                    painter.drawEllipse(rect);
                else
                    painter.drawLine(rect.topLeft(), rect.bottomRight());
                break;
            }
            case RenderedItem::Kind::Image:
                painter.drawImage(item.keepAspect ? fitted(rect, item.image.size()) : rect, item.image);
                break;
            }
        }
    }
    painter.restore();
}

QImage PagePainter::image(const RenderedPage& page, double dpi)
{
    // Whole dots per inch, so the painter's scale and the picture's size agree.
    const int dots = qMax(1, qRound(dpi));
    const QSizeF mm = page.setup.sizeMm();
    const QSize size(qMax(1, qRound(mm.width() / 25.4 * dots)), qMax(1, qRound(mm.height() / 25.4 * dots)));
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    const int dpm = qRound(dots / 0.0254);
    image.setDotsPerMeterX(dpm);
    image.setDotsPerMeterY(dpm);
    image.fill(Qt::white);
    QPainter painter(&image);
    paint(painter, page);
    return image;
}

} // namespace kv::report
