#pragma once

#include "report/core/FoDraw.h"
#include "report/core/FoTypes.h"

#include <QIODevice>
#include <QImage>
#include <QPointF>
#include <QRect>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <span>
#include <vector>

namespace fiscora {

class TFoConverter;
class TFoPictureCache;
class TFoRender;

// Where a page of the snapshot begins. After each page it plays the converter notes the next one
// here, so that playing the following page later starts there instead of walking the page chain
// from the first page.
struct TFoPageMark {
    int PageNo = 0; // 0: none
    qint64 Position = 0;
};

using TRenderDecodeImageEvent =
    std::function<void(TFoRender &Sender, QIODevice &ImageStream, const QString &ImageType, QImage &Bitmap)>;

// The renderer interface snapshot playback drives. The converter calls one virtual operation per
// drawing record and per change of font, pen or brush; a renderer decides what it means for its medium.
// Coordinates are inches on the page; rectangles arrive converted with XI2D/YI2D as
// QRect(left, top, right - left, bottom - top).
// Every renderer registers itself in the process's renderer list while it exists.
class TFoRender {
public:
    TFoRender();
    virtual ~TFoRender();
    TFoRender(const TFoRender &) = delete;
    TFoRender &operator=(const TFoRender &) = delete;

    // ---- Operations the converter calls, in slot order ----------------------------------------
    virtual void BKColorChanged(TColor Colour);
    virtual void AllowPreviewOnly();
    virtual void AllowPrinterOnly();
    virtual void AllowAll();
    // 0 printer and file output, 1 preview.
    virtual quint8 OutputKind();
    virtual void SetHyperlink(const QString &Text);
    virtual void Arc(double X1, double Y1, double X2, double Y2, double X3, double Y3, double X4, double Y4);
    virtual void BrushChanged(TFoBrush &Brush);
    virtual void Chord(double X1, double Y1, double X2, double Y2, double X3, double Y3, double X4,
                       double Y4);
    virtual void CenterText(const QString &Text, double X, double Y);
    virtual void Ellipse(double X1, double Y1, double X2, double Y2);
    virtual void FontChanged(TFoFont &Font);
    virtual void LeftText(const QString &Text, double X, double Y);
    virtual void LineTo(double X, double Y);
    virtual void MoveTo(double X, double Y);
    virtual void Pie(double X1, double Y1, double X2, double Y2, double X3, double Y3, double X4, double Y4);
    virtual void Polyline(std::span<const QPointF> Points, int HighIndex);
    virtual void Polygon(std::span<const QPointF> Points, int HighIndex);
    virtual void RightText(const QString &Text, double X, double Y);
    virtual void PenChanged(TFoPen &Pen);
    virtual void PrintImageRect(double X1, double Y1, double X2, double Y2, QIODevice &ImageStream,
                                const QString &ImageType);
    virtual void PrintBitmapRect(double X1, double Y1, double X2, double Y2, const QImage &Bitmap);
    virtual void PrintBitmap(double X, double Y, double ScaleX, double ScaleY, const QImage &Bitmap);
    virtual void StretchDraw(const QRect &Rect, const QImage &Graphic);
    virtual void Draw(double X, double Y, const QImage &Graphic);
    virtual void PrintSpaces(const QString &Text, double X, double Y, double Width);
    virtual void Rectangle(double X1, double Y1, double X2, double Y2);
    virtual void FillRect(const QRect &Rect);
    virtual void TextRect(const QRect &Rect, double X, double Y, const QString &Text);
    virtual void RoundRect(double X1, double Y1, double X2, double Y2, double X3, double Y3);
    virtual int InnerSpaceCount(const QString &Text);
    virtual QString TakeWord(QString &Text);
    virtual QString TakeSpaces(QString &Text);
    virtual void AdvanceAlongBaseline(double &X, double &Y, double Width);
    virtual void PrintJustifiedWord(double &X, double &Y, const QString &Text, double Advance);
    virtual void SetBin(const QString &BinName);
    virtual void SetPaperBin(int Bin);
    virtual void PrintData(const QString &Text);
    virtual void PrintDataStream(QIODevice &Stream, qint64 Length);
    virtual void FrameRect(const QRect &Rect);
    virtual void FloodFill(double X, double Y, TColor Colour, TFillStyle FillStyle);
    virtual void BrushCopy(const QRect &DestRect, const QImage &Bitmap, const QRect &SourceRect,
                           TColor Colour);
    virtual void CopyRect(const QRect &DestRect, int Canvas, const QRect &SourceRect);
    virtual void DrawFocusRect(const QRect &Rect);
    virtual void DocBegin();
    virtual void DocEnd();
    virtual void PageBegin();
    virtual void PageEnd();

    virtual int XDPI();
    virtual int YDPI();
    virtual QString GetFileExtension();

