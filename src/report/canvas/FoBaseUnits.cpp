// Page canvas: units, the conversions between inches and device pixels, scale and zoom.
#include "report/canvas/FoBase.h"

#include "report/canvas/FoFontCache.h"

#include <cmath>

namespace fiscora {

void TBaseReport::SetUnits(TPrintUnits value) {
    FUnits = value;
    FUnitsFactor = UnitsFactorOf(value, FUnitsFactor);
}

void TBaseReport::SetUnitsFactor(double value) {
    if (!(value > 0.0)) // also refuses NaN
        return;
    FUnitsFactor = value;
    FUnits = UnitsOfFactor(value);
}

int TBaseReport::XI2D(double inches) const {
    return int(std::lround(((inches + FOriginX) * (FScaleX * FZoom / 10000.0) - FLeftWaste) * FXDPI)) + FAddX;
}

int TBaseReport::YI2D(double inches) const {
    return int(std::lround(((inches + FOriginY) * (FScaleY * FZoom / 10000.0) - FTopWaste) * FYDPI)) + FAddY;
}

double TBaseReport::XD2I(int pixels) const {
    return (double(pixels - FAddX) / FXDPI + FLeftWaste) * (10000.0 / (FScaleX * FZoom)) - FOriginX;
}

double TBaseReport::YD2I(int pixels) const {
    return (double(pixels - FAddY) / FYDPI + FTopWaste) * (10000.0 / (FScaleY * FZoom)) - FOriginY;
}

void TBaseReport::SetScaleX(double percent) {
    if (percent > 0.0)
        FScaleX = percent;
}

void TBaseReport::SetScaleY(double percent) {
    if (percent > 0.0)
        FScaleY = percent;
}

void TBaseReport::SetZoom(double percent) {
    if (percent > 0.0 && percent != FZoom) {
        FZoom = percent;
        // Realised fonts are sized for the zoom.
        FFontCache->Clear();
        MarkFontChanged();
    }
}

} // namespace fiscora
