// Composite (Type 0) fonts: one font program under two-byte codes, its widths, CIDToGIDMap and
// ToUnicode map, embedded as a subset of the glyphs shown.
#include "output/pdf/FoPdfFonts.h"

#include "output/pdf/FoPdfFormat.h"

#include <cmath>

namespace fiscora {

using pdf::Fmt;
using pdf::FmtLn;
using pdf::Ln;

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

    BeginFontDictionary(File, cff ? name + "-Identity-H" : name);
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

    FDescriptor.WriteObject(File, descriptorID, name, kCIDFontDescriptor, cff ? "/FontFile3" : "/FontFile2",
                            fileID);

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
