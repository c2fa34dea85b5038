#pragma once

#include "report/playback/FoRender.h"

#include <QString>

#include <variant>
#include <vector>

namespace fiscora {

// One argument of a recorded call: a number or a text, named for the attributes of fonts, pens and brushes.
struct TFoRecordedArg {
    QString Name;
    std::variant<double, QString> Value;
};

struct TFoRecordedCall {
    QString Name;
    std::vector<TFoRecordedArg> Args;
};

// A renderer that remembers every operation playback calls, with its arguments, in order.
// Rectangles are recorded as left, top, right, bottom; pictures as width and height; streams as their length.
class TFoSnapshotRecorder : public TFoRender {
public:
    std::vector<TFoRecordedCall> Calls;
    // The output kind the recorder answers (0 printer, 1 preview).
    quint8 Kind = okPrinter;

    quint8 OutputKind() override { return Kind; }
    void BKColorChanged(TColor Colour) override;
    void AllowPreviewOnly() override;
    void AllowPrinterOnly() override;
    void AllowAll() override;
    void SetHyperlink(const QString &Text) override;
    void Arc(double X1, double Y1, double X2, double Y2, double X3, double Y3, double X4, double Y4) override;
    void BrushChanged(TFoBrush &Brush) override;
    void Chord(double X1, double Y1, double X2, double Y2, double X3, double Y3, double X4,
               double Y4) override;
    void CenterText(const QString &Text, double X, double Y) override;
    void Ellipse(double X1, double Y1, double X2, double Y2) override;
    void FontChanged(TFoFont &Font) override;
    void LeftText(const QString &Text, double X, double Y) override;
    void LineTo(double X, double Y) override;
    void MoveTo(double X, double Y) override;
    void Pie(double X1, double Y1, double X2, double Y2, double X3, double Y3, double X4, double Y4) override;
    void Polyline(std::span<const QPointF> Points, int HighIndex) override;
    void Polygon(std::span<const QPointF> Points, int HighIndex) override;
    void RightText(const QString &Text, double X, double Y) override;
    void PenChanged(TFoPen &Pen) override;
    void PrintImageRect(double X1, double Y1, double X2, double Y2, QIODevice &ImageStream,
                        const QString &ImageType) override;
    void PrintBitmapRect(double X1, double Y1, double X2, double Y2, const QImage &Bitmap) override;
    void PrintBitmap(double X, double Y, double ScaleX, double ScaleY, const QImage &Bitmap) override;
    void StretchDraw(const QRect &Rect, const QImage &Graphic) override;
    void Draw(double X, double Y, const QImage &Graphic) override;
    void PrintSpaces(const QString &Text, double X, double Y, double Width) override;
    void Rectangle(double X1, double Y1, double X2, double Y2) override;
    void FillRect(const QRect &Rect) override;
    void TextRect(const QRect &Rect, double X, double Y, const QString &Text) override;
    void RoundRect(double X1, double Y1, double X2, double Y2, double X3, double Y3) override;
    void SetBin(const QString &BinName) override;
    void SetPaperBin(int Bin) override;
    void PrintData(const QString &Text) override;
    void PrintDataStream(QIODevice &Stream, qint64 Length) override;
    void FrameRect(const QRect &Rect) override;
    void FloodFill(double X, double Y, TColor Colour, TFillStyle FillStyle) override;
    void BrushCopy(const QRect &DestRect, const QImage &Bitmap, const QRect &SourceRect,
                   TColor Colour) override;
    void CopyRect(const QRect &DestRect, int Canvas, const QRect &SourceRect) override;
    void DrawFocusRect(const QRect &Rect) override;
    void DocBegin() override;
    void DocEnd() override;
    void PageBegin() override;
    void PageEnd() override;

    // The recorded calls whose name is Name.
    std::vector<TFoRecordedCall> CallsNamed(const QString &Name) const;
    // The names of all calls in order, joined by spaces (handy in assertions).
    QString CallNames() const;

private:
    TFoRecordedCall &Add(const char *Name);
};

} // namespace fiscora
