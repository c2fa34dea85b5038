// PDF images: every picture is a JPEG stream encoded through libjpeg.
#include "FoPdfImages.h"

#include "FoPdfFormat.h"
#include "report/core/FoErrors.h"

#include <QPainter>

#include <cstdio>
#include <jpeglib.h>

#include <csetjmp>

namespace fiscora {

using pdf::FmtLn;
using pdf::Ln;

namespace {

struct TJpegError {
    jpeg_error_mgr Manager;
    std::jmp_buf Jump;
};

void JpegErrorExit(j_common_ptr info) {
    std::longjmp(reinterpret_cast<TJpegError *>(info->err)->Jump, 1);
}

// The image as 24-bit RGB, transparent parts on white.
QImage RgbImage(const QImage &image) {
    if (image.format() == QImage::Format_RGB888)
        return image;
    if (!image.hasAlphaChannel())
        return image.convertToFormat(QImage::Format_RGB888);
    QImage flat(image.size(), QImage::Format_RGB888);
    flat.fill(Qt::white);
    QPainter painter(&flat);
    painter.drawImage(0, 0, image);
    painter.end();
    return flat;
}

} // namespace

QByteArray EncodeJpeg(const QImage &Image, int Quality) {
    const QImage rgb = RgbImage(Image);
    if (rgb.isNull() || rgb.width() <= 0 || rgb.height() <= 0)
        return {};
    jpeg_compress_struct info{};
    TJpegError error{};
    info.err = jpeg_std_error(&error.Manager);
    error.Manager.error_exit = JpegErrorExit;
    unsigned char *buffer = nullptr;
    unsigned long size = 0;
    if (setjmp(error.Jump)) {
        jpeg_destroy_compress(&info);
        std::free(buffer);
        throw EFolioReport(QStringLiteral("The picture could not be encoded as JPEG"));
    }
    jpeg_create_compress(&info);
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = JDIMENSION(rgb.width());
    info.image_height = JDIMENSION(rgb.height());
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, std::clamp(Quality, 1, 100), TRUE);
    jpeg_start_compress(&info, TRUE);
    while (info.next_scanline < info.image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(rgb.constScanLine(int(info.next_scanline)));
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    QByteArray bytes(reinterpret_cast<const char *>(buffer), qsizetype(size));
    jpeg_destroy_compress(&info);
    std::free(buffer);
    return bytes;
}

void TFoPDFXObject::WriteObject(TFoPDFFile &File) {
    File.RegisterObject(FID);
    QByteArray &out = File.Data;
    FmtLn(out, "%d 0 obj", FID);
    Ln(out, "<<");
    Ln(out, "/Type /XObject");
    Ln(out, "/Subtype /Image");
    FmtLn(out, "/Name /%s", FObjectName);
    FmtLn(out, "/Width %d /Height %d ", FWidth, FHeight);
    Ln(out, "/BitsPerComponent 8");
    FmtLn(out, "/ColorSpace /DeviceRGB /Length %d /Filter %s", int(FImage.size()), "[/DCTDecode ]");
    Ln(out, ">>");
    Ln(out, "stream");
    out.append(FImage);
    Ln(out);
    Ln(out, "endstream");
    Ln(out, "endobj");
    Ln(out);
}

} // namespace fiscora
