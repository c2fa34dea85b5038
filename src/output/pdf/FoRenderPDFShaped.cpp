// The PDF renderer's shaped text: texts that Windows-1252 cannot hold (and every text of a composite
// font) are laid out by Qt as the preview draws them, and each glyph is written in the font the layout
// chose, at the position the layout gave it.
#include "output/pdf/FoPdfFontOutlines.h"
#include "output/pdf/FoPdfFormat.h"
#include "output/pdf/FoRenderPDF.h"
#include "report/core/FoDraw.h"
#include "report/playback/FoSnapshotConverter.h"

#include <cmath>
#include <numbers>

namespace fiscora {

using pdf::Fmt;
using pdf::FmtLn;
using pdf::Ln;

namespace {

// Texts are laid out at this many pixels per em: positions then come in thousandths of the em, the
// unit of PDF glyph widths, with no rounding to speak of.
constexpr int kLayoutEm = 1000;

// Only letters and digits survive in a PDF font name made from a family name.
QString NamePart(const QString &text) {
    QString part;
    for (const QChar c : text)
        if (c.unicode() < 128 && c.isLetterOrNumber())
            part += c;
    return part;
}

QString GlyphFontName(const QRawFont &font) {
    QString name = NamePart(font.familyName());
    if (name.isEmpty())
        name = QStringLiteral("Font");
    const QString style = NamePart(font.styleName());
    static const QStringList plain = {QStringLiteral("Regular"), QStringLiteral("Book"),
                                      QStringLiteral("Normal"), QStringLiteral("Roman"),
                                      QStringLiteral("Medium")};
    if (!style.isEmpty() && !plain.contains(style, Qt::CaseInsensitive))
        name += QLatin1Char('-') + style;
    return name;
}

} // namespace

bool TFoRenderPDF::ShowsShaped(const TFoPDFFont &Font, QStringView Text) const {
    return Font.IsComposite() || (UnicodeFallback && !pdf::FitsAnsi(Text));
}

QFont TFoRenderPDF::LayoutFont() const {
    // The preview's font for the same description (face, style, pitch), at the layout size.
    TFoFont font;
    AssignFontAttributes(font, Converter ? Converter->FontData : TSaveFont());
    font.SetHeight(-kLayoutEm);
    return font.QtFont();
}

const TShapedText &TFoRenderPDF::Shaped(const QString &Text) {
    QHash<QString, TShapedText> &texts = FCurrentShapedTexts ? *FCurrentShapedTexts : FShapedTexts[QString()];
    if (const auto found = texts.constFind(Text); found != texts.constEnd())
        return *found;
    if (texts.size() > 4096)
        texts.clear();
    return *texts.insert(Text, ShapeText(LayoutFont(), Text));
}

TFoPDFGlyphFont *TFoRenderPDF::GlyphFontFor(const QRawFont &GlyphFont, quint32 Glyph) {
    for (TFoPDFGlyphFont *font : FGlyphFonts)
        if (font->GlyphFont() == GlyphFont && font->CanShow(Glyph))
            return font;
    const QString objectName = QStringLiteral("F%1").arg(FFontList.size() + 1);
    std::unique_ptr<TFoPDFGlyphFont> font;
    if (TFoPdfFontProgram::Of(GlyphFont)->Kind() == TFontProgramKind::None)
        font = std::make_unique<TFoPDFFontOutlines>(*this, FCurrentRequest, objectName, GlyphFont);
    else
        font = std::make_unique<TFoPDFFontComposite>(*this, FCurrentRequest, GlyphFontName(GlyphFont),
                                                     objectName, GlyphFont);
    TFoPDFGlyphFont *result = font.get();
    FGlyphFonts.push_back(result);
    FFontList.push_back(std::move(font));
    if (Streaming())
        StreamNewFont(*result);
    return result;
}

void TFoRenderPDF::ShowShapedText(const TShapedText &Text, double X, double Y) {
    if (Text.Glyphs.empty())
        return;
    TFoPDFPage &page = *FCurrentPageObject;
    QByteArray &out = page.FPageContent;
    BeginText(page);
    const double size = ShownFontSize();
    const double px = PX(X);
    const double py = PY(ShiftedBaseline(Y));
    // Glyphs are placed in text space from the text's origin; a rotated text rotates that space.
    double originX = px, originY = py;
    if (FFontRotation != 0) {
        const double a = FFontRotation * std::numbers::pi / 180.0;
        FmtLn(out, "%.4f %.4f %.4f %.4f %.4f %.4f Tm", std::cos(a), std::sin(a), -std::sin(a), std::cos(a),
              px, py);
        originX = originY = 0.0;
    }
    // A run of glyphs of one font on one baseline is one TJ array; a glyph whose layout position differs
    // from where the font's width would put it gets an adjustment, so the page keeps the layout.
    TFoPDFGlyphFont *font = nullptr;
    double lineX = 0.0, lineY = 0.0; // the text line's start, text space
    double penX = 0.0;               // where the next glyph of the run lands, text space
    bool inArray = false, inString = false;
    const auto closeArray = [&] {
        if (inString)
            out.append('>');
        if (inArray)
            Ln(out, "] TJ");
        inArray = inString = false;
    };
    for (const TShapedGlyph &glyph : Text.Glyphs) {
        TFoPDFGlyphFont *glyphFont = GlyphFontFor(glyph.Font, glyph.Glyph);
        const quint16 code = glyphFont->CodeOf(glyph.Glyph, glyph.Text);
        const double x = originX + glyph.Position.x() * size;
        const double y = originY - glyph.Position.y() * size;
        if (glyphFont != font) {
            closeArray();
            FmtLn(out, "/%s %.2f Tf", glyphFont->FObjectName, size);
            font = glyphFont;
        }
        if (!inArray || std::abs(y - lineY) > 1e-6) {
            closeArray();
            FmtLn(out, "%.4f %.4f Td", x - lineX, y - lineY);
            lineX = x;
            lineY = y;
            penX = x;
            out.append('[');
            inArray = true;
        } else {
            // In thousandths of the em, as TJ counts; positive moves back.
            const double adjustment = (penX - x) * 1000.0 / size;
            if (std::abs(adjustment) >= 0.5) {
                if (inString)
                    out.append('>');
                inString = false;
                out.append(' ');
                const double rounded = std::llround(adjustment * 100.0) / 100.0;
                pdf::AppendHundredths(out, rounded);
                out.append(' ');
                penX -= rounded * size / 1000.0;
            }
        }
        if (!inString) {
            out.append('<');
            inString = true;
        }
        glyphFont->AppendCode(out, code);
        penX += glyphFont->CodeWidth(code) * size / 1000.0;
    }
    closeArray();
    Ln(out, "ET");
}

} // namespace fiscora
