// Text measurement in a host face, as the PDF fonts' widths are computed.
#include "output/pdf/FoPdfMeasure.h"

namespace fiscora {

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

} // namespace fiscora
