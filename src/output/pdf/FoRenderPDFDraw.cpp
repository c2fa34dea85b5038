// The PDF renderer's vector graphics, state caches, hatch patterns and images (Parts 5.3, 5.7).
#include "output/files/FoJpegWriter.h"
#include "output/files/FoPictureRaster.h"
#include "output/pdf/FoPdfFormat.h"
#include "output/pdf/FoRenderPDF.h"
#include "report/core/FoErrors.h"
#include "report/playback/FoSnapshotConverter.h"

#include "ScopeExit.h"

#include <QDataStream>
#include <QPainter>

#include <cmath>
#include <numbers>
#include <utility>

namespace fiscora {

using pdf::Fmt;
using pdf::FmtLn;
using pdf::Ln;

namespace {

const char *DashText(TPenStyle style) {
    switch (style) {
    case TPenStyle::psDash:
        return "[13 6] 0 d";
    case TPenStyle::psDot:
        return "[2] 0 d";
    case TPenStyle::psDashDot:
        return "[8 4 1 4] 0 d";
    case TPenStyle::psDashDotDot:
        return "[10 3 2 2 2 3] 0 d";
    default:
        return "[] 0 d";
    }
}

// Forces a clear pen or brush for one drawing call: the guard returned puts the flag back.
auto ForceClear(bool &flag) {
    return ScopeExit([&flag, saved = std::exchange(flag, true)] { flag = saved; });
}

} // namespace

bool TFoRenderPDF::DoStroke() const {
    return PenStyle() != TPenStyle::psClear;
}
bool TFoRenderPDF::DoFill() const {
    return BrushStyle() != TBrushStyle::bsClear;
}
TPenStyle TFoRenderPDF::PenStyle() const {
    if (FForceClearPen)
        return TPenStyle::psClear;
    return Converter ? Converter->Pen.Style() : TPenStyle::psSolid;
}
TBrushStyle TFoRenderPDF::BrushStyle() const {
    if (FForceClearBrush)
        return TBrushStyle::bsClear;
    return Converter ? Converter->Brush.Style() : TBrushStyle::bsSolid;
}

void TFoRenderPDF::TakePlaybackColours() {
    if (!Converter || !FCurrentPageObject)
        return;
    FCurrentPageObject->FPenColor = Converter->Pen.Color();
    FCurrentPageObject->FBrushColor = Converter->Brush.Color();
}

void TFoRenderPDF::SetPenAndBrush() {
    TFoPDFPage &page = *FCurrentPageObject;
    QByteArray &out = page.FPageContent;
    const TPenStyle penStyle = PenStyle();
    if (!page.FLastPenStyleDefined || page.FLastPenStyle != penStyle) {
        Ln(out, DashText(penStyle));
        page.FLastPenStyle = penStyle;
        page.FLastPenStyleDefined = true;
    }
    if (!page.FLastPenColorDefined || page.FLastPenColor != page.FPenColor) {
        out.append(pdf::ColorText(page.FPenColor));
        Ln(out, " RG");
        page.FLastPenColor = page.FPenColor;
        page.FLastPenColorDefined = true;
        page.FLastTextColorDefined = false;
    }
    if (!page.FLastBrushColorDefined || page.FLastBrushColor != page.FBrushColor) {
        out.append(pdf::ColorText(page.FBrushColor));
        Ln(out, " rg");
        page.FLastBrushColor = page.FBrushColor;
        page.FLastBrushColorDefined = true;
        page.FLastTextColorDefined = false;
        page.FLastBrushStyleDefined = false;
    }
    const TBrushStyle brushStyle = BrushStyle();
    if (!page.FLastBrushStyleDefined || page.FLastBrushStyle != brushStyle) {
        if (IsHatchStyle(brushStyle)) {
            const QByteArray name = PatternFor(brushStyle, page.FBrushColor);
            Ln(out, "/Pattern cs");
            FmtLn(out, "/%s scn", name);
        } else if (page.FLastBrushStyleDefined && IsHatchStyle(page.FLastBrushStyle)) {
            Ln(out, "/DeviceRGB cs");
            out.append(pdf::ColorText(page.FPenColor));
            Ln(out, " RG");
            out.append(pdf::ColorText(page.FBrushColor));
            Ln(out, " rg");
        }
        page.FLastBrushStyle = brushStyle;
        page.FLastBrushStyleDefined = true;
    }
    const double width = snPenWidth * 72.0;
    if (!page.FLastPenWidthDefined || page.FLastPenWidth != width) {
        FmtLn(out, "%.4f w ", width);
        page.FLastPenWidth = width;
        page.FLastPenWidthDefined = true;
    }
}

// The painting operator of the path just built. A closed figure (polygon, chord, pie) is closed for
// the stroke too ("s"), so that its last edge is drawn.
void TFoRenderPDF::PaintPath(bool Closed) {
    QByteArray &out = Content();
    const bool stroke = DoStroke();
    const bool fill = DoFill();
    if (stroke && fill)
        Ln(out, "b");
    else if (fill)
        Ln(out, "f");
    else if (stroke)
        Ln(out, Closed ? "s" : "S");
}

QByteArray TFoRenderPDF::PatternFor(TBrushStyle Style, TColor Colour) {
    QByteArray key = BrushStyleName(Style);
    char hex[9];
    std::snprintf(hex, sizeof hex, "%08X", static_cast<std::int32_t>(Colour) < 0 ? 0u : unsigned(Colour));
    key += hex;
    if (TFoPDFPattern *pattern = FPatternIndex.value(key))
        return pattern->FObjectName;
    auto pattern = std::make_unique<TFoPDFPattern>(*this);
    pattern->FObjectName = "P" + QByteArray::number(qsizetype(FPatternList.size() + 1));
    pattern->FPatternStream = HatchPatternText(Style, Colour);
    TFoPDFPattern *result = pattern.get();
    FPatternIndex.insert(key, result);
    FPatternList.push_back(std::move(pattern));
    if (Streaming()) {
        result->FID = FCurrentID + 1;
        FCurrentID += 2;
        result->WriteObject(FFile);
    }
    return result->FObjectName;
}

// ---- Lines and shapes ------------------------------------------------------------------------------

void TFoRenderPDF::MoveTo(double X, double Y) {
    if (!FCurrentPageObject)
        return;
    FmtLn(Content(), "%.4f %.4f m", PX(X), PY(Y));
}

void TFoRenderPDF::LineTo(double X, double Y) {
    if (!FCurrentPageObject || !DoStroke())
        return;
    const auto clear = ForceClear(FForceClearBrush);
    TakePlaybackColours();
    SetPenAndBrush();
    Fmt(Content(), "%.4f %.4f l ", PX(X), PY(Y));
    PaintPath();
}

// A line in the text colour (underline, strike-out): the page's own line operation.
void TFoRenderPDF::PageLine(double X1, double Y1, double X2, double Y2) {
    const auto clear = ForceClear(FForceClearBrush);
    SetPenAndBrush();
    QByteArray &out = Content();
    FmtLn(out, "%.4f %.4f m", PX(X1), PY(Y1));
    Fmt(out, "%.4f %.4f l ", PX(X2), PY(Y2));
    Ln(out, "S");
}

void TFoRenderPDF::Rectangle(double X1, double Y1, double X2, double Y2) {
    if (!FCurrentPageObject || (!DoStroke() && !DoFill()))
        return;
    TakePlaybackColours();
    SetPenAndBrush();
    Fmt(Content(), "%.4f %.4f %.4f %.4f re ", PX(X1), PY(Y1), (X2 - X1) * 72.0, (Y1 - Y2) * 72.0);
    PaintPath();
}

void TFoRenderPDF::FillRect(const QRect &Rect) {
    const auto clear = ForceClear(FForceClearPen);
    Rectangle(Rect.left() / 72.0, Rect.top() / 72.0, (Rect.left() + Rect.width()) / 72.0,
              (Rect.top() + Rect.height()) / 72.0);
}

namespace {

struct TEllipsePoints {
    double XA, XB, XC, XD, XE, YA, YB, YC, YD, YE;
};

TEllipsePoints EllipsePoints(double X1, double Y1, double X2, double Y2) {
    constexpr double k = 4.0 / 3.0 * (std::numbers::sqrt2 - 1.0);
    TEllipsePoints p{};
    p.XA = std::min(X1, X2);
    p.XE = std::max(X1, X2);
    p.XC = (p.XA + p.XE) / 2.0;
    p.XB = p.XC - k * (p.XC - p.XA);
    p.XD = p.XC + k * (p.XC - p.XA);
    p.YA = std::min(Y1, Y2);
    p.YE = std::max(Y1, Y2);
    p.YC = (p.YA + p.YE) / 2.0;
    p.YB = p.YC - k * (p.YC - p.YA);
    p.YD = p.YC + k * (p.YC - p.YA);
    return p;
}

} // namespace

void TFoRenderPDF::Ellipse(double X1, double Y1, double X2, double Y2) {
    if (!FCurrentPageObject || (!DoStroke() && !DoFill()))
        return;
    const double half = snPenWidth / 2.0;
    const double grow = snFrameMode == TFrameMode::fmInside    ? -half
                        : snFrameMode == TFrameMode::fmOutside ? half
                                                               : 0;
    const double left = std::min(X1, X2) - grow, right = std::max(X1, X2) + grow;
    const double top = std::min(Y1, Y2) - grow, bottom = std::max(Y1, Y2) + grow;
    TakePlaybackColours();
    SetPenAndBrush();
    const TEllipsePoints p = EllipsePoints(left, top, right, bottom);
    QByteArray &out = Content();
    const auto curve = [&](double ax, double ay, double bx, double by, double cx, double cy) {
        FmtLn(out, "%.4f %.4f %.4f %.4f %.4f %.4f c", PX(ax), PY(ay), PX(bx), PY(by), PX(cx), PY(cy));
    };
    FmtLn(out, "%.4f %.4f m", PX(p.XC), PY(p.YA));
    curve(p.XD, p.YA, p.XE, p.YB, p.XE, p.YC);
    curve(p.XE, p.YD, p.XD, p.YE, p.XC, p.YE);
    curve(p.XB, p.YE, p.XA, p.YD, p.XA, p.YC);
    curve(p.XA, p.YB, p.XB, p.YA, p.XC, p.YA);
    PaintPath();
}

void TFoRenderPDF::RoundRect(double X1, double Y1, double X2, double Y2, double X3, double Y3) {
    if (!FCurrentPageObject || (!DoStroke() && !DoFill()))
        return;
    TakePlaybackColours();
    SetPenAndBrush();
    const TEllipsePoints p = EllipsePoints(X1, Y1, X1 + X3, Y1 + Y3);
    const double l = X2 - X1 - X3;
    const double m = Y2 - Y1 - Y3;
    QByteArray &out = Content();
    const auto move = [&](double x, double y) { FmtLn(out, "%.4f %.4f m", PX(x), PY(y)); };
    const auto line = [&](double x, double y) { FmtLn(out, "%.4f %.4f l", PX(x), PY(y)); };
    const auto curve = [&](double ax, double ay, double bx, double by, double cx, double cy) {
        FmtLn(out, "%.4f %.4f %.4f %.4f %.4f %.4f c", PX(ax), PY(ay), PX(bx), PY(by), PX(cx), PY(cy));
    };
    move(p.XC, p.YA);
    line(p.XC + l, p.YA);
    curve(p.XD + l, p.YA, p.XE + l, p.YB, p.XE + l, p.YC);
    line(p.XE + l, p.YC + m);
    curve(p.XE + l, p.YD + m, p.XD + l, p.YE + m, p.XC + l, p.YE + m);
    line(p.XC, p.YE + m);
    curve(p.XB, p.YE + m, p.XA, p.YD + m, p.XA, p.YC + m);
    line(p.XA, p.YC);
    curve(p.XA, p.YB, p.XB, p.YA, p.XC, p.YA);
    PaintPath();
}

// The arc from the direction of (X3, Y3) to that of (X4, Y4), counter-clockwise as seen on the page,
// on the ellipse inscribed in the box (a circle for a square box), in at most four
// Bézier segments of up to 90 degrees.
void TFoRenderPDF::WriteArcPath(double X1, double Y1, double X2, double Y2, double X3, double Y3, double X4,
                                double Y4, bool &Written) {
    Written = false;
    const double cx = (X1 + X2) / 2.0, cy = (Y1 + Y2) / 2.0;
    const double rx = std::abs(X2 - X1) / 2.0;
    const double ry = std::abs(Y2 - Y1) / 2.0;
    if (rx <= 0 || ry <= 0)
        return;
    // Directions are taken on the circle the ellipse is scaled from.
    const auto angleOf = [&](double x, double y) {
        const double nx = cx + (x - cx);
        const double ny = cy + (y - cy) * rx / ry;
        if (nx > cx) {
            double a = 360.0 - std::atan((ny - cy) / (nx - cx)) * 180.0 / std::numbers::pi;
            if (a > 360.0)
                a -= 360.0;
            return a;
        }
        if (nx < cx)
            return 180.0 - std::atan((ny - cy) / (nx - cx)) * 180.0 / std::numbers::pi;
        return ny < cy ? 90.0 : 270.0;
    };
    const double start = angleOf(X3, Y3);
    const double end = angleOf(X4, Y4);
    if (start == end)
        return;
    double sweep = end - start;
    if (sweep < 0)
        sweep += 360.0;
    const int parts = std::clamp(int(std::ceil(sweep / 90.0 - 1e-9)), 1, 4);
    const double step = sweep / parts * std::numbers::pi / 180.0;
    const double theta = step / 2.0;
    // Points on the page (inches) of a point given at angle phi (radians, counter-clockwise) on the
    // unit circle scaled by the radii; page y grows downward.
    const auto onPage = [&](double ux, double uy, double phi, double &px, double &py) {
        const double rotatedX = ux * std::cos(phi) - uy * std::sin(phi);
        const double rotatedY = ux * std::sin(phi) + uy * std::cos(phi);
        px = cx + rx * rotatedX;
        py = cy - ry * rotatedY;
    };
    const double c = std::cos(theta), s = std::sin(theta);
    const double x0 = c, y0 = -s;
    const double x1 = (4.0 - c) / 3.0, y1 = -(1.0 - c) * (3.0 - c) / (3.0 * s);
    const double x2 = x1, y2 = -y1;
    const double x3 = c, y3 = s;
    QByteArray &out = Content();
    const double startRadians = start * std::numbers::pi / 180.0;
    for (int i = 0; i < parts; ++i) {
        const double middle = startRadians + step * i + theta;
        double ax, ay, bx, by, ccx, ccy, dx, dy;
        onPage(x0, y0, middle, ax, ay);
        onPage(x1, y1, middle, bx, by);
        onPage(x2, y2, middle, ccx, ccy);
        onPage(x3, y3, middle, dx, dy);
        if (i == 0)
            FmtLn(out, "%.4f %.4f m", PX(ax), PY(ay));
        FmtLn(out, "%.4f %.4f %.4f %.4f %.4f %.4f c", PX(bx), PY(by), PX(ccx), PY(ccy), PX(dx), PY(dy));
    }
    Written = true;
}

void TFoRenderPDF::Arc(double X1, double Y1, double X2, double Y2, double X3, double Y3, double X4,
                       double Y4) {
    if (!FCurrentPageObject || !DoStroke())
        return;
    const auto clear = ForceClear(FForceClearBrush);
    TakePlaybackColours();
    SetPenAndBrush();
    Ln(Content(), "% arc code");
    bool written = false;
    WriteArcPath(X1, Y1, X2, Y2, X3, Y3, X4, Y4, written);
    if (written)
        Ln(Content(), "S");
}

void TFoRenderPDF::Chord(double X1, double Y1, double X2, double Y2, double X3, double Y3, double X4,
                         double Y4) {
    if (!FCurrentPageObject || (!DoStroke() && !DoFill()))
        return;
    TakePlaybackColours();
    SetPenAndBrush();
    Ln(Content(), "% arc code");
    bool written = false;
    WriteArcPath(X1, Y1, X2, Y2, X3, Y3, X4, Y4, written);
    if (written)
        PaintPath(true);
}

void TFoRenderPDF::Pie(double X1, double Y1, double X2, double Y2, double X3, double Y3, double X4,
                       double Y4) {
    if (!FCurrentPageObject || (!DoStroke() && !DoFill()))
        return;
    TakePlaybackColours();
    SetPenAndBrush();
    Ln(Content(), "% arc code");
    bool written = false;
    WriteArcPath(X1, Y1, X2, Y2, X3, Y3, X4, Y4, written);
    if (!written)
        return;
    Fmt(Content(), "%.4f %.4f l ", PX((X1 + X2) / 2.0), PY((Y1 + Y2) / 2.0));
    PaintPath(true);
}

void TFoRenderPDF::Polyline(std::span<const QPointF> Points, int HighIndex) {
    if (!FCurrentPageObject || !DoStroke())
        return;
    const auto clear = ForceClear(FForceClearBrush);
    TakePlaybackColours();
    SetPenAndBrush();
    QByteArray &out = Content();
    const int last = std::min<int>(HighIndex, int(Points.size()) - 1);
    for (int i = 0; i <= last; ++i) {
        Fmt(out, "%.4f %.4f l ", PX(Points[i].x()), PY(Points[i].y()));
        if ((i + 1) % 4 == 0)
            Ln(out);
    }
    PaintPath();
}

void TFoRenderPDF::Polygon(std::span<const QPointF> Points, int HighIndex) {
    if (!FCurrentPageObject || (!DoStroke() && !DoFill()))
        return;
    TakePlaybackColours();
    SetPenAndBrush();
    QByteArray &out = Content();
    const int last = std::min<int>(HighIndex, int(Points.size()) - 1);
    for (int i = 0; i <= last; ++i)
        Fmt(out, "%.4f %.4f l ", PX(Points[i].x()), PY(Points[i].y()));
    PaintPath(true);
}

// ---- Images --------------------------------------------------------------------------------------

QByteArray TFoRenderPDF::AddJPG(const QByteArray &Jpeg, int Width, int Height, quint64 PictureKey) {
    if (PictureKey != 0)
        if (TFoPDFXObject *image = FXObjectIndex.value(PictureKey))
            return image->FObjectName;
    auto image = std::make_unique<TFoPDFXObject>(*this);
    image->FObjectName = "G" + QByteArray::number(qsizetype(FXObjectList.size() + 1));
    image->FImage = Jpeg;
    image->FWidth = Width;
    image->FHeight = Height;
    TFoPDFXObject *result = image.get();
    if (PictureKey != 0)
        FXObjectIndex.insert(PictureKey, result);
    FXObjectList.push_back(std::move(image));
    return result->FObjectName;
}

void TFoRenderPDF::PrintJPG(double X1, double Y1, double X2, double Y2, const QByteArray &Name) {
    if (!DisableHyperlinks && Converter && !Converter->Hyperlink.isEmpty())
        AddLink(Converter->Hyperlink, X1, Y1, X2, Y2);
    QByteArray &out = Content();
    Ln(out, "q");
    FmtLn(out, "%.4f 0 0 %.4f %.4f %.4f cm", (X2 - X1) * 72.0, (Y2 - Y1) * 72.0, PX(X1), PY(Y2));
    FmtLn(out, "/%s Do", Name);
    Ln(out, "Q");
}

namespace {

// A repeated picture (same pixels, same raster size) is one image object. The whole bytes of each scan
// line count (padding is no part of the picture); pictures of under 8 bits a pixel count as 32-bit.
quint64 PictureKeyOf(const QImage &image, int quality) {
    const QImage picture = image.depth() < 8 ? ConvertedPicture(image, QImage::Format_ARGB32) : image;
    const qsizetype lineBytes = qsizetype(picture.width()) * picture.depth() / 8;
    size_t hash = qHash(int(picture.format()), size_t(0x9e3779b97f4a7c15ull));
    for (int y = 0; y < picture.height(); ++y)
        hash =
            qHash(QByteArrayView(reinterpret_cast<const char *>(picture.constScanLine(y)), lineBytes), hash);
    for (const QRgb colour : picture.colorTable())
        hash = qHash(colour, hash);
    return (quint64(hash) ^ (quint64(image.width()) << 40) ^ (quint64(image.height()) << 20) ^
            quint64(quality)) |
           1u;
}

// Identifies a stretched picture's raster: the picture, the part of it shown and the raster's size.
QByteArray StretchKeyOf(const QImage &picture, const TFoStretchRaster &plan) {
    QByteArray key;
    QDataStream out(&key, QIODevice::WriteOnly);
    out << picture.cacheKey() << plan.Source << plan.Size;
    return key;
}

} // namespace

void TFoRenderPDF::ImageFromRaster(double X1, double Y1, double X2, double Y2, const QImage &Raster) {
    if (!FCurrentPageObject || Raster.isNull())
        return;
    QByteArray name = FPictureNames.value(Raster.cacheKey());
    if (name.isEmpty()) {
        const quint64 key = PictureKeyOf(Raster, ImageQuality);
        if (TFoPDFXObject *image = FXObjectIndex.value(key))
            name = image->FObjectName;
        else
            name = AddJPG(JpegFromImage(Raster, ImageQuality), Raster.width(), Raster.height(), key);
        FPictureNames.insert(Raster.cacheKey(), name);
    }
    PrintJPG(X1, Y1, X2, Y2, name);
}

void TFoRenderPDF::PrintBitmapRect(double X1, double Y1, double X2, double Y2, const QImage &Bitmap) {
    ImageFromRaster(X1, Y1, X2, Y2, Bitmap);
}

void TFoRenderPDF::PrintBitmap(double X, double Y, double ScaleX, double ScaleY, const QImage &Bitmap) {
    ImageFromRaster(X, Y, X + Bitmap.width() * ScaleX / 72.0, Y + Bitmap.height() * ScaleY / 72.0, Bitmap);
}

// Only the part of the picture on the page is drawn, on a raster of at most MaxRasterPixels.
void TFoRenderPDF::StretchDraw(const QRect &Rect, const QImage &Graphic) {
    if (Graphic.isNull() || !FCurrentPageObject)
        return;
    const QPointF from(Rect.left() / 72.0, Rect.top() / 72.0);
    const QPointF to((Rect.left() + Rect.width()) / 72.0, (Rect.top() + Rect.height()) / 72.0);
    const TFoStretchRaster plan =
        PlanStretchRaster(from, to, QSizeF(FCurrentPageObject->FPageWidth, FCurrentPageObject->FPageHeight),
                          Graphic.size(), MetafileDPI);
    if (plan.Size.isEmpty())
        return;
    const QByteArray key = StretchKeyOf(Graphic, plan);
    QByteArray name = FStretchNames.value(key);
    if (name.isEmpty()) {
        FStretchPixels += qint64(plan.Size.width()) * plan.Size.height();
        if (FStretchPixels > MaxExportRasterPixels)
            throw EFolioReport(
                QStringLiteral("The stretched pictures of the report need more than %1 pixels.")
                    .arg(MaxExportRasterPixels));
        const QImage raster = DrawStretchRaster(Graphic, plan, QImage::Format_RGB888);
        ImageFromRaster(plan.From.x(), plan.From.y(), plan.To.x(), plan.To.y(), raster);
        FStretchNames.insert(key, FPictureNames.value(raster.cacheKey()));
        return;
    }
    PrintJPG(plan.From.x(), plan.From.y(), plan.To.x(), plan.To.y(), name);
}

void TFoRenderPDF::Draw(double X, double Y, const QImage &Graphic) {
    ImageFromRaster(X, Y, X + Graphic.width() / 72.0, Y + Graphic.height() / 72.0, Graphic);
}

} // namespace fiscora
