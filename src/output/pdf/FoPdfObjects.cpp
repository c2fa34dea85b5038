#include "output/pdf/FoPdfObjects.h"

#include "output/pdf/FoPdfFormat.h"
#include "output/pdf/FoRenderPDF.h"

namespace fiscora {

using pdf::Fmt;
using pdf::FmtLn;
using pdf::Ln;

void WriteStreamObject(TFoPDFFile &File, int ID, const QByteArray &DictionaryEntries,
                       const QByteArray &Bytes) {
    QByteArray &out = File.Data;
    File.RegisterObject(ID);
    FmtLn(out, "%d 0 obj", ID);
    FmtLn(out, "<< /Length %d%s >>", int(Bytes.size()), DictionaryEntries);
    Ln(out, "stream");
    out.append(Bytes);
    Ln(out);
    Ln(out, "endstream");
    Ln(out, "endobj");
    Ln(out);
}

void TFoPDFCatalog::WriteObject(TFoPDFFile &File) {
    File.RegisterObject(FID);
    QByteArray &out = File.Data;
    FmtLn(out, "%d 0 obj", FID);
    Ln(out, "<<");
    Ln(out, "/Type /Catalog");
    FmtLn(out, "/Outlines %d 0 R", FFoRenderPDF.FOutlinesObject->FID);
    FmtLn(out, "/Pages %d 0 R", FFoRenderPDF.FPagesObject->FID);
    Ln(out, ">>");
    Ln(out, "endobj");
    Ln(out);
}

void TFoPDFOutlines::WriteObject(TFoPDFFile &File) {
    File.RegisterObject(FID);
    QByteArray &out = File.Data;
    FmtLn(out, "%d 0 obj", FID);
    Ln(out, "<<");
    Ln(out, "/Type /Outlines");
    FmtLn(out, "/Count %d", 0);
    Ln(out, ">>");
    Ln(out, "endobj");
    Ln(out);
}

QByteArray TFoPDFPages::GetPageReferences() const {
    QByteArray text;
    const auto &pages = FFoRenderPDF.Pages();
    for (size_t i = 0; i < pages.size(); ++i) {
        Fmt(text, "%d 0 R ", pages[i]->FID);
        if (i > 0 && i % 25 == 0)
            text.append("\r\n");
    }
    text.chop(1);
    return text;
}

void TFoPDFPages::WriteObject(TFoPDFFile &File) {
    File.RegisterObject(FID);
    QByteArray &out = File.Data;
    FmtLn(out, "%d 0 obj", FID);
    Ln(out, "<<");
    Ln(out, "/Type /Pages");
    FmtLn(out, "/Count %d", int(FFoRenderPDF.Pages().size()));
    FmtLn(out, "/Kids [ %s ] ", GetPageReferences());
    Ln(out, ">>");
    Ln(out, "endobj");
    Ln(out);
}

void TFoPDFProcSet::WriteObject(TFoPDFFile &File) {
    File.RegisterObject(FID);
    QByteArray &out = File.Data;
    FmtLn(out, "%d 0 obj", FID);
    Ln(out, FFoRenderPDF.XObjects().empty() ? "[/PDF /Text]" : "[/PDF /Text /ImageB /ImageC /ImageI]");
    Ln(out, "endobj");
    Ln(out);
}

void TPDFLink::WriteObject(TFoPDFFile &File) {
    File.RegisterObject(FID);
    QByteArray &out = File.Data;
    FmtLn(out, "%d 0 obj", FID);
    Ln(out, "<<");
    FmtLn(out, "/A << /S /URI /URI (%s) >>", pdf::EscapeText(FURI));
    Ln(out, "/Type /Annot");
    Ln(out, "/Subtype /Link");
    FmtLn(out, "/Rect [%.4f %.4f %.4f %.4f]", FAX1 * 72.0, (FPageHeight - FAY1) * 72.0, FAX2 * 72.0,
          (FPageHeight - FAy2) * 72.0);
    Ln(out, "/Border [16 16 0]");
    Ln(out, ">>");
    Ln(out, "endobj");
    Ln(out);
}

TFoPDFPage::TFoPDFPage(TFoRenderPDF &AOwner) : TFoPDFObject(AOwner) {
    FPageContent.reserve(16 * 1024);
    Ln(FPageContent, "2 J");
}

void TFoPDFPage::ForgetState() {
    FLastTextColorDefined = FLastPenColorDefined = FLastPenWidthDefined = false;
    FLastPenStyleDefined = FLastBrushColorDefined = FLastBrushStyleDefined = false;
}

void TFoPDFPage::WriteObject(TFoPDFFile &File) {
    File.RegisterObject(FID);
    QByteArray &out = File.Data;
    FmtLn(out, "%d 0 obj", FID);
    Ln(out, "<<");
    Ln(out, "/Type /Page");
    FmtLn(out, "/Parent %d 0 R", FFoRenderPDF.FPagesObject->FID);
    Ln(out, "/Resources <<");
    if (!FFoRenderPDF.Fonts().empty()) {
        Ln(out, "/Font <<");
        for (const auto &font : FFoRenderPDF.Fonts())
            FmtLn(out, "/%s %d 0 R ", font->FObjectName, font->FID);
        Ln(out, ">>");
    }
    if (!FFoRenderPDF.Patterns().empty()) {
        Ln(out, "/Pattern <<");
        for (const auto &pattern : FFoRenderPDF.Patterns())
            FmtLn(out, "/%s %d 0 R ", pattern->FObjectName, pattern->FID);
        Ln(out, ">>");
    }
    if (!FFoRenderPDF.XObjects().empty()) {
        Ln(out, "/XObject <<");
        for (const auto &image : FFoRenderPDF.XObjects())
            FmtLn(out, "/%s %d 0 R", image->FObjectName, image->FID);
        Ln(out, ">>");
    }
    FmtLn(out, "/ProcSet %d 0 R", FFoRenderPDF.FProcSetObject->FID);
    Ln(out, ">>");
    FmtLn(out, "/MediaBox [0 0 %.0f %.0f]", FPageWidth * 72.0, FPageHeight * 72.0);
    FmtLn(out, "/Contents %d 0 R", FID + 1);
    if (!FLinks.empty()) {
        Ln(out, "/Annots [");
        for (const auto &link : FLinks)
            FmtLn(out, "%d 0 R", link->FID);
        Ln(out, "]");
    }
    Ln(out, ">>");
    Ln(out, "endobj");
    Ln(out);
}

void TFoPDFPage::WriteContent(TFoPDFFile &File) {
    File.RegisterObject(FID + 1);
    QByteArray &out = File.Data;
    FmtLn(out, "%d 0 obj", FID + 1);
    FmtLn(out, "<< /Length %d >>", int(FPageContent.size()));
    Ln(out, "stream");
    out.append(FPageContent);
    Ln(out, "endstream");
    Ln(out, "endobj");
    Ln(out);
}

void TFoPDFPattern::WriteObject(TFoPDFFile &File) {
    File.RegisterObject(FID);
    QByteArray &out = File.Data;
    FmtLn(out, "%d 0 obj", FID);
    Ln(out, "<<");
    Ln(out, "/Type /Pattern");
    Ln(out, "/PatternType 1");
    Ln(out, "/PaintType 1");
    Ln(out, "/TilingType 1");
    Ln(out, "/BBox [0 0 8 8]");
    Ln(out, "/XStep 8");
    Ln(out, "/YStep 8");
    FmtLn(out, "/Resources %d 0 R", FID + 1);
    FmtLn(out, "/Length %d", int(FPatternStream.size()));
    Ln(out, ">>");
    Ln(out, "stream");
    // The pattern text has no line end after its last line; the stream keyword needs one before
    // "endstream", which /Length does not count.
    Ln(out, std::string_view(FPatternStream.constData(), size_t(FPatternStream.size())));
    Ln(out, "endstream");
    Ln(out, "endobj");
    Ln(out);
    File.RegisterObject(FID + 1);
    FmtLn(out, "%d 0 obj", FID + 1);
    Ln(out, "<< >>");
    Ln(out, "endobj");
    Ln(out);
}

const char *BrushStyleName(TBrushStyle Style) {
    switch (Style) {
    case TBrushStyle::bsSolid:
        return "bsSolid";
    case TBrushStyle::bsClear:
        return "bsClear";
    case TBrushStyle::bsHorizontal:
        return "bsHorizontal";
    case TBrushStyle::bsVertical:
        return "bsVertical";
    case TBrushStyle::bsFDiagonal:
        return "bsFDiagonal";
    case TBrushStyle::bsBDiagonal:
        return "bsBDiagonal";
    case TBrushStyle::bsCross:
        return "bsCross";
    case TBrushStyle::bsDiagCross:
        return "bsDiagCross";
    }
    return "bsSolid";
}

bool IsHatchStyle(TBrushStyle Style) {
    return Style != TBrushStyle::bsSolid && Style != TBrushStyle::bsClear;
}

QByteArray HatchPatternText(TBrushStyle Style, TColor Colour) {
    static const char *const FDiagonal[] = {"0 0 m", "8 -8 l", "0 8 m", "8 0 l", "8 8 m", "16 0 l"};
    static const char *const BDiagonal[] = {"0 0 m", "8 8 l", "0 -8 m", "8 0 l", "0 8 m", "8 16 l"};
    QByteArrayList lines{"q",   pdf::ColorText(Colour) + " RG", "1 i", "0 0 8 8 re",
                         "W n", "1 J 0 j 0.5 w 10 M []0 d"};
    switch (Style) {
    case TBrushStyle::bsHorizontal:
        lines << "0 4 m"
              << "8 4 l";
        break;
    case TBrushStyle::bsVertical:
        lines << "4 0 m"
              << "4 8 l";
        break;
    case TBrushStyle::bsFDiagonal:
        for (const char *line : FDiagonal)
            lines << line;
        break;
    case TBrushStyle::bsBDiagonal:
        for (const char *line : BDiagonal)
            lines << line;
        break;
    case TBrushStyle::bsCross:
        lines << "0 4 m"
              << "8 4 l"
              << "4 0 m"
              << "4 8 l";
        break;
    case TBrushStyle::bsDiagCross:
        for (const char *line : FDiagonal)
            lines << line;
        for (const char *line : BDiagonal)
            lines << line;
        break;
    default:
        break;
    }
    lines << "S Q";
    return lines.join("\r\n");
}

} // namespace fiscora
