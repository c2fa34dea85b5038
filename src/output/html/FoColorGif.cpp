#include "output/html/FoColorGif.h"

namespace fiscora {

QByteArray ColorGifBytes(TColor Colour) {
    static const char header[] = "\x47\x49\x46\x38\x39\x61\x02\x00\x02\x00\xB3\x00\x00";
    static const char image[] = "\x2C\x00\x00\x00\x00\x02\x00\x02\x00\x00\x04\x03\x10\x48\x10\x00\x3B";
    const TColor rgb = ColorToRGB(Colour);
    QByteArray bytes(header, sizeof header - 1);
    bytes.append(static_cast<char>(GetRValue(rgb)));
    bytes.append(static_cast<char>(GetGValue(rgb)));
    bytes.append(static_cast<char>(GetBValue(rgb)));
    bytes.append(45, '\0'); // the other 15 table entries
    bytes.append(image, sizeof image - 1);
    return bytes;
}

} // namespace fiscora
