#pragma once

#include "platform/report/Element.h"

#include <QColor>

namespace kv::report {

// A box, an ellipse or a line across the middle of its frame.
class ShapeElement : public Element {
public:
    enum class Shape { Rectangle, Ellipse, HorizontalLine, VerticalLine };

    ShapeElement(Shape shape, const QRectF& rectMm, const QString& name = {});

    Shape shape() const { return m_shape; }
    const QColor& penColor() const { return m_pen; }
    ShapeElement& setPenColor(const QColor& color)
    {
        m_pen = color;
        return *this;
    }
    double penWidth() const { return m_penWidth; }
    ShapeElement& setPenWidth(double mm)
    {
        m_penWidth = mm;
        return *this;
    }
    const QColor& fill() const { return m_fill; } // invalid: not filled
    ShapeElement& setFill(const QColor& color)
    {
        m_fill = color;
        return *this;
    }

private:
    Shape m_shape;
    QColor m_pen = Qt::black;
    double m_penWidth = 0.2;
    QColor m_fill;
};

} // namespace kv::report
