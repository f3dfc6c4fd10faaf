#pragma once

#include "platform/report/FieldElement.h"
#include "platform/text/Fixed4.h"

namespace kv::report {

class DataBand;

// A running total: the sum (or count) of a field over the rows a data band
// has printed since the total last printed. In a group footer it is the
// group's total, in a page footer the page's, in the summary the report's.
class TotalElement : public TextElement {
public:
    enum class Kind { Sum, Count };

    TotalElement(const QString& field, const QRectF& rectMm, const FieldFormat& format = {}, const QString& name = {});
    TotalElement(FieldElement::Expression expression, const QRectF& rectMm, const FieldFormat& format = {},
                 const QString& name = {});

    TotalElement& setKind(Kind kind)
    {
        m_kind = kind;
        return *this;
    }
    // The data band whose rows count; none means the report's detail.
    TotalElement& setSource(const DataBand* band)
    {
        m_source = band;
        return *this;
    }
    const DataBand* source() const { return m_source; }
    // Off: the total keeps running after it prints (a running sum per line).
    TotalElement& setResetAfterPrint(bool reset)
    {
        m_resetAfterPrint = reset;
        return *this;
    }
    bool resetsAfterPrint() const { return m_resetAfterPrint; }

    void accumulate(const RowView& row);
    void reset();
    double value() const;

    QString content(const EvalContext& context) const override;
    QVariant number(const EvalContext& context) const override;
    QString sheetFormat() const override { return m_value.sheetFormat(); }
    void beginRun() override;

private:
    FieldElement m_value; // reads the row and formats the result
    Kind m_kind = Kind::Sum;
    const DataBand* m_source = nullptr;
    bool m_resetAfterPrint = true;
    // Sums are exact in the 4-decimal fixed point; beyond its range they go on in doubles.
    kv::text::Fixed4 m_exact;
    double m_approximate = 0.0;
    bool m_overflowed = false;
    long long m_count = 0;
};

} // namespace kv::report
