#include "quotes/core/Amounts.h"

#include "platform/text/DecimalRounding.h"
#include "platform/text/Fixed4.h"

namespace kv::quotes {

using kv::text::Fixed4;

double addExact(double a, double b) { return (Fixed4::fromDouble(a) + Fixed4::fromDouble(b)).toDouble(); }

double subtractExact(double a, double b) { return (Fixed4::fromDouble(a) - Fixed4::fromDouble(b)).toDouble(); }

double roundMoney(double value, int decimals) { return kv::text::roundDecimal(value, decimals, 15); }

double roundConsumption(double value) { return kv::text::roundDecimal(value, kv::text::kConsumptionDecimals, 15); }

double unitPrice(double value, double divisor, int decimals)
{
    return divisor == 0.0 ? 0.0 : roundMoney(value / divisor, decimals);
}

} // namespace kv::quotes
