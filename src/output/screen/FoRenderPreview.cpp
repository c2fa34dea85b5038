#include "output/screen/FoRenderPreview.h"

#include "ScopeExit.h"
#include "output/files/FoPictureRaster.h"
#include "report/core/FoErrors.h"
#include "report/playback/FoSnapshotConverter.h"

#include <QGuiApplication>
#include <QLabel>
#include <QPainter>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QStyle>

#include <algorithm>
#include <cmath>

namespace fiscora {

namespace {

constexpr int kRulerBand = 20;
// The most pixels a page bitmap holds (128 MB at 32 bits a pixel): a huge page is shown at a lower zoom.
constexpr double MaxPagePixels = 32.0 * 1024 * 1024;
constexpr TColor kRulerColour = 0x80FFFF; // light yellow
constexpr TColor kRulerCorner = 0xC0C0C0; // silver

QSize ScreenDPI() {
    const QScreen *screen = QGuiApplication::primaryScreen();
    if (!screen)
        return QSize(96, 96);
    return QSize(std::max(1, int(std::lround(screen->logicalDotsPerInchX()))),
                 std::max(1, int(std::lround(screen->logicalDotsPerInchY()))));
}

bool HasVerticalRuler(TRulerType type) {
    return type == TRulerType::rtVertCm || type == TRulerType::rtBothCm || type == TRulerType::rtVertIn ||
           type == TRulerType::rtBothIn;
}

bool HasHorizontalRuler(TRulerType type) {
    return type == TRulerType::rtHorizCm || type == TRulerType::rtBothCm || type == TRulerType::rtHorizIn ||
           type == TRulerType::rtBothIn;
}

// Fills left, top, right, bottom (right and bottom exclusive) with a one-pixel pen and a brush.
void Box(QPainter &painter, TColor pen, TColor brush, int left, int top, int right, int bottom) {
    if (right <= left || bottom <= top)
        return;
    painter.setPen(QPen(ToQColor(pen), 1));
    painter.setBrush(ToQColor(brush));
    painter.drawRect(QRect(left, top, right - left - 1, bottom - top - 1));
}

} // namespace

TFoRenderPreview::TFoRenderPreview() : FCanvas(std::make_unique<TFoCanvas>()), FScreenDPI(ScreenDPI()) {
    SetActive(false); // never offered as a save format
    ExactTextSizes = true;
}

TFoRenderPreview::~TFoRenderPreview() {
    Clear();
}

// ---- Properties -------------------------------------------------------------------------------------

void TFoRenderPreview::SetMonochrome(bool value) {
    FMonochrome = value;
    if (value)
        FShadowDepth = 0;
}

void TFoRenderPreview::SetShadowDepth(int value) {
    FShadowDepth = std::max(0, value);
    if (FShadowDepth > 0)
        FMonochrome = false;
}

int TFoRenderPreview::Pages() const {
    if (Converter && Converter->PageCount() > 0)
        return Converter->PageCount();
    return FPages;
}

int TFoRenderPreview::XI2D(double Pos) {
    return RoundToDevice(Pos * XDPI() * FZoom / 100.0) + AddX;
}

int TFoRenderPreview::YI2D(double Pos) {
    return RoundToDevice(Pos * YDPI() * FZoom / 100.0) + AddY;
}

double TFoRenderPreview::MeasureText(const QString &Text) {
    return TFoRenderCanvas::MeasureText(Text) * 100.0 / FZoom;
}

// ---- Zoom -------------------------------------------------------------------------------------------

void TFoRenderPreview::SetZoomFactor(double value) {
    if (value <= -1.9)
        value = ZoomPageWidthFactor();
    else if (value < 0)
        value = ZoomPageFactor();
    FZoom = std::clamp(value, kMinZoom, kMaxZoom);
    DoZoomChange();
    if (!OnZoomChange)
        RedrawPage();
}

void TFoRenderPreview::ZoomIn() {
    SetZoomFactor(FZoom + ZoomInc);
}

void TFoRenderPreview::ZoomOut() {
    if (FZoom > ZoomInc)
        SetZoomFactor(FZoom - ZoomInc);
}

double TFoRenderPreview::ZoomPageFactor() {
    if (!FScrollBox || snPaperWidth <= 0 || snPaperHeight <= 0)
        return FZoom;
    const double w = FScrollBox->width() - FShadowDepth - FRulerWidth;
    const double h = FScrollBox->height() - FShadowDepth - FRulerHeight;
    const double pw = snPaperWidth * XDPI();
    const double ph = snPaperHeight * YDPI();
    double fx = 0, fy = 0;
    if (MarginMethod == TMarginMethod::mmFixed) {
        const double m = RoundToDevice(pw * MarginPercent / 100.0);
        fx = (w - 4 - 2 * m) / pw;
        fy = (h - 4 - 2 * m) / ph;
    } else {
        fx = (w - 4) / (pw * (MarginPercent / 50.0 + 1));
        fy = (h - 4) / (ph + pw * MarginPercent / 50.0);
    }
    return 100.0 * std::min(fx, fy);
}

double TFoRenderPreview::ZoomPageWidthFactor() {
    if (!FScrollBox || snPaperWidth <= 0 || snPaperHeight <= 0)
        return FZoom;
    MeasureScrollBox();
    const double w = FScrollBox->width() - FShadowDepth - FRulerWidth;
    const double pw = snPaperWidth * XDPI();
    const double ph = snPaperHeight * YDPI();
    const bool fixed = MarginMethod == TMarginMethod::mmFixed;
    double m = RoundToDevice(pw * MarginPercent / 100.0);
    double f = fixed ? (w - (FHorzAdj + 2 * m)) / pw : (w - FHorzAdj) / (pw * (MarginPercent / 50.0 + 1));
    if (!fixed)
        m = RoundToDevice(pw * MarginPercent / 100.0 * f);
    if (ph * f + 2 * m > FScrollBox->height() - FShadowDepth - FRulerHeight - FVertAdj)
        f = fixed ? (w - (FHorzAdj + 2 * m + FScrollBarWidth)) / pw
                  : (w - FHorzAdj - FScrollBarWidth) / (pw * (MarginPercent / 50.0 + 1));
    return 100.0 * f;
}

// ---- Paging -----------------------------------------------------------------------------------------

void TFoRenderPreview::RenderPage(int PageNum) {
    FCurrentPage = std::max(1, PageNum);
    if (Pages() > 0)
        FCurrentPage = std::min(FCurrentPage, Pages());
    ScopeExit cursor([this] {
        if (FWaitCursor) {
            QGuiApplication::restoreOverrideCursor();
            FWaitCursor = false;
        }
    });
    TFoRenderCanvas::RenderPage(FCurrentPage);
}

void TFoRenderPreview::RedrawPage() {
    RenderPage(FCurrentPage);
}

void TFoRenderPreview::NextPage() {
    if (FCurrentPage + PageInc <= Pages())
        RenderPage(FCurrentPage + PageInc);
    else if (FCurrentPage > 1)
        RenderPage(1);
}

void TFoRenderPreview::PrevPage() {
    if (FCurrentPage - PageInc > 0)
        RenderPage(FCurrentPage - PageInc);
    else if (FCurrentPage != Pages())
        RenderPage(Pages());
}

void TFoRenderPreview::DoPageChange() {
    if (OnPageChange)
        OnPageChange(*this);
}

void TFoRenderPreview::DoZoomChange() {
    if (OnZoomChange)
        OnZoomChange(*this);
}

void TFoRenderPreview::Clear() {
    FCanvas->EndPaint();
    FCanvas->SetDevice(nullptr);
    if (FPageHolder && FScrollBox && FScrollBox->widget() == FPageHolder)
        std::unique_ptr<QWidget>(FScrollBox->takeWidget()).reset();
    FPageHolder.clear();
    FImage.clear();
    FBitmap = QImage();
}

// ---- One page ---------------------------------------------------------------------------------------

void TFoRenderPreview::MeasureScrollBox() {
    if (!FScrollBox)
        return;
    const int extent = FScrollBox->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, FScrollBox);
    FScrollBarWidth = extent;
    FScrollBarHeight = extent;
    // The frame alone: the fit factors add a scroll bar themselves where one will show, whether or
    // not one shows now.
    FHorzAdj = 2 * FScrollBox->frameWidth();
    FVertAdj = 2 * FScrollBox->frameWidth();
}

