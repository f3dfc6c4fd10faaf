#include "platform/report/Element.h"

namespace kv::report {

Element::Element(Type type, const QRectF& rectMm, const QString& name) : m_type(type), m_rect(rectMm), m_name(name) {}

} // namespace kv::report
