#pragma once

namespace kv::quotes {

// Sum of two stored amounts through the 4-decimal fixed point, so that
// running totals of money and consumptions carry no binary drift.
double addExact(double a, double b);
// a - b the same way.
double subtractExact(double a, double b);
// Money: decimal rounding to the price decimals (precision 15).
double roundMoney(double value, int decimals);
// Consumptions: decimal rounding to 4 decimals.
double roundConsumption(double value);
// value / divisor rounded to the price decimals, 0 when the divisor is 0.
double unitPrice(double value, double divisor, int decimals);

} // namespace kv::quotes
