#include "platform/report/TotalElement.h"

namespace kv::report {

TotalElement::TotalElement(const QString& field, const QRectF& rectMm, const FieldFormat& format, const QString& name)
    : TextElement(Type::Total, {}, rectMm, name), m_value(field, {}, format)
{
}

TotalElement::TotalElement(FieldElement::Expression expression, const QRectF& rectMm, const FieldFormat& format,
                           const QString& name)
    : TextElement(Type::Total, {}, rectMm, name), m_value(std::move(expression), {}, format)
{
}

void TotalElement::accumulate(const RowView& row)
{
    EvalContext context;
    context.row = &row;
    const QVariant v = m_value.value(context);
    if (m_kind == Kind::Count) {
        ++m_count;
        return;
    }
    if (v.isNull() || !v.canConvert<double>())
        return;
    const double d = v.toDouble();
    if (!m_overflowed) {
        try {
            m_exact += kv::text::Fixed4::fromDouble(d);
            return;
        } catch (const kv::text::Fixed4Error&) {
            m_overflowed = true;
            m_approximate = m_exact.toDouble();
        }
    }
    m_approximate += d;
}

void TotalElement::reset()
{
    m_exact = {};
    m_approximate = 0.0;
    m_overflowed = false;
    m_count = 0;
}

void TotalElement::beginRun()
{
    m_value.beginRun();
    reset();
}

double TotalElement::value() const
{
    if (m_kind == Kind::Count)
        return static_cast<double>(m_count);
    return m_overflowed ? m_approximate : m_exact.toDouble();
}

QString TotalElement::content(const EvalContext&) const { return m_value.format().text(value()); }

QVariant TotalElement::number(const EvalContext&) const { return value(); }

} // namespace kv::report
