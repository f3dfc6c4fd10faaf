#include "updater/forms/UpdaterPictures.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace kv::updater {

namespace {

void arrow(QPainter& p, const QRectF& box, const QColor& colour)
{
    QPainterPath path;
    const double w = box.width(), h = box.height(), x = box.x(), y = box.y();
    path.moveTo(x + w * 0.35, y);
    path.lineTo(x + w * 0.65, y);
    path.lineTo(x + w * 0.65, y + h * 0.5);
    path.lineTo(x + w, y + h * 0.5);
    path.lineTo(x + w * 0.5, y + h);
    path.lineTo(x, y + h * 0.5);
    path.lineTo(x + w * 0.35, y + h * 0.5);
    path.closeSubpath();
    p.fillPath(path, colour);
}

} // namespace

QPixmap UpdaterPictures::icon()
{
    QPixmap pixmap(32, 32);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setBrush(QColor(0x1f, 0x5f, 0xa8));
    p.setPen(Qt::NoPen);
    p.drawEllipse(QRectF(1, 1, 30, 30));
    arrow(p, QRectF(8, 6, 16, 20), Qt::white);
    return pixmap;
}

QPixmap UpdaterPictures::wizard()
{
    QPixmap pixmap(118, 218);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient fill(0, 0, 0, 218);
    fill.setColorAt(0, QColor(0x1f, 0x5f, 0xa8));
    fill.setColorAt(1, QColor(0x0b, 0x2a, 0x4f));
    p.fillRect(pixmap.rect(), fill);
    arrow(p, QRectF(29, 60, 60, 80), QColor(255, 255, 255, 220));
    p.fillRect(QRectF(24, 150, 70, 8), QColor(255, 255, 255, 220));
    return pixmap;
}

} // namespace kv::updater
