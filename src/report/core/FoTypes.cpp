#include "report/core/FoTypes.h"

#include <algorithm>
#include <array>

namespace fiscora {

namespace {
// Classic desktop colours by system colour index (scroll bar, background, active caption, ...).
constexpr std::array<TColor, 31> kSystemColors = {
    RGB(200, 200, 200), RGB(0, 0, 0),       RGB(153, 180, 209), RGB(191, 205, 219), RGB(240, 240, 240),
    RGB(255, 255, 255), RGB(100, 100, 100), RGB(0, 0, 0),       RGB(0, 0, 0),       RGB(0, 0, 0),
    RGB(180, 180, 180), RGB(244, 247, 252), RGB(171, 171, 171), RGB(0, 120, 215),   RGB(255, 255, 255),
    RGB(240, 240, 240), RGB(160, 160, 160), RGB(109, 109, 109), RGB(0, 0, 0),       RGB(0, 0, 0),
    RGB(255, 255, 255), RGB(105, 105, 105), RGB(227, 227, 227), RGB(0, 0, 0),       RGB(255, 255, 225),
    RGB(0, 0, 0),       RGB(0, 102, 204),   RGB(185, 209, 234), RGB(215, 228, 242), RGB(0, 120, 215),
    RGB(240, 240, 240)};
} // namespace

TColor ColorToRGB(TColor color) {
    if ((color & clSystemColorFlag) == 0)
        return color;
    const TColor index = color & 0xFF;
    return index < kSystemColors.size() ? kSystemColors[index] : clBlack;
}

TColor ShadeToColor(TColor color, int shade) {
    const TColor rgb = ColorToRGB(color);
    const int h = 100 - std::min(shade, 100);
    const auto lighten = [h](int c) { return c + (255 - c) * h / 100; };
    return RGB(lighten(GetRValue(rgb)), lighten(GetGValue(rgb)), lighten(GetBValue(rgb)));
}

double UnitsFactorOf(TPrintUnits units, double currentFactor) {
    switch (units) {
    case TPrintUnits::unInch:
        return 1.0;
    case TPrintUnits::unMM:
        return 25.4;
    case TPrintUnits::unCM:
        return 2.54;
    case TPrintUnits::unPoint:
        return 72.0;
    case TPrintUnits::unUser:
        break;
    }
    return currentFactor;
}

TPrintUnits UnitsOfFactor(double factor) {
    for (const TPrintUnits units :
         {TPrintUnits::unInch, TPrintUnits::unMM, TPrintUnits::unCM, TPrintUnits::unPoint})
        if (factor == UnitsFactorOf(units, 0.0))
            return units;
    return TPrintUnits::unUser;
}

} // namespace fiscora
