#pragma once

#include "output/pdf/FoPdfFontRequest.h"

#include <QFont>
#include <QFontMetricsF>
#include <QStringView>

#include <vector>

namespace fiscora {

// Measures text of a host face at the 500-pixel em, one advance per character, cached.
class TFoPDFMeasure {
public:
    explicit TFoPDFMeasure(const TFoPDFFontRequest &Face);
    // Advance of the text in pixels of the 500-pixel em (no kerning: a PDF viewer does not kern).
    double Advance(QStringView Text);
    double CharAdvance(char16_t Unit);
    QFont Font;

private:
    QFontMetricsF FMetrics;
    std::vector<float> FCache;
};

} // namespace fiscora
