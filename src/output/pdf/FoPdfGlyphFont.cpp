// What every font of shaped text shares: a code per glyph, its width, and the ToUnicode map back to
// the characters.
#include "output/pdf/FoPdfFonts.h"
#include "output/pdf/FoPdfFormat.h"

#include <cmath>

namespace fiscora {

using pdf::FmtLn;
using pdf::Ln;

TFoPDFGlyphFont::TFoPDFGlyphFont(TFoRenderPDF &AOwner, const TFoPDFFontRequest &Request,
                                 const QString &BaseName, const QString &ObjectName,
                                 const QRawFont &GlyphFont)
    : TFoPDFFont(AOwner, Request, BaseName, ObjectName), FGlyphFont(GlyphFont) {}

quint16 TFoPDFGlyphFont::CodeOf(quint32 Glyph, const QString &Text) {
    if (const auto found = FGlyphCodes.constFind(Glyph); found != FGlyphCodes.constEnd())
        return *found;
    const quint16 code = NewCode(Glyph);
    // The width as written, so that positions computed from it are the ones a viewer computes.
    const double width = std::llround(GlyphWidth(Glyph) * 100.0) / 100.0;
    FCodes.emplace(code, TGlyphUse{Glyph, Text, width});
    FGlyphCodes.insert(Glyph, code);
    return code;
}

double TFoPDFGlyphFont::CodeWidth(quint16 Code) const {
    const auto found = FCodes.find(Code);
    return found == FCodes.end() ? 0.0 : found->second.Width;
}

void TFoPDFGlyphFont::WriteToUnicode(TFoPDFFile &File, int ID, int CodeBytes) const {
    QByteArray cmap;
    Ln(cmap, "/CIDInit /ProcSet findresource begin");
    Ln(cmap, "12 dict begin");
    Ln(cmap, "begincmap");
    Ln(cmap, "/CIDSystemInfo << /Registry (Adobe) /Ordering (UCS) /Supplement 0 >> def");
    Ln(cmap, "/CMapName /Adobe-Identity-UCS def");
    Ln(cmap, "/CMapType 2 def");
    Ln(cmap, "1 begincodespacerange");
    Ln(cmap, CodeBytes == 2 ? "<0000> <FFFF>" : "<00> <FF>");
    Ln(cmap, "endcodespacerange");
    std::vector<const std::pair<const quint16, TGlyphUse> *> mapped;
    for (const auto &entry : FCodes)
        if (!entry.second.Text.isEmpty())
            mapped.push_back(&entry);
    for (size_t first = 0; first < mapped.size(); first += 100) {
        const size_t count = std::min<size_t>(100, mapped.size() - first);
        FmtLn(cmap, "%d beginbfchar", int(count));
        for (size_t i = first; i < first + count; ++i) {
            cmap.append('<');
            pdf::AppendHex(cmap, mapped[i]->first, CodeBytes * 2);
            cmap.append("> <");
            for (const QChar unit : mapped[i]->second.Text)
                pdf::AppendHex(cmap, unit.unicode(), 4);
            Ln(cmap, ">");
        }
        Ln(cmap, "endbfchar");
    }
    Ln(cmap, "endcmap");
    Ln(cmap, "CMapName currentdict /CMap defineresource pop");
    Ln(cmap, "end");
    Ln(cmap, "end");
    WriteStreamObject(File, ID, {}, cmap);
}

} // namespace fiscora
