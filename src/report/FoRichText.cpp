#include "FoRichText.h"

#include "FoSnapshotRichText.h"

#include <QStringList>

#include <cmath>

namespace fiscora {

namespace {
void SetSize(TSaveFont &font, double points) {
    font.Size = points;
    font.Height = points / 72.0;
}
} // namespace

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

void ApplyRichCommand(TSaveFont &font, QChar letter, const QString &value) {
    const bool on = value == QLatin1String("1");
    switch (letter.unicode()) {
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
        const double size = value.toDouble(&ok);
        if (ok && size > 0)
            SetSize(font, std::round(size));
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

void ApplyRichBlock(TSaveFont &font, const QString &block) {
    for (const TRichCommand &command : SplitRichCommands(block))
        ApplyRichCommand(font, command.Letter, command.Value);
}

void ForEachRichSegment(const QString &text, TSaveFont &font,
                        const std::function<void(const QString &segment, const TSaveFont &font)> &segment) {
    qsizetype pos = 0;
    while (pos < text.size()) {
        const qsizetype open = text.indexOf(QChar(kRichOpen), pos);
        const qsizetype plainEnd = open < 0 ? text.size() : open;
        if (plainEnd > pos)
            segment(text.mid(pos, plainEnd - pos), font);
        if (open < 0)
            break;
        qsizetype close = text.indexOf(QChar(kRichClose), open + 1);
        if (close < 0)
            close = text.size();
        ApplyRichBlock(font, text.mid(open + 1, close - open - 1));
        pos = close + 1;
    }
}

} // namespace fiscora
