#include "platform/notes/NotesRuler.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPolygon>
#include <algorithm>
#include <cmath>

namespace kv::notes {

namespace {

constexpr double PixelsPerPoint = 4.0 / 3.0;
constexpr int Gutter = 6;
constexpr int MarkerHalf = 4;

int pixels(double points) { return static_cast<int>(std::trunc(points * PixelsPerPoint)); }
int points(int pixels) { return static_cast<int>(std::trunc(pixels / PixelsPerPoint)); }

} // namespace

NotesRuler::NotesRuler(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("Ruler"));
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    place();
}

QSize NotesRuler::sizeHint() const { return {200, fontMetrics().height() + 10}; }

void NotesRuler::setIndents(double firstIndent, double leftIndent, double rightIndent)
{
    m_firstIndent = firstIndent;
    m_leftIndent = leftIndent;
    m_rightIndent = rightIndent;
    place();
}

void NotesRuler::place()
{
    m_first = pixels(m_firstIndent) + 2;
    m_left = pixels(m_leftIndent + m_firstIndent) + 2;
    m_right = width() - pixels(m_rightIndent + Gutter) - Gutter;
    update();
}

void NotesRuler::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    place();
}

NotesRuler::Marker NotesRuler::markerAt(const QPoint& at) const
{
    const auto over = [&at](int x) { return at.x() >= x && at.x() <= x + 2 * MarkerHalf; };
    // The first-line marker hangs from the top, the other two stand on the bottom.
    if (at.y() < height() / 2)
        return over(m_first) ? Marker::First : Marker::None;
    if (over(m_left))
        return Marker::Left;
    return over(m_right) ? Marker::Right : Marker::None;
}

int& NotesRuler::markerX(Marker marker)
{
    return marker == Marker::First ? m_first : marker == Marker::Left ? m_left : m_right;
}

void NotesRuler::mousePressEvent(QMouseEvent* event)
{
    m_dragged = event->button() == Qt::LeftButton ? markerAt(event->position().toPoint()) : Marker::None;
    if (m_dragged == Marker::None)
        QWidget::mousePressEvent(event);
}

void NotesRuler::mouseMoveEvent(QMouseEvent* event)
{
    if (m_dragged == Marker::None) {
        QWidget::mouseMoveEvent(event);
        return;
    }
    // Held at its middle, and kept on the ruler.
    markerX(m_dragged) = std::clamp(static_cast<int>(event->position().x()) - MarkerHalf, 0,
                                    std::max(0, width() - 2 * MarkerHalf));
    update();
}

void NotesRuler::mouseReleaseEvent(QMouseEvent* event)
{
    if (m_dragged == Marker::None) {
        QWidget::mouseReleaseEvent(event);
        return;
    }
    mouseMoveEvent(event);
    const Marker dropped = m_dragged;
    m_dragged = Marker::None;
    const int x = markerX(dropped);
    double first = m_firstIndent;
    double right = m_rightIndent;
    // The left marker stays where it stands when the first line's moves.
    const int left = dropped == Marker::Left || dropped == Marker::First ? m_left : 0;
    if (dropped == Marker::First)
        first = std::max(0, points(x + MarkerHalf - Gutter));
    double leftIndent = m_leftIndent;
    if (dropped == Marker::First || dropped == Marker::Left)
        leftIndent = std::max(0, points(left + MarkerHalf - Gutter)) - first;
    if (dropped == Marker::Right)
        right = std::max(0, points(width() + MarkerHalf - x - 2) - 12);
    setIndents(first, leftIndent, right);
    Q_EMIT indentsDropped(first, leftIndent, right);
}

void NotesRuler::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), palette().base());
    const int middle = height() / 2;
    painter.setPen(palette().color(QPalette::Mid));
    painter.drawLine(Gutter, middle, width() - Gutter, middle);
    // A tab mark every half inch, as the editor's default tab stops.
    const int tab = static_cast<int>(36 * PixelsPerPoint);
    for (int x = Gutter + tab; x < width() - Gutter; x += tab)
        painter.drawLine(x, middle - 3, x, middle + 3);
    painter.setPen(palette().color(QPalette::Text));
    painter.setBrush(palette().color(QPalette::Text));
    const auto marker = [&](int x, bool top) {
        const int tip = top ? middle - 1 : middle + 1;
        const int base = top ? 1 : height() - 2;
        painter.drawPolygon(QPolygon({QPoint(x + MarkerHalf, tip), QPoint(x, base), QPoint(x + 2 * MarkerHalf, base)}));
    };
    marker(m_first, true);
    marker(m_left, false);
    marker(m_right, false);
}

} // namespace kv::notes
