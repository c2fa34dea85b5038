#pragma once

#include "report/core/FoTypes.h"

#include <QFont>
#include <QImage>
#include <QPainter>
#include <QPoint>
#include <QRect>
#include <QString>

#include <functional>
#include <memory>
#include <span>

namespace fiscora {

// Drawing objects with change notification. Every setter that changes a value raises OnChange once;
// Assign and BeginUpdate/EndUpdate batch several changes into one notification. A listener that
// replaces OnChange keeps the previous handler and calls it first, so several observers can chain.

class TFoFont {
public:
    std::function<void(TFoFont &)> OnChange;

    const QString &Name() const { return FName; }
    void SetName(const QString &value);
    TColor Color() const { return FColor; }
    void SetColor(TColor value);
    std::uint8_t CharSet() const { return FCharSet; }
    void SetCharSet(std::uint8_t value);
    TFontPitch Pitch() const { return FPitch; }
    void SetPitch(TFontPitch value);
    // Height in pixels at PixelsPerInch: negative = character height (em), positive = cell height.
    int Height() const { return FHeight; }
    void SetHeight(int value);
    // A fractional character height in pixels: Height becomes its rounded value, while the canvas
    // draws and measures at the exact size (a zoomed page keeps its text widths). Any other change of
    // the height drops it.
    void SetExactHeight(double pixels);
    // The Qt font of an exact height is this many times larger; the canvas scales it back.
    double QtFontScale() const { return FExactPixels > 0 ? kExactTextScale : 1.0; }
    // Size in points, derived from Height and PixelsPerInch.
    int Size() const;
    void SetSize(int points);
    // Average character width in pixels, 0 = natural.
    int Width() const { return FWidth; }
    void SetWidth(int value);
    // Text direction in tenths of a degree, counter-clockwise.
    int Orientation() const { return FOrientation; }
    void SetOrientation(int tenthsOfDegree);
    bool Bold() const { return FBold; }
    void SetBold(bool value);
    bool Italic() const { return FItalic; }
    void SetItalic(bool value);
    bool Underline() const { return FUnderline; }
    void SetUnderline(bool value);
    bool Strikeout() const { return FStrikeout; }
    void SetStrikeout(bool value);
    // Resolution that relates Size to Height; changing it keeps Height and raises no notification.
    int PixelsPerInch() const { return FPixelsPerInch; }
    void SetPixelsPerInch(int value);

    // Raised by one on every change; lets measuring caches notice a new font without a hook.
    std::uint64_t Revision() const { return FRevision; }

    void Assign(const TFoFont &source);
    void BeginUpdate() { ++FUpdateDepth; }
    void EndUpdate();

    // The Qt font for this description, sized in pixels (|Height|); rebuilt only after a change.
    const QFont &QtFont() const;

private:
    void Changed();

    QString FName = QStringLiteral("Arial");
    TColor FColor = clBlack;
    std::uint8_t FCharSet = DEFAULT_CHARSET;
    TFontPitch FPitch = TFontPitch::fpDefault;
    int FHeight = -13;
    double FExactPixels = 0; // 0: the size follows FHeight
    static constexpr double kExactTextScale = 16.0;
    int FWidth = 0;
    int FOrientation = 0;
    bool FBold = false;
    bool FItalic = false;
    bool FUnderline = false;
    bool FStrikeout = false;
    int FPixelsPerInch = 96;
    int FUpdateDepth = 0;
    std::uint64_t FRevision = 1;
    bool FPendingChange = false;
    mutable bool FQtFontValid = false;
    mutable QFont FQtFont;
};

class TFoPen {
public:
    std::function<void(TFoPen &)> OnChange;

    TColor Color() const { return FColor; }
    void SetColor(TColor value);
    TPenStyle Style() const { return FStyle; }
    void SetStyle(TPenStyle value);
    int Width() const { return FWidth; } // device pixels
    void SetWidth(int value);
    TPenMode Mode() const { return FMode; }
    void SetMode(TPenMode value);

    void Assign(const TFoPen &source);
    bool SameAs(const TFoPen &other) const;
    QPen QtPen() const;

private:
    void Changed();

    TColor FColor = clBlack;
    TPenStyle FStyle = TPenStyle::psSolid;
    int FWidth = 1;
    TPenMode FMode = TPenMode::pmCopy;
};

class TFoBrush {
public:
    std::function<void(TFoBrush &)> OnChange;

