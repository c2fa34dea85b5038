#pragma once

#include "report/canvas/FoBase.h"

#include <QPointF>
#include <QString>

#include <string>
#include <vector>

namespace fiscora::test_support {

// One primitive the canvas handed to its descendant, with the device pen and brush in force.
struct TRecordedCall {
    std::string Op;
    QString Text;
    std::vector<double> Args;
    int Page = 0;
    TColor PenColor = 0;
    TPenStyle PenStyle = TPenStyle::psSolid;
    int PenWidth = 0;
    TColor BrushColor = 0;
    TBrushStyle BrushStyle = TBrushStyle::bsSolid;
};

// A page canvas that records its primitives instead of writing a snapshot; it lays out on the
// printer-less device and runs the page sequence a real descendant runs.
class TRecordingReport : public TBaseReport {
public:
    TRecordingReport() { SetPrinterDevice(nullptr); }

    std::vector<TRecordedCall> Calls;
    int OutputKindValue = okSnapshot;
    // Called from inside EmitLeftText, to probe what the canvas allows meanwhile.
    std::function<void(TRecordingReport &)> DuringLeftText;

    int OutputKind() const override { return OutputKindValue; }

    void Start() override {
        CheckNotPrinting();
        PrepareDevice();
        SetPrinting(true);
        SetAborted(false);
        SetJobPages(0);
        HookDeviceCanvas();
        ResetForJob();
        if (OnBeforePrint)
            OnBeforePrint(*this);
        StartFirstPage();
        Record("PageBegin", {}, {});
        RunBeginPageEvents();
        if (OnNewPage)
            OnNewPage(*this);
        if (OnPrintHeader)
            OnPrintHeader(*this);
    }

    void Finish() override {
        if (!Aborted()) {
            if (OnPrintFooter)
                OnPrintFooter(*this);
            RunEndPageEvents();
        }
        Record("PageEnd", {}, {});
        UnhookDeviceCanvas();
        ReleaseFontCache();
        ClearLineBuffers();
        ReleaseDevice();
        SetPrinting(false);
        if (OnAfterPrint)
            OnAfterPrint(*this);
    }

    void NewPage() override {
        if (OnPrintFooter)
            OnPrintFooter(*this);
        RunEndPageEvents();
        Record("PageEnd", {}, {});
        TBaseReport::NewPage();
        Record("PageBegin", {}, {});
        RunBeginPageEvents();
        if (OnNewPage)
            OnNewPage(*this);
        if (OnPrintHeader)
            OnPrintHeader(*this);
    }

    std::vector<TRecordedCall> CallsOf(const std::string &op) const {
        std::vector<TRecordedCall> result;
        for (const TRecordedCall &call : Calls)
            if (call.Op == op)
                result.push_back(call);
        return result;
    }

