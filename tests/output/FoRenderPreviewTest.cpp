#include "output/screen/FoRenderPreview.h"
#include "FoSnapshotTestSupport.h"
#include "report/core/FoErrors.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QLabel>
#include <QScrollArea>
#include <QScrollBar>
#include <gtest/gtest.h>

using namespace fiscora;
using namespace fiscora::test;

namespace {

// A preview over a scroll box, playing a snapshot kept in memory.
struct Preview {
    QScrollArea box;
    QByteArray bytes;
    QBuffer stream;
    TFoRenderPreview renderer;

    explicit Preview(const QByteArray &snapshot) : bytes(snapshot), stream(&bytes) {
        box.resize(900, 700);
        stream.open(QIODevice::ReadOnly);
        renderer.SetScrollBox(&box);
        renderer.SetSnapshotStream(&stream);
    }
    QSize BitmapSize() const { return renderer.Bitmap().deviceIndependentSize().toSize(); }
    // The colour of a pixel in device-independent coordinates.
    QRgb Pixel(int x, int y) const {
        const QImage &image = renderer.Bitmap();
        const qreal ratio = image.devicePixelRatio();
        return image.pixel(int(x * ratio), int(y * ratio)) & 0xFFFFFF;
    }
};

void Rectangle(TFoSnapshotOutput &out, double x1, double y1, double x2, double y2) {
    out.WriteByte(scRectangle);
    for (double value : {x1, y1, x2, y2})
        out.WriteFloat(float(value));
}

} // namespace

TEST(RenderPreview, PageBitmapSizeMarginAndScrollRangesFollowTheZoom) {
    struct Case {
        double zoom;
        QSize bitmap;
        QSize scrollable; // page image plus the margin on both sides
    };
    for (const Case &c : {Case{100, {821, 1061}, {861, 1101}}, Case{85, {699, 903}, {739, 943}}}) {
        Preview preview(TSnapshotBuilder::Pages(1));
        ASSERT_EQ(preview.renderer.XDPI(), 96) << "the tests expect a 96 dpi screen";
        preview.renderer.SetShadowDepth(5);
        preview.renderer.MarginPercent = 2.5;
        preview.renderer.SetZoomFactor(c.zoom);
        preview.renderer.RenderPage(1);
        EXPECT_EQ(preview.BitmapSize(), c.bitmap) << c.zoom;
        ASSERT_NE(preview.renderer.Image(), nullptr);
        EXPECT_EQ(preview.renderer.Image()->pos(), QPoint(20, 20)) << c.zoom; // fixed margin
        EXPECT_EQ(preview.box.widget()->size(), c.scrollable) << c.zoom;
        // The shadow: black at the bottom right, the scroll box's colour beside it.
        EXPECT_EQ(preview.Pixel(c.bitmap.width() - 1, c.bitmap.height() - 1), 0u);
        EXPECT_NE(preview.Pixel(c.bitmap.width() - 1, 1), 0u);
        EXPECT_EQ(preview.Pixel(c.bitmap.width() / 2, c.bitmap.height() / 2), 0xFFFFFFu); // white paper
    }
}

TEST(RenderPreview, MonochromeAndShadowsExcludeEachOther) {
    Preview preview(TSnapshotBuilder::Pages(1));
    preview.renderer.SetShadowDepth(5);
    preview.renderer.SetMonochrome(true);
    EXPECT_EQ(preview.renderer.ShadowDepth(), 0);
    preview.renderer.RenderPage(1);
    EXPECT_EQ(preview.BitmapSize(), QSize(816, 1056));
    preview.renderer.SetShadowDepth(3);
    EXPECT_FALSE(preview.renderer.Monochrome());
}

