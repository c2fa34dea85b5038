#pragma once

#include "report/core/FoTypes.h"

#include <QString>

#include <vector>

namespace fiscora {

// Rich text inside report strings: character 1 opens a command block, character 4 closes it,
// character 2 separates commands, character 3 inside a value is ignored.
inline constexpr char16_t kRichOpen = 1;
inline constexpr char16_t kRichSeparator = 2;
inline constexpr char16_t kRichIgnore = 3;
inline constexpr char16_t kRichClose = 4;

// "Z" sizes beyond this are absurd; font records clamp heights to the same 50 inches.
inline constexpr double kRichMaxPoints = 3600.0;

inline bool IsRichText(const QString &text) {
    return text.contains(QChar(kRichOpen));
}

// One piece of a rich text: the command block in front of it (without its delimiters, empty when the
// text has none) and the plain text up to the next block.
struct TRichSegment {
    QString Commands;
    QString Text;
};

// Cuts a rich text into segments; a block without its closing character 4 runs to the end of the text.
std::vector<TRichSegment> SplitRichText(const QString &Text);

// One command of a block: its letter and its value with the ignored character 3 removed.
struct TRichCommand {
    QChar Letter;
    QString Value;
};

std::vector<TRichCommand> SplitRichCommands(const QString &Commands);

// The plain attributes the reset commands "R" and "r" return to: no styles, black, default pitch
// and character set, no rotation or width, baseline alignment. Name and size stay.
void ResetRichTextAttributes(TSaveFont &font);

// Applies one command to a font description, for the canvas and playback alike. Letters are
// case-sensitive ("R" and "r" differ); "A" (hyperlink) and unknown letters leave the font alone, as do
// a colour that is no number and a size that is no positive number. Superscript and subscript exclude
// each other.
void ApplyRichCommand(TSaveFont &font, const TRichCommand &command);

// Applies every command of a block's inner text (between characters 1 and 4).
void ApplyRichBlock(TSaveFont &font, const QString &commands);

// A plain piece of a rich text with the font description it is printed in.
struct TRichPiece {
    QString Text;
    TSaveFont Font;
};

} // namespace fiscora
