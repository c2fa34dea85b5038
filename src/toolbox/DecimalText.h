#pragma once

#include <string>

namespace fiscora {

// Decimal texts of doubles, independent of the C locale: "." is always the point.
// Both work from the value's first 18 significant decimal digits and round the first dropped
// digit half away from zero, so 1.005 (stored as 1.00499999...) gives "1.00" and 0.125 gives "0.13".

// Fixed-point text with exactly `decimals` digits after the point (none and no point when 0);
// a value that rounds to zero carries no minus sign. Requires a finite value and decimals >= 0.
std::string FixedDecimalText(double value, int decimals);

// Scientific text with `significantDigits` digits, e.g. "1.235e+40". Requires a finite value.
std::string ScientificDecimalText(double value, int significantDigits);

// The decimal exponent of a finite non-zero value (value = d.ddd x 10^exponent); 0 for zero.
int DecimalExponent(double value);

} // namespace fiscora
