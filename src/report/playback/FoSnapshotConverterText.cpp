#include "report/playback/FoSnapshotConverter.h"

#include "ScopeExit.h"
#include "report/core/FoRichText.h"
#include "report/playback/FoRender.h"
#include "report/snapshot/FoSnapshotCodes.h"

#include <QBuffer>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

namespace fiscora {

// ---- Text ------------------------------------------------------------------------------------------

void TFoConverter::SetFontAttribute(const std::function<void()> &Change) {
    FFontNotified = false;
    Change();
    if (!FFontNotified)
        FRenderer.FontChanged(Font);
}

void TFoConverter::ApplyRichCommands(const QString &Commands) {
    Font.BeginUpdate();
    for (const TRichCommand &command : SplitRichCommands(Commands)) {
        if (command.Letter == QLatin1Char('A')) {
            if (!FMeasuring)
                FRenderer.SetHyperlink(command.Value);
            continue;
        }
        const TSaveFont before = FontData;
        ApplyRichCommand(FontData, command);
        FollowFontData(before);
    }
    Font.EndUpdate();
}

// The platform font follows the font description after a rich-text command. Size and width are
// taken over only when the command changed them: the description keeps them in inches.
void TFoConverter::FollowFontData(const TSaveFont &Before) {
    AssignFontAttributes(Font, FontData);
    if (FontData.Size != Before.Size)
        Font.SetSize(static_cast<int>(FontData.Size));
    if (FontData.Width != Before.Width)
        Font.SetWidth(0);
}

double TFoConverter::SegmentWidth(const QString &Text) {
    if (Text.isEmpty())
        return 0.0;
    TFoFont &measure = FFontBitmap->Font();
    measure.Assign(Font);
    measure.SetPixelsPerInch(RichPixelsPerInch);
    measure.SetSize(Font.Size());
    return FFontBitmap->TextWidthF(Text) / RichPixelsPerInch;
}

double TFoConverter::RichTextWidth(const QString &Value) {
    // Measuring must not leave the text's attributes behind: the first segment uses those in force before it.
    const TSaveFont savedData = FontData;
    TFoFont savedFont;
    savedFont.Assign(Font);
    auto handler = std::move(Font.OnChange);
    Font.OnChange = nullptr;
    FMeasuring = true;
    ScopeExit restore([&] {
        Font.Assign(savedFont);
        FontData = savedData;
        Font.OnChange = std::move(handler);
        FMeasuring = false;
    });
    double width = 0.0;
    for (const TRichSegment &segment : SplitRichText(Value)) {
        ApplyRichCommands(segment.Commands);
        width += SegmentWidth(segment.Text);
    }
    return width;
}

void TFoConverter::DoText(quint8 Code) {
    const double y = ReadCoord();
    const QString text = ReadText();
    double x = ReadCoord();
    if (text.isEmpty() || Skipped())
        return;
    if (!IsRichText(text)) {
        if (Code == scCenterText)
            FRenderer.CenterText(text, x, y);
        else if (Code == scLeftText)
            FRenderer.LeftText(text, x, y);
        else
            FRenderer.RightText(text, x, y);
        return;
    }
    if (Code == scCenterText)
        x -= RichTextWidth(text) / 2.0;
    else if (Code == scRightText)
        x -= RichTextWidth(text);
    double yPos = y;
    for (const TRichSegment &segment : SplitRichText(text)) {
        ApplyRichCommands(segment.Commands);
        if (segment.Text.isEmpty())
            continue;
        FRenderer.FontChanged(Font);
        FRenderer.LeftText(segment.Text, x, yPos);
        FRenderer.AdvanceAlongBaseline(x, yPos, SegmentWidth(segment.Text));
    }
}

void TFoConverter::DoPrintSpaces() {
    const double y = ReadCoord();
    const QString text = ReadText();
    double x = ReadCoord();
    const double width = ReadCoord();
    if (text.isEmpty() || Skipped())
        return;
    if (!IsRichText(text)) {
        FRenderer.PrintSpaces(text, x, y, width);
        return;
    }
    const std::vector<TRichSegment> segments = SplitRichText(text);
    int gaps = 0;
    for (const TRichSegment &segment : segments) {
        QString rest = segment.Text;
        int words = 0;
        while (!rest.isEmpty()) {
            FRenderer.TakeWord(rest);
            ++words;
        }
        gaps += std::max(0, words - 1);
    }
    const double extra = gaps == 0 ? 0.0 : (width - RichTextWidth(text)) / gaps;
    double yPos = y;
    for (const TRichSegment &segment : segments) {
        ApplyRichCommands(segment.Commands);
        QString rest = segment.Text;
        bool first = true;
        while (!rest.isEmpty()) {
            const QString word = FRenderer.TakeWord(rest);
            const double wordWidth = SegmentWidth(word);
            if (first) {
                FRenderer.FontChanged(Font);
                FRenderer.LeftText(word, x, yPos);
                FRenderer.AdvanceAlongBaseline(x, yPos, wordWidth);
                first = false;
            } else {
                FRenderer.AdvanceAlongBaseline(x, yPos, wordWidth + extra);
                FRenderer.RightText(word, x, yPos);
            }
        }
    }
}

void TFoConverter::DoTextRect() {
    const QRect rect = ReadRect();
    const QPointF point = ReadPoint();
    const QString text = ReadText();
    if (!Skipped())
        FRenderer.TextRect(rect, point.x(), point.y(), text);
}

void TFoConverter::DoPrintData() {
    const QString data = ReadText();
    if (!Skipped())
        FRenderer.PrintData(data);
}

void TFoConverter::DoPrintDataStream() {
    QByteArray bytes = FReader.ReadBytes(FReader.ReadInt());
    if (Skipped())
        return;
    QBuffer data(&bytes);
    data.open(QIODevice::ReadOnly);
    FRenderer.PrintDataStream(data, bytes.size());
}

void TFoConverter::DoResetLineHeight() {
    Ascent = ReadCoord();
    Descent = ReadCoord();
    LineHeight = ReadCoord();
}

// ---- Fonts ----------------------------------------------------------------------------------------

void TFoConverter::SetFont() {
    const QString name = FReader.ReadString();
    const auto colour = static_cast<TColor>(FReader.ReadInt());
    const auto pitch = static_cast<TFontPitch>(std::min<quint8>(FReader.ReadByte(), 2));
    const quint8 charset = ReportHeader.FileVer >= 2018 ? FReader.ReadByte() : DEFAULT_CHARSET;
    const double height = ReadClamped(50.0);
    const bool bold = FReader.ReadByte() != 0;
    const bool italic = FReader.ReadByte() != 0;
    const bool strikeout = FReader.ReadByte() != 0;
    FReader.ReadByte();
    const int rotation = ReportHeader.FileVer >= 2000 ? FReader.ReadSmallInt() : 0;
    SetFontAttribute([&] {
        Font.BeginUpdate();
        FontData.Name = name;
        FontData.Color = colour;
        FontData.Pitch = pitch;
        FontData.CharSet = charset;
        FontData.Height = std::abs(height);
        FontData.Size = FontData.Height * 72.0;
        FontData.Bold = bold;
        FontData.Italic = italic;
        FontData.Strikeout = strikeout;
        FontData.Rotation = static_cast<std::int16_t>(((rotation % 360) + 360) % 360);
        Font.SetName(name);
        Font.SetColor(colour);
        Font.SetPitch(pitch);
        Font.SetCharSet(charset);
        Font.SetSize(static_cast<int>(std::lround(std::abs(height) * FRenderer.XDPI())));
        Font.SetBold(bold);
        Font.SetItalic(italic);
        Font.SetStrikeout(strikeout);
        Font.EndUpdate();
    });
}

void TFoConverter::SetFontHeight() {
    // Heights beyond 50 inches (3600 points) are absurd and clamped.
    const double height = std::abs(ReadClamped(50.0));
    if (ReportHeader.FileVer >= 2000)
        FontReferenceWidth = ReadCoord();
    SetFontAttribute([&] {
        FontData.Height = height;
        FontData.Size = height * 72.0;
        Font.SetSize(static_cast<int>(std::lround(FontData.Size)));
    });
}

} // namespace fiscora
