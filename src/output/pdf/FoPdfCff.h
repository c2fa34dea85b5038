#pragma once

#include <QByteArrayView>

#include <cstdint>
#include <optional>
#include <vector>

namespace fiscora {

// What a PDF needs to know of a CFF font program (the "CFF " table of an OpenType font).
struct TCffCharset {
    // True when the Top DICT names a registry and ordering: glyphs are then selected by CID.
    bool CIDKeyed = false;
    // The CID of every glyph, by glyph index (only filled for a CID-keyed program).
    std::vector<std::uint16_t> CIDs;
};

// Reads the header, the Top DICT and the charset of a CFF program. Empty when the data is not a CFF
// program this reader understands (a truncated or damaged table included).
std::optional<TCffCharset> ReadCffCharset(QByteArrayView Cff);

} // namespace fiscora
