#include "platform/report/SystemElement.h"

#include "platform/text/DateText.h"
#include "platform/report/Report.h"

namespace kv::report {

SystemElement::SystemElement(Field field, const QRectF& rectMm, const QString& prefix, const QString& name)
    : TextElement(Type::System, prefix, rectMm, name), m_field(field)
{
}

QString SystemElement::content(const EvalContext& context) const
{
    QString value;
    switch (m_field) {
    case Field::PageNumber: value = QString::number(context.pageNumber); break;
    case Field::Date: value = kv::text::date(context.printTime.date()); break;
    case Field::Time: value = context.printTime.time().toString(QStringLiteral("HH:mm:ss")); break;
    case Field::DateTime: value = kv::text::dateTime(context.printTime); break;
    case Field::ReportTitle: value = context.report ? context.report->title() : QString(); break;
    }
    return text() + value;
}

} // namespace kv::report
