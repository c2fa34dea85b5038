// PDF fonts: the encodings a font dictionary names and the standard (Type 1) fonts every font class
// builds on.
#include "output/pdf/FoPdfFonts.h"

#include "output/pdf/FoPdfFormat.h"
#include "output/pdf/FoRenderPDF.h"
#include "report/core/FoStreamAnsi.h"

namespace fiscora {

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

void TFoPDFFont::BeginFontDictionary(TFoPDFFile &File, const QByteArray &BaseFont) const {
    File.RegisterObject(FID);
    QByteArray &out = File.Data;
    FmtLn(out, "%d 0 obj", FID);
    Ln(out, "<<");
    Ln(out, "/Type /Font");
    FmtLn(out, "/Subtype /%s", FFontType.toLatin1());
    FmtLn(out, "/Name /%s", FObjectName);
    FmtLn(out, "/BaseFont /%s", BaseFont);
}

void TFoPDFFont::WriteObject(TFoPDFFile &File) {
    BeginFontDictionary(File, pdf::EscapeName(FPDFFontName));
    QByteArray &out = File.Data;
    // Symbol and ZapfDingbats are symbolic: their built-in encoding is the only right one.
    if (FPDFFontName != QLatin1String("Symbol") && FPDFFontName != QLatin1String("ZapfDingbats"))
        FmtLn(out, "/Encoding /%s", EncodingName(FFoRenderPDF.FontEncoding));
    Ln(out, ">>");
    Ln(out, "endobj");
    Ln(out);
}

} // namespace fiscora
