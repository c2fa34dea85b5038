#pragma once

#include <string>
#include <string_view>

namespace fiscora {

// An amount as "$,0.00"-style formats show it: optional dollar sign, optional thousands separators
// (","), "." and exactly `decimals` digits, rounded half away from zero on the decimal text.
// A negative value is "-" followed by the formatted absolute value (-$1,234.50); a value that rounds
// to zero shows no sign.
std::string FormatAmount(double value, int decimals, bool thousands, bool dollarSign);

// "$,0.00": 1234.5 gives "$1,234.50".
std::string FormatDollars(double value);

// ",0.00": 1234.5 gives "1,234.50".
std::string FormatGroupedAmount(double value);

// The "$,0.00" text of an amount already formatted ",0.00" (the dollar sign goes after any minus).
std::string AddDollarSign(std::string_view grouped);

} // namespace fiscora
