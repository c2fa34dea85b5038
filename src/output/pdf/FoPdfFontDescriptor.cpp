// Font descriptors: the metrics of a font read from its tables, and the one descriptor object every
// font with a program of its own writes.
#include "output/pdf/FoPdfFontDescriptor.h"

#include "output/pdf/FoPdfFontTables.h"
#include "output/pdf/FoPdfFormat.h"

#include <cmath>
#include <cstdio>

namespace fiscora {

using pdf::FmtLn;
using pdf::Int16At;
using pdf::Int32At;
using pdf::Ln;
using pdf::UInt16At;

// Values in 1000-unit glyph space, the space a PDF font descriptor is read in (values at the 500-pixel em
// would be half of what viewers expect).
void TFoPDFFontDescriptor::SetValues(const QRawFont &Font, int MissingWidth) {
    FMissingWidth = MissingWidth;
    if (!Font.isValid())
        return;
    const double scale = 1000.0 / Font.pixelSize();
    const QByteArray os2 = Font.fontTable("OS/2");
    const QByteArray head = Font.fontTable("head");
    const QByteArray post = Font.fontTable("post");
    for (int i = 0; i < 10; ++i)
        FPanose[i] = os2.size() >= 42 ? quint8(os2.at(32 + i)) : 0;
    const double unitsPerEm = UInt16At(head, 18) > 0 ? UInt16At(head, 18) : 1000.0;
    const double toThousand = 1000.0 / unitsPerEm;
    FFontBBox[0] = int(std::lround(Int16At(head, 36) * toThousand));
    FFontBBox[1] = int(std::lround(Int16At(head, 38) * toThousand));
    FFontBBox[2] = int(std::lround(Int16At(head, 40) * toThousand));
    FFontBBox[3] = int(std::lround(Int16At(head, 42) * toThousand));
    FItalicAngle = int(std::lround(Int32At(post, 4) / 65536.0));
    FFlags = 32;
    if (FPanose[3] == 9)
        FFlags += 1;
    if (FPanose[0] == 3)
        FFlags += 8;
    if (FItalicAngle != 0)
        FFlags += 64;
    FAscent = int(std::lround(Font.ascent() * scale));
    FCapHeight = FAscent;
    FXHeight = int(std::lround(FAscent / 2.0));
    FDescent = -int(std::lround(Font.descent() * scale));
    FLeading = int(std::lround(Font.leading() * scale));
    FMaxWidth = int(std::lround(Font.maxCharWidth() * scale));
    FAvgWidth = int(std::lround(Font.averageCharWidth() * scale));
    // Embedding is refused by the restricted-licence bit of the OS/2 fsType field.
    FIsEmbeddingAllowed = (UInt16At(os2, 8) & 0x0002) == 0;
}

void TFoPDFFontDescriptor::WriteObject(TFoPDFFile &File, int ID, const QByteArray &FontName,
                                       std::span<const TFontDescriptorKey> Keys, const char *FontFileKey,
                                       int FontFileID) const {
    File.RegisterObject(ID);
    QByteArray &out = File.Data;
    FmtLn(out, "%d 0 obj", ID);
    Ln(out, "<<");
    Ln(out, "/Type /FontDescriptor");
    FmtLn(out, "/FontName /%s", FontName);
    for (const TFontDescriptorKey key : Keys) {
        switch (key) {
        case TFontDescriptorKey::Flags:
            FmtLn(out, "/Flags %d", FFlags);
            break;
        case TFontDescriptorKey::FontBBox:
            FmtLn(out, "/FontBBox [%d %d %d %d]", FFontBBox[0], FFontBBox[1], FFontBBox[2], FFontBBox[3]);
            break;
        case TFontDescriptorKey::MissingWidth:
            FmtLn(out, "/MissingWidth %d", FMissingWidth);
            break;
        case TFontDescriptorKey::StemV:
            FmtLn(out, "/StemV %d", FStemV);
            break;
        case TFontDescriptorKey::StemH:
            FmtLn(out, "/StemH %d", FStemH);
            break;
        case TFontDescriptorKey::ItalicAngle:
            FmtLn(out, "/ItalicAngle %d", FItalicAngle);
            break;
        case TFontDescriptorKey::CapHeight:
            FmtLn(out, "/CapHeight %d", FCapHeight);
            break;
        case TFontDescriptorKey::XHeight:
            FmtLn(out, "/XHeight %d", FXHeight);
            break;
        case TFontDescriptorKey::Ascent:
            FmtLn(out, "/Ascent %d", FAscent);
            break;
        case TFontDescriptorKey::Descent:
            FmtLn(out, "/Descent %d", FDescent);
            break;
        case TFontDescriptorKey::Leading:
            FmtLn(out, "/Leading %d", FLeading);
            break;
        case TFontDescriptorKey::MaxWidth:
            FmtLn(out, "/MaxWidth %d", FMaxWidth);
            break;
        case TFontDescriptorKey::AvgWidth:
            FmtLn(out, "/AvgWidth %d", FAvgWidth);
            break;
        case TFontDescriptorKey::Style: {
            char panose[16];
            std::snprintf(panose, sizeof panose, "%02X%02X%02X%02X%02X", FPanose[7], FPanose[8], FPanose[0],
                          FPanose[1], FPanose[2]);
            FmtLn(out, "/Style << /Panose <%s00000000000000>>>", panose);
            break;
        }
        }
    }
    if (FontFileID)
        FmtLn(out, "%s %d 0 R", FontFileKey, FontFileID);
    Ln(out, ">>");
    Ln(out, "endobj");
    Ln(out);
}

} // namespace fiscora
