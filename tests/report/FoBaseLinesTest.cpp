#include "FoBaseRecorderTest.h"

#include <gtest/gtest.h>

using namespace fiscora;
using fiscora::test_support::TRecordedCall;
using fiscora::test_support::TRecordingReport;

namespace {

TEST(FoBaseLinesTest, LineHeightMethods) {
    TRecordingReport report;
    report.SetFont("Arial", 12);
    EXPECT_EQ(report.LineHeightMethod(), TLineHeightMethod::lhmFont);
    EXPECT_NEAR(report.LineHeight(), 0.2, 1e-12);
    report.SetLineHeightMethod(TLineHeightMethod::lhmLinesPerInch);
    report.SetLinesPerInch(0);
    EXPECT_NEAR(report.LineHeight(), 1.0 / 6.0, 1e-12);
    report.SetLinesPerInch(8);
    EXPECT_NEAR(report.LineHeight(), 0.125, 1e-12);
    report.SetLineHeight(0.3);
    EXPECT_EQ(report.LineHeightMethod(), TLineHeightMethod::lhmUser);
    report.SetFont("Arial", 20);
    EXPECT_NEAR(report.LineHeight(), 0.3, 1e-12);
}

TEST(FoBaseLinesTest, LinesMoveByTheLineHeightAndRespectTheSection) {
    TRecordingReport report;
    report.Start();
    report.SetFont("Arial", 12);
    report.SetMarginTop(1.0);
    report.SetMarginBottom(1.0);
    report.ResetSection();
    report.SetLineNum(1);
    const double descent = report.DescentHeight();
    EXPECT_GT(descent, 0.0);
    EXPECT_NEAR(report.YPos(), 1.0 + 0.2 - descent, 1e-9);
    // 9 inches of section hold 45 lines of 0.2 inch.
    EXPECT_EQ(report.LinesLeft(), 45);
    int endOfSection = 0;
    report.OnEndOfSection = [&](TBaseReport &) { ++endOfSection; };
    for (int line = 1; line < 45; ++line)
        report.NewLine();
    EXPECT_EQ(report.LineNum(), 45);
    EXPECT_EQ(report.LinesLeft(), 1);
    EXPECT_EQ(endOfSection, 1);
    report.Finish();
}

TEST(FoBaseLinesTest, ColumnsTakeOverWhenAColumnIsFull) {
    TRecordingReport report;
    report.Start();
    report.SetFont("Arial", 12);
    report.SetMarginLeft(1.0);
    report.SetMarginRight(1.0);
    report.SetSectionTop(1.0);
    report.SetSectionBottom(2.0);
    std::vector<int> columns;
    report.OnNewColumn = [&](TBaseReport &, int column) { columns.push_back(column); };
    report.SetColumns(2, 0.5);
    EXPECT_DOUBLE_EQ(report.ColumnWidth(), 3.0);
    report.SetLineNum(1);
    EXPECT_EQ(report.ColumnLinesLeft(), 10);
    for (int line = 1; line < 5; ++line)
        report.NewLine();
    report.NewLine(); // the last line of column 1 moves on to column 2
    EXPECT_EQ(report.ColumnNum(), 2);
    EXPECT_EQ(report.LineNum(), 1);
    EXPECT_DOUBLE_EQ(report.XPos(), 4.5);
    EXPECT_EQ(columns, (std::vector<int>{1, 2}));
    report.Finish();
}

// Lines are compared in page inches: MoveTo/LineTo pairs as the canvas emits them at page end.
std::vector<std::vector<double>> EmittedLines(const TRecordingReport &report) {
    std::vector<std::vector<double>> lines;
    const auto &calls = report.Calls;
    for (std::size_t i = 0; i + 1 < calls.size(); ++i)
        if (calls[i].Op == "MoveTo" && calls[i + 1].Op == "LineTo")
            lines.push_back({calls[i].Args[0], calls[i].Args[1], calls[i + 1].Args[0], calls[i + 1].Args[1],
                             double(calls[i + 1].PenWidth)});
    return lines;
}

TEST(FoBaseLinesTest, TouchingLinesWithTheSamePenMergeAtPageEnd) {
    TRecordingReport report;
    bool printed = false;
    report.OnPrint = [&printed](TBaseReport &canvas) {
        printed = true;
        canvas.MoveTo(1, 2);
        canvas.LineTo(3, 2);
        canvas.MoveTo(3, 2);
        canvas.LineTo(5, 2);
        canvas.MoveTo(2, 2); // inside the merged line: dropped
        canvas.LineTo(4, 2);
        EXPECT_TRUE(static_cast<TRecordingReport &>(canvas).CallsOf("LineTo").empty());
    };
    report.Execute();
    EXPECT_TRUE(printed);
    const auto lines = EmittedLines(report);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0], (std::vector<double>{1, 2, 5, 2, 1}));
}

