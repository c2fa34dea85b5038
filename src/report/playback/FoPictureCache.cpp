#include "report/playback/FoPictureCache.h"

#include "report/core/FoErrors.h"

#include <QBuffer>
#include <QImageReader>

namespace fiscora {

namespace {

[[noreturn]] void RaisePictureTooLarge(const QSize &size) {
    throw EFolioReport(QStringLiteral("Picture of %1 x %2 pixels found in report file is too large.")
                           .arg(size.width())
                           .arg(size.height()));
}

bool TooManyPixels(const QSize &size) {
    return qint64(size.width()) * qint64(size.height()) > TFoPictureCache::MaxPicturePixels;
}

QImage Decode(QByteArray bytes, const char *format) {
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, format);
    // The size is known from the file's header: an oversized picture is refused before it is decoded.
    const QSize size = reader.size();
    if (size.isValid() && TooManyPixels(size))
        RaisePictureTooLarge(size);
    QImage image = reader.read();
    if (TooManyPixels(image.size()))
        RaisePictureTooLarge(image.size());
    return image;
}

} // namespace

QImage TFoPictureCache::Picture(qint64 Position, const char *Format,
                                const std::function<QByteArray()> &ReadBytes) {
    const QPair<qint64, QByteArray> key(Position, QByteArray(Format));
    if (const auto known = FPictures.constFind(key); known != FPictures.constEnd())
        return *known;
    QImage image = Decode(ReadBytes(), Format);
    FDecodedBytes += image.sizeInBytes();
    if (FDecodedBytes > MaxDecodedBytes)
        throw EFolioReport(QStringLiteral("The pictures of the report file need more than %1 MB of memory.")
                               .arg(MaxDecodedBytes / (1024 * 1024)));
    FPictures.insert(key, image);
    return image;
}

} // namespace fiscora
