#include "quotes/core/QuoteTotals.h"

#include "quotes/core/Amounts.h"
#include "quotes/core/Vocabulary.h"

#include "platform/text/Fixed4.h"
#include "platform/text/NumberText.h"

namespace kv::quotes {

using kv::text::Fixed4;

void subQuoteTotals(QuoteRow& row, int decimals)
{
    for (int n = 1; n <= 3; ++n)
        row.set(quantityColumn("VALORORC", n), 0.0);
    static const CostClass order[] = {CostClass::RawMaterial, CostClass::Subsidiary, CostClass::Labour,
                                      CostClass::Packaging,   CostClass::Machines,   CostClass::Subcontract,
                                      CostClass::Transport};
    for (CostClass c : order)
        for (int n = 1; n <= 3; ++n)
            row.set(classTotalColumn(c, n), roundMoney(row.number(classTotalColumn(c, n)), decimals));
    for (int n = 1; n <= 3; ++n) {
        Fixed4 sum;
        for (CostClass c : kCostClasses)
            sum += Fixed4::fromDouble(row.number(classTotalColumn(c, n)));
        const double value = roundMoney(sum.toDouble(), decimals);
        const double price = n > 1 && value == 0.0 ? 0.0 : unitPrice(value, row.quantity(n), decimals);
        const double shown = roundMoney(value, 2);
        row.set(quantityColumn("VALORORC", n), shown);
        row.set(quantityColumn("PRECOORC", n), price);
        row.set(quantityColumn("VALORCLI", n), shown);
        row.set(quantityColumn("PRECOCLI", n), price);
    }
    row.set("ENCNRO", 0);
    row.set("APROVADO", QStringLiteral("N"));
}

QString quantityCaption(double quantity, const QString& unit)
{
    return kv::text::fixed(quantity, unit == QLatin1String("U") ? 0 : 2, 10);
}

std::optional<QuoteRow> buildSummaryRow(int quoteNumber, const std::vector<QuoteRow>& subQuotes,
                                        const QVariant& vatCode)
{
    if (subQuotes.empty())
        return std::nullopt;
    QuoteRow s;
    const QuoteRow* base = nullptr;
    for (const QuoteRow& r : subQuotes)
        if (r.subQuote() == 0)
            base = &r;

    QStringList summed;
    for (int n = 1; n <= 3; ++n) {
        summed << quantityColumn("VALORORC", n) << quantityColumn("VALORCLI", n);
        for (CostClass c : kCostClasses)
            summed << classTotalColumn(c, n);
    }
    for (const char* letter : {"A", "B", "C"})
        for (int k = 1; k <= 3; ++k)
            summed << QStringLiteral("VALCOM%1%2").arg(k).arg(QLatin1String(letter));
    for (const QString& column : summed) {
        Fixed4 sum;
        for (const QuoteRow& r : subQuotes)
            sum += Fixed4::fromDouble(r.number(column));
        s.set(column, sum.toDouble());
    }

    if (base) {
        static const char* const header[] = {"DATEMI",  "CLINRO",  "NOME",    "NOSREF",    "VOSREF",  "UNIDADE",
                                             "MORADA1", "MORADA2", "VNDNRO",  "CODPOSTAL", "CNDPGT",  "DESIGN1",
                                             "DESIGN2", "DESIGN3", "DESIGN4", "DESIGN5",   "DESIGN6", "COMPRIM",
                                             "LARGURA", "ALTURA",  "OBSERV1", "OBSERV2",   "OBSERV3", "PRCCOM1",
                                             "PRCCOM2", "PRCCOM3", "QTDORC1", "QTDORC2",   "QTDORC3", "UNDVND"};
        for (const char* column : header)
            s.set(QString::fromLatin1(column), base->value(QString::fromLatin1(column)));
        if (base->text("UNIDADE").trimmed() == QLatin1String("M"))
            s.set("UNDVND", QStringLiteral("Mil"));
    }
    s.set("CODIGO", quoteNumber);
    s.set("SUBCODIGO", kSummarySubQuote);
    s.set("CODIVA", vatCode);
    for (int n = 1; n <= 3; ++n) {
        const double quantity = s.quantity(n);
        auto perUnit = [quantity](double total) {
            return quantity == 0.0 ? 0.0 : (Fixed4::fromDouble(total) / quantity).toDouble();
        };
        s.set(quantityColumn("PRECOORC", n), perUnit(s.number(quantityColumn("VALORORC", n))));
        s.set(quantityColumn("PRECOCLI", n), perUnit(s.number(quantityColumn("VALORCLI", n))));
    }
    s.set("QTDADJUD", 0.0);
    s.set("PRECOADJUD", 0.0);
    s.set("PRINTE", QStringLiteral("N"));
    return s;
}

} // namespace kv::quotes
