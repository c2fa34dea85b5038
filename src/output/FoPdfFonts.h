#pragma once

#include "FoPdfObjects.h"

#include <QFont>
#include <QFontMetricsF>
#include <QHash>
#include <QRawFont>
#include <QString>

#include <array>
#include <map>
#include <memory>
#include <vector>

namespace fiscora {

// PDF encodings a font dictionary names.
enum class TPDFFontEncoding {
    feMacRomanEncoding,
    feMacExpertEncoding,
    feWinAnsiEncoding,
    fePDFDocEncoding,
    feStandardEncoding
};
const char *EncodingName(TPDFFontEncoding Encoding);

// A face as the playback presents it.
struct TFoPDFFontRequest {
    QString Face;
    bool Bold = false;
    bool Italic = false;
    std::uint8_t Charset = DEFAULT_CHARSET; // resolved
};

// Measures text of a host face at the 500-pixel em, one advance per character, cached.
class TFoPDFMeasure {
public:
    explicit TFoPDFMeasure(const TFoPDFFontRequest &Face);
    // Advance of the text in pixels of the 500-pixel em (no kerning: a PDF viewer does not kern).
    double Advance(QStringView Text);
    double CharAdvance(char16_t Unit);
    QFont Font;

private:
    QFontMetricsF FMetrics;
    std::vector<float> FCache;
};

// The standard (Type 1) font, base of the other font classes.
class TFoPDFFont : public TFoPDFObject {
public:
    TFoPDFFont(TFoRenderPDF &AOwner, const TFoPDFFontRequest &Request, const QString &BaseName,
               const QString &ObjectName);
    // Numbers this font's objects from Next + 1 on; Next ends at the last number used.
    virtual void SetIDs(int &Next) { FID = ++Next; }
    void WriteObject(TFoPDFFile &File) override;
    // Width in inches of the text at Size points.
    virtual double GetTextWidth(double Size, QStringView Text);
    // The text-showing operand and operator for the text, "(...)Tj" with the line end.
    virtual void AppendShowText(QByteArray &Out, QStringView Text);
    virtual bool IsComposite() const { return false; }

    QString FFontType = QStringLiteral("Type1");
    QByteArray FObjectName;
    QString FFontName;
    std::array<quint16, 256> FontWidths{};
    QString FPDFFontName;
    TFoPDFFontRequest FRequest;
    int FFirstChar = 0;
    int FLastChar = 255;

protected:
    TFoPDFMeasure &Measure();
    std::unique_ptr<TFoPDFMeasure> FMeasure;
};

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
};

// A TrueType font: widths and descriptor from the font, the font file when embedding.
class TFoPDFFontTrueType : public TFoPDFFont {
public:
    TFoPDFFontTrueType(TFoRenderPDF &AOwner, const TFoPDFFontRequest &Request, const QString &BaseName,
                       const QString &ObjectName, bool Embed);
    void SetIDs(int &Next) override;
    void WriteObject(TFoPDFFile &File) override;

    TFoPDFFontDescriptor FDescriptor;
    int FDescriptorID = 0;
    int FFontFileID = 0;
    QByteArray FFontFile; // the font program when embedded
};

// A composite (Type 0) font over an embedded CID TrueType font. Every distinct character shown gets
// its own two-byte code (CID), mapped to its glyph by a CIDToGIDMap and back to its character by a
// ToUnicode map, so that text extraction returns every character, even one the font has no glyph for.
class TFoPDFFontComposite : public TFoPDFFont {
public:
    // BaseName is the name as written, already escaped as a PDF name.
    TFoPDFFontComposite(TFoRenderPDF &AOwner, const TFoPDFFontRequest &Request, const QString &BaseName,
                        const QString &ObjectName, const QString &FontFile);
    void SetIDs(int &Next) override;
    void WriteObject(TFoPDFFile &File) override;
    double GetTextWidth(double Size, QStringView Text) override;
    void AppendShowText(QByteArray &Out, QStringView Text) override;
    bool IsComposite() const override { return true; }
    // The number of characters shown that the font has no glyph for.
    int MissingGlyphs() const { return FMissing; }

private:
    struct TCode {
        quint16 CID;
        quint32 Glyph;
        int Width; // 1000-unit glyph space
    };
    const TCode &CodeOf(char32_t Character);

    QByteArray FBaseFont; // the name written as /BaseFont
    QRawFont FRaw;
    QByteArray FFontFileBytes;
    TFoPDFFontDescriptor FDescriptor;
    std::map<char32_t, TCode> FCodes;
    std::vector<char32_t> FCharacters; // by CID - 1
    int FMissing = 0;
    int FIDs[6] = {};
};

// ---- Host font lookup ----------------------------------------------------------------------------

// The file fontconfig chooses for a face and style, preferring one that has glyphs for every character
// of Needed; only TrueType-outline files qualify. Empty when none is found.
QString FindFontFile(const QString &Face, bool Bold, bool Italic, QStringView Needed = {});
// True when the host face (after substitution) is a TrueType-outline font.
bool IsTrueTypeFace(const QString &Face, bool Bold, bool Italic);
// The Windows-1252 code's character (U+0080..U+009F codes as the code page maps them).
char16_t AnsiCodeCharacter(int Code);

} // namespace fiscora
