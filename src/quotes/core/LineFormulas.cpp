#include "quotes/core/LineFormulas.h"

namespace kv::quotes {

namespace {

bool isUnits(const QString& unit) { return unit == QLatin1String("U"); }

LineValues byWeight(double rate, double price, double area, const Triple& sheets, double divisor = 1.0)
{
    LineValues r;
    for (std::size_t n = 0; n < 3; ++n) {
        if (sheets[n] > 0) {
            const double w = sheets[n] * area * rate;
            r.value[n] = w * price / divisor;
            r.consumption[n] = w / divisor;
        }
    }
    return r;
}

} // namespace

LineValues boardValues(const QString& calculation, double rate, double price, double area, const Triple& sheets)
{
    if (calculation != QLatin1String("2"))
        return byWeight(rate, price, area, sheets);
    LineValues r;
    for (std::size_t n = 0; n < 3; ++n) {
        if (sheets[n] > 0) {
            r.value[n] = sheets[n] * price;
            r.consumption[n] = sheets[n];
        }
    }
    return r;
}

LineValues inkValues(double surfacePercent, double rate, double price, double area, const Triple& sheets)
{
    LineValues r;
    for (std::size_t n = 0; n < 3; ++n) {
        if (sheets[n] > 0) {
            r.value[n] = surfacePercent / 100.0 * area * rate * price * sheets[n];
            r.consumption[n] = surfacePercent / 100.0 * area * rate * sheets[n];
        }
    }
    return r;
}

LineValues areaWeightValues(double rate, double price, double area, const Triple& sheets)
{
    return byWeight(rate, price, area, sheets);
}

LineValues glueValues(const GlueRow& glue, double rate, double price, double area, const Triple& sheets,
                      const Triple& quantities, const QString& unit)
{
    const QString& rule = glue.calculation;
    if (rule == QLatin1String("1"))
        return byWeight(rate, price, area, sheets);
    if (rule == QLatin1String("4"))
        return byWeight(rate, price, area, sheets, 100.0);
    LineValues r;
    if (rule != QLatin1String("2") && rule != QLatin1String("3"))
        return r;
    const double times = rule == QLatin1String("3") ? glue.percentage : 1.0;
    const double divisor = isUnits(unit) ? 1000.0 : 1.0;
    for (std::size_t n = 0; n < 3; ++n) {
        if (quantities[n] > 0) {
            r.value[n] = rate * price * quantities[n] / divisor * times;
            r.consumption[n] = rate * quantities[n] / divisor * times;
        }
    }
    return r;
}

LineValues pvcValues(double windowWeight, double price, const Triple& quantities)
{
    LineValues r;
    for (std::size_t n = 0; n < 3; ++n) {
        if (quantities[n] > 0) {
            r.value[n] = windowWeight * quantities[n] * price;
            r.consumption[n] = windowWeight * quantities[n];
        }
    }
    return r;
}

LineValues finishValues(const FinishRow& finish, double price, double percentage, const Triple& quantities,
                        const QString& unit, const Triple& running, FinishUnits units)
{
    LineValues r;
    for (std::size_t n = 0; n < 3; ++n) {
        if (quantities[n] <= 0)
            continue;
        if (price != 0) {
            const double q = quantities[n];
            if (finish.unit == unit || units == FinishUnits::AsQuoted)
                r.value[n] = q * price;
            else if (finish.unit == QLatin1String("U") && unit == QLatin1String("M"))
                r.value[n] = q * 1000.0 * price;
            else if (finish.unit == QLatin1String("M") && isUnits(unit))
                r.value[n] = q / 1000.0 * price;
        }
        if (percentage != 0)
            r.value[n] = running[n] * percentage / 100.0;
    }
    return r;
}

LineValues cuttingValues(const CuttingRow& cutting, double price, const Triple& sheets)
{
    LineValues r;
    const double divisor = cutting.unit == QLatin1String("M") ? 1000.0 : 1.0;
    for (std::size_t n = 0; n < 3; ++n) {
        const double u = sheets[n] / divisor;
        if (u > 0)
            r.value[n] = u * price;
    }
    return r;
}

LineValues fixedCostValues(double price, const Triple& sheets)
{
    LineValues r;
    for (std::size_t n = 0; n < 3; ++n)
        if (sheets[n] > 0)
            r.value[n] = price;
    return r;
}

CostClass fixedCostClass(const FixedCostRow& f)
{
    CostClass c = CostClass::None;
    if (f.rawMaterial)
        c = CostClass::RawMaterial;
    if (f.packaging)
        c = CostClass::Packaging;
    if (f.labour)
        c = CostClass::Labour;
    if (f.subsidiary)
        c = CostClass::Subsidiary;
    return c;
}

LineValues subcontractValues(const SubcontractRow& s, double price, double area, const Triple& sheets,
                             const Triple& quantities, const QString& unit, bool& unknownUnit)
{
    unknownUnit = false;
    LineValues r;
    const QString& u = s.unit;
    if (u == QLatin1String("UND") || u == QLatin1String("MIL")) {
        double factor = 1.0;
        if (u == QLatin1String("UND") && unit == QLatin1String("M"))
            factor = 1000.0;
        else if (u == QLatin1String("MIL") && isUnits(unit))
            factor = 1.0 / 1000.0;
        Triple units = sheets;
        for (std::size_t n = 0; n < 3; ++n)
            if (n == 0 || units[n] != 0.0)
                units[n] = quantities[n] * factor;
        for (std::size_t n = 0; n < 3; ++n)
            r.value[n] = units[n] * price;
        return r;
    }
    if (u == QLatin1String("M2")) {
        for (std::size_t n = 0; n < 3; ++n) {
            if (sheets[n] > 0) {
                r.value[n] = area * sheets[n] * price;
                r.consumption[n] = area * sheets[n];
            }
        }
        return r;
    }
    if (u == QLatin1String("KG"))
        return byWeight(s.gramsPerM2 / 1000.0, price, area, sheets);
    unknownUnit = u != QLatin1String("UN");
    for (std::size_t n = 0; n < 3; ++n) {
        if (n == 0 || sheets[n] != 0.0) {
            r.value[n] = price;
            r.consumption[n] = 1.0;
        }
    }
    return r;
}

LineValues transportValues(double price, double percentage, double kilometres, const Triple& sheets,
                           const Triple& running)
{
    LineValues r;
    for (std::size_t n = 0; n < 3; ++n) {
        if (sheets[n] <= 0)
            continue;
        if (price > 0)
            r.value[n] = price * kilometres;
        if (percentage > 0)
            r.value[n] = running[n] * percentage / 100.0;
    }
    return r;
}

} // namespace kv::quotes
