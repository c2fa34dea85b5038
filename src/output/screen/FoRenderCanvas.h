#pragma once

#include "report/playback/FoRenderStream.h"

#include <optional>

namespace fiscora {

// Draws every operation of a played-back page onto a canvas in device units: the common part of the
// preview and printer renderers, so that screen and paper show the same page.
class TFoRenderCanvas : public TFoRenderStream {
public:
    TFoRenderCanvas();
    ~TFoRenderCanvas() override;

    // The drawing surface of the output (the preview's page bitmap or the printer's page).
    virtual TFoCanvas &Canvas() = 0;

    // Width of a text in inches drawn with the current font.
    virtual double MeasureText(const QString &Text);

    void BrushChanged(TFoBrush &Brush) override;
    void PenChanged(TFoPen &Pen) override;
    void FontChanged(TFoFont &Font) override;
    void BKColorChanged(TColor Colour) override;
    void LeftText(const QString &Text, double X, double Y) override;
    void CenterText(const QString &Text, double X, double Y) override;
    void RightText(const QString &Text, double X, double Y) override;
    void PrintSpaces(const QString &Text, double X, double Y, double Width) override;
    void PrintJustifiedWord(double &X, double &Y, const QString &Text, double Advance) override;
    double JustifiedTextWidth(const QString &Text) override;
    void TextRect(const QRect &Rect, double X, double Y, const QString &Text) override;
    void MoveTo(double X, double Y) override;
    void LineTo(double X, double Y) override;
    void Polyline(std::span<const QPointF> Points, int HighIndex) override;
    void Polygon(std::span<const QPointF> Points, int HighIndex) override;
    void Arc(double X1, double Y1, double X2, double Y2, double X3, double Y3, double X4, double Y4) override;
    void Chord(double X1, double Y1, double X2, double Y2, double X3, double Y3, double X4,
               double Y4) override;
    void Pie(double X1, double Y1, double X2, double Y2, double X3, double Y3, double X4, double Y4) override;
    void Rectangle(double X1, double Y1, double X2, double Y2) override;
    void Ellipse(double X1, double Y1, double X2, double Y2) override;
    void RoundRect(double X1, double Y1, double X2, double Y2, double X3, double Y3) override;
    void FloodFill(double X, double Y, TColor Colour, TFillStyle FillStyle) override;
    void FillRect(const QRect &Rect) override;
    void FrameRect(const QRect &Rect) override;
    void DrawFocusRect(const QRect &Rect) override;
    void StretchDraw(const QRect &Rect, const QImage &Graphic) override;
    void BrushCopy(const QRect &DestRect, const QImage &Bitmap, const QRect &SourceRect,
                   TColor Colour) override;
    void Draw(double X, double Y, const QImage &Graphic) override;
    void PrintBitmap(double X, double Y, double ScaleX, double ScaleY, const QImage &Bitmap) override;
    void PrintBitmapRect(double X1, double Y1, double X2, double Y2, const QImage &Bitmap) override;
    void DocEnd() override;

protected:
    enum class TTextAlignment { Left, Center, Right };
    void OutputText(const QString &Text, double X, double Y, TTextAlignment Alignment);
    // The platform font of the current font description, at the device's resolution and zoom.
    TFoFont CreateCurrentFont();
    // The device rectangle through the two converted corners, smaller coordinates first.
    QRect DeviceRect(double X1, double Y1, double X2, double Y2);
    // A bitmap copied to a device rectangle; white leaves the page as it is with transparent bitmaps.
    void CopyBitmap(const QRect &Target, const QImage &Bitmap);

    std::optional<TFoFont> CurrFont;
    // Text drawn at its exact fractional size instead of whole pixels: where pixels are few (a
    // zoomed-out preview) rounding would make words narrower than the line they are spread over.
    bool ExactTextSizes = false;
    // Device pixels per pixel of the resolution (the preview's zoom).
    virtual double TextScale() { return 1.0; }

private:
    // The rectangle a frame-mode adjusted shape is drawn through.
    QRect FramedRect(double X1, double Y1, double X2, double Y2);
};

} // namespace fiscora