    // ---- Playback -------------------------------------------------------------------------------
    // Plays the whole snapshot (the page range or selection). Ignored while already rendering.
    // Without a stream the renderer opens InputFileName itself and keeps it open until CloseSnapshot.
    void Render(QIODevice *ASnapshotStream);
    void Render(const QString &AInputFileName);
    // Plays one page (0 = every page in range); errors propagate after playback has been closed.
    virtual void RenderPage(int PageNum);
    virtual void PrintRender(QIODevice *ASnapshotStream, const QString &AOutputFileName);
    // Inches to the renderer's device units.
    virtual int XI2D(double Pos);
    virtual int YI2D(double Pos);

    // ---- Properties -----------------------------------------------------------------------------
    bool Active() const { return FActive; }
    void SetActive(bool value) { FActive = value; }
    const QString &DisplayName() const { return FDisplayName; }
    void SetDisplayName(const QString &value);
    const QString &FileExtension() const { return FFileExtension; }
    void SetFileExtension(const QString &value) { FFileExtension = value; }
    const QString &Selection() const { return FSelection; }
    void SetSelection(const QString &value) { FSelection = value; }
    int FirstPage() const { return FFirstPage; }
    void SetFirstPage(int value) { FFirstPage = value; }
    int LastPage() const { return FLastPage; }
    void SetLastPage(int value) { FLastPage = value; }
    TFrameMode FrameMode() const { return snFrameMode; }
    double PenWidth() const { return snPenWidth; }
    double PaperWidth() const { return snPaperWidth; }
    double PaperHeight() const { return snPaperHeight; }
    QStringList &MacroData() { return FMacroData; }
    const QString &InputFileName() const { return FInputFileName; }
    void SetInputFileName(const QString &value) { FInputFileName = value; }
    const QString &OutputFileName() const { return FOutputFileName; }
    void SetOutputFileName(const QString &value) { FOutputFileName = value; }
    bool Rendering() const { return FRendering; }
    QIODevice *SnapshotStream() const { return FSnapshotStream; }
    // A stream set here belongs to the caller; an internally opened one is closed first.
    void SetSnapshotStream(QIODevice *value);
    TRenderDecodeImageEvent OnDecodeImage;
    bool ForceAnsi() const { return FForceAnsi; }
    void SetForceAnsi(bool value) { FForceAnsi = value; }
    // Closes the snapshot the renderer opened from InputFileName, if any.
    void CloseSnapshot();

    // Playback state the converter keeps here (last values received).
    int ValidDestination = 31;
    double snPaperWidth = 0.0;
    double snPaperHeight = 0.0;
    double snPenWidth = 0.0;
    TFrameMode snFrameMode = TFrameMode::fmInside;
    TBKMode FTextBKMode = TBKMode::bkTransparent;
    TColor FBKColor = clWhite;
    bool FTransparentBitmaps = false;
    // The converter while rendering, else nullptr.
    TFoConverter *Converter = nullptr;
    // The page after the last one played from the snapshot stream; cleared with the stream.
    TFoPageMark NextPage;
    // Decoded pictures shared by the playbacks of one export of the snapshot stream (not owned);
    // without one, each playback decodes its own.
    TFoPictureCache *SharedPictures = nullptr;

protected:
    // A renderer's own PrintSpaces: Text justified over Width inches. The first word (with its
    // leading spaces) is written with LeftText, each further word with the spaces before it through
    // PrintJustifiedWord; spaces after the last word show nothing.
    void PrintJustifiedLine(const QString &Text, double X, double Y, double Width);
    // The width in inches of Text as the renderer writes it.
    virtual double JustifiedTextWidth(const QString &Text);
    // The gaps the extra width is shared by; none makes a single word spread letter by letter.
    virtual int JustifiedGapCount(const QString &Text);

    QString FDisplayName;
    QString FFileExtension;
    QStringList FMacroData;
    QString FOutputFileName;
    QString FInputFileName;
    QString FSelection;
    int FFirstPage = 0;
    int FLastPage = 0;
    bool FActive = true;
    bool FRendering = false;
    bool FForceAnsi = false;
    QIODevice *FSnapshotStream = nullptr;
    bool FIsInternalSnapshotStream = false;

private:
    std::unique_ptr<QIODevice> FOwnedSnapshotStream;
};

// Rounds to the nearest device unit, a half to the even neighbour; out-of-range values are clamped.
int RoundToDevice(double value);

// An entry of the renderer list: the display name and the renderer.
struct TFoRendererEntry {
    QString DisplayName;
    TFoRender *Renderer = nullptr;
};

// The active renderers with their display names, in registration order.
void ListRenderers(std::vector<TFoRendererEntry> &Strings);
// File-dialog filter: "name|extension" for every active renderer, joined with "|".
QString RendererFilter();

} // namespace fiscora
