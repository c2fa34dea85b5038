#pragma once

#include <QString>

#include <cstdint>

namespace fiscora {

class TFoFont;

// The last page of a page range that stands for "to the end" (1 to 9999 is every page), as stored
// snapshots record it. A report run over the whole range may have no more pages than this.
constexpr int LastPageOfAll = 9999;

// Report enumerations. Their ordinal values are stored in snapshots: never reorder them.

enum class TOrientation : std::uint8_t { poPortrait, poLandScape, poDefault };
enum class TDuplex : std::uint8_t { dupSimplex, dupVertical, dupHorizontal };
enum class TReportDest : std::uint8_t { rdPreview, rdPrinter, rdFile };
enum class TPrintJustify : std::uint8_t { pjCenter, pjLeft, pjRight, pjBlock };
enum class TTabJustify : std::uint8_t { tjCenter, tjLeft, tjRight, tjBlock, tjNone };
enum class TFontAlign : std::uint8_t { faBaseline, faTop, faBottom };
enum class TPrintUnits : std::uint8_t { unInch, unMM, unCM, unPoint, unUser };
enum class TLineHeightMethod : std::uint8_t { lhmLinesPerInch, lhmFont, lhmUser };
enum class TBKMode : std::uint8_t { bkTransparent, bkOpaque };
enum class TFrameMode : std::uint8_t { fmInside, fmSplit, fmOutside };
enum class TFontPitch : std::uint8_t { fpDefault, fpVariable, fpFixed };
enum class TFillStyle : std::uint8_t { fsSurface, fsBorder };
enum class TPenStyle : std::uint8_t {
    psSolid,
    psDash,
    psDot,
    psDashDot,
    psDashDotDot,
    psClear,
    psInsideFrame,
    psUserStyle,
    psAlternate
};
enum class TPenMode : std::uint8_t {
    pmBlack,
    pmWhite,
    pmNop,
    pmNot,
    pmCopy,
    pmNotCopy,
    pmMergePenNot,
    pmMaskPenNot,
    pmMergeNotPen,
    pmMaskNotPen,
    pmMerge,
    pmNotMerge,
    pmMask,
    pmNotMask,
    pmXor,
    pmNotXor
};
enum class TBrushStyle : std::uint8_t {
    bsSolid,
    bsClear,
    bsHorizontal,
    bsVertical,
    bsFDiagonal,
    bsBDiagonal,
    bsCross,
    bsDiagCross
};
enum class TReportEventType : std::uint8_t { reBeginPage, reEndPage };

// Macro identifiers; the two-digit value is what a macro marker in a snapshot string carries.
enum class TMacroID : std::uint8_t {
    midCurrDateShort,
    midCurrDateLong,
    midCurrDateUS,
    midCurrDateInter,
    midCurrTimeShort,
    midCurrTimeLong,
    midCurrTimeAMPM,
    midCurrTime24,
    midFirstPage,
    midLastPage,
    midTotalPages,
    midCurrentPage,
    midRelativePage,
    midPrinterName,
    midDriverName,
    midPortName,
    midUser01,
    midUser02,
    midUser03,
    midUser04,
    midUser05,
    midUser06,
    midUser07,
    midUser08,
    midUser09,
    midUser10,
    midUser11,
    midUser12,
    midUser13,
    midUser14,
    midUser15,
    midUser16,
    midUser17,
    midUser18,
    midUser19,
    midUser20
};

// Output kinds a canvas or renderer produces; bit (1 << kind) of a ValidDestination mask allows it.
enum TOutputKind : std::uint8_t { okPrinter = 0, okPreview = 1, okSnapshot = 2 };

// Colours are $00BBGGRR; a value with the high byte set names a system colour.
using TColor = std::uint32_t;

constexpr TColor clBlack = 0x000000;
constexpr TColor clWhite = 0xFFFFFF;
constexpr TColor clYellow = 0x00FFFF;
constexpr TColor clSystemColorFlag = 0xFF000000;

constexpr TColor RGB(int red, int green, int blue) {
    return TColor(red & 0xFF) | (TColor(green & 0xFF) << 8) | (TColor(blue & 0xFF) << 16);
}
constexpr int GetRValue(TColor color) {
    return int(color & 0xFF);
}
constexpr int GetGValue(TColor color) {
    return int((color >> 8) & 0xFF);
}
constexpr int GetBValue(TColor color) {
    return int((color >> 16) & 0xFF);
}

// The RGB value a colour stands for; system colours get the classic desktop defaults.
TColor ColorToRGB(TColor color);

// A colour lightened towards white: 100 % is the colour itself, 0 % is white.
TColor ShadeToColor(TColor color, int shade);

// User units per inch of a fixed unit; unUser keeps whatever factor was set (the current one is returned).
double UnitsFactorOf(TPrintUnits units, double currentFactor);

// The unit a factor stands for: the four fixed factors exactly, anything else is unUser.
TPrintUnits UnitsOfFactor(double factor);

// Character set numbers as stored in font records.
constexpr std::uint8_t ANSI_CHARSET = 0;
constexpr std::uint8_t DEFAULT_CHARSET = 1;

// The font description record the canvas keeps and playback hands to renderers.
// Lengths are inches; Size is points and Height = Size / 72.
struct TSaveFont {
    QString Name = QStringLiteral("Arial");
    TColor Color = clBlack;
    TFontPitch Pitch = TFontPitch::fpDefault;
    double Size = 10.0;
    double Height = 10.0 / 72.0;
    double Width = 0.0; // 0 = natural width
    double Ascent = 5.0 / 72.0;
    double Descent = 5.0 / 72.0;
    double InternalLeading = 0.0;
    bool Bold = false;
    bool Underline = false;
    bool Italic = false;
    bool Strikeout = false;
    bool Subscript = false;
    bool Superscript = false;
    std::int16_t Rotation = 0; // degrees, kept in 0..359
    TFontAlign Align = TFontAlign::faBaseline;
    std::int16_t Index = -1;         // font cache entry, -1 when not realised
    const TFoFont *Handle = nullptr; // realised platform font, owned by the canvas's font cache
    std::uint8_t CharSet = DEFAULT_CHARSET;
};

// One tab stop or boxed tab cell of a tab list. Lengths are inches.
struct TTab {
    double Pos = 0.0;
    TPrintJustify Justify = TPrintJustify::pjLeft;
    double Width = 0.0; // 0 = plain tab stop, > 0 = boxed cell
    double Margin = 0.0;
    bool Left = false;
    bool Right = false;
    bool Top = false;
    bool Bottom = false;
    int Shade = 0; // percent
    int RefCount = 0;
};

} // namespace fiscora
