#include "imaging/core/ZoomGeometry.h"

#include <QRectF>
#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace kv::imaging {

int truncated(double value)
{
    constexpr double limit = 1 << 30;
    if (std::isnan(value))
        return 0;
    return static_cast<int>(std::trunc(std::clamp(value, -limit, limit)));
}

ZoomedView zoomedView(QSize control, QSize picture, double zoom, QPoint origin, int scrollbarWidth, bool showScrollbars,
                      bool center)
{
    ZoomedView v;
    const int W = control.width();
    const int H = control.height();
    const int pw = picture.width();
    const int ph = picture.height();
    const int zw = truncated(pw * zoom);
    const int zh = truncated(ph * zoom);
    v.wider = zw > W;
    v.taller = zh > H;
    const int s = showScrollbars ? scrollbarWidth : 0;
    if (!v.wider && !v.taller) {
        v.source = QRect(0, 0, pw, ph);
        v.target = QRect(0, 0, zw, zh);
        if (center) {
            v.offsetX = (W - zw) / 2;
            v.offsetY = (H - zh) / 2;
        }
    } else {
        v.scrollbarWidth = s;
        if (v.wider && v.taller) {
            v.source = QRect(origin.x(), origin.y(), truncated((W - s) / zoom), truncated((H - s) / zoom));
            v.target = QRect(0, 0, W - s, H - s);
        } else if (v.wider) {
            v.source = QRect(origin.x(), origin.y(), truncated((W - s) / zoom), ph);
            v.target = QRect(0, 0, W - s, zh);
            if (center)
                v.offsetY = (H - zh) / 2;
        } else {
            v.source = QRect(origin.x(), origin.y(), pw, truncated((H - s) / zoom));
            v.target = QRect(0, 0, zw, H - s);
            if (center)
                v.offsetX = (W - zw) / 2;
        }
    }
    v.target.translate(v.offsetX, v.offsetY);
    return v;
}

ScrollbarLayout layoutScrollbars(bool eligible, QSize control, QSize picture, double zoom, QPoint origin, int w)
{
    ScrollbarLayout l;
    const int W = control.width();
    const int H = control.height();
    const double zw = picture.width() * zoom;
    const double zh = picture.height() * zoom;
    l.shown = eligible && (truncated(zw) > W || truncated(zh) > H);
    if (!l.shown)
        return l;
    l.vertical = QRect(W - w, 1, w, H - w - 1);
    l.horizontal = QRect(1, H - w, W - w - 1, w);
    l.corner = QRect(W - w, H - w, w, w);
    l.horizontalMaximum = std::max(0, truncated(zw - W + w));
    l.verticalMaximum = std::max(0, truncated(zh - H + w));
    l.horizontalPosition = l.horizontalMaximum > 0 ? std::min(truncated(origin.x() * zoom), l.horizontalMaximum) : 0;
    l.verticalPosition = l.verticalMaximum > 0 ? std::min(truncated(origin.y() * zoom), l.verticalMaximum) : 0;
    return l;
}

namespace {

// The origin moved back so that the view does not pass the picture's right
// and bottom edges.
QPoint keptInside(QPoint origin, double zoom, QSize control, QSize picture)
{
    if (control.width() > (picture.width() - origin.x()) * zoom)
        origin.setX(std::max(0, picture.width() - truncated(control.width() / zoom)));
    if (control.height() > (picture.height() - origin.y()) * zoom)
        origin.setY(std::max(0, picture.height() - truncated(control.height() / zoom)));
    return origin;
}

} // namespace

bool zoomOutStep(double& zoom, QPoint& origin, double factor, QSize control, QSize picture)
{
    const double product = zoom * factor;
    if (!(product > kMinZoom && product < kMaxZoom))
        return false;
    zoom = product;
    origin = keptInside(origin, zoom, control, picture);
    return true;
}

std::optional<AreaZoom> zoomIntoArea(QPoint corner1, QPoint corner2, QSize control, QSize picture, const AreaView& view)
{
    const QPoint topLeft(std::min(corner1.x(), corner2.x()), std::min(corner1.y(), corner2.y()));
    const QSize span(std::abs(corner1.x() - corner2.x()), std::abs(corner1.y() - corner2.y()));
    const QRect area = QRect(topLeft, span).intersected(QRect(QPoint(0, 0), control));
    if (area.width() <= 0 || area.height() <= 0 || picture.isEmpty())
        return std::nullopt;
    // The picture pixels under the area as the control shows them now.
    const QRectF under = view.stretched ? QRectF(area.x() * double(picture.width()) / control.width(),
                                                 area.y() * double(picture.height()) / control.height(),
                                                 area.width() * double(picture.width()) / control.width(),
                                                 area.height() * double(picture.height()) / control.height())
                                        : QRectF(view.origin.x() + (area.x() - view.offsets.x()) / view.zoom,
                                                 view.origin.y() + (area.y() - view.offsets.y()) / view.zoom,
                                                 area.width() / view.zoom, area.height() / view.zoom);
    const double zoom = std::min(control.width() / under.width(), control.height() / under.height());
    if (!(zoom > kMinZoom && zoom < kMaxZoom))
        return std::nullopt;
    const QPoint corner(std::clamp(truncated(under.x()), 0, picture.width() - 1),
                        std::clamp(truncated(under.y()), 0, picture.height() - 1));
    return AreaZoom{zoom, keptInside(corner, zoom, control, picture)};
}

