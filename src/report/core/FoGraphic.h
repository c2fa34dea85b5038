#pragma once

#include <QByteArray>
#include <QImage>

#include <cstdint>

namespace fiscora {

// Kinds of picture a snapshot graphic block can carry.
enum class TGraphicKind : std::uint8_t { gkBitmap = 1, gkMetafile = 2, gkIcon = 3, gkOther = 4 };

// A picture handed to the canvas: a bitmap or icon held as an image, or the file bytes of a picture
// that cannot be drawn here (metafiles and other classes).
struct TFoGraphic {
    TGraphicKind Kind = TGraphicKind::gkBitmap;
    QImage Image;
    QByteArray Data;

    int Width() const { return Image.width(); }
    int Height() const { return Image.height(); }
    bool Empty() const { return Image.isNull() && Data.isEmpty(); }
};

} // namespace fiscora
