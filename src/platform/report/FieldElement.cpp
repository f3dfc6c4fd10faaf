#include "platform/report/FieldElement.h"

#include "platform/report/RowSource.h"

namespace kv::report {

FieldElement::FieldElement(const QString& field, const QRectF& rectMm, const FieldFormat& format, const QString& name)
    : TextElement(Type::Field, {}, rectMm, name), m_field(field), m_format(format)
{
}

FieldElement::FieldElement(Expression expression, const QRectF& rectMm, const FieldFormat& format, const QString& name)
    : TextElement(Type::Field, {}, rectMm, name), m_expression(std::move(expression)), m_format(format)
{
}

QVariant FieldElement::value(const EvalContext& context) const
{
    if (!context.row)
        return {};
    if (m_expression)
        return m_expression(*context.row);
    if (m_resolvedFor != context.row) {
        m_resolvedFor = context.row;
        m_index = context.row->fieldIndex(m_field);
    }
    return m_index < 0 ? QVariant() : context.row->value(m_index);
}

QString FieldElement::content(const EvalContext& context) const { return m_format.text(value(context)); }

QVariant FieldElement::number(const EvalContext& context) const
{
    const QVariant v = value(context);
    return m_format.isNumeric(v) ? QVariant(v.toDouble()) : QVariant();
}

} // namespace kv::report
