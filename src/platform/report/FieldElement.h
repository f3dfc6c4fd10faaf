#pragma once

#include "platform/report/FieldFormat.h"
#include "platform/report/TextElement.h"

#include <functional>

namespace kv::report {

// The value of a column of the band's row, or of an expression over the
// row, written with a format.
class FieldElement : public TextElement {
public:
    using Expression = std::function<QVariant(const RowView&)>;

    FieldElement(const QString& field, const QRectF& rectMm, const FieldFormat& format = {}, const QString& name = {});
    FieldElement(Expression expression, const QRectF& rectMm, const FieldFormat& format = {}, const QString& name = {});

    const QString& field() const { return m_field; }
    const FieldFormat& format() const { return m_format; }
    FieldElement& setFormat(const FieldFormat& format)
    {
        m_format = format;
        return *this;
    }

    QVariant value(const EvalContext& context) const;
    QString content(const EvalContext& context) const override;
    QVariant number(const EvalContext& context) const override;
    QString sheetFormat() const override { return m_format.sheetFormat(); }
    void beginRun() override { m_resolvedFor = nullptr; }

private:
    QString m_field;
    Expression m_expression;
    FieldFormat m_format;
    // Column index resolved once per row view.
    mutable const RowView* m_resolvedFor = nullptr;
    mutable int m_index = -1;
};

} // namespace kv::report
