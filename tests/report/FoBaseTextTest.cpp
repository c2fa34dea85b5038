#include "FoBaseRecorderTest.h"
#include "report/core/FoErrors.h"
#include "report/core/FoMacros.h"
#include "report/devices/FoFontManager.h"

#include <gtest/gtest.h>

using namespace fiscora;
using fiscora::test_support::TRecordingReport;

namespace {

TEST(FoBaseTextTest, PushFontInsideLeftTextWithTabsHasNoEffect) {
    TRecordingReport report;
    int pushes = 0;
    report.DuringLeftText = [&](TRecordingReport &canvas) {
        EXPECT_TRUE(canvas.PushFont());
        EXPECT_TRUE(canvas.PopFont());
        ++pushes;
    };
    report.OnPrint = [](TBaseReport &canvas) { canvas.PrintLeft("a\tb", 1.0); };
    report.Execute();
    EXPECT_EQ(pushes, 2);
    report.DuringLeftText = nullptr;
    // Nothing was pushed meanwhile, so there is nothing to pop now.
    EXPECT_FALSE(report.PopFont());
}

TEST(FoBaseTextTest, FontSlotsAndStack) {
    TRecordingReport report;
    EXPECT_FALSE(report.RestoreFont(11));
    EXPECT_FALSE(report.SaveFont(0));
    report.SetFont("Times New Roman", 14);
    report.SetBold(true);
    EXPECT_TRUE(report.SaveFont(2));
    EXPECT_TRUE(report.PushFont());
    report.SetFont("Courier New", 8);
    EXPECT_TRUE(report.RestoreFont(2));
    EXPECT_EQ(report.FontName(), "Times New Roman");
    EXPECT_TRUE(report.Bold());
    // Slots start out as the default font.
    EXPECT_TRUE(report.RestoreFont(5));
    EXPECT_EQ(report.FontName(), "Arial");
    EXPECT_DOUBLE_EQ(report.FontSize(), 10.0);
    EXPECT_TRUE(report.PopFont());
    EXPECT_DOUBLE_EQ(report.FontSize(), 14.0);
}

TEST(FoBaseTextTest, SetFontIgnoresSizesNotAboveZeroAndResetsAttributes) {
    TRecordingReport report;
    report.SetFont("Arial", 12);
    report.SetItalic(true);
    report.SetFontRotation(-90);
    EXPECT_EQ(report.FontRotation(), 270);
    report.SetFont("Courier New", 0);
    report.SetFont("Courier New", -4);
    EXPECT_EQ(report.FontName(), "Arial");
    EXPECT_TRUE(report.Italic());
    report.SetFont("Courier New", 9);
    EXPECT_FALSE(report.Italic());
    EXPECT_EQ(report.FontRotation(), 0);
    EXPECT_DOUBLE_EQ(report.FontHeight(), 9.0 / 72.0);
    report.SetSuperscript(true);
    report.SetSubscript(true);
    EXPECT_FALSE(report.Superscript());
    report.SetSuperscript(true);
    EXPECT_FALSE(report.Subscript());
}

TEST(FoBaseTextTest, TextWidthMeasuresThroughTheDevice) {
    TRecordingReport report;
    report.Start();
    // An empty text measures one pixel of the 600 dpi printer-less device.
    EXPECT_DOUBLE_EQ(report.TextWidth(""), 1.0 / 600.0);
    report.SetFont("Courier New", 12);
    report.SetFontPitch(TFontPitch::fpFixed);
    const double ten = report.TextWidth("MMMMMMMMMM");
    EXPECT_NEAR(ten, 10 * 0.1, 0.02); // Courier's advance is 0.6 em
    EXPECT_DOUBLE_EQ(report.TextWidth("iiiiiiiiii"), ten);
    report.SetScaleX(50);
    EXPECT_NEAR(report.TextWidth("MMMMMMMMMM"), ten / 2, 1e-9);
    report.SetUnits(TPrintUnits::unPoint);
    EXPECT_NEAR(report.TextWidth("MMMMMMMMMM"), ten / 2 * 72, 1e-9);
    report.Finish();
}

TEST(FoBaseTextTest, RichTextCommandsTakeNoWidth) {
    TRecordingReport report;
    report.Start();
    const double plain = report.TextWidth("Total");
    const QString rich = QChar(1) + QStringLiteral("B0") + QChar(4) + QStringLiteral("Total");
    EXPECT_DOUBLE_EQ(report.TextWidth(rich), plain);
    const QString bold = QChar(1) + QStringLiteral("B1") + QChar(4) + QStringLiteral("Total");
    EXPECT_GT(report.TextWidth(bold), plain);
    // Measuring rich text leaves the current font alone.
    EXPECT_FALSE(report.Bold());
    EXPECT_DOUBLE_EQ(report.TextWidth("Total"), plain);
    report.Finish();
}

TEST(FoBaseTextTest, TruncateTextKeepsMarkersAndDropsWholeCommands) {
    TRecordingReport report;
    report.Start();
    const QString marker = MacroMarker(11) + QStringLiteral(" a long text that does not fit");
    EXPECT_EQ(report.TruncateText(marker, 0.1), marker);
    const QString text = QStringLiteral("WWWWWWWWWW");
    const QString cut = report.TruncateText(text, report.TextWidth("WWW") + 0.001);
    EXPECT_EQ(cut, "WWW");
    const QString rich = QStringLiteral("WW") + QChar(1) + QStringLiteral("B1") + QChar(4);
    EXPECT_EQ(report.TruncateText(rich, report.TextWidth("W") + 0.001), "W");
    report.Finish();
}

TEST(FoBaseTextTest, JustifiedTextPrimitives) {
    TRecordingReport report;
    report.OnPrint = [](TBaseReport &canvas) {
        canvas.SetUnits(TPrintUnits::unMM);
        canvas.PrintCenter("c", 50.8);
        canvas.PrintRight("r", 25.4);
        canvas.PrintBlock("b b", 25.4, 50.8);
        canvas.PrintCharJustify("12.50", QLatin1Char('.'), 76.2);
        canvas.PrintXY(25.4, 127, "xy");
    };
    report.Execute();
    const auto centre = report.CallsOf("CenterText");
    const auto right = report.CallsOf("RightText");
    const auto block = report.CallsOf("BlockText");
    const auto left = report.CallsOf("LeftText");
    ASSERT_EQ(centre.size(), 1u);
    ASSERT_EQ(right.size(), 2u);
    ASSERT_EQ(block.size(), 1u);
    ASSERT_EQ(left.size(), 2u);
    EXPECT_DOUBLE_EQ(centre[0].Args[0], 2.0);
    EXPECT_DOUBLE_EQ(right[0].Args[0], 1.0);
    EXPECT_DOUBLE_EQ(block[0].Args[0], 1.0);
    EXPECT_DOUBLE_EQ(block[0].Args[2], 2.0);
    EXPECT_EQ(right[1].Text, "12");
    EXPECT_DOUBLE_EQ(right[1].Args[0], 3.0);
    EXPECT_EQ(left[0].Text, ".50");
    EXPECT_DOUBLE_EQ(left[0].Args[0], 3.0);
    EXPECT_DOUBLE_EQ(left[1].Args[1], 5.0);
}

TEST(FoBaseTextTest, MacrosBecomeMarkersOnlyInTheSnapshotWriter) {
    TRecordingReport report;
    report.MacroData() << "first"
                       << "second";
    report.SetReportDateTime(QDateTime(QDate(2026, 3, 7), QTime(14, 5, 9)));
    report.SetPageNumOffset(4);
    EXPECT_EQ(report.Macro(TMacroID::midCurrentPage), QChar(253) + QStringLiteral("$FOLM11"));
    EXPECT_EQ(report.Macro(TMacroID::midUser02), QChar(253) + QStringLiteral("$FOLM17"));
    EXPECT_EQ(report.Macro(TMacroID::midRelativePage), "4");
    report.OutputKindValue = okPrinter;
    EXPECT_EQ(report.Macro(TMacroID::midUser02), "second");
    EXPECT_EQ(report.Macro(TMacroID::midUser03), "");
    EXPECT_EQ(report.Macro(36), "");
    EXPECT_EQ(report.Macro(TMacroID::midLastPage), "9999");
    EXPECT_EQ(report.Macro(TMacroID::midPrinterName), "Render");
    EXPECT_EQ(report.Macro(TMacroID::midPortName), "Render");
    EXPECT_EQ(report.Macro(TMacroID::midCurrDateShort), "03/07/2026");
    EXPECT_EQ(report.Macro(TMacroID::midCurrDateLong), "Saturday, March 7, 2026");
    EXPECT_EQ(report.Macro(TMacroID::midCurrDateUS), "03/07/26");
    EXPECT_EQ(report.Macro(TMacroID::midCurrDateInter), "07/03/26");
    EXPECT_EQ(report.Macro(TMacroID::midCurrTimeShort), "2:05 PM");
    EXPECT_EQ(report.Macro(TMacroID::midCurrTimeLong), "2:05:09 PM");
    EXPECT_EQ(report.Macro(TMacroID::midCurrTimeAMPM), "02:05 PM");
    EXPECT_EQ(report.Macro(TMacroID::midCurrTime24), "14:05");
    report.OutputKindValue = okPreview;
    EXPECT_EQ(report.Macro(TMacroID::midDriverName), "Preview");
    EXPECT_EQ(report.Macro(TMacroID::midPortName), "Screen");
}

TEST(FoBaseTextTest, StatusFormat) {
    TRecordingReport report;
    QString caption;
    report.StatusLabel = [&](const QString &text) { caption = text; };
    report.StatusText() << "zero"
                        << "one";
    report.SetStatusFormat("%p|%%|%1|%7|%n|%x|%d|%F-%l|%c/%S|%");
    report.UpdateStatus();
    EXPECT_EQ(caption, "0|%|one||\r|<ERROR-%x>|Render|1-9999|1/1|%");
    TRecordingReport defaults;
    EXPECT_EQ(defaults.StatusFormat(), "Printing page %p");
    EXPECT_EQ(defaults.Title(), "Folio Report");
}

TEST(FoBaseTextTest, LinksAndPageVariables) {
    TRecordingReport report;
    EXPECT_EQ(TBaseReport::MakeLink("here", "http://x"),
              QChar(1) + QStringLiteral("Ahttp://x") + QChar(4) + "here" + QChar(1) + "A" + QChar(4));
    report.StartLink("http://x");
    EXPECT_EQ(report.HyperLink(), "http://x");
    report.EndLink();
    EXPECT_TRUE(report.HyperLink().isEmpty());
    EXPECT_EQ(report.PIVar("Total"), "");
    EXPECT_EQ(report.GetPIVar("Total"), "Total");
}

TEST(FoBaseTextTest, ChangesThroughTheDeviceFontReachTheCanvasFont) {
    TRecordingReport report;
    bool printed = false;
    report.OnPrint = [&printed](TBaseReport &canvas) {
        printed = true;
        canvas.SetFont("Arial", 10);
        canvas.Canvas().Font().SetBold(true);
        canvas.Canvas().Font().SetSize(24); // 24 points at the device's 600 dpi
        EXPECT_TRUE(canvas.Bold());
        EXPECT_NEAR(canvas.FontSize(), 24.0, 0.1);
        EXPECT_NEAR(canvas.LineHeight(), 0.4, 0.002);
        // Realising the canvas font on the device is not a change made by the caller.
        canvas.SetFont("Courier New", 8);
        canvas.TextWidth("x");
        EXPECT_EQ(canvas.FontName(), "Courier New");
        EXPECT_FALSE(canvas.Bold());
    };
    report.Execute();
    EXPECT_TRUE(printed);
}

TEST(FoBaseTextTest, ErrorMessages) {
    TRecordingReport report;
    try {
        report.PrintLeft("x", 1);
        ADD_FAILURE();
    } catch (const EFolioReport &error) {
        EXPECT_STREQ(error.what(), "Invalid method call.  Report canvas is not printing.");
    }
    try {
        report.Canvas();
        ADD_FAILURE();
    } catch (const EFolioReport &error) {
        EXPECT_STREQ(error.what(), "Error!  Canvas not yet active.");
    }
    report.Start();
    try {
        report.SetCopies(2);
        ADD_FAILURE();
    } catch (const EFolioReport &error) {
        EXPECT_STREQ(error.what(), "Invalid method call.  Report canvas already printing.");
    }
    report.Finish();
}

} // namespace
