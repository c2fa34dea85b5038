#include "output/files/FoJpegWriter.h"

#include "output/files/FoPictureRaster.h"
#include "report/core/FoErrors.h"

#include <QPainter>

#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <memory>

#include <jpeglib.h>

namespace fiscora {

namespace {

// libjpeg's default error handler ends the process; this one jumps back to the encoder with the
// message, since an exception must not unwind through the C library.
struct TJpegErrorManager {
    jpeg_error_mgr Manager;
    std::jmp_buf Jump;
    char Message[JMSG_LENGTH_MAX];
};

void JpegErrorExit(j_common_ptr info) {
    auto *errors = reinterpret_cast<TJpegErrorManager *>(info->err);
    (*info->err->format_message)(info, errors->Message);
    std::longjmp(errors->Jump, 1);
}

void JpegSilentOutput(j_common_ptr) {}

QImage RgbRaster(const QImage &image) {
    if (!image.hasAlphaChannel())
        return ConvertedPicture(image, QImage::Format_RGB888);
    QImage raster = NewPictureRaster(image.size(), QImage::Format_RGB888);
    raster.fill(Qt::white);
    QPainter painter(&raster);
    painter.drawImage(0, 0, image);
    painter.end();
    return raster;
}

// Encodes the RGB raster; returns false with the library's message in `errors`. Nothing with a
// destructor lives in this frame, so the jump out of libjpeg leaks nothing.
bool Encode(const QImage &raster, int quality, TJpegErrorManager &errors, unsigned char *&buffer,
            unsigned long &size) {
    jpeg_compress_struct info;
    info.err = jpeg_std_error(&errors.Manager);
    errors.Manager.error_exit = JpegErrorExit;
    errors.Manager.output_message = JpegSilentOutput;
    if (setjmp(errors.Jump)) {
        jpeg_destroy_compress(&info);
        return false;
    }
    jpeg_create_compress(&info);
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = static_cast<JDIMENSION>(raster.width());
    info.image_height = static_cast<JDIMENSION>(raster.height());
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, quality, TRUE);
    jpeg_start_compress(&info, TRUE);
    while (info.next_scanline < info.image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(raster.constScanLine(static_cast<int>(info.next_scanline)));
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    return true;
}

} // namespace

QByteArray JpegFromImage(const QImage &Image, int Quality) {
    if (Image.isNull())
        throw EFolioReport(QStringLiteral("Cannot write an empty picture as JPEG."));
    const QImage raster = RgbRaster(Image);
    TJpegErrorManager errors{};
    unsigned char *buffer = nullptr;
    unsigned long size = 0;
    const bool encoded = Encode(raster, std::clamp(Quality, 1, 100), errors, buffer, size);
    const std::unique_ptr<unsigned char, decltype(&std::free)> owned(buffer, &std::free);
    if (!encoded)
        throw EFolioReport(QStringLiteral("Cannot write the picture as JPEG: %1")
                               .arg(QString::fromLocal8Bit(errors.Message)));
    return QByteArray(reinterpret_cast<const char *>(buffer), static_cast<qsizetype>(size));
}

} // namespace fiscora
