#include "FoBaseRecorderTest.h"

#include <gtest/gtest.h>

using namespace fiscora;
using fiscora::test_support::TRecordingReport;

namespace {

TEST(FoBaseTabsTest, ShadeColourLightensTowardsWhite) {
    EXPECT_EQ(ShadeToColor(clBlack, 50), RGB(127, 127, 127));
    EXPECT_EQ(ShadeToColor(clBlack, 100), clBlack);
    EXPECT_EQ(ShadeToColor(clBlack, 150), clBlack);
    EXPECT_EQ(ShadeToColor(RGB(200, 0, 100), 0), clWhite);
    EXPECT_EQ(ShadeToColor(RGB(200, 0, 100), 25), RGB(241, 191, 216));
}

TEST(FoBaseTabsTest, ShadedCellFillsWithAClearPenAndRestoresBrushAndPen) {
    TRecordingReport report;
    report.OnPrint = [](TBaseReport &canvas) {
        canvas.SetFont("Arial", 12);
        canvas.SetBrush(RGB(1, 2, 3), TBrushStyle::bsCross);
        canvas.SetPen(RGB(9, 9, 9), TPenStyle::psDot, 2, TPenMode::pmCopy);
        canvas.SetTab(1.0, TPrintJustify::pjLeft, 2.0, 5, 0, 50);
        canvas.SetLineNum(3);
        canvas.Tab();
        canvas.Rectangle(0, 0, 1, 1);
    };
    report.Execute();
    const auto fills = report.CallsOf("TabRectangle");
    ASSERT_EQ(fills.size(), 1u);
    EXPECT_EQ(fills[0].BrushColor, RGB(127, 127, 127));
    EXPECT_EQ(fills[0].BrushStyle, TBrushStyle::bsSolid);
    EXPECT_EQ(fills[0].PenStyle, TPenStyle::psClear);
    EXPECT_DOUBLE_EQ(fills[0].Args[0], 1.0);
    EXPECT_DOUBLE_EQ(fills[0].Args[2], 3.0);
    EXPECT_NEAR(fills[0].Args[3] - fills[0].Args[1], 0.2, 1e-9);
    const auto after = report.CallsOf("Rectangle");
    ASSERT_EQ(after.size(), 1u);
    EXPECT_EQ(after[0].BrushColor, RGB(1, 2, 3));
    EXPECT_EQ(after[0].BrushStyle, TBrushStyle::bsCross);
    EXPECT_EQ(after[0].PenStyle, TPenStyle::psDot);
}

TEST(FoBaseTabsTest, CanvasTabShadeAppliesWhenTheTabHasNone) {
    TRecordingReport report;
    report.OnPrint = [](TBaseReport &canvas) {
        canvas.SetTabShade(120);
        EXPECT_EQ(canvas.TabShade(), 100);
        canvas.SetTabShade(20);
        canvas.SetTabColor(RGB(0, 0, 255));
        canvas.SetTab(1.0, TPrintJustify::pjLeft, 1.0, 0, 0, 0);
        canvas.Tab();
    };
    report.Execute();
    const auto fills = report.CallsOf("TabRectangle");
    ASSERT_EQ(fills.size(), 1u);
    EXPECT_EQ(fills[0].BrushColor, ShadeToColor(RGB(0, 0, 255), 20));
}

TEST(FoBaseTabsTest, BoxSidesFollowTheTabFlagsAndWidthOverrides) {
    TRecordingReport report;
    report.SetNoBufferLine(true);
    report.OnPrint = [](TBaseReport &canvas) {
        canvas.SetFont("Arial", 12);
        canvas.SetTab(1.0, TPrintJustify::pjLeft, 2.0, 0, 1 | 4, 0); // left and top
        canvas.SetLineNum(2);
        canvas.Tab(-32768, -32768, 3, 0); // left from the tab, top overridden to 3 pixels
    };
    report.Execute();
    const auto lines = report.CallsOf("LineTo");
    ASSERT_EQ(lines.size(), 2u);
    // Left side: from the line bottom up one line height at the cell's left edge.
    EXPECT_DOUBLE_EQ(lines[0].Args[0], 1.0);
    EXPECT_EQ(lines[0].PenWidth, 1);
    // Top side: along the line top to the cell's right edge, with a 3-pixel black pen.
    EXPECT_DOUBLE_EQ(lines[1].Args[0], 3.0);
    EXPECT_EQ(lines[1].PenWidth, 3);
    EXPECT_EQ(lines[1].PenColor, clBlack);
    EXPECT_EQ(report.Calls.back().PenWidth, 1);
}

TEST(FoBaseTabsTest, PrintWithTabCharactersUsesTheTabStops) {
    TRecordingReport report;
    report.OnPrint = [](TBaseReport &canvas) {
        canvas.SetTab(1.0, TPrintJustify::pjLeft, 0, 0, 0, 0);
        canvas.SetTab(4.0, TPrintJustify::pjRight, 0, 0, 0, 0);
        canvas.SetTab(5.0, TPrintJustify::pjLeft, 2.0, 10, 0, 0);
        canvas.SetTab(-1, TPrintJustify::pjCenter, 1.0, 0, 0, 0);
        canvas.Println("\tName\tAmount\tCell\tMid");
        canvas.SetTabJustify(TTabJustify::tjRight);
        canvas.Print("\tR");
    };
    report.Execute();
    const auto left = report.CallsOf("LeftText");
    const auto right = report.CallsOf("RightText");
    const auto centre = report.CallsOf("CenterText");
    ASSERT_EQ(left.size(), 2u);
    ASSERT_EQ(right.size(), 2u);
    ASSERT_EQ(centre.size(), 1u);
    EXPECT_DOUBLE_EQ(left[0].Args[0], 1.0);
    EXPECT_DOUBLE_EQ(right[0].Args[0], 4.0);
    EXPECT_DOUBLE_EQ(left[1].Args[0], 5.1);   // cell margin of 10 hundredths
    EXPECT_DOUBLE_EQ(centre[0].Args[0], 7.5); // placed after the cell, centred in its inch
    EXPECT_EQ(right[1].Text, "R");
    EXPECT_DOUBLE_EQ(right[1].Args[0], 1.0);
}

TEST(FoBaseTabsTest, FixedTabWidthSpacesTabsInsideLeftText) {
    TRecordingReport report;
    report.OnPrint = [](TBaseReport &canvas) { canvas.PrintLeft("a\tb\t\tc", 1.0); };
    report.Execute();
    const auto texts = report.CallsOf("LeftText");
    ASSERT_EQ(texts.size(), 3u);
    EXPECT_DOUBLE_EQ(texts[1].Args[0], 1.5);
    EXPECT_DOUBLE_EQ(texts[2].Args[0], 2.5);
}

TEST(FoBaseTabsTest, TabAccessorsAndSlots) {
    TRecordingReport report;
    report.SetTab(1.0, TPrintJustify::pjLeft, 2.0, 25, 15, 0);
    const TTab *tab = report.GetTab(1);
    ASSERT_NE(tab, nullptr);
    EXPECT_TRUE(tab->Left && tab->Right && tab->Top && tab->Bottom);
    EXPECT_DOUBLE_EQ(report.TabStart(1), 1.25);
    EXPECT_DOUBLE_EQ(report.TabEnd(1), 2.75);
    EXPECT_DOUBLE_EQ(report.TabWidth(1), 1.5);
    EXPECT_DOUBLE_EQ(report.TabWidth(2), 0.0);
    EXPECT_TRUE(report.SaveTabs(3));
    report.ClearTabs();
    EXPECT_EQ(report.GetTab(1), nullptr);
    EXPECT_FALSE(report.RestoreTabs(11));
    EXPECT_FALSE(report.RestoreTabs(4));
    EXPECT_TRUE(report.RestoreTabs(3));
    EXPECT_NE(report.GetTab(1), nullptr);
    report.ClearAllTabs();
    EXPECT_FALSE(report.RestoreTabs(3));
}

TEST(FoBaseTabsTest, FinishTabBoxDrawsTheTopOfEveryCell) {
    TRecordingReport report;
    report.SetNoBufferLine(true);
    report.OnPrint = [](TBaseReport &canvas) {
        canvas.SetTab(1.0, TPrintJustify::pjLeft, 1.0, 0, 0, 0);
        canvas.SetTab(-1, TPrintJustify::pjLeft, 2.0, 0, 0, 0);
        canvas.FinishTabBox(2);
    };
    report.Execute();
    const auto lines = report.CallsOf("LineTo");
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_DOUBLE_EQ(lines[0].Args[0], 2.0);
    EXPECT_DOUBLE_EQ(lines[1].Args[0], 4.0);
    EXPECT_EQ(lines[1].PenWidth, 2);
}

} // namespace
