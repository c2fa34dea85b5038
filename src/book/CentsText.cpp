#include "CentsText.h"

#include <cstdio>

namespace fiscora {

namespace {

std::string Text(Cents cents, bool grouped) {
    const bool negative = cents < 0;
    const unsigned long long magnitude =
        negative ? 0ULL - static_cast<unsigned long long>(cents) : static_cast<unsigned long long>(cents);
    std::string dollars = std::to_string(magnitude / 100);
    if (grouped)
        for (std::size_t at = dollars.size(); at > 3; at -= 3)
            dollars.insert(at - 3, 1, ',');
    char decimals[4];
    std::snprintf(decimals, sizeof decimals, "%02llu", magnitude % 100);
    return (negative ? "-" : "") + dollars + "." + decimals;
}

} // namespace

std::string CentsText(Cents cents) {
    return Text(cents, false);
}

std::string GroupedCentsText(Cents cents) {
    return Text(cents, true);
}

} // namespace fiscora
