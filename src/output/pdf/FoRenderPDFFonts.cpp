// The PDF renderer's font choice: the font object a playback font maps to, a standard font, a
// TrueType font of the host or a composite font.
#include "output/pdf/FoPdfFormat.h"
#include "output/pdf/FoPdfHostFonts.h"
#include "output/pdf/FoRenderPDF.h"
#include "report/playback/FoSnapshotConverter.h"

namespace fiscora {

void TFoRenderPDF::FontChanged(TFoFont &) {
    FFontChanged = true;
}

namespace {

bool Same(const QString &a, const char *b) {
    return a.compare(QLatin1String(b), Qt::CaseInsensitive) == 0;
}

QString WithoutSpaces(QString text) {
    text.remove(QLatin1Char(' '));
    return text;
}

QString CommaSuffix(bool bold, bool italic) {
    return bold && italic ? QStringLiteral(",BoldItalic")
           : bold         ? QStringLiteral(",Bold")
           : italic       ? QStringLiteral(",Italic")
                          : QString();
}

QString HyphenSuffix(const QString &base, bool bold, bool italic, const char *boldItalic,
                     const char *italicName) {
    if (bold && italic)
        return base + QLatin1String(boldItalic);
    if (bold)
        return base + QStringLiteral("-Bold");
    if (italic)
        return base + QLatin1String(italicName);
    return base;
}

QString HelveticaName(bool bold, bool italic) {
    return HyphenSuffix(QStringLiteral("Helvetica"), bold, italic, "-BoldOblique", "-Oblique");
}

bool IsStandardName(const QString &name) {
    static const char *const names[] = {
        "Courier-BoldOblique",   "Courier-Bold",   "Courier-Oblique",   "Courier",
        "Times-BoldItalic",      "Times-Bold",     "Times-Italic",      "Times-Roman",
        "Helvetica-BoldOblique", "Helvetica-Bold", "Helvetica-Oblique", "Helvetica",
        "ZapfDingbats"};
    for (const char *standard : names)
        if (Same(name, standard))
            return true;
    return false;
}

bool IsCompositeRequest(const TFoPDFFontRequest &request) {
    return request.Charset == 128 || request.Charset == 129 || request.Charset == 130 ||
           request.Face == QLatin1String("Arial Unicode MS");
}

} // namespace

bool TFoRenderPDF::IsTrueType(const QString &Face, bool Bold, bool Italic) {
    const QString key = Face.toLower() + QLatin1Char(Bold ? 'b' : '-') + QLatin1Char(Italic ? 'i' : '-');
    const auto found = FTrueTypeFaces.constFind(key);
    if (found != FTrueTypeFaces.constEnd())
        return *found;
    const bool trueType = IsTrueTypeFace(Face, Bold, Italic);
    FTrueTypeFaces.insert(key, trueType);
    return trueType;
}

QString TFoRenderPDF::BaseFontName(const TFoPDFFontRequest &Request) {
    const QString &face = Request.Face;
    const bool bold = Request.Bold;
    const bool italic = Request.Italic;
    if (IsCompositeRequest(Request)) {
        const QString plain = WithoutSpaces(face) + CommaSuffix(bold, italic);
        return QString::fromLatin1(pdf::EscapeName(plain, pdf::TNameEscape::EveryByte));
    }
    if (EmbedBaseFonts && IsTrueType(face, bold, italic))
        return WithoutSpaces(face) + CommaSuffix(bold, italic);
    if (Same(face, "Courier") || Same(face, "Courier New"))
        return HyphenSuffix(QStringLiteral("Courier"), bold, italic, "-BoldOblique", "-Oblique");
    if (Same(face, "Times New Roman") || Same(face, "TimesRoman"))
        return bold && italic ? QStringLiteral("Times-BoldItalic")
               : bold         ? QStringLiteral("Times-Bold")
               : italic       ? QStringLiteral("Times-Italic")
                              : QStringLiteral("Times-Roman");
    if (Same(face, "Symbol"))
        return QStringLiteral("Symbol");
    if (Same(face, "Arial"))
        return HelveticaName(bold, italic);
    if (Same(face, "ZapfDingbats"))
        return QStringLiteral("ZapfDingbats");
    if (IsTrueType(face, bold, italic))
        return WithoutSpaces(face) + CommaSuffix(bold, italic);
    return HelveticaName(bold, italic);
}

TFoPDFFont *TFoRenderPDF::FindOrCreateFont(const TFoPDFFontRequest &Request) {
    const QString base = BaseFontName(Request);
    if (TFoPDFFont *font = FFontIndex.value(base))
        return font;
    const auto objectName = [this] { return QStringLiteral("F%1").arg(FFontList.size() + 1); };
    std::unique_ptr<TFoPDFFont> font;
    if (IsCompositeRequest(Request)) {
        // Its own glyphs are the primary font's of the face; characters it lacks fall back like any
        // other shaped text.
        auto composite = std::make_unique<TFoPDFFontComposite>(*this, Request, base, objectName(),
                                                               QRawFont::fromFont(LayoutFont()));
        FGlyphFonts.push_back(composite.get());
        font = std::move(composite);
    } else if (IsStandardName(base) || (base == QLatin1String("Symbol") && !IsTrueType(base, false, false))) {
        font = std::make_unique<TFoPDFFont>(*this, Request, base, objectName());
    } else if (IsTrueType(base, Request.Bold, Request.Italic) ||
               IsTrueType(Request.Face, Request.Bold, Request.Italic)) {
        font = std::make_unique<TFoPDFFontTrueType>(*this, Request, base, objectName(), EmbedFonts);
    } else {
        TFoPDFFontRequest helvetica = Request;
        helvetica.Face = QStringLiteral("Arial");
        const QString name = HelveticaName(Request.Bold, Request.Italic);
        if (TFoPDFFont *existing = FFontIndex.value(name))
            return existing;
        font = std::make_unique<TFoPDFFont>(*this, helvetica, name, objectName());
    }
    TFoPDFFont *result = font.get();
    FFontIndex.insert(result->FPDFFontName, result);
    FFontList.push_back(std::move(font));
    if (Streaming())
        StreamNewFont(*result);
    return result;
}

void TFoRenderPDF::ResolveFont() {
    FFontChanged = false;
    if (!Converter)
        return;
    const TSaveFont &data = Converter->FontData;
    FCurrentRequest.Face = data.Name;
    FCurrentRequest.Bold = data.Bold;
    FCurrentRequest.Italic = data.Italic;
    // Character set 1 follows the locale, whose Windows-1252 code page keeps it 1.
    FCurrentRequest.Charset = data.CharSet;
    FCurrentFontObject = FindOrCreateFont(FCurrentRequest);
    FCurrentShapedTexts =
        &FShapedTexts[FCurrentRequest.Face + QLatin1Char('|') + QLatin1Char(data.Bold ? 'b' : '-') +
                      QLatin1Char(data.Italic ? 'i' : '-') + QString::number(int(data.Pitch))];
    FUnderlineFont = data.Underline;
    FStrikeoutFont = data.Strikeout;
    FFontSuperSub = data.Superscript || data.Subscript;
    FFontSize = data.Size;
    if (FCurrentPageObject)
        FCurrentPageObject->FTextColor = data.Color;
    FFontRotation = data.Rotation;
}

} // namespace fiscora
