#pragma once

#include "output/pdf/FoPdfFontDescriptor.h"
#include "output/pdf/FoPdfFontProgram.h"
#include "output/pdf/FoPdfFontRequest.h"
#include "output/pdf/FoPdfMeasure.h"
#include "output/pdf/FoPdfObjects.h"

#include <QHash>
#include <QRawFont>
#include <QString>

#include <array>
#include <map>
#include <memory>
#include <set>
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
// The Windows-1252 code's character (U+0080..U+009F codes as the code page maps them).
char16_t AnsiCodeCharacter(int Code);

// The standard (Type 1) font, base of the other font classes.
class TFoPDFFont : public TFoPDFObject {
public:
    TFoPDFFont(TFoRenderPDF &AOwner, const TFoPDFFontRequest &Request, const QString &BaseName,
               const QString &ObjectName);
    // Numbers this font's objects from Next + 1 on; Next ends at the last number used.
    virtual void SetIDs(int &Next) { FID = ++Next; }
    // A streamed document numbers here, before writing the font at its end, the objects whose number
    // grows with the text shown.
    virtual void SetLateIDs(int &) {}
    void WriteObject(TFoPDFFile &File) override;
    // Width in inches of the text at Size points.
    virtual double GetTextWidth(double Size, QStringView Text);
    // The text-showing operand and operator for the text, "(...)Tj" with the line end.
    virtual void AppendShowText(QByteArray &Out, QStringView Text);
    virtual bool IsComposite() const { return false; }
    // True when the objects written depend on the text shown (widths, maps, an embedded subset).
    virtual bool DependsOnTextShown() const { return false; }

    QString FFontType = QStringLiteral("Type1");
    QByteArray FObjectName;
    QString FFontName;
    std::array<quint16, 256> FontWidths{};
    QString FPDFFontName;
    TFoPDFFontRequest FRequest;
    int FFirstChar = 0;
    int FLastChar = 255;

protected:
    // Registers the font dictionary and writes its entries up to and with /BaseFont.
    void BeginFontDictionary(TFoPDFFile &File, const QByteArray &BaseFont) const;
    TFoPDFMeasure &Measure();
    std::unique_ptr<TFoPDFMeasure> FMeasure;
};

// A TrueType font: widths and descriptor from the font, the font file when embedding.
class TFoPDFFontTrueType : public TFoPDFFont {
public:
    TFoPDFFontTrueType(TFoRenderPDF &AOwner, const TFoPDFFontRequest &Request, const QString &BaseName,
                       const QString &ObjectName, bool Embed);
    void SetIDs(int &Next) override;
    void WriteObject(TFoPDFFile &File) override;
    void AppendShowText(QByteArray &Out, QStringView Text) override;
    bool DependsOnTextShown() const override { return !FFontFile.isEmpty(); }

    TFoPDFFontDescriptor FDescriptor;
    int FDescriptorID = 0;
    int FFontFileID = 0;
    QByteArray FFontFile; // the font program when embedded

private:
    std::set<char32_t> FCharsUsed; // what the embedded program is subset to
};

// A font that shaped text is shown in: glyphs of one laid-out font, each under a code of its own, with
// its width and, through the ToUnicode map, the characters it stands for.
class TFoPDFGlyphFont : public TFoPDFFont {
public:
    TFoPDFGlyphFont(TFoRenderPDF &AOwner, const TFoPDFFontRequest &Request, const QString &BaseName,
                    const QString &ObjectName, const QRawFont &GlyphFont);
    bool DependsOnTextShown() const override { return true; }
    // The font whose glyphs this font shows.
    const QRawFont &GlyphFont() const { return FGlyphFont; }
    // True when the glyph has a code here or can get one.
    virtual bool CanShow(quint32 Glyph) const { return FGlyphCodes.contains(Glyph); }
    // The code of a glyph; the characters given with its first use are what it extracts as.
    quint16 CodeOf(quint32 Glyph, const QString &Text);
    // The width written for the code, in thousandths of the em.
    double CodeWidth(quint16 Code) const;
    // The code as bytes of a hexadecimal string.
    virtual void AppendCode(QByteArray &Out, quint16 Code) const = 0;

protected:
    struct TGlyphUse {
        quint32 Glyph = 0;
        QString Text;
        double Width = 0.0;
    };
    virtual quint16 NewCode(quint32 Glyph) = 0;
    // The glyph's advance in thousandths of the em.
    virtual double GlyphWidth(quint32 Glyph) const = 0;
    // The ToUnicode stream object: codes of CodeBytes bytes back to their characters.
    void WriteToUnicode(TFoPDFFile &File, int ID, int CodeBytes) const;

    QRawFont FGlyphFont;
    std::map<quint16, TGlyphUse> FCodes;
    QHash<quint32, quint16> FGlyphCodes;
};

// A composite (Type 0) font over one font program (Identity-H, two-byte codes), embedded as a subset
// of the glyphs shown.
class TFoPDFFontComposite : public TFoPDFGlyphFont {
public:
    TFoPDFFontComposite(TFoRenderPDF &AOwner, const TFoPDFFontRequest &Request, const QString &BaseName,
                        const QString &ObjectName, const QRawFont &GlyphFont);
    void SetIDs(int &Next) override;
    void WriteObject(TFoPDFFile &File) override;
    bool IsComposite() const override { return true; }
    // A program that cannot be embedded shows no glyphs: an outline font does instead.
    bool CanShow(quint32) const override { return FProgram->Kind() != TFontProgramKind::None; }
    void AppendCode(QByteArray &Out, quint16 Code) const override;

protected:
    quint16 NewCode(quint32 Glyph) override;
    double GlyphWidth(quint32 Glyph) const override { return FProgram->Advance(Glyph); }

private:
    QByteArray FBaseFont; // the name without the subset tag
    std::shared_ptr<const TFoPdfFontProgram> FProgram;
    TFoPDFFontDescriptor FDescriptor;
    int FIDs[6] = {};
};

} // namespace fiscora
