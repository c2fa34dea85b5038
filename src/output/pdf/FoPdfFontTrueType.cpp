// TrueType fonts: widths of the host face, its descriptor, and the font file subset to the characters
// shown when embedding.
#include "output/pdf/FoPdfFonts.h"

#include "output/pdf/FoPdfFormat.h"
#include "output/pdf/FoPdfHostFonts.h"
#include "output/pdf/FoRenderPDF.h"

#include <QFile>

#include <cmath>

namespace fiscora {

using pdf::Fmt;
using pdf::FmtLn;
using pdf::Ln;

namespace {

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
    BeginFontDictionary(File, name);
    QByteArray &out = File.Data;
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

    FDescriptor.WriteObject(File, FDescriptorID, name, kSimpleFontDescriptor, "/FontFile2", FFontFileID);

    if (!FFontFileID)
        return;
    WriteFontFileObject(File, out, FFontFileID, program);
    Ln(out);
}

} // namespace fiscora
