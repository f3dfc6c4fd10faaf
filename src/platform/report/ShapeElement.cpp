#include "platform/report/ShapeElement.h"

namespace kv::report {

ShapeElement::ShapeElement(Shape shape, const QRectF& rectMm, const QString& name)
    : Element(Type::Shape, rectMm, name), m_shape(shape)
{
}

} // namespace kv::report
