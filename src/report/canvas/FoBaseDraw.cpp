// Page canvas: pen, brush and background, shapes, pictures and line buffering.
#include "report/canvas/FoBase.h"

#include "ScopeExit.h"
#include "report/canvas/FoLineBuffer.h"
#include "report/core/FoErrors.h"

#include <QIODevice>

#include <cmath>
#include <vector>

namespace fiscora {

// ---- Pen, brush, background -----------------------------------------------------------------

int TBaseReport::PenWidthPixels(int NewWidth) const {
    if (NewWidth >= 0)
        return NewWidth;
    const double inches = NewWidth >= -10000 ? -NewWidth / 100.0 : (-NewWidth - 10000) / 10000.0;
    const int pixels = int(std::lround(inches * FXDPI * FScaleX * FZoom / 10000.0));
    return pixels == 0 ? 1 : pixels;
}

void TBaseReport::SetPen(TColor NewColor, TPenStyle NewStyle, int NewWidth, TPenMode NewMode) {
    TFoPen &pen = Canvas().Pen();
    pen.SetColor(NewColor);
    pen.SetStyle(NewStyle);
    pen.SetWidth(PenWidthPixels(NewWidth));
    pen.SetMode(NewMode);
}

std::unique_ptr<TFoPen> TBaseReport::CreatePen(TColor NewColor, TPenStyle NewStyle, int NewWidth,
                                               TPenMode NewMode) const {
    auto pen = std::make_unique<TFoPen>();
    pen->SetColor(NewColor);
    pen->SetStyle(NewStyle);
    int width = NewWidth;
    if (width < 0) {
        width = int(std::lround(-NewWidth / 100.0 * FXDPI * FScaleX * FZoom / 10000.0));
        if (width == 0)
            width = 1;
    }
    pen->SetWidth(width);
    pen->SetMode(NewMode);
    return pen;
}

void TBaseReport::SetBrush(TColor NewColor, TBrushStyle NewStyle, const QImage *NewBitmap) {
    TFoBrush &brush = Canvas().Brush();
    brush.SetBitmap(NewBitmap ? *NewBitmap : QImage());
    brush.SetColor(NewColor);
    brush.SetStyle(NewStyle);
}

std::unique_ptr<TFoBrush> TBaseReport::CreateBrush(TColor NewColor, TBrushStyle NewStyle,
                                                   const QImage *NewBitmap) const {
    auto brush = std::make_unique<TFoBrush>();
    brush->SetColor(NewColor);
    brush->SetStyle(NewStyle);
    if (NewBitmap)
        brush->SetBitmap(*NewBitmap);
    return brush;
}

void TBaseReport::SetTextBKMode(TBKMode value) {
    FTextBKMode = value;
    if (FDevice)
        FDevice->Canvas().SetBkMode(value);
}

void TBaseReport::SetBKColor(TColor value) {
    FBKColor = value;
    if (FDevice)
        FDevice->Canvas().SetBkColor(value);
}

void TBaseReport::SetFrameMode(TFrameMode value) {
    FFrameMode = value;
}

// ---- Lines and line buffering ---------------------------------------------------------------

void TBaseReport::MoveTo(double X, double Y) {
    MoveToInches(XU2I(X), YU2I(Y));
}

void TBaseReport::LineTo(double X, double Y) {
    LineToInches(XU2I(X), YU2I(Y));
}

void TBaseReport::MoveToInches(double X, double Y) {
    if (FNoBufferLine) {
        if (BeginOutput())
            EmitMoveTo(X, Y);
        EndOutput();
    }
    FPenX = X;
    FPenY = Y;
}

void TBaseReport::LineToInches(double X, double Y) {
    const double fromX = FPenX;
    const double fromY = FPenY;
    FPenX = X;
    FPenY = Y;
    if (!BeginOutput())
        return;
    const bool horizontal = fromY == Y;
    const bool vertical = fromX == X;
    if (FNoBufferLine) {
        EmitLineTo(X, Y);
    } else if (horizontal || vertical) {
        const TFoPen &pen = Canvas().Pen();
        TFoBufferedLine line;
        line.Color = pen.Color();
        line.Mode = pen.Mode();
        line.Style = pen.Style();
        line.Width = pen.Width();
        if (horizontal) {
            line.Fixed = PageY(Y);
            line.Start = PageX(fromX);
            line.End = PageX(X);
            FLineBuffer->AddHorizontal(line);
        } else {
            line.Fixed = PageX(X);
            line.Start = PageY(fromY);
            line.End = PageY(Y);
            FLineBuffer->AddVertical(line);
        }
    } else {
        EmitMoveTo(fromX, fromY);
        EmitLineTo(X, Y);
    }
    EndOutput();
}

void TBaseReport::ClearLineBuffers() {
    FLineBuffer->Clear();
}

void TBaseReport::DrawBufferedLines() {
    if (FLineBuffer->Empty())
        return;
    if (!FDevice || !FPrinting || !OutputValid()) {
        FLineBuffer->Clear();
        return;
    }
    // Buffered lines hold page positions, so they are drawn without origin and scale.
    TFoPen &pen = Canvas().Pen();
    TFoPen saved;
    saved.Assign(pen);
    {
        // Puts the page model and the pen back however drawing ends; the buffer is spent either way.
        ScopeExit restore([this, &pen, &saved, noBuffer = FNoBufferLine, originX = FOriginX,
                           originY = FOriginY, scaleX = FScaleX, scaleY = FScaleY] {
            pen.Assign(saved);
            FNoBufferLine = noBuffer;
            FOriginX = originX;
            FOriginY = originY;
            FScaleX = scaleX;
            FScaleY = scaleY;
            FLineBuffer->Clear();
        });
        FNoBufferLine = true;
        FOriginX = FOriginY = 0.0;
        FScaleX = FScaleY = 100.0;
        const auto draw = [&](const TFoBufferedLine &line, bool horizontal) {
            pen.SetColor(line.Color);
            pen.SetMode(line.Mode);
            pen.SetStyle(line.Style);
            pen.SetWidth(line.Width);
            if (horizontal) {
                EmitMoveTo(line.Start, line.Fixed);
                EmitLineTo(line.End, line.Fixed);
            } else {
                EmitMoveTo(line.Fixed, line.Start);
                EmitLineTo(line.Fixed, line.End);
            }
        };
        for (const TFoBufferedLine &line : FLineBuffer->Vertical())
            draw(line, false);
        for (const TFoBufferedLine &line : FLineBuffer->Horizontal())
            draw(line, true);
    }
}

// ---- Shapes ---------------------------------------------------------------------------------

void TBaseReport::Arc(double X1, double Y1, double X2, double Y2, double X3, double Y3, double X4,
                      double Y4) {
    if (BeginOutput())
        EmitArc(XU2I(X1), YU2I(Y1), XU2I(X2), YU2I(Y2), XU2I(X3), YU2I(Y3), XU2I(X4), YU2I(Y4));
    EndOutput();
}

void TBaseReport::Chord(double X1, double Y1, double X2, double Y2, double X3, double Y3, double X4,
                        double Y4) {
    if (BeginOutput())
        EmitChord(XU2I(X1), YU2I(Y1), XU2I(X2), YU2I(Y2), XU2I(X3), YU2I(Y3), XU2I(X4), YU2I(Y4));
    EndOutput();
}

void TBaseReport::Pie(double X1, double Y1, double X2, double Y2, double X3, double Y3, double X4,
                      double Y4) {
    if (BeginOutput())
        EmitPie(XU2I(X1), YU2I(Y1), XU2I(X2), YU2I(Y2), XU2I(X3), YU2I(Y3), XU2I(X4), YU2I(Y4));
    EndOutput();
}

void TBaseReport::Ellipse(double X1, double Y1, double X2, double Y2) {
    if (BeginOutput())
        EmitEllipse(XU2I(X1), YU2I(Y1), XU2I(X2), YU2I(Y2));
    EndOutput();
}

void TBaseReport::Rectangle(double X1, double Y1, double X2, double Y2) {
    if (BeginOutput())
        EmitRectangle(XU2I(X1), YU2I(Y1), XU2I(X2), YU2I(Y2));
    EndOutput();
}

void TBaseReport::TabRectangle(double X1, double Y1, double X2, double Y2) {
    if (BeginOutput())
        EmitTabRectangle(XU2I(X1), YU2I(Y1), XU2I(X2), YU2I(Y2));
    EndOutput();
}

void TBaseReport::RoundRect(double X1, double Y1, double X2, double Y2, double X3, double Y3) {
    if (BeginOutput())
        EmitRoundRect(XU2I(X1), YU2I(Y1), XU2I(X2), YU2I(Y2), XU2I(X3), YU2I(Y3));
    EndOutput();
}

QRectF TBaseReport::DeviceRectToInches(const QRect &Rect) const {
    return QRectF(QPointF(XD2I(Rect.left()), YD2I(Rect.top())),
                  QPointF(XD2I(Rect.right()), YD2I(Rect.bottom())));
}

namespace {
std::vector<QPointF> ToInches(std::span<const QPoint> points, const TBaseReport &report,
                              double (TBaseReport::*toX)(int) const, double (TBaseReport::*toY)(int) const) {
    std::vector<QPointF> result;
    result.reserve(points.size());
    for (const QPoint &point : points)
        result.emplace_back((report.*toX)(point.x()), (report.*toY)(point.y()));
    return result;
}
} // namespace

void TBaseReport::Polygon(std::span<const QPoint> Points) {
    if (BeginOutput() && !Points.empty())
        EmitPolygon(ToInches(Points, *this, &TBaseReport::XD2I, &TBaseReport::YD2I));
    EndOutput();
}

void TBaseReport::Polyline(std::span<const QPoint> Points) {
    if (BeginOutput() && !Points.empty())
        EmitPolyline(ToInches(Points, *this, &TBaseReport::XD2I, &TBaseReport::YD2I));
    EndOutput();
}

void TBaseReport::FillRect(const QRect &Rect) {
    if (BeginOutput())
        EmitFillRect(DeviceRectToInches(Rect));
    EndOutput();
}

void TBaseReport::FrameRect(const QRect &Rect) {
    if (BeginOutput())
        EmitFrameRect(DeviceRectToInches(Rect));
    EndOutput();
}

void TBaseReport::DrawFocusRect(const QRect &Rect) {
    if (BeginOutput())
        EmitDrawFocusRect(DeviceRectToInches(Rect));
    EndOutput();
}

void TBaseReport::FloodFill(double X, double Y, TColor Color, TFillStyle FillStyle) {
    if (BeginOutput())
        EmitFloodFill(XU2I(X), YU2I(Y), Color, FillStyle);
    EndOutput();
}

void TBaseReport::BrushCopy(const QRect &Dest, const QImage &Bitmap, const QRect &Source, TColor Color) {
    if (BeginOutput())
        EmitBrushCopy(DeviceRectToInches(Dest), Bitmap, DeviceRectToInches(Source), Color);
    EndOutput();
}

void TBaseReport::CopyRect(const QRect &Dest, TFoCanvas &Canvas, const QRect &Source) {
    if (BeginOutput())
        EmitCopyRect(DeviceRectToInches(Dest), Canvas, DeviceRectToInches(Source));
    EndOutput();
}

// ---- Pictures and raw data ------------------------------------------------------------------

void TBaseReport::Draw(double X, double Y, const TFoGraphic &Graphic) {
    if (BeginOutput())
        EmitDraw(XU2I(X), YU2I(Y), Graphic);
    EndOutput();
}

void TBaseReport::StretchDraw(const QRect &Rect, const TFoGraphic &Graphic) {
    if (BeginOutput())
        EmitStretchDraw(DeviceRectToInches(Rect), Graphic);
    EndOutput();
}

void TBaseReport::PrintBitmap(double X, double Y, double ScaleX, double ScaleY, const QImage &Bitmap) {
    if (BeginOutput())
        EmitPrintBitmap(XU2I(X), YU2I(Y), ScaleX, ScaleY, Bitmap);
    EndOutput();
}

void TBaseReport::PrintBitmapRect(double X1, double Y1, double X2, double Y2, const QImage &Bitmap) {
    if (BeginOutput())
        EmitPrintBitmapRect(XU2I(X1), YU2I(Y1), XU2I(X2), YU2I(Y2), Bitmap);
    EndOutput();
}

void TBaseReport::PrintImageRect(double X1, double Y1, double X2, double Y2, QIODevice &ImageStream,
                                 const QString &ImageType) {
    if (BeginOutput())
        EmitPrintImageRect(XU2I(X1), YU2I(Y1), XU2I(X2), YU2I(Y2), ImageStream, ImageType);
    EndOutput();
}

void TBaseReport::TextRect(const QRect &Rect, double X, double Y, const QString &Text) {
    if (BeginOutput()) {
        SelectFont();
        EmitTextRect(DeviceRectToInches(Rect), XU2I(X), YU2I(Y), Text);
    }
    EndOutput();
}

void TBaseReport::PrintData(const QString &Value) {
    if (BeginOutput())
        EmitPrintData(Value);
    EndOutput();
}

void TBaseReport::PrintDataStream(QIODevice &Stream, qint64 BufSize) {
    if (BeginOutput())
        EmitPrintDataStream(Stream, BufSize > 0 ? BufSize : Stream.bytesAvailable());
    EndOutput();
}

void TBaseReport::RegisterGraphic(int) {}
void TBaseReport::ReuseGraphic(int) {}
void TBaseReport::UnregisterGraphic(int) {}

void TBaseReport::AllowPreviewOnly() {
    FValidDestination = (FValidDestination & ~1) | 2;
}
void TBaseReport::AllowPrinterOnly() {
    FValidDestination = (FValidDestination & ~2) | 1;
}
void TBaseReport::AllowAll() {
    FValidDestination = FValidDestination | 3;
}

QPoint TBaseReport::CreatePoint(double X, double Y) const {
    return QPoint(XU2D(X), YU2D(Y));
}

QRect TBaseReport::CreateRect(double X1, double Y1, double X2, double Y2) const {
    return QRect(QPoint(XU2D(X1), YU2D(Y1)), QPoint(XU2D(X2), YU2D(Y2)));
}

double TBaseReport::CalcGraphicWidth(double Height, const TFoGraphic &Graphic) {
    return Graphic.Height() > 0 ? Graphic.Width() * Height / Graphic.Height() : 0.0;
}

double TBaseReport::CalcGraphicHeight(double Width, const TFoGraphic &Graphic) {
    return Graphic.Width() > 0 ? Graphic.Height() * Width / Graphic.Width() : 0.0;
}

} // namespace fiscora
