#pragma once

namespace kv::text {

// The system's decimal rounding: the value's exact binary value is expanded
// to 18 significant decimal digits, and those digits are rounded once, half
// away from zero, at `decimals` decimals or at the `precision`-th significant
// digit, whichever comes first; the result is read back as the nearest
// double. 1.005 (stored just below 1.005) gives 1.00 at 2 decimals, 10.125
// gives 10.13, -2.5 gives -3 at 0 decimals. Money uses precision 15 and the
// year's price decimals, consumptions 4 decimals, sheet counts 0 decimals
// with precision 10. NaN and infinities come back unchanged; -0 comes back 0.
double roundDecimal(double value, int decimals, int precision = 15);

constexpr int kSheetCountPrecision = 10;
constexpr int kConsumptionDecimals = 4;

} // namespace kv::text
