#include "CalculatorNumbers.h"

#include "DecimalText.h"
#include "ToolBoxExceptions.h"

#include <cmath>
#include <string>

namespace fiscora {

namespace {

constexpr int kSignificantDigits = 15;

std::string WithoutTrailingZeros(std::string digits) {
    while (digits.size() > 1 && digits.back() == '0')
        digits.pop_back();
    return digits;
}

} // namespace

QString GeneralNumberText(double value) {
    if (value == 0 || !std::isfinite(value))
        return QStringLiteral("0");
    // "d.dddddddddddddde+XX": the digits after rounding to 15 significant places, and their exponent.
    const std::string scientific = ScientificDecimalText(std::fabs(value), kSignificantDigits);
    const size_t exponentMark = scientific.find_first_of("eE");
    const int exponent = std::stoi(scientific.substr(exponentMark + 1));
    std::string digits;
    for (size_t i = 0; i < exponentMark; ++i)
        if (scientific[i] != '.')
            digits += scientific[i];
    digits = WithoutTrailingZeros(digits);

    // Built by appending only: prepending to a temporary trips a false -Wrestrict in g++ 12.
    std::string text = value < 0 ? "-" : "";
    if (exponent < kSignificantDigits && exponent >= -5) {
        if (exponent < 0) {
            text.append("0.").append(static_cast<size_t>(-exponent - 1), '0').append(digits);
        } else {
            const size_t integerDigits = static_cast<size_t>(exponent) + 1;
            if (digits.size() <= integerDigits) {
                text.append(digits).append(integerDigits - digits.size(), '0');
            } else {
                text.append(digits, 0, integerDigits).append(".").append(digits, integerDigits);
            }
        }
    } else {
        text.append(digits, 0, 1);
        if (digits.size() > 1)
            text.append(".").append(digits, 1);
        text.append("E").append(std::to_string(exponent));
    }
    return QString::fromStdString(text);
}

double DisplayNumber(const QString &text) {
    bool ok = false;
    const double value = text.toDouble(&ok);
    if (!ok || text.trimmed() != text)
        throw EConvertError("'" + text.toStdString() + "' is not a valid floating point value");
    return value;
}

} // namespace fiscora