bool zoomInStep(double& zoom, double factor)
{
    const double product = zoom * factor;
    if (!(product < kMaxZoom && product > 0))
        return false;
    zoom = product;
    return true;
}

double fitZoom(QSize control, QSize picture)
{
    if (picture.width() <= 0 || picture.height() <= 0)
        return 1.0;
    const double byHeight = double(control.height()) / picture.height();
    const double byWidth = double(control.width()) / picture.width();
    return byHeight < byWidth ? byHeight : byWidth;
}

QPoint originWithoutScrollbars(QPoint origin, QSize control, QSize picture, double zoom)
{
    if (control.width() < picture.width() * zoom) {
        const int d = truncated(control.width() - (picture.width() - origin.x()) * zoom);
        if (d > 0)
            origin.setX(truncated(origin.x() - d / zoom) - 1);
    }
    if (control.height() < picture.height() * zoom) {
        const int d = truncated(control.height() - (picture.height() - origin.y()) * zoom);
        if (d > 0)
            origin.setY(truncated(origin.y() - d / zoom) - 1);
    }
    return origin;
}

namespace {

int grabAxis(int origin, int last, int now, double zoom, int extent, int picture, int s)
{
    int c = truncated((last - now) / zoom);
    if (c == 0 && last != now)
        c = last > now ? 1 : -1;
    if (origin + c < 0 || extent > picture * zoom)
        return 0;
    if (extent - s > (picture - c - origin) * zoom)
        return picture - truncated((extent - s) / zoom);
    return origin + c;
}

} // namespace

QPoint grabStep(QPoint origin, QPoint last, QPoint now, double zoom, QSize control, QSize picture, int s)
{
    return {grabAxis(origin.x(), last.x(), now.x(), zoom, control.width(), picture.width(), s),
            grabAxis(origin.y(), last.y(), now.y(), zoom, control.height(), picture.height(), s)};
}

int rubberBandQuadrant(int dx, int dy)
{
    int q = 0;
    if (dx >= 0 && dy <= 0)
        q = 1;
    if (dx <= 0 && dy <= 0)
        q = 2;
    if (dx <= 0 && dy >= 0)
        q = 3;
    if (dx >= 0 && dy >= 0)
        q = 4;
    return q;
}

QPoint rubberBandEnd(QPoint start, QPoint mouse, QSize control)
{
    const double dx = mouse.x() - start.x();
    const double dy = mouse.y() - start.y();
    const double length = std::sqrt(dx * dx + dy * dy);
    const double r = control.width() > 0 ? double(control.height()) / control.width() : 1.0;
    const double ex = std::fabs(length / std::sqrt(r * r + 1));
    const double ey = r * ex;
    double ox = ex, oy = ey;
    switch (rubberBandQuadrant(int(dx), int(dy))) {
    case 1:
        ox = ex;
        oy = -ey;
        break;
    case 2:
        ox = -ex;
        oy = -ey;
        break;
    case 3:
        ox = -ex;
        oy = ey;
        break;
    default: break;
    }
    return {truncated(start.x() + ox), truncated(start.y() + oy)};
}

} // namespace kv::imaging

namespace kv::imaging {

QImage shrinkTwoColour(const QImage& picture, QSize size, bool keepDark)
{
    if (picture.isNull() || size.isEmpty() || (size.width() >= picture.width() && size.height() >= picture.height()))
        return picture;
    const QImage mono = picture.convertToFormat(QImage::Format_Mono);
    const QList<QRgb> table = mono.colorTable();
    const bool index1Dark = table.size() > 1 && qGray(table[1]) < qGray(table[0]);
    const int darkIndex = index1Dark ? 1 : 0;
    const int wanted = keepDark ? darkIndex : 1 - darkIndex;
    QImage out(size, QImage::Format_Mono);
    out.setColorTable(table);
    out.fill(1 - wanted);
    const int pw = mono.width();
    const int ph = mono.height();
    for (int y = 0; y < ph; ++y) {
        const uchar* line = mono.constScanLine(y);
        const int ty = int(qint64(y) * size.height() / ph);
        for (int x = 0; x < pw; ++x) {
            const int bit = (line[x >> 3] >> (7 - (x & 7))) & 1;
            if (bit == wanted)
                out.setPixel(int(qint64(x) * size.width() / pw), ty, uint(wanted));
        }
    }
    return out;
}

} // namespace kv::imaging
