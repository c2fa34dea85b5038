#include "report/playback/FoSnapshotConverter.h"

#include "report/playback/FoRender.h"
#include "report/snapshot/FoSnapshotCodes.h"

#include <QBuffer>

#include <algorithm>
#include <cmath>
#include <vector>

namespace fiscora {

// ---- Shapes ----------------------------------------------------------------------------------------

void TFoConverter::DoFourPoints(quint8 Code) {
    QPointF p[4];
    for (auto &point : p)
        point = ReadPoint();
    if (Skipped())
        return;
    const auto call = Code == scArc ? &TFoRender::Arc : Code == scChord ? &TFoRender::Chord : &TFoRender::Pie;
    (FRenderer.*call)(p[0].x(), p[0].y(), p[1].x(), p[1].y(), p[2].x(), p[2].y(), p[3].x(), p[3].y());
}

void TFoConverter::DoEllipse() {
    const QPointF a = ReadPoint();
    const QPointF b = ReadPoint();
    if (!Skipped())
        FRenderer.Ellipse(a.x(), a.y(), b.x(), b.y());
}

void TFoConverter::DoRectangle() {
    const QPointF a = ReadPoint();
    const QPointF b = ReadPoint();
    if (!Skipped())
        FRenderer.Rectangle(a.x(), a.y(), b.x(), b.y());
}

void TFoConverter::DoRoundRect() {
    const QPointF a = ReadPoint();
    const QPointF b = ReadPoint();
    const double cornerWidth = ReadCoord();
    const double cornerHeight = ReadCoord();
    if (!Skipped())
        FRenderer.RoundRect(a.x(), a.y(), b.x(), b.y(), cornerWidth, cornerHeight);
}

void TFoConverter::DoMoveTo() {
    const QPointF point = ReadPoint();
    FXPos = point.x();
    FYPos = point.y();
}

void TFoConverter::DoLineTo() {
    const QPointF point = ReadPoint();
    if (!Skipped()) {
        const TColor colour = Brush.Color();
        const TBrushStyle style = Brush.Style();
        Brush.SetStyle(TBrushStyle::bsClear);
        FRenderer.MoveTo(FXPos, FYPos);
        FRenderer.LineTo(point.x(), point.y());
        Brush.SetColor(colour);
        Brush.SetStyle(style);
    }
    FXPos = point.x();
    FYPos = point.y();
}

void TFoConverter::DoPolygon(bool Closed) {
    const int highIndex = FReader.ReadWord();
    FReader.Require((highIndex + 1) * 8);
    std::vector<QPointF> points(highIndex + 1);
    for (auto &point : points)
        point = ReadPoint();
    if (Skipped())
        return;
    FRenderer.MoveTo(points[0].x(), points[0].y());
    if (Closed)
        FRenderer.Polygon(points, highIndex);
    else
        FRenderer.Polyline(points, highIndex);
}

void TFoConverter::DoRectRecord(quint8 Code) {
    const QRect rect = ReadRect();
    if (Skipped())
        return;
    if (Code == scFillRect)
        FRenderer.FillRect(rect);
    else if (Code == scFrameRect)
        FRenderer.FrameRect(rect);
    else
        FRenderer.DrawFocusRect(rect);
}

void TFoConverter::DoFloodFill() {
    const QPointF point = ReadPoint();
    const auto colour = static_cast<TColor>(FReader.ReadInt());
    const auto style = FReader.ReadInt() == 0 ? TFillStyle::fsSurface : TFillStyle::fsBorder;
    if (!Skipped())
        FRenderer.FloodFill(point.x(), point.y(), colour, style);
}

void TFoConverter::DoCopyRect() {
    const QRect dest = ReadRect();
    const int canvas = FReader.ReadInt();
    const QRect source = ReadRect();
    if (!Skipped())
        FRenderer.CopyRect(dest, canvas, source);
}

// ---- Pictures --------------------------------------------------------------------------------------

void TFoConverter::DoBrushCopy() {
    const TGraphicBlock block = ReadGraphicBlock();
    const QRect dest = ReadRect();
    const QRect source = ReadRect();
    const auto colour = static_cast<TColor>(FReader.ReadInt());
    if (block.Kind != gkBitmap || Skipped())
        return;
    const QImage bitmap = DecodeGraphic(block, "BMP");
    if (!bitmap.isNull())
        FRenderer.BrushCopy(dest, bitmap, source, colour);
}

void TFoConverter::DoDraw() {
    const TGraphicBlock block = ReadGraphicBlock();
    const QPointF point = ReadPoint();
    if (Skipped())
        return;
    const QImage picture = DecodePicture(block);
    if (!picture.isNull())
        FRenderer.Draw(point.x(), point.y(), picture);
}

void TFoConverter::DoStretchDraw() {
    const TGraphicBlock block = ReadGraphicBlock();
    const QRect rect = ReadRect();
    if (Skipped())
        return;
    const QImage picture = DecodePicture(block);
    if (!picture.isNull())
        FRenderer.StretchDraw(rect, picture);
}

void TFoConverter::DoPrintBitmap() {
    const TGraphicBlock block = ReadGraphicBlock();
    const QPointF point = ReadPoint();
    const double scaleX = ReadCoord();
    const double scaleY = ReadCoord();
    if (block.Kind != gkBitmap || Skipped())
        return;
    const QImage bitmap = DecodeGraphic(block, "BMP");
    if (!bitmap.isNull())
        FRenderer.PrintBitmap(point.x(), point.y(), scaleX, scaleY, bitmap);
}

void TFoConverter::DoPrintBitmapRect() {
    const TGraphicBlock block = ReadGraphicBlock();
    const QPointF a = ReadPoint();
    const QPointF b = ReadPoint();
    if (block.Kind != gkBitmap || Skipped())
        return;
    const QImage bitmap = DecodeGraphic(block, "BMP");
    if (!bitmap.isNull())
        FRenderer.PrintBitmapRect(a.x(), a.y(), b.x(), b.y(), bitmap);
}

void TFoConverter::DoPrintImageRect() {
    QByteArray bytes = FReader.ReadBytes(FReader.ReadInt());
    const QString imageType = ReadText();
    const QPointF a = ReadPoint();
    const QPointF b = ReadPoint();
    if (Skipped())
        return;
    QBuffer image(&bytes);
    image.open(QIODevice::ReadOnly);
    FRenderer.PrintImageRect(a.x(), a.y(), b.x(), b.y(), image, imageType);
}

// ---- Brushes and pens -----------------------------------------------------------------------------

void TFoConverter::SetBrush() {
    const auto colour = static_cast<TColor>(FReader.ReadInt());
    const auto style = static_cast<TBrushStyle>(std::min<quint8>(FReader.ReadByte(), 7));
    const bool hasPattern = FReader.ReadByte() == 1;
    QImage pattern;
    if (hasPattern)
        pattern = DecodeGraphic(ReadGraphicBlock(), "BMP");
    FBrushNotified = false;
    Brush.SetColor(colour);
    Brush.SetStyle(style);
    if (hasPattern)
        Brush.SetBitmap(pattern);
    if (!FBrushNotified)
        FRenderer.BrushChanged(Brush);
}

void TFoConverter::SetBrushColor() {
    const auto colour = static_cast<TColor>(FReader.ReadInt());
    FBrushNotified = false;
    Brush.SetBitmap(QImage());
    Brush.SetColor(colour);
    if (!FBrushNotified)
        FRenderer.BrushChanged(Brush);
}

void TFoConverter::SetBrushStyle() {
    const auto style = static_cast<TBrushStyle>(std::min<quint8>(FReader.ReadByte(), 7));
    FBrushNotified = false;
    Brush.SetStyle(style);
    if (!FBrushNotified)
        FRenderer.BrushChanged(Brush);
}

void TFoConverter::SetBrushBitmap() {
    if (FReader.ReadByte() != 1)
        return; // the pattern stays until the next brush colour
    const QImage pattern = DecodeGraphic(ReadGraphicBlock(), "BMP");
    FBrushNotified = false;
    Brush.SetBitmap(pattern);
    if (!FBrushNotified)
        FRenderer.BrushChanged(Brush);
}

void TFoConverter::SetPen() {
    const auto colour = static_cast<TColor>(FReader.ReadInt());
    const auto mode = static_cast<TPenMode>(std::min<quint8>(FReader.ReadByte(), 15));
    const auto style = static_cast<TPenStyle>(std::min<quint8>(FReader.ReadByte(), 8));
    const double width = ReadClamped(1.0e8);
    TFoPen pen;
    pen.SetColor(colour);
    pen.SetMode(mode);
    pen.SetStyle(style);
    pen.SetWidth(static_cast<int>(std::lround(width / 10000.0)));
    FRenderer.PenChanged(pen);
}

void TFoConverter::SetPenColor() {
    const auto colour = static_cast<TColor>(FReader.ReadInt());
    FPenNotified = false;
    Pen.SetColor(colour);
    if (!FPenNotified)
        FRenderer.PenChanged(Pen);
}

void TFoConverter::SetPenMode() {
    const auto mode = static_cast<TPenMode>(std::min<quint8>(FReader.ReadByte(), 15));
    FPenNotified = false;
    Pen.SetMode(mode);
    if (!FPenNotified)
        FRenderer.PenChanged(Pen);
}

void TFoConverter::SetPenStyle() {
    const auto style = static_cast<TPenStyle>(std::min<quint8>(FReader.ReadByte(), 8));
    FPenNotified = false;
    Pen.SetStyle(style);
    if (!FPenNotified)
        FRenderer.PenChanged(Pen);
}

void TFoConverter::SetPenWidth() {
    FRenderer.snPenWidth = std::abs(ReadCoord());
    FRenderer.PenChanged(Pen);
}

} // namespace fiscora