void TFoRenderPreview::EnsureImage() {
    if (FImage && FPageHolder && FScrollBox->widget() == FPageHolder)
        return;
    auto holder = std::make_unique<QWidget>();
    holder->setObjectName(QStringLiteral("PreviewPage"));
    FImage = new QLabel(holder.get()); // owned by the holder
    FImage->setObjectName(QStringLiteral("PreviewImage"));
    FPageHolder = holder.get();
    FScrollBox->setWidget(holder.release()); // the scroll box owns the holder from here
    FScrollBox->setWidgetResizable(false);
}

void TFoRenderPreview::PageBegin() {
    TFoRenderCanvas::PageBegin();
    if (!FScrollBox)
        throw EFolioReport(QStringLiteral("ScrollBox must be assigned for RenderPreview component"));
    FPages = Converter ? Converter->PageCount() : FPages;
    MeasureScrollBox();
    EnsureImage();
    AddX = AddY = 0;
    if (FMonochrome)
        FShadowDepth = 0;
    FRulerWidth = HasVerticalRuler(RulerType) ? kRulerBand : 0;
    FRulerHeight = HasHorizontalRuler(RulerType) ? kRulerBand : 0;
    AddX = FRulerWidth;
    AddY = FRulerHeight;
    if (!FWaitCursor) {
        QGuiApplication::setOverrideCursor(Qt::WaitCursor);
        FWaitCursor = true;
    }
    DoPageChange();
    FSaveHorzPos = FScrollBox->horizontalScrollBar()->value();
    FSaveVertPos = FScrollBox->verticalScrollBar()->value();
    FScrollBox->horizontalScrollBar()->setValue(0);
    FScrollBox->verticalScrollBar()->setValue(0);

    const qreal ratio = std::max<qreal>(1.0, FScrollBox->devicePixelRatioF());
    int width = 0, height = 0;
    QSize pixels;
    const auto measure = [&] {
        width = RoundToDevice(snPaperWidth * XDPI() * FZoom / 100.0) + FShadowDepth + AddX;
        height = RoundToDevice(snPaperHeight * YDPI() * FZoom / 100.0) + FShadowDepth + AddY;
        pixels =
            QSize(std::max(1, int(std::ceil(width * ratio))), std::max(1, int(std::ceil(height * ratio))));
    };
    measure();
    // A page too large for a bitmap at this zoom is shown at a lower one.
    const auto area = [&pixels] { return double(pixels.width()) * pixels.height(); };
    while (area() > MaxPagePixels && FZoom > 1e-6) {
        FZoom *= 0.99 * std::sqrt(MaxPagePixels / area());
        measure();
    }
    FCanvas->EndPaint();
    FBitmap = NewPictureRaster(pixels, FMonochrome ? QImage::Format_Grayscale8 : QImage::Format_RGB32);
    FBitmap.setDevicePixelRatio(ratio);
    // Point sizes of exact text sizes turn into pixels at the screen's resolution.
    FBitmap.setDotsPerMeterX(int(std::lround(XDPI() / 0.0254)));
    FBitmap.setDotsPerMeterY(int(std::lround(YDPI() / 0.0254)));
    FBitmap.fill(FScrollBox->palette().color(FScrollBox->backgroundRole()));
    FCanvas->SetDevice(&FBitmap);
    FCanvas->SetDPI(XDPI());
    FCanvas->MoveTo(0, 0);
    if (QPainter *painter = FCanvas->Painter())
        painter->setRenderHint(QPainter::TextAntialiasing, true);
    PaintFrame(width, height);
    PaintRulers(width, height);
    PaintGrid(width, height);
    PlacePage(width, height);
}

