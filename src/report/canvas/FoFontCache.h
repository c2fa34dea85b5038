#pragma once

#include "report/core/FoDraw.h"
#include "report/core/FoTypes.h"

#include <memory>
#include <vector>

namespace fiscora {

// A realised font: the platform font made from a description and its metrics in unscaled inches.
struct TFoFontCacheEntry {
    TSaveFont Description;
    TFoFont Font;
    double Ascent = 0;
    double Descent = 0;
    double InternalLeading = 0;
};

// Most-recently-used list of realised fonts; owns them (and so the handles the base font points to).
class TFoFontCache {
public:
    // The entry realising the same font, moved to the front; nullptr when there is none.
    TFoFontCacheEntry *Find(const TSaveFont &font);
    TFoFontCacheEntry &Add(std::unique_ptr<TFoFontCacheEntry> entry);
    std::size_t Count() const { return FEntries.size(); }
    void Clear() { FEntries.clear(); }

    static bool SameFont(const TSaveFont &a, const TSaveFont &b);

private:
    std::vector<std::unique_ptr<TFoFontCacheEntry>> FEntries;
};

} // namespace fiscora