TEST(FoBaseLinesTest, DifferentPensStaySeparateAndVerticalsComeFirst) {
    TRecordingReport report;
    report.OnPrint = [](TBaseReport &canvas) {
        canvas.MoveTo(1, 2);
        canvas.LineTo(3, 2);
        canvas.SetPen(clBlack, TPenStyle::psSolid, 4, TPenMode::pmCopy);
        canvas.MoveTo(3, 2);
        canvas.LineTo(5, 2);
        canvas.MoveTo(6, 1);
        canvas.LineTo(6, 3);
        canvas.SetPen(clBlack, TPenStyle::psSolid, 2, TPenMode::pmCopy);
    };
    report.Execute();
    const auto lines = EmittedLines(report);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0], (std::vector<double>{6, 1, 6, 3, 4}));
    EXPECT_EQ(lines[1], (std::vector<double>{1, 2, 3, 2, 1}));
    EXPECT_EQ(lines[2], (std::vector<double>{3, 2, 5, 2, 4}));
    // The caller's pen is back after the buffered lines were drawn.
    EXPECT_EQ(report.Calls.back().Op, "PageEnd");
    EXPECT_EQ(report.Calls.back().PenWidth, 2);
}

TEST(FoBaseLinesTest, DiagonalLinesAreOutputAtOnce) {
    TRecordingReport report;
    bool printed = false;
    report.OnPrint = [&printed](TBaseReport &canvas) {
        printed = true;
        canvas.MoveTo(1, 1);
        canvas.LineTo(2, 2);
        const auto &calls = static_cast<TRecordingReport &>(canvas).Calls;
        ASSERT_GE(calls.size(), 2u);
        EXPECT_EQ(calls[calls.size() - 2].Op, "MoveTo");
        EXPECT_EQ(calls.back().Op, "LineTo");
    };
    report.Execute();
    EXPECT_TRUE(printed);
}

TEST(FoBaseLinesTest, NoBufferLineOutputsStraightAway) {
    TRecordingReport report;
    report.SetNoBufferLine(true);
    bool printed = false;
    report.OnPrint = [&printed](TBaseReport &canvas) {
        printed = true;
        canvas.MoveTo(1, 2);
        canvas.LineTo(3, 2);
        EXPECT_EQ(static_cast<TRecordingReport &>(canvas).CallsOf("LineTo").size(), 1u);
    };
    report.Execute();
    EXPECT_TRUE(printed);
    EXPECT_EQ(report.CallsOf("LineTo").size(), 1u);
}

struct PenWidthCase {
    int argument;
    int pixels;
};

class FoBasePenWidthTest : public ::testing::TestWithParam<PenWidthCase> {};

TEST_P(FoBasePenWidthTest, WidthArgumentToPixelsAt600Dpi) {
    TRecordingReport report;
    report.Start();
    report.SetPen(clBlack, TPenStyle::psSolid, GetParam().argument, TPenMode::pmCopy);
    EXPECT_EQ(report.Canvas().Pen().Width(), GetParam().pixels);
    report.Finish();
}

INSTANTIATE_TEST_SUITE_P(Widths, FoBasePenWidthTest,
                         ::testing::Values(PenWidthCase{3, 3},        // pixels
                                           PenWidthCase{-1, 6},       // 0.01 inch
                                           PenWidthCase{-50, 300},    // 0.5 inch
                                           PenWidthCase{-10050, 3},   // 50 ten-thousandths
                                           PenWidthCase{-10001, 1})); // rounds to 0: at least 1

TEST(FoBaseLinesTest, CreatePenTreatsNegativeWidthsAsHundredths) {
    TRecordingReport report;
    report.Start();
    EXPECT_EQ(report.CreatePen(clBlack, TPenStyle::psDash, -10050, TPenMode::pmCopy)->Width(), 60300);
    EXPECT_EQ(report.CreatePen(clBlack, TPenStyle::psDash, -2, TPenMode::pmCopy)->Width(), 12);
    report.Finish();
}

} // namespace
