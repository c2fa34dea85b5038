#pragma once

#include "report/core/FoTypes.h"

#include <QByteArray>

namespace fiscora {

// The 78-byte GIF89a image of one colour: 2 by 2 pixels, all of them the first entry of a 16-entry
// colour table. HTML pages stretch it into rules and boxes. System colours are resolved first.
QByteArray ColorGifBytes(TColor Colour);

} // namespace fiscora
