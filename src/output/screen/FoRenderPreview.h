#pragma once

#include "output/screen/FoRenderCanvas.h"
#include "report/system/FoSystemSettings.h"

#include <QImage>
#include <QLabel>
#include <QPointer>
#include <QScrollArea>

#include <functional>
#include <memory>

namespace fiscora {

// Renders one page of a snapshot at a time into a page bitmap shown in a scroll box: paper, shadow,
// rulers, grid and margin around the page, zoom, and paging with wrap-around. Sizes are in the
// screen's device-independent pixels; the bitmap holds as many physical pixels as the screen shows,
// so the page stays sharp on a high-density screen.
class TFoRenderPreview : public TFoRenderCanvas {
public:
    using TNotify = std::function<void(TFoRenderPreview &Sender)>;

    TFoRenderPreview();
    ~TFoRenderPreview() override;

    QScrollArea *ScrollBox() const { return FScrollBox; }
    void SetScrollBox(QScrollArea *value) { FScrollBox = value; }

    int ZoomInc = 10;
    TMarginMethod MarginMethod = TMarginMethod::mmFixed;
    double MarginPercent = 0;
    TRulerType RulerType = TRulerType::rtNone;
    double GridHoriz = 0;
    double GridVert = 0;
    int PageInc = 1;
    int PagesWide = 1;
    int PagesHigh = 1;
    TNotify OnPageChange;
    TNotify OnZoomChange;

    TFoPen &GridPen() { return FGridPen; }
    bool Monochrome() const { return FMonochrome; }
    // Monochrome pages have no shadow.
    void SetMonochrome(bool value);
    int ShadowDepth() const { return FShadowDepth; }
    // A shadow needs colour: a depth above 0 turns monochrome off.
    void SetShadowDepth(int value);

    static constexpr double kMinZoom = 10;
    static constexpr double kMaxZoom = 200;
    // Requests for the fit factors.
    static constexpr double kZoomToPageWidth = -2;
    static constexpr double kZoomToPage = -1;

    double ZoomFactor() const { return FZoom; }
    // -1.9 and below: page width; between: whole page; either way, and any other value, clamped to
    // 10..200.
    void SetZoomFactor(double value);
    // The zooms at which the page's width, or the whole page, fits the scroll box.
    double ZoomPageWidthFactor();
    double ZoomPageFactor();
    // Whether ZoomIn and ZoomOut would change the zoom.
    bool CanZoomIn() const { return FZoom < kMaxZoom; }
    bool CanZoomOut() const { return FZoom > ZoomInc && FZoom > kMinZoom; }

    QLabel *Image() const { return FImage; }
    const QImage &Bitmap() const { return FBitmap; }
    int CurrentPage() const { return FCurrentPage; }
    int Pages() const;
    int RulerWidth() const { return FRulerWidth; }
    int RulerHeight() const { return FRulerHeight; }

    void ZoomIn();
    void ZoomOut();
    // Removes the page image.
    void Clear();
    void RedrawPage();
    void PrevPage();
    void NextPage();
    void RenderPage(int PageNum) override;

    // The screen's resolution: pixels per inch at zoom 100.
    int XDPI() override { return FScreenDPI.width(); }
    int YDPI() override { return FScreenDPI.height(); }
    int XI2D(double Pos) override;
    int YI2D(double Pos) override;
    quint8 OutputKind() override { return okPreview; }
    double MeasureText(const QString &Text) override;
    double TextScale() override { return FZoom / 100.0; }
    TFoCanvas &Canvas() override { return *FCanvas; }

    void PageBegin() override;
    void PageEnd() override;
    void PrintBitmapRect(double X1, double Y1, double X2, double Y2, const QImage &Bitmap) override;

private:
    void DoPageChange();
    void DoZoomChange();
    void MeasureScrollBox();
    void EnsureImage();
    void PaintFrame(int width, int height);
    void PaintRulers(int width, int height);
    void PaintGrid(int width, int height);
    void PlacePage(int width, int height);

    QPointer<QScrollArea> FScrollBox;
    QPointer<QWidget> FPageHolder; // the scroll box's widget: page image plus margin
    QPointer<QLabel> FImage;
    QImage FBitmap;
    std::unique_ptr<TFoCanvas> FCanvas;
    TFoPen FGridPen;
    QSize FScreenDPI;
    double FZoom = 100;
    bool FMonochrome = false;
    int FShadowDepth = 0;
    int FCurrentPage = 0;
    int FPages = 0;
    int FRulerWidth = 0;
    int FRulerHeight = 0;
    int AddX = 0;
    int AddY = 0;
    int FSaveHorzPos = 0;
    int FSaveVertPos = 0;
    int FScrollBarWidth = 0;
    int FScrollBarHeight = 0;
    int FHorzAdj = 0;
    int FVertAdj = 0;
    bool FWaitCursor = false;
};

} // namespace fiscora