    TColor Color() const { return FColor; }
    void SetColor(TColor value);
    TBrushStyle Style() const { return FStyle; }
    void SetStyle(TBrushStyle value);
    // Pattern bitmap; a null image means no pattern.
    const QImage &Bitmap() const { return FBitmap; }
    void SetBitmap(const QImage &value);

    void Assign(const TFoBrush &source);
    QBrush QtBrush() const;

private:
    void Changed();

    TColor FColor = clWhite;
    TBrushStyle FStyle = TBrushStyle::bsSolid;
    QImage FBitmap;
};

// Text metrics of a font in device pixels.
struct TFoTextMetrics {
    double Ascent = 0;
    double Descent = 0;
    double InternalLeading = 0;
    bool VariablePitch = true;
};

// Maps a drawing-mode pen onto the painter's composition; a few raster modes only work on images.
QPainter::CompositionMode CompositionModeFor(TPenMode mode);

// A drawing surface in device pixels with its own font, pen and brush, drawing through a QPainter.
// The surface is either a paint device (not owned; a painter is opened on it when first needed and
// closed by EndPaint) or a painter handed in by the caller (not owned, never ended here).
class TFoCanvas {
public:
    TFoCanvas();
    explicit TFoCanvas(QPaintDevice *device);
    ~TFoCanvas();
    TFoCanvas(const TFoCanvas &) = delete;
    TFoCanvas &operator=(const TFoCanvas &) = delete;

    TFoFont &Font() { return FFont; }
    TFoPen &Pen() { return FPen; }
    TFoBrush &Brush() { return FBrush; }

    // Resolution the canvas measures and draws at; also the font's PixelsPerInch.
    int DPI() const { return FDPI; }
    void SetDPI(int value);

    void SetDevice(QPaintDevice *device);
    void SetPainter(QPainter *painter);
    QPaintDevice *Device() const { return FDevice; }
    // The painter in use, opened on the device on first use; nullptr without any surface.
    QPainter *Painter();
    void EndPaint();

    TBKMode BkMode() const { return FBkMode; }
    void SetBkMode(TBKMode value) { FBkMode = value; }
    TColor BkColor() const { return FBkColor; }
    void SetBkColor(TColor value) { FBkColor = value; }
    // Which point of the text TextOut's Y names.
    TFontAlign TextAlign() const { return FTextAlign; }
    void SetTextAlign(TFontAlign value) { FTextAlign = value; }

    // Measurement, in pixels at DPI.
    int TextWidth(const QString &text) const;
    double TextWidthF(const QString &text) const;
    QSize TextExtent(const QString &text) const;
    TFoTextMetrics TextMetrics() const;

    // Drawing, in device pixels.
    QPoint PenPos() const { return FPenPos; }
    void MoveTo(int x, int y) { FPenPos = QPoint(x, y); }
    void LineTo(int x, int y);
    void Rectangle(const QRect &rect);
    void RoundRect(const QRect &rect, int cornerWidth, int cornerHeight);
    void Ellipse(const QRect &rect);
    // Arc, chord and pie run counter-clockwise from the start point's angle to the end point's.
    void Arc(const QRect &rect, QPoint start, QPoint end);
    void Chord(const QRect &rect, QPoint start, QPoint end);
    void Pie(const QRect &rect, QPoint start, QPoint end);
    void Polygon(std::span<const QPoint> points);
    void Polyline(std::span<const QPoint> points);
    void FillRect(const QRect &rect);
    void FrameRect(const QRect &rect);
    void DrawFocusRect(const QRect &rect);
    void TextOut(int x, int y, const QString &text);
    void TextRect(const QRect &clip, int x, int y, const QString &text);
    void Draw(int x, int y, const QImage &image);
    void StretchDraw(const QRect &rect, const QImage &image);

private:
    void ApplyPen(QPainter &painter) const;
    void ApplyOutline(QPainter &painter) const;
    int ArcAngle(const QRect &rect, QPoint point) const;

    TFoFont FFont;
    TFoPen FPen;
    TFoBrush FBrush;
    int FDPI = 96;
    QPaintDevice *FDevice = nullptr;
    QPainter *FExternalPainter = nullptr;
    std::unique_ptr<QPainter> FOwnedPainter;
    QPoint FPenPos;
    TBKMode FBkMode = TBKMode::bkOpaque;
    TColor FBkColor = clWhite;
    TFontAlign FTextAlign = TFontAlign::faTop;
};

QColor ToQColor(TColor color);

// Gives a platform font the name, colour, pitch, character set and styles of a font description;
// size, width and rotation are the caller's, in its own units.
void AssignFontAttributes(TFoFont &font, const TSaveFont &description);

} // namespace fiscora
