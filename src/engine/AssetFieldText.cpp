#include "AssetFieldText.h"

#include "SameText.h"
#include "ToolBox.h"

#include <algorithm>

namespace fiscora {

namespace {

// The cost field: 9 dollar digits, 2 cent digits, no minus key.
constexpr std::size_t kCostDollarDigits = 9;
constexpr std::size_t kCostCentDigits = 2;

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

} // namespace

std::optional<std::size_t> ChoiceIndexFromText(std::string_view text, const std::string_view *texts,
                                               std::size_t count) {
    if (!text.empty() && std::all_of(text.begin(), text.end(), IsDigit)) {
        if (text.size() <= 2 && std::stoul(std::string(text)) < count)
            return std::stoul(std::string(text));
        return std::nullopt;
    }
    for (std::size_t i = 0; i < count; ++i)
        if (SameText(text, texts[i]))
            return i;
    return std::nullopt;
}

bool IsHoldableDateText(std::string_view text) {
    if (text.size() != 10)
        return false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if ((i == 2 || i == 5) ? c != '/' : (c != ' ' && !IsDigit(c)))
            return false;
    }
    return true;
}

// Any character the field could never show is refused, so "1e5" is no amount rather than 15.
std::optional<double> ReadCostText(std::string_view text, std::string &refusal) {
    const auto refuse = [&](const char *why) {
        refusal = why;
        return std::nullopt;
    };
    if (FilterChars(text, MakeCharSet("$,-.0123456789")).size() != text.size())
        return refuse("holds characters other than digits, \"$\", \",\" and \".\"");
    const std::string amount = FilterChars(text, MakeCharSet("-.0123456789"));
    if (amount.find('-') != std::string::npos)
        return refuse("is negative; the field takes no minus sign");
    if (std::count(amount.begin(), amount.end(), '.') > 1)
        return refuse("has more than one decimal point");
    if (amount.find_first_of("0123456789") == std::string::npos)
        return refuse("has no digits");
    const std::size_t point = amount.find('.');
    const std::size_t dollarDigits = point == std::string::npos ? amount.size() : point;
    const std::size_t centDigits = point == std::string::npos ? 0 : amount.size() - point - 1;
    if (dollarDigits > kCostDollarDigits)
        return refuse("has more than 9 dollar digits");
    if (centDigits > kCostCentDigits)
        return refuse("has more than 2 decimals");
    return RoundAmount(StrToAmount(amount), 2);
}

} // namespace fiscora
