#include "output/screen/FoRenderCanvas.h"

#include "output/files/FoPictureRaster.h"
#include "report/playback/FoSnapshotConverter.h"

#include <QPainter>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

namespace fiscora {

namespace {

// Superscript and subscript text is drawn this much smaller.
constexpr double kSubSuperDivisor = 1.667;

std::vector<QPoint> DevicePoints(TFoRenderCanvas &renderer, std::span<const QPointF> points, int highIndex) {
    const std::size_t count = std::min<std::size_t>(points.size(), std::size_t(std::max(0, highIndex + 1)));
    std::vector<QPoint> result;
    result.reserve(count);
    for (std::size_t i = 0; i < count; ++i)
        result.emplace_back(renderer.XI2D(points[i].x()), renderer.YI2D(points[i].y()));
    return result;
}

} // namespace

TFoRenderCanvas::TFoRenderCanvas() = default;

TFoRenderCanvas::~TFoRenderCanvas() = default;

// ---- State ------------------------------------------------------------------------------------------

void TFoRenderCanvas::BrushChanged(TFoBrush &Brush) {
    Canvas().Brush().Assign(Brush);
}

void TFoRenderCanvas::PenChanged(TFoPen &Pen) {
    TFoPen &pen = Canvas().Pen();
    pen.Assign(Pen);
    pen.SetWidth(XI2D(snPenWidth) - XI2D(0));
}

void TFoRenderCanvas::FontChanged(TFoFont &) {
    CurrFont = CreateCurrentFont();
}

void TFoRenderCanvas::BKColorChanged(TColor Colour) {
    Canvas().SetBkColor(Colour);
}

TFoFont TFoRenderCanvas::CreateCurrentFont() {
    const TSaveFont description = Converter ? Converter->FontData : TSaveFont();
    TFoFont font;
    font.SetPixelsPerInch(YDPI());
    AssignFontAttributes(font, description);
    double height = description.Height;
    if (description.Superscript || description.Subscript)
        height /= kSubSuperDivisor;
    font.SetHeight(YI2D(0) - YI2D(height));
    if (ExactTextSizes)
        font.SetExactHeight(height * YDPI() * TextScale());
    font.SetWidth(0);
    font.SetOrientation(description.Rotation * 10);
    return font;
}

double TFoRenderCanvas::MeasureText(const QString &Text) {
    TFoCanvas &canvas = Canvas();
    if (!CurrFont)
        CurrFont = CreateCurrentFont();
    canvas.Font().Assign(*CurrFont);
    return canvas.TextWidthF(Text) / XDPI();
}

// ---- Text -------------------------------------------------------------------------------------------

void TFoRenderCanvas::OutputText(const QString &Text, double X, double Y, TTextAlignment Alignment) {
    TFoCanvas &canvas = Canvas();
    const TBKMode mode = canvas.BkMode();
    if (!Text.isEmpty()) {
        const TSaveFont description = Converter ? Converter->FontData : TSaveFont();
        if (description.Superscript)
            Y -= description.Height / 2.0;
        else if (description.Subscript)
            Y += description.Height / 2.0;
        if (!CurrFont)
            CurrFont = CreateCurrentFont();
        canvas.Font().Assign(*CurrFont);
        canvas.SetTextAlign(TFontAlign::faBaseline);
        canvas.SetBkMode(TBKMode::bkTransparent);
        // Positions are baseline points; centre and right alignment move back along the baseline.
        double shift = 0.0;
        if (Alignment != TTextAlignment::Left) {
            shift = canvas.TextWidthF(Text);
            if (Alignment == TTextAlignment::Center)
                shift /= 2.0;
        }
        const double radians = description.Rotation * std::numbers::pi / 180.0;
        const int x = XI2D(X) - int(std::lround(std::cos(radians) * shift));
        const int y = YI2D(Y) + int(std::lround(std::sin(radians) * shift));
        canvas.TextOut(x, y, Text);
    }
    canvas.SetBkMode(mode);
}

void TFoRenderCanvas::LeftText(const QString &Text, double X, double Y) {
    OutputText(Text, X, Y, TTextAlignment::Left);
}

void TFoRenderCanvas::CenterText(const QString &Text, double X, double Y) {
    OutputText(Text, X, Y, TTextAlignment::Center);
}

void TFoRenderCanvas::RightText(const QString &Text, double X, double Y) {
    OutputText(Text, X, Y, TTextAlignment::Right);
}

void TFoRenderCanvas::PrintSpaces(const QString &Text, double X, double Y, double Width) {
    PrintJustifiedLine(Text, X, Y, Width);
}

double TFoRenderCanvas::JustifiedTextWidth(const QString &Text) {
    return MeasureText(Text);
}

void TFoRenderCanvas::PrintJustifiedWord(double &X, double &Y, const QString &Text, double Advance) {
    AdvanceAlongBaseline(X, Y, Advance);
    OutputText(Text, X, Y, TTextAlignment::Right);
}

void TFoRenderCanvas::TextRect(const QRect &Rect, double X, double Y, const QString &Text) {
    TFoCanvas &canvas = Canvas();
    if (Converter) {
        TFoFont font = CreateCurrentFont();
        canvas.Font().Assign(font);
    }
    canvas.SetTextAlign(TFontAlign::faBaseline);
    const TBKMode mode = canvas.BkMode();
    if (canvas.Brush().Style() != TBrushStyle::bsClear) {
        if (QPainter *painter = canvas.Painter())
            painter->fillRect(QRectF(Rect.topLeft(), Rect.bottomRight()).normalized(),
                              ToQColor(canvas.BkColor()));
    }
    canvas.SetBkMode(TBKMode::bkTransparent);
    canvas.TextRect(Rect, XI2D(X), YI2D(Y), Text);
    canvas.SetBkMode(mode);
}

// ---- Lines and shapes -------------------------------------------------------------------------------

void TFoRenderCanvas::MoveTo(double X, double Y) {
    Canvas().MoveTo(XI2D(X), YI2D(Y));
}

void TFoRenderCanvas::LineTo(double X, double Y) {
    Canvas().LineTo(XI2D(X), YI2D(Y));
}

void TFoRenderCanvas::Polyline(std::span<const QPointF> Points, int HighIndex) {
    const std::vector<QPoint> points = DevicePoints(*this, Points, HighIndex);
    Canvas().Polyline(points);
}

void TFoRenderCanvas::Polygon(std::span<const QPointF> Points, int HighIndex) {
    const std::vector<QPoint> points = DevicePoints(*this, Points, HighIndex);
    Canvas().Polygon(points);
}

void TFoRenderCanvas::Arc(double X1, double Y1, double X2, double Y2, double X3, double Y3, double X4,
                          double Y4) {
    Canvas().Arc(DeviceRect(X1, Y1, X2, Y2), QPoint(XI2D(X3), YI2D(Y3)), QPoint(XI2D(X4), YI2D(Y4)));
}

void TFoRenderCanvas::Chord(double X1, double Y1, double X2, double Y2, double X3, double Y3, double X4,
                            double Y4) {
    Canvas().Chord(DeviceRect(X1, Y1, X2, Y2), QPoint(XI2D(X3), YI2D(Y3)), QPoint(XI2D(X4), YI2D(Y4)));
}

void TFoRenderCanvas::Pie(double X1, double Y1, double X2, double Y2, double X3, double Y3, double X4,
                          double Y4) {
    Canvas().Pie(DeviceRect(X1, Y1, X2, Y2), QPoint(XI2D(X3), YI2D(Y3)), QPoint(XI2D(X4), YI2D(Y4)));
}

QRect TFoRenderCanvas::DeviceRect(double X1, double Y1, double X2, double Y2) {
    const int left = XI2D(std::min(X1, X2));
    const int top = YI2D(std::min(Y1, Y2));
    const int right = XI2D(std::max(X1, X2));
    const int bottom = YI2D(std::max(Y1, Y2));
    return QRect(left, top, right - left, bottom - top);
}

QRect TFoRenderCanvas::FramedRect(double X1, double Y1, double X2, double Y2) {
    const QRect box = DeviceRect(X1, Y1, X2, Y2);
    const int left = box.x(), top = box.y(), right = box.x() + box.width(), bottom = box.y() + box.height();
    const TFoPen &pen = Canvas().Pen();
    const int width = std::max(1, pen.Width());
    int before = 0; // a
    int after = 0;  // b
    if (pen.Style() == TPenStyle::psClear) {
        before = after = 0;
    } else if (pen.Style() == TPenStyle::psInsideFrame || snFrameMode == TFrameMode::fmSplit) {
        after = 1;
    } else if (snFrameMode == TFrameMode::fmInside) {
        before = width / 2;
        after = width - before;
    } else {
        // Outside: the line lies around the given rectangle, touching it.
        before = -(width - width / 2);
        after = -(width / 2);
    }
    // Through (L + a, T + a) and (R - b + 2, B - b + 2); the canvas takes the far corner as exclusive.
    const int x1 = left + before, y1 = top + before;
    const int x2 = right - after + 2, y2 = bottom - after + 2;
    return QRect(x1, y1, x2 - x1, y2 - y1);
}

void TFoRenderCanvas::Rectangle(double X1, double Y1, double X2, double Y2) {
    Canvas().Rectangle(FramedRect(X1, Y1, X2, Y2));
}

void TFoRenderCanvas::Ellipse(double X1, double Y1, double X2, double Y2) {
    Canvas().Ellipse(FramedRect(X1, Y1, X2, Y2));
}

void TFoRenderCanvas::RoundRect(double X1, double Y1, double X2, double Y2, double X3, double Y3) {
    // Corner sizes at the device's resolution, without any zoom.
    Canvas().RoundRect(DeviceRect(X1, Y1, X2, Y2), RoundToDevice(X3 * XDPI()), RoundToDevice(Y3 * YDPI()));
}

void TFoRenderCanvas::FloodFill(double X, double Y, TColor Colour, TFillStyle FillStyle) {
    TFoCanvas &canvas = Canvas();
    auto *image = dynamic_cast<QImage *>(canvas.Device());
    if (!image)
        return; // only a page bitmap can be read back
    canvas.EndPaint();
    const qreal ratio = image->devicePixelRatio();
    const QPoint seed(int(XI2D(X) * ratio), int(YI2D(Y) * ratio));
    if (!image->rect().contains(seed))
        return;
    const QRgb border = ToQColor(Colour).rgb() | 0xFF000000u;
    const QRgb target = image->pixel(seed) | 0xFF000000u;
    const QRgb fill = canvas.Brush().QtBrush().color().rgb() | 0xFF000000u;
    // Surface: fill the area of the seed's colour; border: fill up to the border colour.
    const auto inside = [&](QPoint p) {
        const QRgb here = image->pixel(p) | 0xFF000000u;
        return FillStyle == TFillStyle::fsSurface ? here == target && here == border : here != border;
    };
    if (FillStyle == TFillStyle::fsSurface && target != border)
        return;
    if (fill == target && FillStyle == TFillStyle::fsSurface)
        return;
    // Span by span, with one seed for each run of pixels to fill above and below a span: the pending
    // seeds stay a few per row, where pixel by pixel they would grow to millions on a large page.
    const int width = image->width(), height = image->height();
    std::vector<bool> done(std::size_t(width) * std::size_t(height), false);
    const auto open = [&](int x, int y) {
        return !done[std::size_t(y) * std::size_t(width) + std::size_t(x)] && inside({x, y});
    };
    std::vector<QPoint> pending{seed};
    while (!pending.empty()) {
        const QPoint p = pending.back();
        pending.pop_back();
        if (!open(p.x(), p.y()))
            continue;
        int left = p.x(), right = p.x();
        while (left > 0 && open(left - 1, p.y()))
            --left;
        while (right + 1 < width && open(right + 1, p.y()))
            ++right;
        for (int x = left; x <= right; ++x) {
            done[std::size_t(p.y()) * std::size_t(width) + std::size_t(x)] = true;
            image->setPixel(x, p.y(), fill);
        }
        for (const int y : {p.y() - 1, p.y() + 1}) {
            if (y < 0 || y >= height)
                continue;
            for (int x = left; x <= right; ++x)
                if (open(x, y) && (x == left || !open(x - 1, y)))
                    pending.emplace_back(x, y);
        }
    }
}

void TFoRenderCanvas::FillRect(const QRect &Rect) {
    Canvas().FillRect(Rect);
}

void TFoRenderCanvas::FrameRect(const QRect &Rect) {
    Canvas().FrameRect(Rect);
}

void TFoRenderCanvas::DrawFocusRect(const QRect &Rect) {
    Canvas().DrawFocusRect(Rect);
}

void TFoRenderCanvas::StretchDraw(const QRect &Rect, const QImage &Graphic) {
    Canvas().StretchDraw(Rect, Graphic);
}

void TFoRenderCanvas::BrushCopy(const QRect &DestRect, const QImage &Bitmap, const QRect &SourceRect,
                                TColor Colour) {
    // The bitmap's pixels of Colour take the brush; the others are copied. Only pixels the bitmap has
    // are copied, however large the source rectangle a snapshot names.
    const QRect source = SourceRect.normalized().intersected(Bitmap.rect());
    if (source.isEmpty())
        return;
    QImage part = ConvertedPicture(Bitmap.copy(source), QImage::Format_ARGB32);
    const QRgb key = ToQColor(Colour).rgb() | 0xFF000000u;
    const QRgb brush = Canvas().Brush().QtBrush().color().rgb() | 0xFF000000u;
    for (int y = 0; y < part.height(); ++y)
        for (int x = 0; x < part.width(); ++x)
            if ((part.pixel(x, y) | 0xFF000000u) == key)
                part.setPixel(x, y, brush);
    Canvas().StretchDraw(DestRect, part);
}

void TFoRenderCanvas::Draw(double X, double Y, const QImage &Graphic) {
    Canvas().Draw(XI2D(X), YI2D(Y), Graphic);
}

void TFoRenderCanvas::CopyBitmap(const QRect &Target, const QImage &Bitmap) {
    TFoCanvas &canvas = Canvas();
    QPainter *painter = canvas.Painter();
    if (!painter || Bitmap.isNull())
        return;
    painter->save();
    if (FTransparentBitmaps)
        painter->setCompositionMode(QPainter::RasterOp_SourceAndDestination);
    painter->drawImage(QRectF(Target), Bitmap);
    painter->restore();
}

void TFoRenderCanvas::PrintBitmap(double X, double Y, double ScaleX, double ScaleY, const QImage &Bitmap) {
    CopyBitmap(QRect(XI2D(X), YI2D(Y), RoundToDevice(Bitmap.width() * ScaleX),
                     RoundToDevice(Bitmap.height() * ScaleY)),
               Bitmap);
}

void TFoRenderCanvas::PrintBitmapRect(double X1, double Y1, double X2, double Y2, const QImage &Bitmap) {
    const int left = XI2D(X1), top = YI2D(Y1);
    CopyBitmap(QRect(left, top, XI2D(X2) - left, YI2D(Y2) - top), Bitmap);
}

void TFoRenderCanvas::DocEnd() {
    TFoRenderStream::DocEnd();
    CurrFont.reset();
}

} // namespace fiscora
