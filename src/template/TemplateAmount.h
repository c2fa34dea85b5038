#pragma once

#include <QString>

#include <cstdint>
#include <optional>

namespace fiscora {

// How a data set's amounts are written, so that a total reads like the amounts it adds up.
struct AmountStyle {
    bool currencySign = false; // "$1.00"
    bool grouped = false;      // "1,000.00"
    int decimals = 0;          // 0 to 2
};

struct AmountValue {
    std::int64_t cents = 0;
    AmountStyle style;
};

// An amount as reports print them: an optional "-" (or parentheses around it), an optional "$",
// digits with optional "," thousands separators, and at most two decimals after ".". Anything else,
// the empty text included, is no amount.
std::optional<AmountValue> ParseAmountText(const QString &text);

// The total of amounts: adds them up in cents, exact however many there are, and keeps the style
// the amounts share (the currency sign or separators when any has them, the most decimals).
class AmountTotal {
public:
    void Add(const AmountValue &value);
    QString Text() const;

private:
    std::int64_t FCents = 0;
    AmountStyle FStyle;
};

} // namespace fiscora
