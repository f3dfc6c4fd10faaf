#include "platform/notes/NotesRuler.h"

#include <QPainter>
#include <QPolygon>
#include <cmath>

namespace kv::notes {

namespace {

constexpr double PixelsPerPoint = 4.0 / 3.0;
constexpr int Gutter = 6;
constexpr int MarkerHalf = 4;

int pixels(double points) { return static_cast<int>(std::trunc(points * PixelsPerPoint)); }

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
