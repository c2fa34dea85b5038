// PDF fonts: standard, TrueType and composite fonts, text measurement, and the host font
// files fontconfig finds.
#include "output/pdf/FoPdfFonts.h"

#include "output/pdf/FoPdfFormat.h"
#include "output/pdf/FoRenderPDF.h"
#include "report/core/FoStreamAnsi.h"

#include <QFile>
#include <QHash>
#include <QMutex>
#include <QtEndian>

#include <fontconfig/fontconfig.h>

#include <cmath>

namespace fiscora {

using pdf::Fmt;
using pdf::FmtLn;
using pdf::Ln;

const char *EncodingName(TPDFFontEncoding Encoding) {
    switch (Encoding) {
    case TPDFFontEncoding::feMacRomanEncoding:
        return "MacRomanEncoding";
    case TPDFFontEncoding::feMacExpertEncoding:
        return "MacExpertEncoding";
    case TPDFFontEncoding::feWinAnsiEncoding:
        return "WinAnsiEncoding";
    case TPDFFontEncoding::fePDFDocEncoding:
        return "PDFDocEncoding";
    case TPDFFontEncoding::feStandardEncoding:
        return "StandardEncoding";
    }
    return "WinAnsiEncoding";
}

char16_t AnsiCodeCharacter(int Code) {
    const char byte = static_cast<char>(Code);
    return TextFromAnsi(QByteArrayView(&byte, 1)).at(0).unicode();
}

// ---- Host font files ---------------------------------------------------------------------------------

namespace {

struct THostFace {
    QString File;
    bool TrueType = false;
};

// Fonts fontconfig offers for a face and style, best match first.
const std::vector<THostFace> &HostFaces(const QString &face, bool bold, bool italic) {
    static QMutex mutex;
    static QHash<QString, std::vector<THostFace>> cache;
    QMutexLocker lock(&mutex);
    const QString key =
        face.toLower() + QLatin1Char('|') + QLatin1Char(bold ? 'b' : '-') + QLatin1Char(italic ? 'i' : '-');
    auto found = cache.find(key);
    if (found != cache.end())
        return *found;
    std::vector<THostFace> faces;
    if (FcInit()) {
        FcPattern *pattern = FcPatternCreate();
        const QByteArray family = face.toUtf8();
        FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8 *>(family.constData()));
        FcPatternAddInteger(pattern, FC_WEIGHT, bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
        FcPatternAddInteger(pattern, FC_SLANT, italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
        FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
        FcDefaultSubstitute(pattern);
        FcResult result = FcResultNoMatch;
        FcFontSet *set = FcFontSort(nullptr, pattern, FcFalse, nullptr, &result);
        if (set) {
            for (int i = 0; i < set->nfont; ++i) {
                FcPattern *font = set->fonts[i];
                FcChar8 *file = nullptr;
                FcChar8 *format = nullptr;
                int index = 0;
                if (FcPatternGetString(font, FC_FILE, 0, &file) != FcResultMatch)
                    continue;
                FcPatternGetInteger(font, FC_INDEX, 0, &index);
                THostFace host;
                host.File = QString::fromUtf8(reinterpret_cast<const char *>(file));
                host.TrueType = index == 0 &&
                                FcPatternGetString(font, FC_FONTFORMAT, 0, &format) == FcResultMatch &&
                                qstrcmp(reinterpret_cast<const char *>(format), "TrueType") == 0;
                faces.push_back(host);
            }
            FcFontSetDestroy(set);
        }
        FcPatternDestroy(pattern);
    }
    return *cache.insert(key, std::move(faces));
}

} // namespace

QString FindFontFile(const QString &Face, bool Bold, bool Italic) {
    for (const auto &face : HostFaces(Face, Bold, Italic))
        if (face.TrueType)
            return face.File;
    return {};
}

bool IsTrueTypeFace(const QString &Face, bool Bold, bool Italic) {
    const auto &faces = HostFaces(Face, Bold, Italic);
    return !faces.empty() && faces.front().TrueType;
}

// ---- Measuring ---------------------------------------------------------------------------------------

namespace {

QFont MeasuringFont(const TFoPDFFontRequest &face) {
    QFont font(face.Face);
    font.setPixelSize(500);
    font.setBold(face.Bold);
    font.setItalic(face.Italic);
    font.setKerning(false);
    return font;
}

} // namespace

TFoPDFMeasure::TFoPDFMeasure(const TFoPDFFontRequest &Face)
    : Font(MeasuringFont(Face)), FMetrics(Font), FCache(65536, -1.0f) {}

double TFoPDFMeasure::CharAdvance(char16_t Unit) {
    float &cached = FCache[Unit];
    if (cached < 0)
        cached = float(FMetrics.horizontalAdvance(QChar(Unit)));
    return cached;
}

double TFoPDFMeasure::Advance(QStringView Text) {
    double total = 0;
    for (const QChar c : Text)
        total += CharAdvance(c.unicode());
    return total;
}

// ---- Standard fonts ----------------------------------------------------------------------------------

TFoPDFFont::TFoPDFFont(TFoRenderPDF &AOwner, const TFoPDFFontRequest &Request, const QString &BaseName,
                       const QString &ObjectName)
    : TFoPDFObject(AOwner), FObjectName(pdf::EscapeName(ObjectName)), FFontName(Request.Face),
      FPDFFontName(BaseName), FRequest(Request) {}

TFoPDFMeasure &TFoPDFFont::Measure() {
    if (!FMeasure)
        FMeasure = std::make_unique<TFoPDFMeasure>(FRequest);
    return *FMeasure;
}

double TFoPDFFont::GetTextWidth(double Size, QStringView Text) {
    return Measure().Advance(Text) * 2.0 / 1000.0 * Size / 72.0;
}

void TFoPDFFont::AppendShowText(QByteArray &Out, QStringView Text) {
    Out.append('(');
    pdf::AppendEscapedText(Out, Text);
    Out.append(")Tj\r\n");
}

void TFoPDFFont::WriteObject(TFoPDFFile &File) {
    File.RegisterObject(FID);
    QByteArray &out = File.Data;
    FmtLn(out, "%d 0 obj", FID);
    Ln(out, "<<");
    Ln(out, "/Type /Font");
    FmtLn(out, "/Subtype /%s", FFontType.toLatin1());
    FmtLn(out, "/Name /%s", FObjectName);
    FmtLn(out, "/BaseFont /%s", pdf::EscapeName(FPDFFontName));
    // Symbol and ZapfDingbats are symbolic: their built-in encoding is the only right one.
    if (FPDFFontName != QLatin1String("Symbol") && FPDFFontName != QLatin1String("ZapfDingbats"))
        FmtLn(out, "/Encoding /%s", EncodingName(FFoRenderPDF.FontEncoding));
    Ln(out, ">>");
    Ln(out, "endobj");
    Ln(out);
}

// ---- Descriptor --------------------------------------------------------------------------------------

namespace {

qint16 Int16At(const QByteArray &table, int offset) {
    if (offset + 2 > table.size())
        return 0;
    return qFromBigEndian<qint16>(table.constData() + offset);
}
quint16 UInt16At(const QByteArray &table, int offset) {
    if (offset + 2 > table.size())
        return 0;
    return qFromBigEndian<quint16>(table.constData() + offset);
}
qint32 Int32At(const QByteArray &table, int offset) {
    if (offset + 4 > table.size())
        return 0;
    return qFromBigEndian<qint32>(table.constData() + offset);
}

QByteArray ReadFile(const QString &name) {
    QFile file(name);
    if (name.isEmpty() || !file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

// An embedded TrueType font file as its own stream object.
void WriteFontFileObject(TFoPDFFile &File, QByteArray &out, int id, const QByteArray &bytes) {
    File.RegisterObject(id);
    FmtLn(out, "%d 0 obj", id);
    Fmt(out, "<< /Length %d ", int(bytes.size()));
    Ln(out);
    FmtLn(out, "/Length1 %d >>", int(bytes.size()));
    Ln(out, "stream");
    out.append(bytes);
    Ln(out);
    Ln(out, "endstream");
    Ln(out, "endobj");
}

} // namespace

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

// ---- TrueType fonts ----------------------------------------------------------------------------------

TFoPDFFontTrueType::TFoPDFFontTrueType(TFoRenderPDF &AOwner, const TFoPDFFontRequest &Request,
                                       const QString &BaseName, const QString &ObjectName, bool Embed)
    : TFoPDFFont(AOwner, Request, BaseName, ObjectName) {
    FFontType = QStringLiteral("TrueType");
    FFirstChar = 32;
    FLastChar = 255;
    for (int code = FFirstChar; code <= FLastChar; ++code)
        FontWidths[code] = quint16(std::lround(Measure().CharAdvance(AnsiCodeCharacter(code))) * 2);
    QFont face = Measure().Font;
    face.setPixelSize(1000);
    const QRawFont raw = QRawFont::fromFont(face);
    FDescriptor.SetValues(raw, FontWidths[32]);
    if (Embed && FDescriptor.FIsEmbeddingAllowed)
        FFontFile = ReadFile(FindFontFile(Request.Face, Request.Bold, Request.Italic));
}

void TFoPDFFontTrueType::SetIDs(int &Next) {
    FID = ++Next;
    FDescriptorID = ++Next;
    FFontFileID = FFontFile.isEmpty() ? 0 : ++Next;
}

void TFoPDFFontTrueType::AppendShowText(QByteArray &Out, QStringView Text) {
    // The code page writes what it cannot hold as "?".
    if (!FFontFile.isEmpty())
        for (const QChar c : Text)
            FCharsUsed.insert(pdf::FitsAnsi(QStringView(&c, 1)) ? c.unicode() : u'?');
    TFoPDFFont::AppendShowText(Out, Text);
}

void TFoPDFFontTrueType::WriteObject(TFoPDFFile &File) {
    // An embedded program holds only the glyphs shown, and its name says so.
    QByteArray program;
    QByteArray name = pdf::EscapeName(FPDFFontName);
    if (FFontFileID) {
        const std::vector<char32_t> characters(FCharsUsed.begin(), FCharsUsed.end());
        program = SubsetFontFile(FFontFile, characters);
        if (program.isEmpty())
            program = FFontFile;
        else
            name = SubsetTag(name + program) + '+' + name;
    }
    File.RegisterObject(FID);
    QByteArray &out = File.Data;
    FmtLn(out, "%d 0 obj", FID);
    Ln(out, "<<");
    Ln(out, "/Type /Font");
    FmtLn(out, "/Subtype /%s", FFontType.toLatin1());
    FmtLn(out, "/Name /%s", FObjectName);
    FmtLn(out, "/BaseFont /%s", name);
    FmtLn(out, "/Encoding /%s", EncodingName(FFoRenderPDF.FontEncoding));
    FmtLn(out, "/FirstChar %d", FFirstChar);
    FmtLn(out, "/LastChar %d", FLastChar);
    out.append("/Widths [");
    for (int code = FFirstChar; code <= FLastChar; ++code) {
        Fmt(out, "%d ", int(FontWidths[code]));
        if (code % 10 == 9)
            Ln(out);
    }
    Ln(out, "]");
    FmtLn(out, "/FontDescriptor %d 0 R", FDescriptorID);
    Ln(out, ">>");
    Ln(out, "endobj");
    Ln(out);

    const TFoPDFFontDescriptor &d = FDescriptor;
    File.RegisterObject(FDescriptorID);
    FmtLn(out, "%d 0 obj", FDescriptorID);
    Ln(out, "<<");
    Ln(out, "/Type /FontDescriptor");
    FmtLn(out, "/FontName /%s", name);
    FmtLn(out, "/Flags %d", d.FFlags);
    FmtLn(out, "/FontBBox [%d %d %d %d]", d.FFontBBox[0], d.FFontBBox[1], d.FFontBBox[2], d.FFontBBox[3]);
    FmtLn(out, "/MissingWidth %d", d.FMissingWidth);
    FmtLn(out, "/StemV %d", d.FStemV);
    FmtLn(out, "/StemH %d", d.FStemH);
    FmtLn(out, "/ItalicAngle %d", d.FItalicAngle);
    FmtLn(out, "/CapHeight %d", d.FCapHeight);
    FmtLn(out, "/XHeight %d", d.FXHeight);
    FmtLn(out, "/Ascent %d", d.FAscent);
    FmtLn(out, "/Descent %d", d.FDescent);
    FmtLn(out, "/Leading %d", d.FLeading);
    FmtLn(out, "/MaxWidth %d", d.FMaxWidth);
    FmtLn(out, "/AvgWidth %d", d.FAvgWidth);
    if (FFontFileID)
        FmtLn(out, "/FontFile2 %d 0 R", FFontFileID);
    Ln(out, ">>");
    Ln(out, "endobj");
    Ln(out);

    if (!FFontFileID)
        return;
    WriteFontFileObject(File, out, FFontFileID, program);
    Ln(out);
}

// ---- Composite fonts ---------------------------------------------------------------------------------

namespace {

// Every font name of a composite font is written here.
void FontNameLine(QByteArray &out, const char *key, const QByteArray &name) {
    FmtLn(out, "%s /%s", key, name);
}

} // namespace

TFoPDFFontComposite::TFoPDFFontComposite(TFoRenderPDF &AOwner, const TFoPDFFontRequest &Request,
                                         const QString &BaseName, const QString &ObjectName,
                                         const QRawFont &GlyphFont)
    : TFoPDFGlyphFont(AOwner, Request, BaseName, ObjectName, GlyphFont), FBaseFont(BaseName.toLatin1()),
      FProgram(TFoPdfFontProgram::Of(GlyphFont)) {
    FFontType = QStringLiteral("Type0");
    QRawFont metrics = GlyphFont;
    metrics.setPixelSize(1000);
    const auto space = metrics.glyphIndexesForString(QStringLiteral(" "));
    FDescriptor.SetValues(metrics, space.isEmpty() ? 0 : int(std::lround(FProgram->Advance(space.first()))));
}

quint16 TFoPDFFontComposite::NewCode(quint32 Glyph) {
    // A TrueType program's codes are numbered in order of first use and mapped to the subset's glyphs;
    // a CFF program selects its glyphs by the codes themselves.
    if (FProgram->Kind() == TFontProgramKind::TrueType)
        return quint16(std::min<size_t>(FCodes.size() + 1, 0xFFFF));
    return quint16(FProgram->CIDOf(Glyph));
}

void TFoPDFFontComposite::AppendCode(QByteArray &Out, quint16 Code) const {
    pdf::AppendHex(Out, Code, 4);
}

void TFoPDFFontComposite::SetIDs(int &Next) {
    FID = ++Next;
    for (int i = 1; i < 4; ++i)
        FIDs[i] = ++Next;
    const TFontProgramKind kind = FProgram->Kind();
    FIDs[4] = kind == TFontProgramKind::TrueType ? ++Next : 0;
    FIDs[5] = kind == TFontProgramKind::None ? 0 : ++Next;
}

void TFoPDFFontComposite::WriteObject(TFoPDFFile &File) {
    QByteArray &out = File.Data;
    const TFontProgramKind kind = FProgram->Kind();
    const bool cff = kind == TFontProgramKind::Cff || kind == TFontProgramKind::CidCff;
    const int descendantID = FIDs[1], descriptorID = FIDs[2], unicodeID = FIDs[3], gidMapID = FIDs[4],
              fileID = FIDs[5];

    std::vector<quint32> glyphs;
    glyphs.reserve(FCodes.size());
    for (const auto &[code, use] : FCodes)
        glyphs.push_back(use.Glyph);
    std::optional<TFoPdfFontProgram::TSubset> subset;
    if (fileID)
        subset = FProgram->Subset(glyphs);
    // A font name marks the subset it describes; the tag follows from the glyphs it holds.
    QByteArray name = FBaseFont;
    if (fileID) {
        QByteArray seed = FBaseFont;
        for (const quint32 glyph : glyphs)
            seed += QByteArray::number(glyph) + ',';
        name = SubsetTag(seed) + '+' + FBaseFont;
    }

    File.RegisterObject(FID);
    FmtLn(out, "%d 0 obj", FID);
    Ln(out, "<<");
    Ln(out, "/Type /Font");
    FmtLn(out, "/Subtype /%s", "Type0");
    FmtLn(out, "/Name /%s", FObjectName);
    FontNameLine(out, "/BaseFont", cff ? name + "-Identity-H" : name);
    Ln(out, "/Encoding /Identity-H");
    FmtLn(out, "/DescendantFonts [ %d 0 R ]", descendantID);
    FmtLn(out, "/ToUnicode %d 0 R", unicodeID);
    Ln(out, ">>");
    Ln(out, "endobj");
    Ln(out);

    File.RegisterObject(descendantID);
    FmtLn(out, "%d 0 obj", descendantID);
    Ln(out, "<<");
    Ln(out, "/Type /Font");
    FmtLn(out, "/Subtype /%s", cff ? "CIDFontType0" : "CIDFontType2");
    FontNameLine(out, "/BaseFont", name);
    FmtLn(out, "/FontDescriptor %d 0 R", descriptorID);
    FmtLn(out, "/CIDSystemInfo << /Registry (%s)/Ordering (%s)/Supplement %d >>", "Adobe", "Identity", 0);
    FmtLn(out, "/DW %d", FDescriptor.FMissingWidth);
    // Widths of runs of consecutive codes: "first [w w ...]".
    Ln(out, "/W [");
    for (auto run = FCodes.begin(); run != FCodes.end();) {
        Fmt(out, "%d [", int(run->first));
        int count = 0;
        auto next = run;
        for (quint16 expected = run->first; next != FCodes.end() && next->first == expected;
             ++next, ++expected) {
            if (count > 0)
                out.append(count % 10 == 0 ? "\r\n" : " ");
            pdf::AppendHundredths(out, next->second.Width);
            ++count;
        }
        Ln(out, "]");
        run = next;
    }
    Ln(out, "]");
    if (gidMapID)
        FmtLn(out, "/CIDToGIDMap %d 0 R", gidMapID);
    else if (!cff)
        Ln(out, "/CIDToGIDMap /Identity");
    Ln(out, ">>");
    Ln(out, "endobj");
    Ln(out);

    const TFoPDFFontDescriptor &d = FDescriptor;
    File.RegisterObject(descriptorID);
    FmtLn(out, "%d 0 obj", descriptorID);
    Ln(out, "<<");
    Ln(out, "/Type /FontDescriptor");
    FontNameLine(out, "/FontName", name);
    FmtLn(out, "/Ascent %d", d.FAscent);
    FmtLn(out, "/CapHeight %d", d.FCapHeight);
    FmtLn(out, "/Descent %d", d.FDescent);
    FmtLn(out, "/Flags %d", d.FFlags);
    FmtLn(out, "/FontBBox [%d %d %d %d]", d.FFontBBox[0], d.FFontBBox[1], d.FFontBBox[2], d.FFontBBox[3]);
    FmtLn(out, "/ItalicAngle %d", d.FItalicAngle);
    FmtLn(out, "/StemV %d", d.FStemV);
    FmtLn(out, "/XHeight %d", d.FXHeight);
    FmtLn(out, "/StemH %d", d.FStemH);
    char panose[16];
    std::snprintf(panose, sizeof panose, "%02X%02X%02X%02X%02X", d.FPanose[7], d.FPanose[8], d.FPanose[0],
                  d.FPanose[1], d.FPanose[2]);
    FmtLn(out, "/Style << /Panose <%s00000000000000>>>", panose);
    if (fileID)
        FmtLn(out, cff ? "/FontFile3 %d 0 R" : "/FontFile2 %d 0 R", fileID);
    Ln(out, ">>");
    Ln(out, "endobj");
    Ln(out);

    WriteToUnicode(File, unicodeID, 2);

    if (gidMapID) {
        // CIDToGIDMap: two bytes per code, from code 0, each naming the subset's glyph.
        const int last = FCodes.empty() ? 0 : FCodes.rbegin()->first;
        QByteArray gidMap((last + 1) * 2, '\0');
        size_t i = 0;
        for (const auto &[code, use] : FCodes) {
            const quint32 glyph = subset ? subset->NewGlyphs[i] : use.Glyph;
            gidMap[code * 2] = char((glyph >> 8) & 0xFF);
            gidMap[code * 2 + 1] = char(glyph & 0xFF);
            ++i;
        }
        WriteStreamObject(File, gidMapID, {}, gidMap);
    }

    if (fileID)
        WriteStreamObject(File, fileID,
                          cff ? QByteArray(" /Subtype /CIDFontType0C")
                              : " /Length1 " + QByteArray::number(subset ? subset->Program.size() : 0),
                          subset ? subset->Program : QByteArray());
}

} // namespace fiscora