TEST(RenderPreview, ZoomStepsStayWithinTenAndTwoHundred) {
    struct Case {
        double start;
        bool zoomIn;
        double result;
        bool notified;
    };
    for (const Case &c : {Case{15, false, 10, true}, Case{10, false, 10, false}, Case{195, true, 200, true},
                          Case{85, true, 95, true}, Case{200, true, 200, true}, Case{5, false, 10, false},
                          Case{250, false, 190, true}}) {
        TFoRenderPreview renderer;
        int changes = 0;
        renderer.OnZoomChange = [&](TFoRenderPreview &) { ++changes; };
        renderer.SetZoomFactor(c.start);
        changes = 0;
        c.zoomIn ? renderer.ZoomIn() : renderer.ZoomOut();
        EXPECT_DOUBLE_EQ(renderer.ZoomFactor(), c.result) << c.start;
        EXPECT_EQ(changes, c.notified ? 1 : 0) << c.start;
    }
}

TEST(RenderPreview, PagingWrapsAroundAndClamps) {
    Preview five(TSnapshotBuilder::Pages(5));
    TFoRenderPreview &renderer = five.renderer;
    renderer.RenderPage(0);
    EXPECT_EQ(renderer.CurrentPage(), 1);
    renderer.PrevPage();
    EXPECT_EQ(renderer.CurrentPage(), 5);
    renderer.NextPage();
    EXPECT_EQ(renderer.CurrentPage(), 1);
    renderer.RenderPage(99);
    EXPECT_EQ(renderer.CurrentPage(), 5);
    EXPECT_EQ(renderer.Pages(), 5);

    Preview one(TSnapshotBuilder::Pages(1));
    int pageChanges = 0;
    one.renderer.OnPageChange = [&](TFoRenderPreview &) { ++pageChanges; };
    one.renderer.RenderPage(1);
    one.renderer.NextPage();
    one.renderer.PrevPage();
    EXPECT_EQ(one.renderer.CurrentPage(), 1);
    EXPECT_EQ(pageChanges, 1); // neither drew a page again
}

TEST(RenderPreview, WithoutAScrollBoxNothingIsDrawn) {
    QByteArray bytes = TSnapshotBuilder::Pages(1);
    QBuffer stream(&bytes);
    stream.open(QIODevice::ReadOnly);
    TFoRenderPreview renderer;
    renderer.SetSnapshotStream(&stream);
    try {
        renderer.RenderPage(1);
        FAIL() << "no error";
    } catch (const EFolioReport &error) {
        EXPECT_STREQ(error.what(), "ScrollBox must be assigned for RenderPreview component");
    }
    EXPECT_TRUE(renderer.Bitmap().isNull());
}

TEST(RenderPreview, DrawsShapesTextAndPensAtTheirPixels) {
    TSnapshotBuilder builder;
    builder.Header(1);
    builder.Page(1, [](TFoSnapshotOutput &out) {
        // A one-pixel black frame from (1 in, 1 in) to (2 in, 2 in).
        out.WriteByte(scPenColor);
        out.WriteInt(0);
        out.WriteByte(scPenWidth);
        out.WriteFloat(0.0f);
        out.WriteByte(scBrushStyle);
        out.WriteByte(quint8(TBrushStyle::bsClear));
        Rectangle(out, 1, 1, 2, 2);
        // A filled red box without outline.
        out.WriteByte(scPenStyle);
        out.WriteByte(quint8(TPenStyle::psClear));
        out.WriteByte(scBrushColor);
        out.WriteInt(0x0000FF);
        out.WriteByte(scBrushStyle);
        out.WriteByte(quint8(TBrushStyle::bsSolid));
        Rectangle(out, 3, 1, 4, 2);
        // Text whose baseline lies at 5 inches.
        out.WriteByte(scFontHeight);
        out.WriteFloat(float(24.0 / 72.0));
        out.WriteFloat(5.0f);
        out.WriteByte(scLeftText);
        out.WriteFloat(5.0f);
        out.WriteString(QStringLiteral("HHHH"));
        out.WriteFloat(1.0f);
    });
    Preview preview(builder.Bytes());
    preview.renderer.RenderPage(1);
    // Frame corners at 96 and 192 pixels; inside stays white.
    for (const QPoint corner : {QPoint(96, 96), QPoint(192, 96), QPoint(96, 192), QPoint(192, 192)})
        EXPECT_EQ(preview.Pixel(corner.x(), corner.y()), 0u) << corner.x() << "," << corner.y();
    EXPECT_EQ(preview.Pixel(144, 144), 0xFFFFFFu);
    EXPECT_EQ(preview.Pixel(193, 193), 0xFFFFFFu);
    // The filled box is red throughout.
    EXPECT_EQ(preview.Pixel(300, 100), 0xFF0000u);
    EXPECT_EQ(preview.Pixel(380, 180), 0xFF0000u);
    // Capital H: ink just above the baseline (480), none just below it.
    bool inkAbove = false, inkBelow = false;
    for (int x = 96; x < 200; ++x) {
        inkAbove |= preview.Pixel(x, 478) != 0xFFFFFFu;
        inkBelow |= preview.Pixel(x, 482) != 0xFFFFFFu;
    }
    EXPECT_TRUE(inkAbove);
    EXPECT_FALSE(inkBelow);
}

