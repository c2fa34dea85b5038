#pragma once

// Texts read as the window's input controls read them, for entries that arrive as text (the command
// line, imported files): a choice by its index or its display text, a date the date field can hold,
// an amount the cost field can hold.

#include "AssetInputs.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace fiscora {

// The choice at a 0-based index given in decimal, or the one whose display text the text is, compared
// without regard to case; nothing otherwise.
std::optional<std::size_t> ChoiceIndexFromText(std::string_view text, const std::string_view *texts,
                                               std::size_t count);

template <typename Choice, std::size_t Count>
std::optional<Choice> ChoiceFromText(std::string_view text,
                                     const std::array<std::string_view, Count> &texts) {
    const auto index = ChoiceIndexFromText(text, texts.data(), Count);
    return index ? std::optional<Choice>(static_cast<Choice>(*index)) : std::nullopt;
}

// True for ten characters with "/" in positions 3 and 6 and digits or blanks elsewhere: what the
// masked date field can hold (whether it is a real date is for validation).
bool IsHoldableDateText(std::string_view text);

// The amount as the cost field reads it: "$" and "," of its display form are ignored, and what
// remains must fit the field (digits and one ".", no minus key, 9 dollar digits, 2 cent digits).
// Rounded to cents. Nothing when it cannot stand in the field, with the reason in `refusal`
// ("has more than 2 decimals").
std::optional<double> ReadCostText(std::string_view text, std::string &refusal);

} // namespace fiscora
