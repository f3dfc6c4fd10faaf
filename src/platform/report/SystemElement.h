#pragma once

#include "platform/report/TextElement.h"

namespace kv::report {

// A value of the run rather than of a row, after the element's own text
// ("Página : " followed by the page number).
class SystemElement : public TextElement {
public:
    enum class Field { PageNumber, Date, Time, DateTime, ReportTitle };

    SystemElement(Field field, const QRectF& rectMm, const QString& prefix = {}, const QString& name = {});

    Field field() const { return m_field; }
    QString content(const EvalContext& context) const override;

private:
    Field m_field;
};

} // namespace kv::report
