#include "FoSnapshotRichText.h"

#include "FoSnapshotCodes.h"

#include <QStringList>

namespace fiscora {

std::vector<TRichSegment> SplitRichText(const QString &Text) {
    std::vector<TRichSegment> segments;
    qsizetype position = Text.indexOf(QChar(kRichOpen));
    if (position != 0)
        segments.push_back({QString(), Text.left(position)});
    while (position >= 0 && position < Text.size()) {
        const qsizetype close = Text.indexOf(QChar(kRichClose), position + 1);
        TRichSegment segment;
        if (close < 0) {
            segment.Commands = Text.mid(position + 1);
            segments.push_back(std::move(segment));
            break;
        }
        segment.Commands = Text.mid(position + 1, close - position - 1);
        const qsizetype next = Text.indexOf(QChar(kRichOpen), close + 1);
        segment.Text = Text.mid(close + 1, next < 0 ? -1 : next - close - 1);
        segments.push_back(std::move(segment));
        position = next;
    }
    return segments;
}

std::vector<TRichCommand> SplitRichCommands(const QString &Commands) {
    std::vector<TRichCommand> commands;
    for (const QString &part : Commands.split(QChar(kRichSeparator), Qt::SkipEmptyParts)) {
        QString value = part.mid(1);
        value.remove(QChar(kRichIgnore));
        commands.push_back({part.at(0), value});
    }
    return commands;
}

} // namespace fiscora
