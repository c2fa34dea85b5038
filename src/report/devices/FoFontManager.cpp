#include "report/devices/FoFontManager.h"

#include <QFontInfo>
#include <QFontMetricsF>

#include <cmath>
#include <cstdlib>

namespace fiscora {

namespace {
// The font at the measuring height, other attributes unchanged.
TFoFont MeasuringFont(const TFoFont &font) {
    TFoFont measuring;
    measuring.Assign(font);
    measuring.SetHeight(-TFoFontHandler::kMeasureHeight);
    measuring.SetWidth(0);
    measuring.SetOrientation(0);
    return measuring;
}
} // namespace

int TFoFontHandler::TextWidth(const QString &text, int heightPixels, int ppi) const {
    if (ppi <= 0)
        return 0;
    const double size = std::abs(heightPixels) * 72.0 / ppi;
    return int(std::lround(WidthUnits(text) * size * ppi / 43200.0));
}

TFoTrueTypeFontHandler::TFoTrueTypeFontHandler(const TFoFont &font)
    : FMeasuringFont(MeasuringFont(font).QtFont()) {
    const QFontMetricsF metrics(FMeasuringFont);
    for (int code = 0; code < 256; ++code)
        FWidths[code] = int(std::lround(metrics.horizontalAdvance(QChar(char16_t(code)))));
}

int TFoTrueTypeFontHandler::WideCharWidth(char16_t code) const {
    const std::lock_guard guard(FWideLock);
    auto found = FWideWidths.find(code);
    if (found == FWideWidths.end())
        found =
            FWideWidths
                .emplace(code, int(std::lround(QFontMetricsF(FMeasuringFont).horizontalAdvance(QChar(code)))))
                .first;
    return found->second;
}

double TFoTrueTypeFontHandler::WidthUnits(const QString &text) const {
    long long sum = 0;
    for (const QChar ch : text)
        sum += CharWidth(ch.unicode());
    return double(sum);
}

TFoNonProportionalFontHandler::TFoNonProportionalFontHandler(const TFoFont &font) {
    const QFontMetricsF metrics(MeasuringFont(font).QtFont());
    FWidthA = int(std::lround(metrics.horizontalAdvance(QLatin1Char('A'))));
}

TFoFontManager &TFoFontManager::Instance() {
    static TFoFontManager manager;
    return manager;
}

QString TFoFontManager::Key(const TFoFont &font) {
    QString key = font.Name() + QLatin1Char('|') + QString::number(font.CharSet());
    if (font.Bold())
        key += QLatin1String("|B");
    if (font.Italic())
        key += QLatin1String("|I");
    if (font.Pitch() == TFontPitch::fpVariable)
        key += QLatin1String("|V");
    else if (font.Pitch() == TFontPitch::fpFixed)
        key += QLatin1String("|F");
    return key;
}

const TFoFontHandler &TFoFontManager::Handler(const TFoFont &font) {
    const QString key = Key(font);
    const std::lock_guard guard(FLock);
    auto found = FHandlers.find(key);
    if (found == FHandlers.end()) {
        std::unique_ptr<TFoFontHandler> handler;
        if (QFontInfo(MeasuringFont(font).QtFont()).fixedPitch())
            handler = std::make_unique<TFoNonProportionalFontHandler>(font);
        else
            handler = std::make_unique<TFoTrueTypeFontHandler>(font);
        found = FHandlers.emplace(key, std::move(handler)).first;
    }
    return *found->second;
}

std::size_t TFoFontManager::Count() {
    const std::lock_guard guard(FLock);
    return FHandlers.size();
}

} // namespace fiscora