    using TBaseReport::FCursorXPos;
    using TBaseReport::FCursorYPos;

protected:
    void EmitCenterText(const QString &Text, double X) override {
        Record("CenterText", Text, {X, FCursorYPos});
    }
    void EmitLeftText(const QString &Text, double X) override {
        Record("LeftText", Text, {X, FCursorYPos});
        if (DuringLeftText)
            DuringLeftText(*this);
        FCursorXPos = X + TextWidthInches(Text);
    }
    void EmitRightText(const QString &Text, double X) override {
        Record("RightText", Text, {X, FCursorYPos});
    }
    void EmitBlockText(const QString &Text, double X, double Width) override {
        Record("BlockText", Text, {X, FCursorYPos, Width});
    }
    void EmitArc(double X1, double Y1, double X2, double Y2, double X3, double Y3, double X4,
                 double Y4) override {
        Record("Arc", {}, {X1, Y1, X2, Y2, X3, Y3, X4, Y4});
    }
    void EmitChord(double X1, double Y1, double X2, double Y2, double X3, double Y3, double X4,
                   double Y4) override {
        Record("Chord", {}, {X1, Y1, X2, Y2, X3, Y3, X4, Y4});
    }
    void EmitPie(double X1, double Y1, double X2, double Y2, double X3, double Y3, double X4,
                 double Y4) override {
        Record("Pie", {}, {X1, Y1, X2, Y2, X3, Y3, X4, Y4});
    }
    void EmitEllipse(double X1, double Y1, double X2, double Y2) override {
        Record("Ellipse", {}, {X1, Y1, X2, Y2});
    }
    void EmitRectangle(double X1, double Y1, double X2, double Y2) override {
        Record("Rectangle", {}, {X1, Y1, X2, Y2});
    }
    void EmitTabRectangle(double X1, double Y1, double X2, double Y2) override {
        Record("TabRectangle", {}, {X1, Y1, X2, Y2});
    }
    void EmitRoundRect(double X1, double Y1, double X2, double Y2, double X3, double Y3) override {
        Record("RoundRect", {}, {X1, Y1, X2, Y2, X3, Y3});
    }
    void EmitMoveTo(double X, double Y) override { Record("MoveTo", {}, {PageX(X), PageY(Y)}); }
    void EmitLineTo(double X, double Y) override { Record("LineTo", {}, {PageX(X), PageY(Y)}); }
    void EmitPolygon(std::span<const QPointF> Points) override { Record("Polygon", {}, Flatten(Points)); }
    void EmitPolyline(std::span<const QPointF> Points) override { Record("Polyline", {}, Flatten(Points)); }
    void EmitFillRect(const QRectF &Rect) override { Record("FillRect", {}, RectArgs(Rect)); }
    void EmitFrameRect(const QRectF &Rect) override { Record("FrameRect", {}, RectArgs(Rect)); }
    void EmitDrawFocusRect(const QRectF &Rect) override { Record("DrawFocusRect", {}, RectArgs(Rect)); }
    void EmitFloodFill(double X, double Y, TColor Color, TFillStyle) override {
        Record("FloodFill", {}, {X, Y, double(Color)});
    }
    void EmitBrushCopy(const QRectF &Dest, const QImage &, const QRectF &, TColor) override {
        Record("BrushCopy", {}, RectArgs(Dest));
    }
    void EmitCopyRect(const QRectF &Dest, TFoCanvas &, const QRectF &) override {
        Record("CopyRect", {}, RectArgs(Dest));
    }
    void EmitDraw(double X, double Y, const TFoGraphic &) override { Record("Draw", {}, {X, Y}); }
    void EmitStretchDraw(const QRectF &Rect, const TFoGraphic &) override {
        Record("StretchDraw", {}, RectArgs(Rect));
    }
    void EmitPrintBitmap(double X, double Y, double SX, double SY, const QImage &) override {
        Record("PrintBitmap", {}, {X, Y, SX, SY});
    }
    void EmitPrintBitmapRect(double X1, double Y1, double X2, double Y2, const QImage &) override {
        Record("PrintBitmapRect", {}, {X1, Y1, X2, Y2});
    }
    void EmitPrintImageRect(double X1, double Y1, double X2, double Y2, QIODevice &,
                            const QString &Type) override {
        Record("PrintImageRect", Type, {X1, Y1, X2, Y2});
    }
    void EmitTextRect(const QRectF &Rect, double X, double Y, const QString &Text) override {
        auto args = RectArgs(Rect);
        args.push_back(X);
        args.push_back(Y);
        Record("TextRect", Text, args);
    }
    void EmitPrintData(const QString &Value) override { Record("PrintData", Value, {}); }
    void EmitPrintDataStream(QIODevice &, qint64 BufSize) override {
        Record("PrintDataStream", {}, {double(BufSize)});
    }

private:
    void Record(const std::string &op, const QString &text, std::vector<double> args) {
        TRecordedCall call{op, text, std::move(args), CurrentPage()};
        if (Device()) {
            TFoCanvas &canvas = Device()->Canvas();
            call.PenColor = canvas.Pen().Color();
            call.PenStyle = canvas.Pen().Style();
            call.PenWidth = canvas.Pen().Width();
            call.BrushColor = canvas.Brush().Color();
            call.BrushStyle = canvas.Brush().Style();
        }
        Calls.push_back(std::move(call));
    }
    static std::vector<double> Flatten(std::span<const QPointF> points) {
        std::vector<double> args;
        for (const QPointF &point : points) {
            args.push_back(point.x());
            args.push_back(point.y());
        }
        return args;
    }
    static std::vector<double> RectArgs(const QRectF &rect) {
        return {rect.left(), rect.top(), rect.right(), rect.bottom()};
    }
};

} // namespace fiscora::test_support
