#include "quotes/core/CommercialPricing.h"

#include "quotes/core/Amounts.h"
#include "quotes/core/Vocabulary.h"

#include <cmath>

namespace kv::quotes {

using kv::text::Fixed4;

namespace {

QString commercialColumn(int k, int n)
{
    static const char letters[] = {'A', 'B', 'C'};
    return QStringLiteral("VALCOM%1%2").arg(k).arg(QLatin1Char(letters[n - 1]));
}

// A fixed-point value from an amount already scaled by 10000, rounded to the
// nearest integer (exact half to even).
Fixed4 fromScaled(double scaled) { return Fixed4::fromRaw(static_cast<qint64>(std::nearbyint(scaled))); }

} // namespace

void CommercialPricing::reset()
{
    m_included = false;
    for (auto& row : m_cost)
        for (auto& c : row)
            c = Fixed4();
}

void CommercialPricing::restoreCost(QuoteRow& summary)
{
    if (!m_included)
        return;
    for (int n = 1; n <= 3; ++n) {
        const QString column = quantityColumn("VALORORC", n);
        Fixed4 value = Fixed4::fromDouble(summary.number(column));
        for (int k = 1; k <= 3; ++k)
            value -= cost(k, n);
        summary.set(column, value.toDouble());
    }
    m_included = false;
}

void CommercialPricing::clearUnnamed(QuoteRow& summary, const CommercialParameters& p)
{
    for (int k = 1; k <= 3; ++k)
        if (p.name[k - 1].trimmed().isEmpty())
            summary.set(quantityColumn("PRCCOM", k), 0.0);
}

void CommercialPricing::calculate(QuoteRow& s, const CommercialParameters& p, int decimals)
{
    restoreCost(s);
    reset();
    m_included = true;
    double costOf[3], subsidiary[3], rate[3];
    bool onCost[3], onPrice[3];
    for (int i = 0; i < 3; ++i) {
        costOf[i] = s.number(quantityColumn("VALORORC", i + 1));
        subsidiary[i] = s.number(quantityColumn("VALPS", i + 1));
        rate[i] = s.number(quantityColumn("PRCCOM", i + 1));
        onCost[i] = p.incidence[i].trimmed() == QLatin1String("C");
        onPrice[i] = p.incidence[i].trimmed() == QLatin1String("P");
    }
    // Commercial cost 3 excludes the subsidiary products unless told otherwise.
    auto base = [&](int k, int n) { return k == 2 && !p.subsidiaryInCost3 ? costOf[n] - subsidiary[n] : costOf[n]; };

    for (int k = 0; k < 3; ++k) {
        if (!onCost[k] || rate[k] == 0.0)
            continue;
        for (int n = 0; n < 3; ++n)
            if (n == 0 || costOf[n] != 0.0)
                m_cost[k][n] = Fixed4::fromDouble(rate[k] * base(k, n) / 100.0);
    }
    if (!(onCost[0] && onCost[1] && onCost[2])) {
        double divisor = 1.0;
        for (int k = 0; k < 3; ++k)
            if (onPrice[k] && rate[k] != 0.0)
                divisor -= rate[k] / 100.0;
        if (divisor != 0.0) {
            double price[3] = {0, 0, 0};
            for (int n = 0; n < 3; ++n) {
                if (n > 0 && costOf[n] == 0.0)
                    continue;
                const Fixed4 sum = Fixed4::fromDouble(costOf[n]) + m_cost[0][n] + m_cost[1][n] + m_cost[2][n];
                price[n] = std::nearbyint(static_cast<double>(sum.raw()) / divisor);
            }
            for (int k = 0; k < 3; ++k) {
                if (!onPrice[k])
                    continue;
                for (int n = 0; n < 3; ++n) {
                    if (k == 2 && !p.subsidiaryInCost3)
                        m_cost[k][n] = fromScaled((costOf[n] - subsidiary[n]) * 10000.0 * rate[k] / 100.0);
                    else if (price[n] != 0.0)
                        m_cost[k][n] = fromScaled(price[n] * rate[k] / 100.0);
                }
            }
        }
    }
    for (auto& row : m_cost)
        for (auto& c : row)
            c = Fixed4::fromDouble(roundMoney(c.toDouble(), decimals));
    for (int k = 1; k <= 3; ++k)
        for (int n = 1; n <= 3; ++n)
            s.set(commercialColumn(k, n), cost(k, n).toDouble());

    const double r3 = rate[2];
    s.set("MARGEMPRC", r3);
    s.set("MARGEMVALOR", cost(3, 1).toDouble());
    for (int n = 1; n <= 3; ++n) {
        if (n == 1 || costOf[n - 1] != 0.0) {
            s.set(quantityColumn("MARGEMPRC", n), r3);
            s.set(quantityColumn("MARGEMLIQ", n), cost(3, n).toDouble());
        }
    }
    for (int n = 1; n <= 3; ++n) {
        const Fixed4 value = Fixed4::fromDouble(costOf[n - 1]) + cost(1, n) + cost(2, n) + cost(3, n);
        const double sale = value.toDouble();
        const double unit = n > 1 && sale == 0.0 ? 0.0 : unitPrice(sale, s.quantity(n), decimals);
        s.set(quantityColumn("VALORORC", n), sale);
        s.set(quantityColumn("PRECOORC", n), unit);
        s.set(quantityColumn("VALORCLI", n), sale);
        s.set(quantityColumn("PRECOCLI", n), unit);
    }
}

void CommercialPricing::setClientPrice(QuoteRow& s, int n, double price, int decimals)
{
    s.set(quantityColumn("PRECOCLI", n), price);
    s.set(quantityColumn("VALORCLI", n), roundMoney(s.quantity(n) * price, decimals));
}

void CommercialPricing::close(QuoteRow& s, int decimals)
{
    s.set("ENCNRO", 0);
    s.set("QTDADJUD", 0.0);
    s.set("PRECOADJUD", 0.0);
    s.set("APROVADO", QStringLiteral("N"));
    for (int n = 1; n <= 3; ++n) {
        if (n > 1 && s.quantity(n) == 0.0)
            continue;
        const double client = roundMoney(s.quantity(n) * s.number(quantityColumn("PRECOCLI", n)), decimals);
        s.set(quantityColumn("VALORCLI", n), client);
        Fixed4 costs;
        for (const char* prefix : {"VALMP", "VALCM", "VALEM", "VALMO", "VALPS", "VALSUB", "VALTR"})
            costs += Fixed4::fromDouble(s.number(quantityColumn(prefix, n)));
        costs += Fixed4::fromDouble(s.number(commercialColumn(1, n)));
        costs += Fixed4::fromDouble(s.number(commercialColumn(2, n)));
        const double margin = (Fixed4::fromDouble(client) - costs).toDouble();
        const double percent = client == 0.0 ? 0.0 : roundMoney(margin * 100.0 / client, decimals);
        s.set(quantityColumn("MARGEMLIQ", n), margin);
        s.set(quantityColumn("MARGEMPRC", n), percent);
        if (n == 1) {
            s.set("MARGEMVALOR", margin);
            s.set("MARGEMPRC", percent);
        }
    }
    if (s.text("MANUAL_AUTO").trimmed() != QLatin1String("A"))
        s.set("MANUAL_AUTO", QStringLiteral("M"));
}

} // namespace kv::quotes