TEST(RenderPreview, PenWidthFollowsTheZoom) {
    TSnapshotBuilder builder;
    builder.Header(1);
    builder.Page(1, [](TFoSnapshotOutput &out) {
        out.WriteByte(scPenWidth);
        out.WriteFloat(float(1.0 / 72.0));
        out.WriteByte(scPenColor);
        out.WriteInt(0);
    });
    for (const auto &[zoom, pixels] : {std::pair{200.0, 3}, std::pair{100.0, 1}, std::pair{85.0, 1}}) {
        Preview preview(builder.Bytes());
        preview.renderer.SetZoomFactor(zoom);
        preview.renderer.RenderPage(1);
        EXPECT_EQ(preview.renderer.Canvas().Pen().Width(), pixels) << zoom;
    }
}

TEST(RenderPreview, TextMeasuresTheSameAtEveryZoom) {
    // Justified lines spread what measuring leaves over: a zoomed page must measure as the page does.
    double atHundred = 0;
    for (const double zoom : {100.0, 85.0, 37.0, 150.0}) {
        Preview preview(TSnapshotBuilder::Pages(1));
        preview.renderer.SetZoomFactor(zoom);
        preview.renderer.RenderPage(1);
        preview.renderer.FontChanged(preview.renderer.Canvas().Font()); // the default font at this zoom
        const double width = preview.renderer.MeasureText(QStringLiteral("Depreciation Schedule"));
        if (zoom == 100.0)
            atHundred = width;
        EXPECT_NEAR(width, atHundred, atHundred * 0.004) << zoom;
    }
}

