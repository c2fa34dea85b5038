#pragma once

#include <QImage>
#include <QPointF>
#include <QRectF>
#include <QSize>
#include <QSizeF>

namespace fiscora {

// No raster an export draws a picture on holds more pixels than this: a few bytes of snapshot must
// not ask for gigabytes.
inline constexpr qint64 MaxRasterPixels = 4096LL * 4096LL;
// Nor may the stretched pictures of one export, each drawn once, need more pixels than this in all.
inline constexpr qint64 MaxExportRasterPixels = 4 * MaxRasterPixels;

// A raster of that size and format, or EFolioReport when the memory for it cannot be had.
QImage NewPictureRaster(const QSize &Size, QImage::Format Format);
// The picture in that format, or EFolioReport when the memory for the copy cannot be had.
QImage ConvertedPicture(const QImage &Picture, QImage::Format Format);

// How a picture stretched from corner From to corner To (inches; From.x() > To.x() when mirrored) is
// rasterised for an export: only the part that lies on the page, at DotsPerInch, and on no more than
// MaxRasterPixels (a larger part is drawn at a lower resolution).
struct TFoStretchRaster {
    QPointF From, To; // the part on the page, in the orientation of the destination
    QRectF Source;    // the pixels of the picture that this part shows
    QSize Size;       // of the raster; empty when nothing of the picture lies on the page
    bool Reduced = false;
};
// A page side of 0 (not known) does not clip.
TFoStretchRaster PlanStretchRaster(QPointF From, QPointF To, const QSizeF &Page, const QSize &Picture,
                                   double DotsPerInch);
// The part of the picture the plan shows, drawn on a white raster of the plan's size.
QImage DrawStretchRaster(const QImage &Picture, const TFoStretchRaster &Plan, QImage::Format Format);

} // namespace fiscora