void TFoRenderPreview::PaintFrame(int width, int height) {
    QPainter *painter = FCanvas->Painter();
    if (!painter)
        return;
    painter->save();
    const int s = FShadowDepth;
    const TColor box = TColor(FScrollBox->palette().color(FScrollBox->backgroundRole()).rgb() & 0xFFFFFF);
    const TColor boxColour = (box & 0xFF) << 16 | (box & 0xFF00) | (box >> 16 & 0xFF); // $00BBGGRR
    Box(*painter, boxColour, boxColour, 0, height - s, s + AddX, height);
    Box(*painter, boxColour, boxColour, width - s, 0, width, s + AddY);
    Box(*painter, clBlack, clBlack, width - s, s + AddY, width, height);
    Box(*painter, clBlack, clBlack, s + AddX, height - s, width, height);
    const bool horizontal = FRulerHeight > 0, vertical = FRulerWidth > 0;
    if (horizontal && vertical)
        Box(*painter, kRulerCorner, kRulerCorner, 0, 0, AddX, AddY);
    if (horizontal)
        Box(*painter, clBlack, clBlack, width - s, s, width, AddY + s);
    if (vertical)
        Box(*painter, clBlack, clBlack, s, height - s, AddX + s, height);
    if (vertical)
        Box(*painter, clBlack, kRulerColour, 0, AddY, AddX + 1, height - s);
    if (horizontal)
        Box(*painter, clBlack, kRulerColour, AddX, 0, width - s, AddY + 1);
    // The paper.
    Box(*painter, clBlack, clWhite, AddX, AddY, width - s, height - s);
    painter->restore();
}

