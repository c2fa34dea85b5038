#pragma once

#include "FoRichText.h"

#include <QString>

#include <vector>

namespace fiscora {

// One piece of a rich text: the command block in front of it (without its delimiters, empty when the
// text has none) and the plain text up to the next block.
struct TRichSegment {
    QString Commands;
    QString Text;
};

// Cuts a rich text (one that contains character 1) into segments; a block without its closing
// character 4 runs to the end of the text.
std::vector<TRichSegment> SplitRichText(const QString &Text);

// One command of a block: its letter and its value with the ignored character 3 removed.
struct TRichCommand {
    QChar Letter;
    QString Value;
};

std::vector<TRichCommand> SplitRichCommands(const QString &Commands);

} // namespace fiscora
