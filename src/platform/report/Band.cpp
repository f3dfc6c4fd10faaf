#include "platform/report/Band.h"

#include "platform/report/RowSource.h"

namespace kv::report {

QVariant BandContext::value(const QString& field) const { return row ? row->value(field) : QVariant(); }

Band::Band(BandKind kind, const QString& name) : m_kind(kind), m_name(name) {}

Band::~Band() = default;

TextElement& Band::addText(const QString& text, const QRectF& rectMm, const QString& name)
{
    return add(std::make_unique<TextElement>(text, rectMm, name));
}

FieldElement& Band::addField(const QString& field, const QRectF& rectMm, const FieldFormat& format, const QString& name)
{
    return add(std::make_unique<FieldElement>(field, rectMm, format, name));
}

FieldElement& Band::addExpression(FieldElement::Expression expression, const QRectF& rectMm, const FieldFormat& format,
                                  const QString& name)
{
    return add(std::make_unique<FieldElement>(std::move(expression), rectMm, format, name));
}

SystemElement& Band::addSystem(SystemElement::Field field, const QRectF& rectMm, const QString& prefix,
                               const QString& name)
{
    return add(std::make_unique<SystemElement>(field, rectMm, prefix, name));
}

TotalElement& Band::addTotal(const QString& field, const QRectF& rectMm, const FieldFormat& format, const QString& name)
{
    return add(std::make_unique<TotalElement>(field, rectMm, format, name));
}

ShapeElement& Band::addShape(ShapeElement::Shape shape, const QRectF& rectMm, const QString& name)
{
    return add(std::make_unique<ShapeElement>(shape, rectMm, name));
}

ImageElement& Band::addImage(const QString& file, const QRectF& rectMm, const QString& name)
{
    return add(std::make_unique<ImageElement>(file, rectMm, name));
}

Element* Band::find(const QString& name) const
{
    for (const auto& e : m_elements)
        if (e->name() == name)
            return e.get();
    return nullptr;
}

Band& Band::child()
{
    if (!m_child)
        m_child =
            std::make_unique<Band>(BandKind::Child, m_name.isEmpty() ? QString() : m_name + QStringLiteral("Child"));
    return *m_child;
}

void Band::forEachBand(const std::function<void(Band&)>& visit)
{
    visit(*this);
    if (m_child)
        m_child->forEachBand(visit);
}

} // namespace kv::report
