#include "platform/text/DecimalRounding.h"

#include "platform/text/DecimalDigits.h"

#include <algorithm>
#include <cmath>

namespace kv::text {

double roundDecimal(double value, int decimals, int precision)
{
    if (!std::isfinite(value))
        return value;
    DecimalDigits d = DecimalDigits::expand(value);
    d.roundAt(std::max(decimals, 0), std::clamp(precision, 1, 18));
    return d.toDouble();
}

} // namespace kv::text
