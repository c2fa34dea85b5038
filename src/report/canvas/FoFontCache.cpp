#include "report/canvas/FoFontCache.h"

#include <algorithm>

namespace fiscora {

bool TFoFontCache::SameFont(const TSaveFont &a, const TSaveFont &b) {
    return a.Height == b.Height && a.Width == b.Width && a.Pitch == b.Pitch && a.Bold == b.Bold &&
           a.Underline == b.Underline && a.Italic == b.Italic && a.Strikeout == b.Strikeout &&
           a.Rotation == b.Rotation && a.Superscript == b.Superscript && a.Subscript == b.Subscript &&
           a.CharSet == b.CharSet && a.Name == b.Name;
}

TFoFontCacheEntry *TFoFontCache::Find(const TSaveFont &font) {
    const auto found = std::find_if(FEntries.begin(), FEntries.end(), [&font](const auto &entry) {
        return SameFont(entry->Description, font);
    });
    if (found == FEntries.end())
        return nullptr;
    std::rotate(FEntries.begin(), found, found + 1);
    return FEntries.front().get();
}

TFoFontCacheEntry &TFoFontCache::Add(std::unique_ptr<TFoFontCacheEntry> entry) {
    FEntries.insert(FEntries.begin(), std::move(entry));
    return *FEntries.front();
}

} // namespace fiscora
