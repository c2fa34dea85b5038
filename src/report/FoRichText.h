#pragma once

#include "FoTypes.h"

#include <QString>

#include <functional>

namespace fiscora {

// Rich text inside report strings: character 1 opens a command block, character 4 closes it,
// character 2 separates commands, character 3 inside a value is ignored.
inline constexpr char16_t kRichOpen = 1;
inline constexpr char16_t kRichSeparator = 2;
inline constexpr char16_t kRichIgnore = 3;
inline constexpr char16_t kRichClose = 4;

inline bool IsRichText(const QString &text) {
    return text.contains(QChar(kRichOpen));
}

// The plain attributes the reset commands "R" and "r" return to: no styles, black, default pitch
// and character set, no rotation or width, baseline alignment. Name and size stay.
void ResetRichTextAttributes(TSaveFont &font);

// Applies one command (letter and value) to a font description; "A" (hyperlink) and unknown
// letters leave the font alone.
void ApplyRichCommand(TSaveFont &font, QChar letter, const QString &value);

// Applies every command of a block's inner text (between characters 1 and 4).
void ApplyRichBlock(TSaveFont &font, const QString &block);

// Splits rich text into its plain segments; each segment is handed over with the font in force
// for it, the blocks before it applied to `font`.
void ForEachRichSegment(const QString &text, TSaveFont &font,
                        const std::function<void(const QString &segment, const TSaveFont &font)> &segment);

} // namespace fiscora
