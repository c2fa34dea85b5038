// Snapshot writer: the records of the drawing primitives: shapes, lines, pictures and raw data.
#include "report/snapshot/FoFiler.h"

#include "report/core/FoErrors.h"
#include "report/snapshot/FoSnapshotCodes.h"

#include <algorithm>

namespace fiscora {

void TFoSnapshotWriter::WritePoint(double X, double Y) {
    FOutput->WriteFloat(PageX(X));
    FOutput->WriteFloat(PageY(Y));
}

void TFoSnapshotWriter::WriteRect(const QRectF &Rect) {
    WritePoint(Rect.left(), Rect.top());
    WritePoint(Rect.right(), Rect.bottom());
}

void TFoSnapshotWriter::EmitArc(double X1, double Y1, double X2, double Y2, double X3, double Y3, double X4,
                                double Y4) {
    WriteCode(scArc);
    WritePoint(X1, Y1);
    WritePoint(X2, Y2);
    WritePoint(X3, Y3);
    WritePoint(X4, Y4);
}

void TFoSnapshotWriter::EmitChord(double X1, double Y1, double X2, double Y2, double X3, double Y3, double X4,
                                  double Y4) {
    WriteCode(scChord);
    WritePoint(X1, Y1);
    WritePoint(X2, Y2);
    WritePoint(X3, Y3);
    WritePoint(X4, Y4);
}

void TFoSnapshotWriter::EmitPie(double X1, double Y1, double X2, double Y2, double X3, double Y3, double X4,
                                double Y4) {
    WriteCode(scPie);
    WritePoint(X1, Y1);
    WritePoint(X2, Y2);
    WritePoint(X3, Y3);
    WritePoint(X4, Y4);
}

void TFoSnapshotWriter::EmitEllipse(double X1, double Y1, double X2, double Y2) {
    WriteCode(scEllipse);
    WritePoint(X1, Y1);
    WritePoint(X2, Y2);
}

void TFoSnapshotWriter::EmitRectangle(double X1, double Y1, double X2, double Y2) {
    WriteCode(scRectangle);
    WritePoint(X1, Y1);
    WritePoint(X2, Y2);
}

void TFoSnapshotWriter::EmitTabRectangle(double X1, double Y1, double X2, double Y2) {
    WriteCode(scTabRectangle);
    WritePoint(X1, Y1);
    WritePoint(X2, Y2);
}

void TFoSnapshotWriter::EmitRoundRect(double X1, double Y1, double X2, double Y2, double X3, double Y3) {
    WriteCode(scRoundRect);
    WritePoint(X1, Y1);
    WritePoint(X2, Y2);
    FOutput->WriteFloat(X3);
    FOutput->WriteFloat(Y3);
}

void TFoSnapshotWriter::EmitMoveTo(double X, double Y) {
    WriteCode(scMoveTo);
    WritePoint(X, Y);
}

void TFoSnapshotWriter::EmitLineTo(double X, double Y) {
    WriteCode(scLineTo);
    WritePoint(X, Y);
}

void TFoSnapshotWriter::EmitPolygon(std::span<const QPointF> Points) {
    if (Points.empty())
        return;
    // The highest index is a Word: a longer outline keeps its first 65536 points.
    const size_t count = std::min<size_t>(Points.size(), 65536);
    WriteCode(scPolygon);
    FOutput->WriteWord(static_cast<quint16>(count - 1));
    for (size_t i = 0; i < count; ++i)
        WritePoint(Points[i].x(), Points[i].y());
}

void TFoSnapshotWriter::EmitPolyline(std::span<const QPointF> Points) {
    if (Points.empty())
        return;
    const size_t count = std::min<size_t>(Points.size(), 65536);
    WriteCode(scPolyline);
    FOutput->WriteWord(static_cast<quint16>(count - 1));
    for (size_t i = 0; i < count; ++i)
        WritePoint(Points[i].x(), Points[i].y());
}

void TFoSnapshotWriter::EmitFillRect(const QRectF &Rect) {
    WriteCode(scFillRect);
    WriteRect(Rect);
}

void TFoSnapshotWriter::EmitFrameRect(const QRectF &Rect) {
    WriteCode(scFrameRect);
    WriteRect(Rect);
}

void TFoSnapshotWriter::EmitDrawFocusRect(const QRectF &Rect) {
    WriteCode(scDrawFocusRect);
    WriteRect(Rect);
}

void TFoSnapshotWriter::EmitFloodFill(double X, double Y, TColor Color, TFillStyle FillStyle) {
    WriteCode(scFloodFill);
    WritePoint(X, Y);
    FOutput->WriteInt(static_cast<qint32>(Color));
    FOutput->WriteInt(static_cast<qint32>(FillStyle));
}

void TFoSnapshotWriter::EmitBrushCopy(const QRectF &Dest, const QImage &Bitmap, const QRectF &Source,
                                      TColor Color) {
    WriteCode(scBrushCopy);
    WriteBitmap(Bitmap);
    WriteRect(Dest);
    WriteRect(Source);
    FOutput->WriteInt(static_cast<qint32>(Color));
}

void TFoSnapshotWriter::EmitCopyRect(const QRectF &, TFoCanvas &, const QRectF &) {
    throw EFolioReport(QStringLiteral("CopyRect() not supported in file mode."));
}

void TFoSnapshotWriter::EmitDraw(double X, double Y, const TFoGraphic &Graphic) {
    WriteCode(scDraw);
    WriteGraphic(Graphic);
    WritePoint(X, Y);
}

void TFoSnapshotWriter::EmitStretchDraw(const QRectF &Rect, const TFoGraphic &Graphic) {
    WriteCode(scStretchDraw);
    WriteGraphic(Graphic);
    WriteRect(Rect);
}

void TFoSnapshotWriter::EmitPrintBitmap(double X, double Y, double ScaleX, double ScaleY,
                                        const QImage &Bitmap) {
    WriteCode(scTransparentBitmaps);
    FOutput->WriteBool(TransparentBitmaps());
    WriteCode(scPrintBitmap);
    WriteBitmap(Bitmap);
    WritePoint(X, Y);
    FOutput->WriteFloat(ScaleX);
    FOutput->WriteFloat(ScaleY);
}

void TFoSnapshotWriter::EmitPrintBitmapRect(double X1, double Y1, double X2, double Y2,
                                            const QImage &Bitmap) {
    WriteCode(scTransparentBitmaps);
    FOutput->WriteBool(TransparentBitmaps());
    WriteCode(scPrintBitmapRect);
    WriteBitmap(Bitmap);
    WritePoint(X1, Y1);
    WritePoint(X2, Y2);
}

void TFoSnapshotWriter::EmitPrintImageRect(double X1, double Y1, double X2, double Y2, QIODevice &ImageStream,
                                           const QString &ImageType) {
    // Read first, so the count written is the count of bytes that follow it.
    const QByteArray bytes = ImageStream.readAll();
    WriteCode(scTransparentBitmaps);
    FOutput->WriteBool(TransparentBitmaps());
    WriteCode(scPrintImageRect);
    FOutput->WriteInt(static_cast<qint32>(bytes.size()));
    FOutput->Write(bytes.constData(), bytes.size());
    FOutput->WriteString(ImageType);
    WritePoint(X1, Y1);
    WritePoint(X2, Y2);
}

void TFoSnapshotWriter::EmitTextRect(const QRectF &Rect, double X, double Y, const QString &Text) {
    WriteCode(scTextRect);
    WriteRect(Rect);
    WritePoint(X, Y);
    FOutput->WriteString(Text);
}

void TFoSnapshotWriter::EmitPrintData(const QString &Value) {
    WriteCode(scPrintData);
    FOutput->WriteString(Value);
}

void TFoSnapshotWriter::EmitPrintDataStream(QIODevice &Stream, qint64 BufSize) {
    const QByteArray bytes = BufSize > 0 ? Stream.read(BufSize) : Stream.readAll();
    WriteCode(scPrintDataStream);
    FOutput->WriteInt(static_cast<qint32>(bytes.size()));
    FOutput->Write(bytes.constData(), bytes.size());
}

} // namespace fiscora
