#include "report/core/FoRichText.h"

#include <QStringList>

#include <algorithm>
#include <cmath>

namespace fiscora {

namespace {
void SetSize(TSaveFont &font, double points) {
    font.Size = points;
    font.Height = points / 72.0;
}
} // namespace

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

void ResetRichTextAttributes(TSaveFont &font) {
    font.Bold = font.Underline = font.Italic = font.Strikeout = false;
    font.Superscript = font.Subscript = false;
    font.Color = clBlack;
    font.Pitch = TFontPitch::fpDefault;
    font.CharSet = DEFAULT_CHARSET;
    font.Rotation = 0;
    font.Width = 0.0;
    font.Align = TFontAlign::faBaseline;
}

void ApplyRichCommand(TSaveFont &font, const TRichCommand &command) {
    const QString &value = command.Value;
    const bool on = value == QLatin1String("1");
    switch (command.Letter.unicode()) {
    case u'B':
        font.Bold = on;
        break;
    case u'I':
        font.Italic = on;
        break;
    case u'U':
        font.Underline = on;
        break;
    case u'K':
        font.Strikeout = on;
        break;
    case u'P':
        font.Superscript = on;
        if (on)
            font.Subscript = false;
        break;
    case u'S':
        font.Subscript = on;
        if (on)
            font.Superscript = false;
        break;
    case u'C': {
        bool ok = false;
        const qlonglong color = value.toLongLong(&ok);
        if (ok)
            font.Color = TColor(color);
        break;
    }
    case u'H':
        if (value == QLatin1String("F"))
            font.Pitch = TFontPitch::fpFixed;
        else if (value == QLatin1String("V"))
            font.Pitch = TFontPitch::fpVariable;
        else
            font.Pitch = TFontPitch::fpDefault;
        break;
    case u'N':
        font.Name = value;
        break;
    case u'Z': {
        bool ok = false;
        const double size = std::round(value.toDouble(&ok));
        if (ok && size > 0)
            SetSize(font, std::min(size, kRichMaxPoints));
        break;
    }
    case u'R':
        ResetRichTextAttributes(font);
        font.Name = QStringLiteral("Arial");
        SetSize(font, 12.0);
        break;
    case u'r':
        ResetRichTextAttributes(font);
        break;
    default:
        break;
    }
}

void ApplyRichBlock(TSaveFont &font, const QString &commands) {
    for (const TRichCommand &command : SplitRichCommands(commands))
        ApplyRichCommand(font, command);
}

} // namespace fiscora
