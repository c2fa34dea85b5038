// Type 3 fonts of glyph outlines, for laid-out fonts whose programs cannot be embedded.
#include "output/pdf/FoPdfFontOutlines.h"

#include "output/pdf/FoPdfFormat.h"

#include <QPainterPath>

#include <cmath>

namespace fiscora {

using pdf::Fmt;
using pdf::FmtLn;
using pdf::Ln;

namespace {

void AppendPoint(QByteArray &out, const QPointF &point, double scale) {
    pdf::AppendHundredths(out, point.x() * scale);
    out.append(' ');
    pdf::AppendHundredths(out, -point.y() * scale);
    out.append(' ');
}

} // namespace

TFoPDFFontOutlines::TFoPDFFontOutlines(TFoRenderPDF &AOwner, const TFoPDFFontRequest &Request,
                                       const QString &ObjectName, const QRawFont &GlyphFont)
    : TFoPDFGlyphFont(AOwner, Request, GlyphFont.familyName(), ObjectName, GlyphFont) {
    FFontType = QStringLiteral("Type3");
}

double TFoPDFFontOutlines::GlyphWidth(quint32 Glyph) const {
    const auto advances =
        FGlyphFont.advancesForGlyphIndexes(QList<quint32>{Glyph}, QRawFont::UseDesignMetrics);
    return advances.isEmpty() ? 0.0 : advances.first().x() * 1000.0 / FGlyphFont.pixelSize();
}

void TFoPDFFontOutlines::AppendCode(QByteArray &Out, quint16 Code) const {
    pdf::AppendHex(Out, Code, 2);
}

void TFoPDFFontOutlines::SetIDs(int &Next) {
    FID = ++Next;
    FUnicodeID = ++Next;
    SetLateIDs(Next);
}

// The glyph procedures are known only once the text is shown: a streamed document numbers them then.
void TFoPDFFontOutlines::SetLateIDs(int &Next) {
    while (FProcedureIDs.size() < FCodes.size())
        FProcedureIDs.push_back(++Next);
}

void TFoPDFFontOutlines::WriteObject(TFoPDFFile &File) {
    QByteArray &out = File.Data;
    const double scale = 1000.0 / FGlyphFont.pixelSize();
    std::vector<QByteArray> procedures;
    QRectF box;
    for (const auto &[code, use] : FCodes) {
        const QPainterPath path = FGlyphFont.pathForGlyph(use.Glyph);
        const QRectF bounds = path.boundingRect();
        box = box.united(bounds);
        // d1: the glyph is painted in the text colour.
        QByteArray procedure;
        pdf::AppendHundredths(procedure, use.Width);
        procedure.append(" 0 ");
        AppendPoint(procedure, bounds.bottomLeft(), scale);
        AppendPoint(procedure, bounds.topRight(), scale);
        Ln(procedure, "d1");
        for (int i = 0; i < path.elementCount(); ++i) {
            const QPainterPath::Element element = path.elementAt(i);
            if (element.isMoveTo()) {
                if (i > 0)
                    Ln(procedure, "h");
                AppendPoint(procedure, element, scale);
                Ln(procedure, "m");
            } else if (element.isLineTo()) {
                AppendPoint(procedure, element, scale);
                Ln(procedure, "l");
            } else if (element.isCurveTo() && i + 2 < path.elementCount()) {
                AppendPoint(procedure, element, scale);
                AppendPoint(procedure, path.elementAt(i + 1), scale);
                AppendPoint(procedure, path.elementAt(i + 2), scale);
                Ln(procedure, "c");
                i += 2;
            }
        }
        if (path.elementCount() > 0) {
            Ln(procedure, "h");
            Ln(procedure, "f");
        }
        procedures.push_back(procedure);
    }

    File.RegisterObject(FID);
    FmtLn(out, "%d 0 obj", FID);
    Ln(out, "<<");
    Ln(out, "/Type /Font");
    Ln(out, "/Subtype /Type3");
    FmtLn(out, "/Name /%s", FObjectName);
    FmtLn(out, "/FontBBox [%d %d %d %d]", int(std::floor(box.left() * scale)),
          int(std::floor(-box.bottom() * scale)), int(std::ceil(box.right() * scale)),
          int(std::ceil(-box.top() * scale)));
    Ln(out, "/FontMatrix [0.001 0 0 0.001 0 0]");
    Ln(out, "/Resources << >>");
    FmtLn(out, "/FirstChar %d", 1);
    FmtLn(out, "/LastChar %d", int(FCodes.size()));
    out.append("/Widths [");
    for (const auto &[code, use] : FCodes) {
        pdf::AppendHundredths(out, use.Width);
        out.append(code % 10 == 0 ? "\r\n" : " ");
    }
    Ln(out, "]");
    out.append("/Encoding << /Type /Encoding /Differences [1");
    for (const auto &[code, use] : FCodes)
        Fmt(out, code % 10 == 0 ? " /g%d\r\n" : " /g%d", int(code));
    Ln(out, "] >>");
    Ln(out, "/CharProcs <<");
    for (const auto &[code, use] : FCodes)
        FmtLn(out, "/g%d %d 0 R", int(code), FProcedureIDs[code - 1]);
    Ln(out, ">>");
    FmtLn(out, "/ToUnicode %d 0 R", FUnicodeID);
    Ln(out, ">>");
    Ln(out, "endobj");
    Ln(out);

    WriteToUnicode(File, FUnicodeID, 1);
    for (size_t i = 0; i < procedures.size(); ++i)
        WriteStreamObject(File, FProcedureIDs[i], {}, procedures[i]);
}

} // namespace fiscora