void TFoRenderPreview::PaintRulers(int width, int height) {
    if (RulerType == TRulerType::rtNone)
        return;
    QPainter *painter = FCanvas->Painter();
    if (!painter)
        return;
    painter->save();
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(std::max(1, int(std::lround(7.0 * YDPI() / 72.0))));
    painter->setFont(font);
    painter->setPen(QPen(Qt::black, 1));
    const QFontMetrics metrics(font);
    const bool inches = RulerType == TRulerType::rtHorizIn || RulerType == TRulerType::rtVertIn ||
                        RulerType == TRulerType::rtBothIn;
    const int perLabel = inches ? 8 : 10;
    const auto tickLength = [&](int k) {
        if (k % perLabel == 0)
            return 18;
        if ((inches && k % 8 == 4) || (!inches && k % 10 == 5))
            return 15;
        if (inches && (k % 8 == 2 || k % 8 == 6))
            return 10;
        return 5;
    };
    const int s = FShadowDepth;
    if (FRulerHeight > 0 && snPaperWidth > 0) {
        const double px = (width - s - AddX) / snPaperWidth;
        const double step = inches ? px / 8 : px / 25.4;
        for (int k = 1;; ++k) {
            const int x = RoundToDevice(AddX + k * step);
            if (x > width - s - 1 || step <= 0)
                break;
            painter->drawLine(x, AddY, x, AddY - tickLength(k) + 1);
            if (k % perLabel == 0) {
                const QString label = QString::number(k / perLabel);
                painter->drawText(x - metrics.horizontalAdvance(label) - 1, metrics.ascent(), label);
            }
        }
    }
    if (FRulerWidth > 0 && snPaperHeight > 0) {
        const double py = (height - s - AddY) / snPaperHeight;
        const double step = inches ? py / 8 : py / 25.4;
        for (int k = 1;; ++k) {
            const int y = RoundToDevice(AddY + k * step);
            if (y > height - s - 1 || step <= 0)
                break;
            painter->drawLine(AddX, y, AddX - tickLength(k) + 1, y);
            if (k % perLabel == 0)
                painter->drawText(2, y - metrics.height() - 1 + metrics.ascent(),
                                  QString::number(k / perLabel));
        }
    }
    painter->restore();
}

void TFoRenderPreview::PaintGrid(int width, int height) {
    QPainter *painter = FCanvas->Painter();
    if (!painter || (GridHoriz <= 0 && GridVert <= 0))
        return;
    painter->save();
    painter->setPen(FGridPen.QtPen());
    const int s = FShadowDepth;
    if (GridHoriz > 0)
        for (int k = 1;; ++k) {
            const int y = RoundToDevice(AddY + k * GridHoriz * YDPI() * FZoom / 100.0);
            if (y >= height - s)
                break;
            painter->drawLine(AddX + 1, y, width - s - 1, y);
        }
    if (GridVert > 0)
        for (int k = 1;; ++k) {
            const int x = RoundToDevice(AddX + k * GridVert * XDPI() * FZoom / 100.0);
            if (x >= width - s)
                break;
            painter->drawLine(x, AddY + 1, x, height - s - 1);
        }
    painter->restore();
}

void TFoRenderPreview::PlacePage(int width, int height) {
    double margin = snPaperWidth * XDPI() * MarginPercent / 100.0;
    if (MarginMethod == TMarginMethod::mmScaled)
        margin *= FZoom / 100.0;
    const int m = RoundToDevice(margin);
    FImage->setGeometry(m, m, width, height);
    FPageHolder->setFixedSize(width + 2 * m, height + 2 * m);
    FScrollBox->horizontalScrollBar()->setValue(FSaveHorzPos);
    FScrollBox->verticalScrollBar()->setValue(FSaveVertPos);
}

void TFoRenderPreview::PrintBitmapRect(double X1, double Y1, double X2, double Y2, const QImage &Bitmap) {
    const int left = XI2D(X1), top = YI2D(Y1);
    Canvas().StretchDraw(QRect(left, top, XI2D(X2) - left, YI2D(Y2) - top), Bitmap);
}

void TFoRenderPreview::PageEnd() {
    TFoRenderCanvas::PageEnd();
    FCanvas->EndPaint();
    if (FImage)
        FImage->setPixmap(QPixmap::fromImage(FBitmap));
    if (FScrollBox) {
        FScrollBox->horizontalScrollBar()->setValue(FSaveHorzPos);
        FScrollBox->verticalScrollBar()->setValue(FSaveVertPos);
    }
    if (FWaitCursor) {
        QGuiApplication::restoreOverrideCursor();
        FWaitCursor = false;
    }
}

} // namespace fiscora
