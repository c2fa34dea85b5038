#pragma once

#include <QByteArray>
#include <QHash>
#include <QImage>
#include <QPair>

#include <functional>

namespace fiscora {

// The pictures of one snapshot stream by the position of their graphic block, each decoded once: a
// picture drawn again and again (a logo on every page) costs one decoding, and every drawing call gets
// the same image, so a renderer can tell the picture it has already written. The cache also bounds
// what a stream can make playback decode: no picture of more than MaxPicturePixels, and no more than
// MaxDecodedBytes of pictures in all; beyond either, EFolioReport ends playback.
class TFoPictureCache {
public:
    static constexpr qint64 MaxPicturePixels = 4096LL * 4096LL;
    static constexpr qint64 MaxDecodedBytes = 256LL * 1024 * 1024;

    // The picture whose block's length field is at Position, in the image format Format ("BMP",
    // "ICO"); ReadBytes gives the block's bytes when the picture is not known yet. A null image when
    // the bytes hold no picture.
    QImage Picture(qint64 Position, const char *Format, const std::function<QByteArray()> &ReadBytes);
    qint64 DecodedBytes() const { return FDecodedBytes; }

private:
    QHash<QPair<qint64, QByteArray>, QImage> FPictures;
    qint64 FDecodedBytes = 0;
};

} // namespace fiscora
