// Page canvas: fonts, text output and measurement, and memo buffers.
#include "report/canvas/FoBase.h"

#include "ScopeExit.h"
#include "report/canvas/FoFontCache.h"
#include "report/core/FoErrors.h"
#include "report/core/FoMacros.h"
#include "report/core/FoRichText.h"

#include <algorithm>
#include <cmath>

namespace fiscora {

namespace {
constexpr QChar kTab = QLatin1Char('\t');
constexpr double kSubSuperDivisor = 1.667;

TPrintJustify ToPrintJustify(TTabJustify justify) {
    switch (justify) {
    case TTabJustify::tjCenter:
        return TPrintJustify::pjCenter;
    case TTabJustify::tjRight:
        return TPrintJustify::pjRight;
    case TTabJustify::tjBlock:
        return TPrintJustify::pjBlock;
    default:
        return TPrintJustify::pjLeft;
    }
}
} // namespace

// ---- Font realisation -----------------------------------------------------------------------

TFoFont TBaseReport::PlatformFont(const TSaveFont &font) const {
    TFoFont result;
    result.SetPixelsPerInch(FYDPI);
    double height = font.Height;
    if (font.Superscript || font.Subscript)
        height /= kSubSuperDivisor;
    AssignFontAttributes(result, font);
    result.SetHeight(-int(std::lround(height * FYDPI * FZoom / 100.0)));
    result.SetWidth(int(std::lround(font.Width * FXDPI * FZoom / 100.0)));
    result.SetOrientation(font.Rotation * 10);
    return result;
}

void TBaseReport::SelectFont() {
    if (!FFontChanged)
        return;
    if (!FDevice) {
        // Nothing to measure on yet: keep the estimate of half the height each.
        FBaseFont.Ascent = FBaseFont.Height / 2.0;
        FBaseFont.Descent = FBaseFont.Height / 2.0;
        return;
    }
    TFoCanvas &canvas = FDevice->Canvas();
    FSelectingFont = true;
    TFoFontCacheEntry *entry = FFontCache->Find(FBaseFont);
    if (entry) {
        canvas.Font().Assign(entry->Font);
    } else {
        auto created = std::make_unique<TFoFontCacheEntry>();
        created->Description = FBaseFont;
        created->Font = PlatformFont(FBaseFont);
        canvas.Font().Assign(created->Font);
        const TFoTextMetrics metrics = canvas.TextMetrics();
        const double toInches = 10000.0 / (FYDPI * FScaleY * FZoom);
        created->Ascent = metrics.Ascent * toInches;
        created->Descent = metrics.Descent * toInches;
        created->InternalLeading = metrics.InternalLeading * toInches;
        if (FBaseFont.Superscript || FBaseFont.Subscript) {
            created->Ascent /= 2.0;
            created->Descent /= 2.0;
            created->InternalLeading /= 2.0;
        }
        entry = &FFontCache->Add(std::move(created));
    }
    TColor color = FBaseFont.Color;
    if (OutputKind() == okPrinter && !FNoNTColorFix && FDevice->IsMonochrome() &&
        ColorToRGB(color) != clWhite)
        color = clBlack;
    canvas.Font().SetColor(color);
    FSelectingFont = false;
    FBaseFont.Ascent = entry->Ascent;
    FBaseFont.Descent = entry->Descent;
    FBaseFont.InternalLeading = entry->InternalLeading;
    FBaseFont.Handle = &entry->Font;
    FBaseFont.Index = 0;
    FFontChanged = false;
}

void TBaseReport::MarkFontChanged() {
    FFontChanged = true;
    FBaseFont.Handle = nullptr;
    FBaseFont.Index = -1;
    FontChanged();
}

void TBaseReport::ReleaseFontCache() {
    FFontCache->Clear();
    FBaseFont.Handle = nullptr;
    FBaseFont.Index = -1;
    FFontChanged = true;
}

void TBaseReport::CopyFromDeviceFont(TFoFont &Font) {
    if (FSelectingFont || !FPrinting)
        return;
    FBaseFont.Name = Font.Name();
    FBaseFont.Color = Font.Color();
    FBaseFont.CharSet = Font.CharSet();
    FBaseFont.Pitch = Font.Pitch();
    FBaseFont.Height = std::abs(Font.Height()) / double(Font.PixelsPerInch());
    FBaseFont.Size = FBaseFont.Height * 72.0;
    FBaseFont.Bold = Font.Bold();
    FBaseFont.Italic = Font.Italic();
    FBaseFont.Underline = Font.Underline();
    FBaseFont.Strikeout = Font.Strikeout();
    MarkFontChanged();
}

const QFont *TBaseReport::FontHandle() {
    SelectFont();
    return FBaseFont.Handle ? &FBaseFont.Handle->QtFont() : nullptr;
}

// ---- Font properties ------------------------------------------------------------------------

void TBaseReport::SetFontName(const QString &value) {
    FBaseFont.Name = value;
    MarkFontChanged();
}

void TBaseReport::SetFontSize(double points) {
    if (!(points > 0.0))
        return;
    FBaseFont.Size = points;
    FBaseFont.Height = points / 72.0;
    MarkFontChanged();
}

void TBaseReport::SetFontHeight(double value) {
    const double inches = YU2I(value);
    if (!(inches > 0.0))
        return;
    FBaseFont.Height = inches;
    FBaseFont.Size = inches * 72.0;
    MarkFontChanged();
}

void TBaseReport::SetFontWidth(double value) {
    FBaseFont.Width = std::max(0.0, XU2I(value));
    MarkFontChanged();
}

void TBaseReport::SetFontColor(TColor value) {
    FBaseFont.Color = value;
    MarkFontChanged();
}

void TBaseReport::SetFontPitch(TFontPitch value) {
    FBaseFont.Pitch = value;
    MarkFontChanged();
}

void TBaseReport::SetFontCharset(std::uint8_t value) {
    FBaseFont.CharSet = value;
    MarkFontChanged();
}

void TBaseReport::SetBold(bool value) {
    FBaseFont.Bold = value;
    MarkFontChanged();
}

void TBaseReport::SetUnderline(bool value) {
    FBaseFont.Underline = value;
    MarkFontChanged();
}

void TBaseReport::SetItalic(bool value) {
    FBaseFont.Italic = value;
    MarkFontChanged();
}

void TBaseReport::SetStrikeout(bool value) {
    FBaseFont.Strikeout = value;
    MarkFontChanged();
}

void TBaseReport::SetSuperscript(bool value) {
    FBaseFont.Superscript = value;
    if (value)
        FBaseFont.Subscript = false;
    MarkFontChanged();
}

void TBaseReport::SetSubscript(bool value) {
    FBaseFont.Subscript = value;
    if (value)
        FBaseFont.Superscript = false;
    MarkFontChanged();
}

void TBaseReport::SetFontRotation(int degrees) {
    FBaseFont.Rotation = std::int16_t(((degrees % 360) + 360) % 360);
    MarkFontChanged();
}

void TBaseReport::SetFontAlign(TFontAlign value) {
    FBaseFont.Align = value;
    MarkFontChanged();
}

void TBaseReport::SetBaseFont(const TSaveFont &value) {
    FBaseFont = value;
    MarkFontChanged();
}

void TBaseReport::SetFont(const QString &NewName, double NewSize) {
    if (!(NewSize > 0.0))
        return;
    TSaveFont font;
    font.Name = NewName;
    font.Size = NewSize;
    font.Height = NewSize / 72.0;
    font.Ascent = font.Descent = font.Height / 2.0;
    FBaseFont = font;
    MarkFontChanged();
}

void TBaseReport::AssignFont(const TFoFont &Font) {
    FBaseFont.Name = Font.Name();
    FBaseFont.Color = Font.Color();
    FBaseFont.Pitch = Font.Pitch();
    FBaseFont.CharSet = Font.CharSet();
    FBaseFont.Height = std::abs(Font.Height()) / double(Font.PixelsPerInch());
    FBaseFont.Size = FBaseFont.Height * 72.0;
    FBaseFont.Bold = Font.Bold();
    FBaseFont.Underline = Font.Underline();
    FBaseFont.Italic = Font.Italic();
    FBaseFont.Strikeout = Font.Strikeout();
    FBaseFont.Superscript = false;
    FBaseFont.Subscript = false;
    FBaseFont.Rotation = 0;
    MarkFontChanged();
}

std::unique_ptr<TFoFont> TBaseReport::CreateFont(const QString &NewName, int NewSize) const {
    auto font = std::make_unique<TFoFont>();
    font->SetPixelsPerInch(FYDPI);
    font->SetName(NewName);
    font->SetSize(NewSize);
    return font;
}

bool TBaseReport::PushFont() {
    if (FBlockTextDepth > 0)
        return true;
    FFontStack.push_back(FBaseFont);
    return true;
}

bool TBaseReport::PopFont() {
    if (FBlockTextDepth > 0)
        return true;
    if (FFontStack.empty())
        return false;
    FBaseFont = FFontStack.back();
    FFontStack.pop_back();
    MarkFontChanged();
    return true;
}

bool TBaseReport::SaveFont(int Index) {
    if (Index < 1 || Index > 10)
        return false;
    FFontSlots[Index - 1] = FBaseFont;
    return true;
}

bool TBaseReport::RestoreFont(int Index) {
    if (Index < 1 || Index > 10 || !FFontSlots[Index - 1])
        return false;
    FBaseFont = *FFontSlots[Index - 1];
    MarkFontChanged();
    return true;
}

// ---- Measurement ----------------------------------------------------------------------------

int TBaseReport::DeviceTextWidth(const QString &Text) {
    if (!FDevice)
        throw EFolioReport(kMsgCanvasNotActive);
    SelectFont();
    return FDevice->TextWidth(Text);
}

double TBaseReport::TextWidthInches(const QString &Text) {
    if (!FIgnoreRichText && IsRichText(Text))
        return RichTextWidthInches(Text);
    return DeviceTextWidth(Text) * FScaleX / (FXDPI * 100.0);
}

std::vector<TRichPiece> TBaseReport::RichTextPieces(const QString &Text) const {
    std::vector<TRichPiece> pieces;
    TSaveFont font = FBaseFont;
    for (const TRichSegment &segment : SplitRichText(Text)) {
        ApplyRichBlock(font, segment.Commands);
        if (!segment.Text.isEmpty())
            pieces.push_back({segment.Text, font});
    }
    return pieces;
}

double TBaseReport::RichTextWidthInches(const QString &Text) {
    if (!FDevice)
        throw EFolioReport(kMsgCanvasNotActive);
    SelectFont();
    TFoCanvas &canvas = FDevice->Canvas();
    TFoFont saved;
    saved.Assign(canvas.Font());
    int pixels = 0;
    FSelectingFont = true;
    ScopeExit restore([&] {
        canvas.Font().Assign(saved);
        FSelectingFont = false;
    });
    for (const TRichPiece &piece : RichTextPieces(Text)) {
        canvas.Font().Assign(PlatformFont(piece.Font));
        pixels += FDevice->TextWidth(piece.Text);
    }
    return std::max(1, pixels) * FScaleX / (FXDPI * 100.0);
}

double TBaseReport::TextWidth(const QString &Text) {
    return XI2U(TextWidthInches(Text));
}

QSize TBaseReport::GetTextExtent(const QString &Text) {
    if (!FDevice)
        throw EFolioReport(kMsgCanvasNotActive);
    SelectFont();
    return FDevice->Canvas().TextExtent(Text);
}

QString TBaseReport::TruncateText(const QString &Value, double Width) {
    if (HasMarker(Value))
        return Value;
    QString text = Value;
    while (!text.isEmpty() && TextWidth(text) > Width) {
        const qsizetype open = text.endsWith(QChar(kRichClose)) ? text.lastIndexOf(QChar(kRichOpen)) : -1;
        text.truncate(open >= 0 ? open : text.size() - 1);
    }
    return text;
}

// ---- Text output ----------------------------------------------------------------------------

void TBaseReport::PrintJustify(const QString &Text, double xPos, TPrintJustify Justify, double Margin,
                               double Width) {
    if (!BeginOutput()) {
        // Nothing is output, but the cursor moves as if it were, so the layout stays the same.
        if (Justify == TPrintJustify::pjLeft && !Text.isEmpty())
            FCursorXPos = xPos + Margin + TextWidthInches(Text);
        return;
    }
    if (Text.isEmpty())
        return;
    SelectFont();
    switch (Justify) {
    case TPrintJustify::pjCenter:
        EmitCenterText(Text, xPos + Width / 2.0);
        break;
    case TPrintJustify::pjRight:
        EmitRightText(Text, xPos + Width - Margin);
        break;
    case TPrintJustify::pjBlock:
        EmitBlockText(Text, xPos + Margin, Width - 2.0 * Margin);
        break;
    case TPrintJustify::pjLeft: {
        double x = xPos + Margin;
        if (!Text.contains(kTab)) {
            EmitLeftText(Text, x);
            break;
        }
        // Keeps font push/pop inert while the text is split at its tabs and printed.
        ++FBlockTextDepth;
        ScopeExit leaveBlock([this] { --FBlockTextDepth; });
        const double tabWidth = FFixedTabWidth > 0.0 ? FFixedTabWidth : 0.5;
        qsizetype from = 0;
        for (qsizetype tab = Text.indexOf(kTab); tab >= 0; tab = Text.indexOf(kTab, from)) {
            if (tab > from) {
                EmitLeftText(Text.mid(from, tab - from), x);
                x = FCursorXPos;
            }
            x = xPos + (std::trunc((x - xPos + 0.001) / tabWidth) + 1.0) * tabWidth;
            from = tab + 1;
        }
        if (from < Text.size())
            EmitLeftText(Text.mid(from), x);
        else
            FCursorXPos = x;
        break;
    }
    }
    EndOutput();
}

void TBaseReport::PrintPiece(const QString &Text) {
    if (FAtTab && FTabList && !FTabList->empty() && FCurrentTab >= 0) {
        const TTab &tab = (*FTabList)[std::size_t(FCurrentTab)];
        const TPrintJustify justify =
            FTabJustify != TTabJustify::tjNone ? ToPrintJustify(FTabJustify) : tab.Justify;
        FAtTab = false;
        PrintJustify(Text, tab.Pos + (FColumnNum - 1) * FColumnWidth, justify, tab.Margin, tab.Width);
    } else if (!Text.isEmpty()) {
        PrintJustify(Text, FCursorXPos, TPrintJustify::pjLeft, 0.0, 0.0);
    }
}

void TBaseReport::Print(const QString &Text) {
    qsizetype from = 0;
    for (qsizetype tab = Text.indexOf(kTab); tab >= 0; tab = Text.indexOf(kTab, from)) {
        PrintPiece(Text.mid(from, tab - from));
        Tab();
        from = tab + 1;
    }
    PrintPiece(from == 0 ? Text : Text.mid(from));
}

void TBaseReport::Println(const QString &Text) {
    Print(Text);
    NewLine();
}

void TBaseReport::PrintLeft(const QString &Text, double Pos) {
    PrintJustify(Text, XU2I(Pos), TPrintJustify::pjLeft, 0.0, 0.0);
}

void TBaseReport::PrintCenter(const QString &Text, double Pos) {
    PrintJustify(Text, XU2I(Pos), TPrintJustify::pjCenter, 0.0, 0.0);
}

void TBaseReport::PrintRight(const QString &Text, double Pos) {
    PrintJustify(Text, XU2I(Pos), TPrintJustify::pjRight, 0.0, 0.0);
}

void TBaseReport::PrintXY(double X, double Y, const QString &Text) {
    FCursorYPos = YU2I(Y);
    PrintLeft(Text, X);
}

void TBaseReport::PrintBlock(const QString &Text, double Pos, double Width) {
    PrintJustify(Text, XU2I(Pos), TPrintJustify::pjBlock, 0.0, XU2I(Width));
}

void TBaseReport::PrintHeader(const QString &Text, TPrintJustify Justify) {
    GotoHeader();
    PrintJustify(Text, FSectionLeft, Justify, 0.0, SectionWidth());
}

void TBaseReport::PrintFooter(const QString &Text, TPrintJustify Justify) {
    GotoFooter();
    PrintJustify(Text, FSectionLeft, Justify, 0.0, SectionWidth());
}

void TBaseReport::PrintCharJustify(const QString &Text, QChar Ch, double xPos) {
    const double x = XU2I(xPos);
    const qsizetype at = Text.indexOf(Ch);
    if (at < 0) {
        PrintJustify(Text, x, TPrintJustify::pjRight, 0.0, 0.0);
        return;
    }
    if (at > 0)
        PrintJustify(Text.left(at), x, TPrintJustify::pjRight, 0.0, 0.0);
    PrintJustify(Text.mid(at), x, TPrintJustify::pjLeft, 0.0, 0.0);
}

void TBaseReport::PrintTab(const QString &Text) {
    Tab();
    const TTab *tab = GetTab(0);
    if (tab && tab->Width > 0.0)
        Print(TruncateText(Text, TabWidth(0)));
    else
        Print(Text);
}

// ---- Memo buffers ---------------------------------------------------------------------------

int TBaseReport::MemoLines(TBaseMemoBuf &MemoBuf) {
    MemoBuf.BaseReport = this;
    return MemoBuf.MemoLinesLeft();
}

QString TBaseReport::GetMemoLine(TBaseMemoBuf &MemoBuf, bool &Eol) {
    MemoBuf.BaseReport = this;
    return MemoBuf.GetNextLine(Eol);
}

double TBaseReport::PrintMemo(TBaseMemoBuf &MemoBuf, int Lines, bool PrintTabs) {
    MemoBuf.BaseReport = this;
    return MemoBuf.PrintLines(Lines, PrintTabs);
}

} // namespace fiscora
