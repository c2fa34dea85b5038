#pragma once

#include "output/pdf/FoPdfObjects.h"

#include <QByteArray>
#include <QRawFont>

#include <span>

namespace fiscora {

// The entries of a font descriptor after its /FontName. A simple font's descriptor and a CID font's
// hold different ones, each in an order of its own.
enum class TFontDescriptorKey {
    Flags,
    FontBBox,
    MissingWidth,
    StemV,
    StemH,
    ItalicAngle,
    CapHeight,
    XHeight,
    Ascent,
    Descent,
    Leading,
    MaxWidth,
    AvgWidth,
    Style // the Panose classification
};

// The entries of a simple (TrueType) font's descriptor and of a CID font's, in the order written.
inline constexpr TFontDescriptorKey kSimpleFontDescriptor[] = {
    TFontDescriptorKey::Flags,     TFontDescriptorKey::FontBBox, TFontDescriptorKey::MissingWidth,
    TFontDescriptorKey::StemV,     TFontDescriptorKey::StemH,    TFontDescriptorKey::ItalicAngle,
    TFontDescriptorKey::CapHeight, TFontDescriptorKey::XHeight,  TFontDescriptorKey::Ascent,
    TFontDescriptorKey::Descent,   TFontDescriptorKey::Leading,  TFontDescriptorKey::MaxWidth,
    TFontDescriptorKey::AvgWidth};
inline constexpr TFontDescriptorKey kCIDFontDescriptor[] = {
    TFontDescriptorKey::Ascent, TFontDescriptorKey::CapHeight, TFontDescriptorKey::Descent,
    TFontDescriptorKey::Flags,  TFontDescriptorKey::FontBBox,  TFontDescriptorKey::ItalicAngle,
    TFontDescriptorKey::StemV,  TFontDescriptorKey::XHeight,   TFontDescriptorKey::StemH,
    TFontDescriptorKey::Style};

// Descriptor values in 1000-unit glyph space.
struct TFoPDFFontDescriptor {
    int FFlags = 32;
    int FFontBBox[4] = {0, 0, 0, 0};
    int FMissingWidth = 0;
    int FStemV = 80;
    int FStemH = 80;
    int FItalicAngle = 0;
    int FCapHeight = 0;
    int FXHeight = 0;
    int FAscent = 0;
    int FDescent = 0;
    int FLeading = 0;
    int FMaxWidth = 0;
    int FAvgWidth = 0;
    bool FIsEmbeddingAllowed = true;
    quint8 FPanose[10] = {};
    // Reads the values from the font's tables (head, hhea, OS/2, post) and its metrics.
    void SetValues(const QRawFont &Font, int MissingWidth);
    // The descriptor object ID: the font's name, the entries of Keys in their order and, when FontFileID
    // is not 0, the embedded font file under FontFileKey ("/FontFile2", "/FontFile3").
    void WriteObject(TFoPDFFile &File, int ID, const QByteArray &FontName,
                     std::span<const TFontDescriptorKey> Keys, const char *FontFileKey, int FontFileID) const;
};

} // namespace fiscora
