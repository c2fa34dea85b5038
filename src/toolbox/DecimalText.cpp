#include "DecimalText.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>

namespace fiscora {

namespace {

constexpr int kSignificantDigits = 18;
// Enough for every finite double in fixed notation (309 integer digits) with the decimals that can
// still matter (the smallest subnormal needs 342); more decimals only add zeros.
constexpr int kMaxDecimals = 360;
constexpr int kMaxKept = 309 + kMaxDecimals + 1;

// The first 18 significant digits of |value| and the position of the decimal point relative to
// them: value = 0.digits x 10^pointPosition. Kept on the stack: formatting runs once per amount.
struct DecimalDigits {
    bool negative = false;
    char digits[kSignificantDigits];
    int pointPosition = 0;
};

DecimalDigits DigitsOf(double value) {
    DecimalDigits result;
    result.negative = std::signbit(value);
    if (value == 0) {
        std::fill(std::begin(result.digits), std::end(result.digits), '0');
        result.pointPosition = 1;
        return result;
    }
    char text[40]; // d.ddddddddddddddddde+XXX
    const auto written = std::to_chars(text, text + sizeof text, std::fabs(value),
                                       std::chars_format::scientific, kSignificantDigits - 1);
    result.digits[0] = text[0];
    std::copy(text + 2, text + 1 + kSignificantDigits, result.digits + 1);
    const char *exponent = std::find(text, written.ptr, 'e') + 1;
    if (*exponent == '+')
        ++exponent;
    int power = 0;
    std::from_chars(exponent, written.ptr, power);
    result.pointPosition = power + 1;
    return result;
}

// Writes the first `keep` digits (zeros beyond the 18 held) rounded half away from zero on the
// first dropped digit into `out`; returns the count written, one more than `keep` after a carry
// out of the leading digit, and at least one digit ("0" when nothing is kept).
int RoundDigits(const DecimalDigits &parts, int keep, char *out) {
    if (keep < 0) {
        out[0] = '0';
        return 1;
    }
    const int copied = std::min(keep, kSignificantDigits);
    std::copy(parts.digits, parts.digits + copied, out);
    std::fill(out + copied, out + keep, '0');
    if (keep < kSignificantDigits && parts.digits[keep] >= '5') {
        int i = keep - 1;
        while (i >= 0 && out[i] == '9')
            out[i--] = '0';
        if (i >= 0) {
            ++out[i];
        } else { // all nines, or nothing kept: 999 becomes 1000
            out[keep] = '0';
            out[0] = '1';
            return keep + 1;
        }
    }
    if (keep == 0) {
        out[0] = '0';
        return 1;
    }
    return keep;
}

} // namespace

std::string FixedDecimalText(double value, int decimals) {
    decimals = std::clamp(decimals, 0, kMaxDecimals);
    const DecimalDigits parts = DigitsOf(value);
    // The kept digits are the value scaled by 10^decimals, as a whole number.
    char scaled[kMaxKept + 2];
    const int keep = std::min(parts.pointPosition + decimals, kMaxKept);
    const int count = RoundDigits(parts, keep, scaled);
    const char *first = std::find_if(scaled, scaled + count, [](char digit) { return digit != '0'; });
    const bool isZero = first == scaled + count;
    int significant = static_cast<int>(scaled + count - first);
    const int integerDigits = std::max(significant - decimals, 1);
    std::string text;
    text.reserve(static_cast<std::size_t>(integerDigits + decimals + 2));
    if (parts.negative && !isZero)
        text += '-';
    // Leading zeros pad the whole number to at least one digit before the point.
    const int padding = integerDigits + decimals - significant;
    for (int i = 0; i < integerDigits + decimals; ++i) {
        if (i == integerDigits)
            text += '.';
        text += i < padding ? '0' : first[i - padding];
    }
    return text;
}

std::string ScientificDecimalText(double value, int significantDigits) {
    significantDigits = std::clamp(significantDigits, 1, kSignificantDigits);
    const DecimalDigits parts = DigitsOf(value);
    char kept[kSignificantDigits + 1];
    int count = RoundDigits(parts, significantDigits, kept);
    int exponent = parts.pointPosition - 1;
    if (count > significantDigits) { // carried into a new leading digit
        --count;
        ++exponent;
    }
    std::string text;
    if (parts.negative && value != 0)
        text += '-';
    text += kept[0];
    if (count > 1) {
        text += '.';
        text.append(kept + 1, kept + count);
    }
    text += exponent < 0 ? "e-" : "e+";
    text += std::to_string(std::abs(exponent));
    return text;
}

int DecimalExponent(double value) {
    if (value == 0 || !std::isfinite(value))
        return 0;
    return DigitsOf(value).pointPosition - 1;
}

} // namespace fiscora
