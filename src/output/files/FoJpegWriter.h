#pragma once

#include <QByteArray>
#include <QImage>

namespace fiscora {

// The picture as a baseline JPEG file (24-bit RGB, encoded by libjpeg) at a quality of 1 to 100.
// Transparent parts are laid on white. Raises EFolioReport when the picture cannot be encoded.
QByteArray JpegFromImage(const QImage &Image, int Quality);

} // namespace fiscora
