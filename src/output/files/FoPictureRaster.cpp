#include "output/files/FoPictureRaster.h"

#include "report/core/FoErrors.h"

#include <QPainter>

#include <algorithm>
#include <cmath>
#include <optional>
#include <utility>

namespace fiscora {

namespace {

// The longest side a JPEG file can have.
constexpr double MaxRasterSide = 65500;

[[noreturn]] void RaiseNoMemoryFor(const QSize &size) {
    throw EFolioReport(QStringLiteral("Not enough memory for a picture of %1 x %2 pixels.")
                           .arg(size.width())
                           .arg(size.height()));
}

// The part [first, second] of the span from a to b (as fractions of it) that lies within 0 .. extent;
// none when the span misses it. An extent of 0 keeps the whole span.
std::optional<std::pair<double, double>> VisibleFractions(double a, double b, double extent) {
    if (!(extent > 0) || a == b)
        return std::pair(0.0, 1.0);
    const double low = std::max(std::min(a, b), 0.0);
    const double high = std::min(std::max(a, b), extent);
    if (!(high > low))
        return std::nullopt;
    double first = (low - a) / (b - a), second = (high - a) / (b - a);
    if (first > second)
        std::swap(first, second);
    return std::pair(first, second);
}

// Pixels along a length in inches, halves to even as the platform's Round does.
double RasterPixels(double inches, double dotsPerInch) {
    const double pixels = std::nearbyint(std::abs(inches) * dotsPerInch);
    return std::isfinite(pixels) ? pixels : 0.0;
}

} // namespace

QImage NewPictureRaster(const QSize &Size, QImage::Format Format) {
    QImage raster(Size, Format);
    if (raster.isNull())
        RaiseNoMemoryFor(Size);
    return raster;
}

QImage ConvertedPicture(const QImage &Picture, QImage::Format Format) {
    if (Picture.isNull() || Picture.format() == Format)
        return Picture;
    QImage converted = Picture.convertToFormat(Format);
    if (converted.isNull())
        RaiseNoMemoryFor(Picture.size());
    return converted;
}

TFoStretchRaster PlanStretchRaster(QPointF From, QPointF To, const QSizeF &Page, const QSize &Picture,
                                   double DotsPerInch) {
    TFoStretchRaster plan;
    const auto across = VisibleFractions(From.x(), To.x(), Page.width());
    const auto down = VisibleFractions(From.y(), To.y(), Page.height());
    if (!across || !down || Picture.isEmpty())
        return plan;
    const QPointF span = To - From;
    plan.From = QPointF(From.x() + across->first * span.x(), From.y() + down->first * span.y());
    plan.To = QPointF(From.x() + across->second * span.x(), From.y() + down->second * span.y());
    plan.Source = QRectF(across->first * Picture.width(), down->first * Picture.height(),
                         (across->second - across->first) * Picture.width(),
                         (down->second - down->first) * Picture.height());
    double width = RasterPixels(plan.To.x() - plan.From.x(), DotsPerInch);
    double height = RasterPixels(plan.To.y() - plan.From.y(), DotsPerInch);
    if (!(width >= 1 && height >= 1))
        return plan;
    const double scale = std::min({1.0, std::sqrt(double(MaxRasterPixels) / (width * height)),
                                   MaxRasterSide / width, MaxRasterSide / height});
    if (scale < 1) {
        width = std::max(1.0, std::floor(width * scale));
        height = std::max(1.0, std::floor(height * scale));
        plan.Reduced = true;
    }
    plan.Size = QSize(int(width), int(height));
    return plan;
}

QImage DrawStretchRaster(const QImage &Picture, const TFoStretchRaster &Plan, QImage::Format Format) {
    QImage raster = NewPictureRaster(Plan.Size, Format);
    raster.fill(Qt::white);
    QPainter painter(&raster);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(QRectF(QPointF(0, 0), QSizeF(Plan.Size)), Picture, Plan.Source);
    painter.end();
    return raster;
}

} // namespace fiscora
