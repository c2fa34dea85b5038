#include "AmountFormat.h"

#include "DecimalText.h"

#include <cmath>

namespace fiscora {

std::string FormatAmount(double value, int decimals, bool thousands, bool dollarSign) {
    if (std::isnan(value))
        return "NAN";
    if (std::isinf(value))
        return value < 0 ? "-INF" : "INF";
    const std::string digits = FixedDecimalText(value, decimals < 0 ? 0 : decimals);
    const bool negative = digits.front() == '-';
    const std::size_t integerStart = negative ? 1 : 0;
    const std::size_t point = digits.find('.');
    const std::size_t integerEnd = point == std::string::npos ? digits.size() : point;
    std::string text;
    text.reserve(digits.size() + digits.size() / 3 + 2);
    if (negative)
        text += '-';
    if (dollarSign)
        text += '$';
    for (std::size_t i = integerStart; i < integerEnd; ++i) {
        const std::size_t remaining = integerEnd - i;
        if (thousands && i > integerStart && remaining % 3 == 0)
            text += ',';
        text += digits[i];
    }
    text.append(digits, integerEnd, std::string::npos);
    return text;
}

std::string FormatDollars(double value) {
    return FormatAmount(value, 2, true, true);
}

std::string FormatGroupedAmount(double value) {
    return FormatAmount(value, 2, true, false);
}

std::string AddDollarSign(std::string_view grouped) {
    std::string text;
    text.reserve(grouped.size() + 1);
    const bool negative = !grouped.empty() && grouped.front() == '-';
    if (negative)
        text += '-';
    text += '$';
    text.append(grouped.substr(negative ? 1 : 0));
    return text;
}

} // namespace fiscora