TEST(RenderPreview, FitRequestsFitThePageInTheScrollBoxWithinTheZoomLimits) {
    struct Case {
        const char *name;
        QSize box;
        double request;
        bool wholePage;
        double clampedTo; // 0: the fit lies between the limits
    };
    const Case cases[] = {
        {"page width", {900, 700}, TFoRenderPreview::kZoomToPageWidth, false, 0},
        {"whole page", {900, 700}, TFoRenderPreview::kZoomToPage, true, 0},
        {"whole page in a wide box", {1200, 500}, TFoRenderPreview::kZoomToPage, true, 0},
        {"page width of a tiny box", {90, 80}, TFoRenderPreview::kZoomToPageWidth, false, 10},
        {"whole page of a huge box", {4000, 5000}, TFoRenderPreview::kZoomToPage, true, 200},
    };
    for (const Case &c : cases) {
        Preview preview(TSnapshotBuilder::Pages(1));
        preview.renderer.SetShadowDepth(5);
        preview.renderer.MarginPercent = 2.5;
        preview.box.resize(c.box);
        preview.box.show();
        preview.renderer.RenderPage(1); // the paper's size is known from here on
        preview.renderer.SetZoomFactor(c.request);
        if (c.clampedTo != 0) {
            EXPECT_DOUBLE_EQ(preview.renderer.ZoomFactor(), c.clampedTo) << c.name;
            continue;
        }
        QCoreApplication::processEvents();               // the scroll bars show or hide
        const QSize page = preview.box.widget()->size(); // with its margin
        const QSize viewport = preview.box.viewport()->size();
        EXPECT_EQ(preview.box.horizontalScrollBar()->maximum(), 0) << c.name;
        if (c.wholePage) {
            EXPECT_EQ(preview.box.verticalScrollBar()->maximum(), 0) << c.name;
            EXPECT_TRUE(page.width() >= viewport.width() - 4 || page.height() >= viewport.height() - 4)
                << c.name << ": the page fills neither way";
        } else {
            EXPECT_GT(preview.box.verticalScrollBar()->maximum(), 0) << c.name;
            EXPECT_NEAR(page.width(), viewport.width(), 1) << c.name;
        }
    }
}

TEST(RenderPreview, FloodFillFillsTheAreaItsStyleNames) {
    struct Case {
        const char *Name;
        QPointF Seed;
        TColor Colour;
        TFillStyle Style;
        QRgb InFirst, InSecond, Outside; // after the fill
    };
    const QRgb white = 0xFFFFFF, green = 0x00FF00;
    const Case cases[] = {
        {"up to the border, inside a frame", {1.5, 1.5}, clBlack, TFillStyle::fsBorder, green, white, white},
        {"up to the border, around the frames",
         {0.5, 0.5},
         clBlack,
         TFillStyle::fsBorder,
         white,
         white,
         green},
        {"the surface of the seed's colour", {1.5, 1.5}, clWhite, TFillStyle::fsSurface, green, white, white},
        {"a surface of another colour", {1.5, 1.5}, clBlack, TFillStyle::fsSurface, white, white, white},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.Name);
        TSnapshotBuilder builder;
        builder.Header(1);
        builder.Page(1, [&](TFoSnapshotOutput &out) {
            // Two one-pixel black frames, then a green brush for the fill.
            out.WriteByte(scPenColor);
            out.WriteInt(0);
            out.WriteByte(scPenWidth);
            out.WriteFloat(0.0f);
            out.WriteByte(scBrushStyle);
            out.WriteByte(quint8(TBrushStyle::bsClear));
            Rectangle(out, 1, 1, 2, 2);
            Rectangle(out, 3, 1, 4, 2);
            out.WriteByte(scBrushColor);
            out.WriteInt(0x00FF00);
            out.WriteByte(scBrushStyle);
            out.WriteByte(quint8(TBrushStyle::bsSolid));
            out.WriteByte(scFloodFill);
            out.WriteFloat(float(c.Seed.x()));
            out.WriteFloat(float(c.Seed.y()));
            out.WriteInt(static_cast<qint32>(c.Colour));
            out.WriteInt(static_cast<qint32>(c.Style));
        });
        Preview preview(builder.Bytes());
        preview.renderer.RenderPage(1);
        for (const QPoint p : {QPoint(100, 100), QPoint(144, 144), QPoint(188, 188)})
            EXPECT_EQ(preview.Pixel(p.x(), p.y()), c.InFirst) << p.x() << "," << p.y();
        EXPECT_EQ(preview.Pixel(336, 144), c.InSecond);
        for (const QPoint p : {QPoint(20, 20), QPoint(250, 144), QPoint(144, 600)})
            EXPECT_EQ(preview.Pixel(p.x(), p.y()), c.Outside) << p.x() << "," << p.y();
        // The frames themselves keep their colour.
        EXPECT_EQ(preview.Pixel(96, 144), 0u);
    }
}
