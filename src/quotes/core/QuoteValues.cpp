#include "quotes/core/QuoteValues.h"

#include "platform/db/Connection.h"
#include "platform/text/Fixed4.h"
#include "platform/text/NumberText.h"

namespace kv::quotes {

namespace {

using kv::text::Fixed4;

enum Row {
    RawMaterial,
    Machines,
    Subsidiary,
    Packaging,
    Labour,
    Subcontracts,
    BaseCost,
    Transport,
    Commission,
    Charges,
    CommercialCost,
    Margin,
    MarginPercent,
    QuotedPrice,
    ClientPrice,
    OrderTotal
};

QString column(const char* stem, int quantity) { return QLatin1String(stem) + QString::number(quantity); }

// The charges are named by charge number then quantity letter: VALCOM2B is
// charge 2 of quantity 2.
QString charge(int number, int quantity)
{
    return QStringLiteral("VALCOM%1%2").arg(number).arg(QLatin1Char(char('A' + quantity - 1)));
}

double sum(std::initializer_list<double> parts)
{
    Fixed4 total;
    for (double part : parts)
        total += Fixed4::fromDouble(part);
    return total.toDouble();
}

} // namespace

const std::array<QString, QuoteValues::kRows>& QuoteValues::labels()
{
    static const std::array<QString, kRows> names{
        QStringLiteral("Matéria Prima  : "),    QStringLiteral("Máquinas : "),
        QStringLiteral("Prod.Subsidiários : "), QStringLiteral("Embalagem : "),
        QStringLiteral("Mão-de-Obra : "),       QStringLiteral("Subcontratos : "),
        QStringLiteral("Custo Base : "),        QStringLiteral("Transporte : "),
        QStringLiteral("Comissão : "),          QStringLiteral("Encargos Variáreis : "),
        QStringLiteral("Custo Comercial : "),   QStringLiteral("Margem (€) : "),
        QStringLiteral("Margem Final (%) : "),  QStringLiteral("Preço Orçamentado : "),
        QStringLiteral("Preço Cliente : "),     QStringLiteral("Total Encomenda : ")};
    return names;
}

QuoteValues::Format QuoteValues::format(int row)
{
    if (row == MarginPercent)
        return Format::Percent;
    return row == OrderTotal ? Format::Total : Format::Money;
}

QuoteValues QuoteValues::of(const QuoteRow& s, Variant variant)
{
    const bool fromOrder = variant == Variant::ProductionOrder;
    QuoteValues v;
    for (int k = 1; k <= 3; ++k) {
        auto& a = v.m_amounts;
        const int i = k - 1;
        a[RawMaterial][i] = s.number(column("VALMP", k));
        a[Machines][i] = s.number(column("VALCM", k));
        a[Subsidiary][i] = s.number(column("VALPS", k));
        a[Packaging][i] = s.number(column("VALEM", k));
        a[Labour][i] = s.number(column("VALMO", k));
        a[Subcontracts][i] = fromOrder ? 0.0 : s.number(column("VALSUB", k));
        a[BaseCost][i] = sum(
            {a[RawMaterial][i], a[Machines][i], a[Subsidiary][i], a[Packaging][i], a[Labour][i], a[Subcontracts][i]});
        a[Transport][i] = s.number(column("VALTR", k));
        a[Commission][i] = s.number(charge(1, k));
        a[Charges][i] = s.number(charge(2, k));
        a[CommercialCost][i] = sum({a[Transport][i], a[Commission][i], a[Charges][i]});
        a[Margin][i] = s.number(column("MARGEMLIQ", k));
        a[MarginPercent][i] = s.number(column("MARGEMPRC", k));
        a[QuotedPrice][i] = s.number(column("PRECOORC", k));
        a[ClientPrice][i] = s.number(column("PRECOCLI", k));
        // From the parts, not the stored client value, so the page adds up.
        a[OrderTotal][i] = sum({a[Margin][i], sum({a[BaseCost][i], a[CommercialCost][i]})});
        v.m_chartMargin[static_cast<std::size_t>(i)] =
            fromOrder ? s.number(k == 3 ? QStringLiteral("MARGEMVALOR") : charge(3, k)) : a[Margin][i];
    }
    if (fromOrder) {
        v.m_marginPercent = s.number(QStringLiteral("MARGEMPRC"));
        return v;
    }
    v.m_marginPercent = s.number(QStringLiteral("PRCCOM3"));
    v.m_unitLine = s.text(QStringLiteral("UNIDADE")) == QLatin1String("U")
                       ? QStringLiteral("( Unidade de Orçamentação : Unidade )")
                       : QStringLiteral("( Unidade de Orçamentação : Milheiro )");
    return v;
}

QString QuoteValues::text(int row, int quantity, int priceDecimals) const
{
    const double value = amount(row, quantity);
    switch (format(row)) {
    case Format::Percent: return kv::text::number(value, 1);
    case Format::Total: return kv::text::money(value, 2);
    case Format::Money: break;
    }
    return kv::text::money(value, priceDecimals);
}

double QuoteValues::baseCost(int quantity) const { return amount(BaseCost, quantity); }
double QuoteValues::commercialCost(int quantity) const { return amount(CommercialCost, quantity); }
double QuoteValues::orderTotal(int quantity) const { return amount(OrderTotal, quantity); }
QString QuoteValues::marginText() const { return kv::text::number(m_marginPercent, 1); }

void QuoteValues::writeChart(kv::db::Connection& application, const QString& user, const QString& program,
                             int quantity) const
{
    kv::db::Transaction transaction(application);
    ChartRows rows(application, ChartRows::Table::Saldos, user, program);
    rows.clear();
    rows.addSlice(1, QStringLiteral("Cust.Base"), baseCost(quantity), 2);
    rows.addSlice(2, QStringLiteral("C.Comerc."), commercialCost(quantity), 2);
    rows.addSlice(3, QStringLiteral("Margem"), m_chartMargin[static_cast<std::size_t>(quantity - 1)], 2);
    transaction.commit();
}

} // namespace kv::quotes
