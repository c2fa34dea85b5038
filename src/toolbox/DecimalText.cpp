#include "DecimalText.h"

#include <charconv>
#include <cmath>
#include <cstdlib>

namespace fiscora {

namespace {

constexpr int kSignificantDigits = 18;

// The first 18 significant digits of |value| and the position of the decimal point relative to
// them: value = 0.digits x 10^pointPosition.
struct DecimalDigits {
    bool negative = false;
    std::string digits;
    int pointPosition = 0;
};

DecimalDigits DigitsOf(double value) {
    DecimalDigits result;
    result.negative = std::signbit(value);
    if (value == 0) {
        result.digits.assign(kSignificantDigits, '0');
        result.pointPosition = 1;
        return result;
    }
    char buffer[40];
    const auto written = std::to_chars(buffer, buffer + sizeof buffer, std::fabs(value),
                                       std::chars_format::scientific, kSignificantDigits - 1);
    const std::string text(buffer, written.ptr); // d.ddddddddddddddddde+XX
    result.digits.reserve(kSignificantDigits);
    result.digits += text[0];
    const auto exponentAt = text.find('e');
    result.digits.append(text, 2, exponentAt - 2);
    result.pointPosition = std::atoi(text.c_str() + exponentAt + 1) + 1;
    return result;
}

// Keeps the first `keep` digits (keep may exceed the digits held: zeros follow) and rounds half away
// from zero on the first dropped digit. Returns the kept digits, possibly one longer after a carry.
std::string RoundDigits(const std::string &digits, int keep) {
    if (keep < 0)
        return "0";
    std::string kept;
    if (keep >= static_cast<int>(digits.size())) {
        kept = digits;
        kept.append(keep - digits.size(), '0');
        return kept.empty() ? "0" : kept;
    }
    kept.assign(digits, 0, keep);
    if (digits[keep] >= '5') {
        int i = keep - 1;
        while (i >= 0 && kept[i] == '9')
            kept[i--] = '0';
        if (i >= 0)
            ++kept[i];
        else { // all nines (or nothing kept): 999 becomes 1000
            kept.push_back('0');
            kept[0] = '1';
        }
    }
    return kept.empty() ? "0" : kept;
}

} // namespace

std::string FixedDecimalText(double value, int decimals) {
    const DecimalDigits parts = DigitsOf(value);
    // The kept digits are the value scaled by 10^decimals, as a whole number.
    std::string scaled = RoundDigits(parts.digits, parts.pointPosition + decimals);
    const auto firstNonZero = scaled.find_first_not_of('0');
    if (firstNonZero == std::string::npos)
        scaled.assign(1, '0');
    else
        scaled.erase(0, firstNonZero);
    if (static_cast<int>(scaled.size()) < decimals + 1) { // at least one digit before the point
        std::string padded(decimals + 1 - scaled.size(), '0');
        padded += scaled;
        scaled = std::move(padded);
    }
    std::string text;
    text.reserve(scaled.size() + 2);
    if (parts.negative && firstNonZero != std::string::npos)
        text += '-';
    text.append(scaled, 0, scaled.size() - decimals);
    if (decimals > 0) {
        text += '.';
        text.append(scaled, scaled.size() - decimals, decimals);
    }
    return text;
}

std::string ScientificDecimalText(double value, int significantDigits) {
    const DecimalDigits parts = DigitsOf(value);
    std::string kept = RoundDigits(parts.digits, significantDigits);
    int exponent = parts.pointPosition - 1;
    if (static_cast<int>(kept.size()) > significantDigits) { // carried into a new leading digit
        kept.pop_back();
        ++exponent;
    }
    std::string text;
    if (parts.negative && value != 0)
        text += '-';
    text += kept[0];
    if (kept.size() > 1) {
        text += '.';
        text.append(kept, 1, std::string::npos);
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
