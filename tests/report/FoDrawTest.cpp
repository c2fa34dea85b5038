#include "report/core/FoDraw.h"

#include <QImage>

#include <gtest/gtest.h>

using namespace fiscora;

namespace {

TEST(FoDrawTest, ChangesNotifyOnceAndChainedListenersAllHearThem) {
    TFoFont font;
    int first = 0;
    int second = 0;
    font.OnChange = [&](TFoFont &) { ++first; };
    auto previous = font.OnChange;
    font.OnChange = [&, previous](TFoFont &changed) {
        previous(changed);
        ++second;
    };
    font.SetBold(true);
    font.SetBold(true); // unchanged: no notification
    EXPECT_EQ(first, 1);
    EXPECT_EQ(second, 1);
    TFoFont other;
    other.SetName("Courier New");
    other.SetSize(14);
    other.SetItalic(true);
    font.Assign(other);
    EXPECT_EQ(second, 2);
    EXPECT_EQ(font.Name(), "Courier New");
    EXPECT_FALSE(font.Bold());
    const auto revision = font.Revision();
    font.SetPixelsPerInch(600); // keeps the pixel height: nothing to notify
    EXPECT_EQ(font.Revision(), revision);
    EXPECT_EQ(font.Size(), 2);
}

TEST(FoDrawTest, PenAndBrushNotifyOnRealChangesOnly) {
    TFoPen pen;
    TFoBrush brush;
    int penChanges = 0;
    int brushChanges = 0;
    pen.OnChange = [&](TFoPen &) { ++penChanges; };
    brush.OnChange = [&](TFoBrush &) { ++brushChanges; };
    pen.SetWidth(3);
    pen.SetMode(TPenMode::pmXor);
    TFoPen copy;
    copy.Assign(pen);
    pen.Assign(copy);
    EXPECT_EQ(penChanges, 2);
    EXPECT_TRUE(copy.SameAs(pen));
    brush.SetBitmap(QImage());
    brush.SetStyle(TBrushStyle::bsClear);
    EXPECT_EQ(brushChanges, 1);
    EXPECT_EQ(brush.QtBrush().style(), Qt::NoBrush);
}

TEST(FoDrawTest, CanvasDrawsShapesAndTextOnAnImage) {
    QImage image(200, 100, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        TFoCanvas canvas(&image);
        canvas.Brush().SetColor(RGB(255, 0, 0));
        canvas.Pen().SetStyle(TPenStyle::psClear);
        canvas.Rectangle(QRect(QPoint(10, 10), QPoint(50, 50)));
        canvas.Pen().SetStyle(TPenStyle::psSolid);
        canvas.Pen().SetColor(RGB(0, 0, 255));
        canvas.Pen().SetWidth(3);
        canvas.MoveTo(100, 5);
        canvas.LineTo(100, 95);
        EXPECT_EQ(canvas.PenPos(), QPoint(100, 95));
        canvas.Font().SetName("Arial");
        canvas.Font().SetHeight(-40);
        canvas.SetBkMode(TBKMode::bkTransparent);
        canvas.TextOut(120, 20, "W");
        canvas.EndPaint();
    }
    EXPECT_EQ(image.pixelColor(30, 30), QColor(255, 0, 0));
    EXPECT_EQ(image.pixelColor(100, 50), QColor(0, 0, 255));
    EXPECT_EQ(image.pixelColor(5, 5), QColor(Qt::white));
    bool inked = false;
    for (int y = 20; y < 70 && !inked; ++y)
        for (int x = 120; x < 170 && !inked; ++x)
            inked = image.pixelColor(x, y) != QColor(Qt::white);
    EXPECT_TRUE(inked);
}

TEST(FoDrawTest, XorPenInvertsTwiceBackToTheBackground) {
    QImage image(20, 20, QImage::Format_RGB32);
    image.fill(Qt::white);
    TFoCanvas canvas(&image);
    canvas.Pen().SetColor(clWhite);
    canvas.Pen().SetMode(TPenMode::pmXor);
    canvas.MoveTo(0, 10);
    canvas.LineTo(19, 10);
    canvas.EndPaint();
    EXPECT_EQ(image.pixelColor(10, 10), QColor(Qt::black));
    canvas.MoveTo(0, 10);
    canvas.LineTo(19, 10);
    canvas.EndPaint();
    EXPECT_EQ(image.pixelColor(10, 10), QColor(Qt::white));
}

TEST(FoDrawTest, SystemColoursResolveToRgb) {
    EXPECT_EQ(ColorToRGB(RGB(1, 2, 3)), RGB(1, 2, 3));
    EXPECT_EQ(ColorToRGB(clSystemColorFlag | 5), clWhite); // window background
    EXPECT_EQ(ToQColor(RGB(10, 20, 30)), QColor(10, 20, 30));
}

} // namespace
