#pragma once

#include <QString>

namespace fiscora {

// The calculator's number text: at most 15 significant digits, no trailing zeros, no separators,
// a point only when needed; fixed notation for magnitudes from 0.00001 with at most 15 digits before
// the point, otherwise mantissa, "E" and exponent ("1.23456788876543E17", "1E-6").
QString GeneralNumberText(double value);

// The number in a display text ("." as point, exponent allowed). Raises EConvertError for a text
// that is no number.
double DisplayNumber(const QString &text);

} // namespace fiscora
