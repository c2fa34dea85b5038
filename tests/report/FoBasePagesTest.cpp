#include "FoBaseRecorderTest.h"
#include "report/core/FoErrors.h"
#include "report/core/FoPageSelection.h"

#include <gtest/gtest.h>

#include <set>

using namespace fiscora;
using fiscora::test_support::TRecordingReport;

namespace {

std::set<int> SelectedOf7(const QString &selection) {
    std::set<int> pages;
    for (int page = 1; page <= 7; ++page)
        if (PageInSelection(selection, page))
            pages.insert(page);
    return pages;
}

TEST(FoBasePagesTest, SelectionTokens) {
    EXPECT_EQ(SelectedOf7("2-4,ODD"), (std::set<int>{1, 2, 3, 4, 5, 7}));
    EXPECT_EQ(SelectedOf7("5-"), (std::set<int>{5, 6, 7}));
    EXPECT_EQ(SelectedOf7("-3"), (std::set<int>{1, 2, 3}));
    EXPECT_EQ(SelectedOf7("R"), (std::set<int>{}));
    EXPECT_EQ(SelectedOf7("e"), (std::set<int>{2, 4, 6}));
    EXPECT_EQ(SelectedOf7("6,ALL"), (std::set<int>{1, 2, 3, 4, 5, 6, 7}));
    EXPECT_EQ(SelectedOf7("3,6"), (std::set<int>{3, 6}));
}

TEST(FoBasePagesTest, NonNumericTokenRaisesConversionError) {
    EXPECT_THROW(PageInSelection("x", 1), EConvertError);
    // Scanning stops at the first token that selects the page.
    EXPECT_TRUE(PageInSelection("1,x", 1));
}

TEST(FoBasePagesTest, RangeWithoutSelection) {
    TRecordingReport report;
    report.SetFirstPage(2);
    report.SetLastPage(3);
    EXPECT_FALSE(report.PageSelected(1));
    EXPECT_TRUE(report.PageSelected(3));
    EXPECT_FALSE(report.PageSelected(4));
}

// Five pages printed through OnPrintPage; each page prints its number.
void RunFivePages(TRecordingReport &report) {
    report.OnPrintPage = [](TBaseReport &canvas, int &pageNum) {
        canvas.PrintLeft(QString::number(pageNum), 1.0);
        return pageNum < 5;
    };
    report.Execute();
}

TEST(FoBasePagesTest, PagesOutsideTheSelectionProduceNoOutput) {
    TRecordingReport report;
    report.SetSelection("2,4");
    std::vector<int> relative;
    report.OnNewPage = [&](TBaseReport &canvas) { relative.push_back(canvas.RelativePage()); };
    report.SetPageNumOffset(10);
    RunFivePages(report);
    const auto texts = report.CallsOf("LeftText");
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[0].Text, "2");
    EXPECT_EQ(texts[0].Page, 2);
    EXPECT_EQ(texts[1].Text, "4");
    EXPECT_EQ(report.JobPages(), 2);
    EXPECT_EQ(report.CurrentPage(), 5);
    EXPECT_EQ(relative, (std::vector<int>{11, 12, 13, 14, 15}));
    EXPECT_FALSE(report.Printing());
}

TEST(FoBasePagesTest, AbortStopsAtTheNextOutputAndFinishes) {
    TRecordingReport report;
    bool finished = false;
    report.OnAfterPrint = [&](TBaseReport &) { finished = true; };
    report.OnPrint = [](TBaseReport &canvas) {
        canvas.PrintLeft("one", 1.0);
        canvas.Abort();
        canvas.PrintLeft("two", 1.0);
        ADD_FAILURE() << "output after Abort went on";
    };
    EXPECT_THROW(report.Execute(), EAbort);
    EXPECT_TRUE(finished);
    EXPECT_EQ(report.CallsOf("LeftText").size(), 1u);
}

TEST(FoBasePagesTest, FinishRunsWhenThePrintHandlerFails) {
    TRecordingReport report;
    report.OnPrint = [](TBaseReport &) { throw std::runtime_error("template error"); };
    EXPECT_THROW(report.Execute(), std::runtime_error);
    EXPECT_FALSE(report.Printing());
    EXPECT_EQ(report.Calls.back().Op, "PageEnd");
    // The canvas can run the next job.
    report.OnPrint = nullptr;
    report.Execute();
}

TEST(FoBasePagesTest, AbortPageDropsThePageFromTheCount) {
    TRecordingReport report;
    report.OnPrint = [](TBaseReport &canvas) {
        canvas.PrintLeft("kept", 1.0);
        canvas.NewPage();
        canvas.AbortPage();
        canvas.AbortPage(); // already invalid: no effect
        canvas.PrintLeft("dropped", 1.0);
    };
    report.Execute();
    EXPECT_EQ(report.JobPages(), 1);
    EXPECT_EQ(report.CurrentPage(), 1);
    EXPECT_EQ(report.CallsOf("LeftText").size(), 1u);
}

TEST(FoBasePagesTest, PageEventsRunInOrderAndCanBeRemoved) {
    TRecordingReport report;
    std::vector<std::string> log;
    report.AddReportEvent(TReportEventType::reBeginPage, [&](TBaseReport &) { log.push_back("begin-a"); });
    const int removed = report.AddReportEvent(TReportEventType::reBeginPage,
                                              [&](TBaseReport &) { log.push_back("begin-x"); });
    report.AddReportEvent(TReportEventType::reEndPage, [&](TBaseReport &) { log.push_back("end"); });
    report.AddReportEvent(TReportEventType::reBeginPage, [&](TBaseReport &) { log.push_back("begin-b"); });
    report.RemoveReportEvent(TReportEventType::reBeginPage, removed);
    report.OnPrint = [](TBaseReport &canvas) { canvas.NewPage(); };
    report.Execute();
    EXPECT_EQ(log, (std::vector<std::string>{"begin-a", "begin-b", "end", "begin-a", "begin-b", "end"}));
}

TEST(FoBasePagesTest, ValidDestinationSuppressesOtherOutputKinds) {
    TRecordingReport report;
    report.OutputKindValue = okPrinter;
    report.OnPrint = [](TBaseReport &canvas) {
        canvas.AllowPreviewOnly();
        canvas.PrintLeft("preview only", 1.0);
        canvas.AllowAll();
        canvas.PrintLeft("everywhere", 1.0);
    };
    report.Execute();
    const auto texts = report.CallsOf("LeftText");
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0].Text, "everywhere");
}

} // namespace
