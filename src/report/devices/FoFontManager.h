#pragma once

#include "report/core/FoDraw.h"

#include <QFont>
#include <QString>

#include <array>
#include <memory>
#include <mutex>
#include <unordered_map>

namespace fiscora {

// Measures text of one font face at any size from widths taken once at a height of 600 pixels.
class TFoFontHandler {
public:
    static constexpr int kMeasureHeight = 600;

    virtual ~TFoFontHandler() = default;
    // Width in pixels of text at a font height of heightPixels (sign ignored) on a device of ppi.
    int TextWidth(const QString &text, int heightPixels, int ppi) const;
    // Sum of the character widths at the measuring height.
    virtual double WidthUnits(const QString &text) const = 0;
};

// Proportional fonts: the advance width of every character 0..255, and of the others as they are
// first met (a text in Polish or Greek measures as it prints).
class TFoTrueTypeFontHandler : public TFoFontHandler {
public:
    explicit TFoTrueTypeFontHandler(const TFoFont &font);
    double WidthUnits(const QString &text) const override;
    int CharWidth(char16_t code) const { return code <= 255 ? FWidths[code] : WideCharWidth(code); }

private:
    int WideCharWidth(char16_t code) const;

    std::array<int, 256> FWidths{};
    QFont FMeasuringFont;
    mutable std::mutex FWideLock;
    mutable std::unordered_map<char16_t, int> FWideWidths;
};

// Fixed-pitch fonts: every character is as wide as "A".
class TFoNonProportionalFontHandler : public TFoFontHandler {
public:
    explicit TFoNonProportionalFontHandler(const TFoFont &font);
    double WidthUnits(const QString &text) const override { return double(text.size()) * FWidthA; }

private:
    int FWidthA = 0;
};

// Process-wide cache of font handlers keyed by face, character set, style and pitch (not size).
class TFoFontManager {
public:
    static TFoFontManager &Instance();

    // The handler for a font, made from its text metrics on first use. Thread-safe.
    const TFoFontHandler &Handler(const TFoFont &font);
    static QString Key(const TFoFont &font);
    std::size_t Count();

private:
    TFoFontManager() = default;

    std::mutex FLock;
    std::unordered_map<QString, std::unique_ptr<TFoFontHandler>> FHandlers;
};

} // namespace fiscora
