#include "report/core/FoDraw.h"

#include <QFontInfo>
#include <QFontMetricsF>
#include <QPaintEngine>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>
#include <numbers>

namespace fiscora {

namespace {
// The setters' common step: takes the new value and tells whether it differs from the old one.
template <typename T> bool ReplaceValue(T &field, const T &value) {
    if (field == value)
        return false;
    field = value;
    return true;
}
} // namespace

QColor ToQColor(TColor color) {
    const TColor rgb = ColorToRGB(color);
    return QColor(GetRValue(rgb), GetGValue(rgb), GetBValue(rgb));
}

void AssignFontAttributes(TFoFont &font, const TSaveFont &description) {
    font.BeginUpdate();
    font.SetName(description.Name);
    font.SetColor(description.Color);
    font.SetPitch(description.Pitch);
    font.SetCharSet(description.CharSet);
    font.SetBold(description.Bold);
    font.SetItalic(description.Italic);
    font.SetUnderline(description.Underline);
    font.SetStrikeout(description.Strikeout);
    font.EndUpdate();
}

// ---- TFoFont --------------------------------------------------------------------------------

void TFoFont::Changed() {
    ++FRevision;
    FQtFontValid = false;
    if (FUpdateDepth > 0) {
        FPendingChange = true;
        return;
    }
    if (OnChange)
        OnChange(*this);
}

void TFoFont::EndUpdate() {
    if (FUpdateDepth > 0 && --FUpdateDepth == 0 && FPendingChange) {
        FPendingChange = false;
        if (OnChange)
            OnChange(*this);
    }
}

void TFoFont::SetName(const QString &value) {
    if (ReplaceValue(FName, value))
        Changed();
}

void TFoFont::SetColor(TColor value) {
    if (ReplaceValue(FColor, value))
        Changed();
}

void TFoFont::SetCharSet(std::uint8_t value) {
    if (ReplaceValue(FCharSet, value))
        Changed();
}

void TFoFont::SetPitch(TFontPitch value) {
    if (ReplaceValue(FPitch, value))
        Changed();
}

void TFoFont::SetHeight(int value) {
    const bool exact = FExactPixels > 0;
    FExactPixels = 0;
    if (ReplaceValue(FHeight, value) || exact)
        Changed();
}

void TFoFont::SetExactHeight(double pixels) {
    const double exact = std::abs(pixels);
    const int height = -std::max(1, int(std::lround(exact)));
    if (exact == FExactPixels && height == FHeight)
        return;
    FHeight = height;
    FExactPixels = exact;
    Changed();
}

int TFoFont::Size() const {
    return int(std::lround(-double(FHeight) * 72.0 / FPixelsPerInch));
}

void TFoFont::SetSize(int points) {
    SetHeight(-int(std::lround(double(points) * FPixelsPerInch / 72.0)));
}

void TFoFont::SetWidth(int value) {
    if (ReplaceValue(FWidth, value))
        Changed();
}

void TFoFont::SetOrientation(int tenthsOfDegree) {
    if (ReplaceValue(FOrientation, tenthsOfDegree))
        Changed();
}

void TFoFont::SetBold(bool value) {
    if (ReplaceValue(FBold, value))
        Changed();
}

void TFoFont::SetItalic(bool value) {
    if (ReplaceValue(FItalic, value))
        Changed();
}

void TFoFont::SetUnderline(bool value) {
    if (ReplaceValue(FUnderline, value))
        Changed();
}

void TFoFont::SetStrikeout(bool value) {
    if (ReplaceValue(FStrikeout, value))
        Changed();
}

void TFoFont::SetPixelsPerInch(int value) {
    if (value > 0)
        FPixelsPerInch = value;
}

void TFoFont::Assign(const TFoFont &source) {
    if (&source == this)
        return;
    BeginUpdate();
    SetName(source.FName);
    SetColor(source.FColor);
    SetCharSet(source.FCharSet);
    SetPitch(source.FPitch);
    if (source.FExactPixels > 0) {
        if (FExactPixels != source.FExactPixels || FHeight != source.FHeight) {
            FHeight = source.FHeight;
            FExactPixels = source.FExactPixels;
            Changed();
        }
    } else {
        SetHeight(source.FHeight);
    }
    SetWidth(source.FWidth);
    SetOrientation(source.FOrientation);
    SetBold(source.FBold);
    SetItalic(source.FItalic);
    SetUnderline(source.FUnderline);
    SetStrikeout(source.FStrikeout);
    EndUpdate();
}

const QFont &TFoFont::QtFont() const {
    if (!FQtFontValid) {
        QFont font(FName);
        if (FExactPixels > 0)
            font.setPixelSize(std::max(1, int(std::lround(FExactPixels * kExactTextScale))));
        else
            font.setPixelSize(std::max(1, std::abs(FHeight)));
        font.setWeight(FBold ? QFont::Bold : QFont::Normal);
        font.setItalic(FItalic);
        font.setUnderline(FUnderline);
        font.setStrikeOut(FStrikeout);
        // Widths are summed per character when measuring, so drawing must not kern or hint either.
        font.setKerning(false);
        font.setHintingPreference(QFont::PreferNoHinting);
        if (FPitch == TFontPitch::fpFixed) {
            font.setFixedPitch(true);
            font.setStyleHint(QFont::TypeWriter);
        }
        if (FWidth > 0) {
            const double natural = QFontMetricsF(font).averageCharWidth();
            if (natural > 0)
                font.setStretch(std::clamp(int(std::lround(100.0 * FWidth / natural)), 1, 4000));
        }
        FQtFont = font;
        FQtFontValid = true;
    }
    return FQtFont;
}

// ---- TFoPen ---------------------------------------------------------------------------------

void TFoPen::Changed() {
    if (OnChange)
        OnChange(*this);
}

void TFoPen::SetColor(TColor value) {
    if (ReplaceValue(FColor, value))
        Changed();
}

void TFoPen::SetStyle(TPenStyle value) {
    if (ReplaceValue(FStyle, value))
        Changed();
}

void TFoPen::SetWidth(int value) {
    if (ReplaceValue(FWidth, value))
        Changed();
}

void TFoPen::SetMode(TPenMode value) {
    if (ReplaceValue(FMode, value))
        Changed();
}

void TFoPen::Assign(const TFoPen &source) {
    if (SameAs(source))
        return;
    FColor = source.FColor;
    FStyle = source.FStyle;
    FWidth = source.FWidth;
    FMode = source.FMode;
    Changed();
}

bool TFoPen::SameAs(const TFoPen &other) const {
    return FColor == other.FColor && FStyle == other.FStyle && FWidth == other.FWidth && FMode == other.FMode;
}

QPen TFoPen::QtPen() const {
    Qt::PenStyle style = Qt::SolidLine;
    switch (FStyle) {
    case TPenStyle::psDash:
        style = Qt::DashLine;
        break;
    case TPenStyle::psDot:
    case TPenStyle::psAlternate:
        style = Qt::DotLine;
        break;
    case TPenStyle::psDashDot:
        style = Qt::DashDotLine;
        break;
    case TPenStyle::psDashDotDot:
        style = Qt::DashDotDotLine;
        break;
    case TPenStyle::psClear:
        style = Qt::NoPen;
        break;
    default:
        break;
    }
    QPen pen(ToQColor(FColor), std::max(1, FWidth), style, Qt::SquareCap, Qt::MiterJoin);
    return pen;
}

// ---- TFoBrush -------------------------------------------------------------------------------

void TFoBrush::Changed() {
    if (OnChange)
        OnChange(*this);
}

void TFoBrush::SetColor(TColor value) {
    if (ReplaceValue(FColor, value))
        Changed();
}

void TFoBrush::SetStyle(TBrushStyle value) {
    if (ReplaceValue(FStyle, value))
        Changed();
}

void TFoBrush::SetBitmap(const QImage &value) {
    if (FBitmap.isNull() && value.isNull())
        return;
    FBitmap = value;
    Changed();
}

void TFoBrush::Assign(const TFoBrush &source) {
    if (&source == this)
        return;
    const bool same =
        FColor == source.FColor && FStyle == source.FStyle && FBitmap.isNull() && source.FBitmap.isNull();
    if (same)
        return;
    FColor = source.FColor;
    FStyle = source.FStyle;
    FBitmap = source.FBitmap;
    Changed();
}

QBrush TFoBrush::QtBrush() const {
    if (!FBitmap.isNull())
        return QBrush(FBitmap);
    const QColor color = ToQColor(FColor);
    switch (FStyle) {
    case TBrushStyle::bsSolid:
        return QBrush(color, Qt::SolidPattern);
    case TBrushStyle::bsClear:
        return QBrush(Qt::NoBrush);
    case TBrushStyle::bsHorizontal:
        return QBrush(color, Qt::HorPattern);
    case TBrushStyle::bsVertical:
        return QBrush(color, Qt::VerPattern);
    case TBrushStyle::bsFDiagonal:
        return QBrush(color, Qt::FDiagPattern);
    case TBrushStyle::bsBDiagonal:
        return QBrush(color, Qt::BDiagPattern);
    case TBrushStyle::bsCross:
        return QBrush(color, Qt::CrossPattern);
    case TBrushStyle::bsDiagCross:
        return QBrush(color, Qt::DiagCrossPattern);
    }
    return QBrush(color);
}

QPainter::CompositionMode CompositionModeFor(TPenMode mode) {
    switch (mode) {
    case TPenMode::pmBlack:
        return QPainter::RasterOp_ClearDestination;
    case TPenMode::pmWhite:
        return QPainter::RasterOp_SetDestination;
    case TPenMode::pmNop:
        return QPainter::CompositionMode_Destination;
    case TPenMode::pmNot:
        return QPainter::RasterOp_NotDestination;
    case TPenMode::pmCopy:
        return QPainter::CompositionMode_SourceOver;
    case TPenMode::pmNotCopy:
        return QPainter::RasterOp_NotSource;
    case TPenMode::pmMergePenNot:
        return QPainter::RasterOp_SourceOrNotDestination;
    case TPenMode::pmMaskPenNot:
        return QPainter::RasterOp_SourceAndNotDestination;
    case TPenMode::pmMergeNotPen:
        return QPainter::RasterOp_NotSourceOrDestination;
    case TPenMode::pmMaskNotPen:
        return QPainter::RasterOp_NotSourceAndDestination;
    case TPenMode::pmMerge:
        return QPainter::RasterOp_SourceOrDestination;
    case TPenMode::pmNotMerge:
        return QPainter::RasterOp_NotSourceAndNotDestination;
    case TPenMode::pmMask:
        return QPainter::RasterOp_SourceAndDestination;
    case TPenMode::pmNotMask:
        return QPainter::RasterOp_NotSourceOrNotDestination;
    case TPenMode::pmXor:
        return QPainter::RasterOp_SourceXorDestination;
    case TPenMode::pmNotXor:
        return QPainter::RasterOp_NotSourceXorDestination;
    }
    return QPainter::CompositionMode_SourceOver;
}

// ---- TFoCanvas ------------------------------------------------------------------------------

TFoCanvas::TFoCanvas() {
    FFont.SetPixelsPerInch(FDPI);
}

TFoCanvas::TFoCanvas(QPaintDevice *device) : TFoCanvas() {
    SetDevice(device);
}

TFoCanvas::~TFoCanvas() {
    EndPaint();
}

void TFoCanvas::SetDPI(int value) {
    if (value > 0) {
        FDPI = value;
        FFont.SetPixelsPerInch(value);
    }
}

void TFoCanvas::SetDevice(QPaintDevice *device) {
    EndPaint();
    FExternalPainter = nullptr;
    FDevice = device;
}

void TFoCanvas::SetPainter(QPainter *painter) {
    EndPaint();
    FDevice = painter ? painter->device() : nullptr;
    FExternalPainter = painter;
}

QPainter *TFoCanvas::Painter() {
    if (FExternalPainter)
        return FExternalPainter;
    if (!FOwnedPainter && FDevice) {
        FOwnedPainter = std::make_unique<QPainter>();
        if (!FOwnedPainter->begin(FDevice)) {
            FOwnedPainter.reset();
            return nullptr;
        }
    }
    return FOwnedPainter.get();
}

void TFoCanvas::EndPaint() {
    if (FOwnedPainter) {
        if (FOwnedPainter->isActive())
            FOwnedPainter->end();
        FOwnedPainter.reset();
    }
}

int TFoCanvas::TextWidth(const QString &text) const {
    return int(std::lround(TextWidthF(text)));
}

double TFoCanvas::TextWidthF(const QString &text) const {
    return QFontMetricsF(FFont.QtFont()).horizontalAdvance(text) / FFont.QtFontScale();
}

QSize TFoCanvas::TextExtent(const QString &text) const {
    const QFontMetricsF metrics(FFont.QtFont());
    const double scale = FFont.QtFontScale();
    return QSize(int(std::lround(metrics.horizontalAdvance(text) / scale)),
                 int(std::lround((metrics.ascent() + metrics.descent()) / scale)));
}

TFoTextMetrics TFoCanvas::TextMetrics() const {
    const QFont &font = FFont.QtFont();
    const QFontMetricsF metrics(font);
    TFoTextMetrics result;
    const double scale = FFont.QtFontScale();
    result.Ascent = metrics.ascent() / scale;
    result.Descent = metrics.descent() / scale;
    result.InternalLeading = std::max(0.0, metrics.ascent() + metrics.descent() - font.pixelSize()) / scale;
    result.VariablePitch = !QFontInfo(font).fixedPitch();
    return result;
}

void TFoCanvas::ApplyPen(QPainter &painter) const {
    painter.setPen(FPen.QtPen());
    const QPaintEngine *engine = painter.paintEngine();
    const bool rasterOps = engine && engine->hasFeature(QPaintEngine::RasterOpModes);
    painter.setCompositionMode(rasterOps ? CompositionModeFor(FPen.Mode())
                                         : QPainter::CompositionMode_SourceOver);
}

void TFoCanvas::ApplyOutline(QPainter &painter) const {
    ApplyPen(painter);
    painter.setBrush(FBrush.QtBrush());
}

void TFoCanvas::LineTo(int x, int y) {
    if (QPainter *painter = Painter()) {
        ApplyPen(*painter);
        painter->drawLine(FPenPos, QPoint(x, y));
    }
    FPenPos = QPoint(x, y);
}

void TFoCanvas::Rectangle(const QRect &rect) {
    if (QPainter *painter = Painter()) {
        ApplyOutline(*painter);
        painter->drawRect(QRectF(rect.topLeft(), rect.bottomRight()).normalized());
    }
}

void TFoCanvas::RoundRect(const QRect &rect, int cornerWidth, int cornerHeight) {
    if (QPainter *painter = Painter()) {
        ApplyOutline(*painter);
        painter->drawRoundedRect(QRectF(rect.topLeft(), rect.bottomRight()).normalized(), cornerWidth / 2.0,
                                 cornerHeight / 2.0);
    }
}

void TFoCanvas::Ellipse(const QRect &rect) {
    if (QPainter *painter = Painter()) {
        ApplyOutline(*painter);
        painter->drawEllipse(QRectF(rect.topLeft(), rect.bottomRight()).normalized());
    }
}

int TFoCanvas::ArcAngle(const QRect &rect, QPoint point) const {
    const QRectF box = QRectF(rect.topLeft(), rect.bottomRight()).normalized();
    const double dx = (point.x() - box.center().x()) / std::max(1.0, box.width());
    const double dy = (box.center().y() - point.y()) / std::max(1.0, box.height());
    return int(std::lround(std::atan2(dy, dx) * 180.0 / std::numbers::pi * 16.0));
}

namespace {
int ArcSpan(int start, int end) {
    int span = end - start;
    while (span <= 0)
        span += 360 * 16;
    return span;
}
} // namespace

void TFoCanvas::Arc(const QRect &rect, QPoint start, QPoint end) {
    if (QPainter *painter = Painter()) {
        ApplyPen(*painter);
        const int from = ArcAngle(rect, start);
        painter->drawArc(QRectF(rect.topLeft(), rect.bottomRight()).normalized(), from,
                         ArcSpan(from, ArcAngle(rect, end)));
    }
}

void TFoCanvas::Chord(const QRect &rect, QPoint start, QPoint end) {
    if (QPainter *painter = Painter()) {
        ApplyOutline(*painter);
        const int from = ArcAngle(rect, start);
        painter->drawChord(QRectF(rect.topLeft(), rect.bottomRight()).normalized(), from,
                           ArcSpan(from, ArcAngle(rect, end)));
    }
}

void TFoCanvas::Pie(const QRect &rect, QPoint start, QPoint end) {
    if (QPainter *painter = Painter()) {
        ApplyOutline(*painter);
        const int from = ArcAngle(rect, start);
        painter->drawPie(QRectF(rect.topLeft(), rect.bottomRight()).normalized(), from,
                         ArcSpan(from, ArcAngle(rect, end)));
    }
}

void TFoCanvas::Polygon(std::span<const QPoint> points) {
    if (QPainter *painter = Painter(); painter && !points.empty()) {
        ApplyOutline(*painter);
        painter->drawPolygon(points.data(), int(points.size()));
    }
}

void TFoCanvas::Polyline(std::span<const QPoint> points) {
    if (QPainter *painter = Painter(); painter && !points.empty()) {
        ApplyPen(*painter);
        painter->drawPolyline(points.data(), int(points.size()));
        FPenPos = points.back();
    }
}

void TFoCanvas::FillRect(const QRect &rect) {
    if (QPainter *painter = Painter())
        painter->fillRect(QRectF(rect.topLeft(), rect.bottomRight()).normalized(), FBrush.QtBrush());
}

void TFoCanvas::FrameRect(const QRect &rect) {
    if (QPainter *painter = Painter()) {
        painter->setPen(QPen(FBrush.QtBrush(), 1));
        painter->setBrush(Qt::NoBrush);
        painter->drawRect(QRectF(rect.topLeft(), rect.bottomRight()).normalized());
    }
}

void TFoCanvas::DrawFocusRect(const QRect &rect) {
    if (QPainter *painter = Painter()) {
        painter->save();
        painter->setPen(QPen(Qt::black, 1, Qt::DotLine));
        painter->setBrush(Qt::NoBrush);
        painter->drawRect(QRectF(rect.topLeft(), rect.bottomRight()).normalized());
        painter->restore();
    }
}

void TFoCanvas::TextOut(int x, int y, const QString &text) {
    QPainter *painter = Painter();
    if (!painter || text.isEmpty())
        return;
    const QFont &font = FFont.QtFont();
    const QFontMetricsF metrics(font);
    double baseline = 0;
    if (FTextAlign == TFontAlign::faTop)
        baseline = metrics.ascent();
    else if (FTextAlign == TFontAlign::faBottom)
        baseline = -metrics.descent();
    painter->save();
    painter->setCompositionMode(QPainter::CompositionMode_SourceOver);
    painter->translate(x, y);
    if (FFont.Orientation() != 0)
        painter->rotate(-FFont.Orientation() / 10.0);
    // An exact height is drawn with a larger font scaled back; below, everything is in its units.
    if (const double scale = FFont.QtFontScale(); scale != 1.0)
        painter->scale(1.0 / scale, 1.0 / scale);
    if (FBkMode == TBKMode::bkOpaque)
        painter->fillRect(QRectF(0, baseline - metrics.ascent(), metrics.horizontalAdvance(text),
                                 metrics.ascent() + metrics.descent()),
                          ToQColor(FBkColor));
    painter->setFont(font);
    painter->setPen(ToQColor(FFont.Color()));
    painter->drawText(QPointF(0, baseline), text);
    painter->restore();
}

void TFoCanvas::TextRect(const QRect &clip, int x, int y, const QString &text) {
    QPainter *painter = Painter();
    if (!painter)
        return;
    painter->save();
    painter->setClipRect(QRectF(clip.topLeft(), clip.bottomRight()).normalized());
    TextOut(x, y, text);
    painter->restore();
}

void TFoCanvas::Draw(int x, int y, const QImage &image) {
    if (QPainter *painter = Painter(); painter && !image.isNull())
        painter->drawImage(QPoint(x, y), image);
}

void TFoCanvas::StretchDraw(const QRect &rect, const QImage &image) {
    if (QPainter *painter = Painter(); painter && !image.isNull())
        painter->drawImage(QRectF(rect.topLeft(), rect.bottomRight()).normalized(), image);
}

} // namespace fiscora
