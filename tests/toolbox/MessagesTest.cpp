#include "AmountFormat.h"
#include "Clock.h"
#include "ErrorDisplay.h"
#include "MsgBoxRecorder.h"
#include "ToolBox.h"

#include <gtest/gtest.h>

#include <iostream>
#include <sstream>

namespace fiscora {
namespace {

TEST(ShowMsgBox, HandsTheTextWithLineBreaksToThePresenter) {
    MsgBoxRecorder recorder(7);
    EXPECT_EQ(ShowMsgBox("The calculator display will not~fit into the data entry field!", "Fiscora 2025",
                         kMsgIconError),
              7);
    ASSERT_EQ(recorder.messages.size(), 1u);
    EXPECT_EQ(recorder.messages[0].text, "The calculator display will not\rfit into the data entry field!");
    EXPECT_EQ(recorder.messages[0].caption, "Fiscora 2025");
    EXPECT_EQ(recorder.messages[0].flags, 16);
}

TEST(ShowMsgBox, TheRecorderRestoresThePreviousPresenter) {
    MsgBoxRecorder outer;
    {
        MsgBoxRecorder inner;
        ShowMsgBox("inner", "c", kMsgIconInformation);
    }
    ShowMsgBox("outer", "c", kMsgIconWarning);
    ASSERT_EQ(outer.messages.size(), 1u);
    EXPECT_EQ(outer.messages[0].text, "outer");
    EXPECT_EQ(outer.messages[0].flags, 48);
}

TEST(ApplicationTitle, DefaultsToTheEditionTitle) {
    EXPECT_EQ(ApplicationTitle(), "Fiscora 2025");
    SetApplicationTitle("Other");
    EXPECT_EQ(ApplicationTitle(), "Other");
    SetApplicationTitle("Fiscora 2025");
}

TEST(ErrorDisplayText, AppendsAPeriodAfterCharactersAboveIt) {
    const std::pair<const char *, const char *> cases[] = {
        {"Cost or Basis requires an amount of at least $1.00",
         "Cost or Basis requires an amount of at least $1.00."},
        {"Done.", "Done."},
        {"Really?", "Really?."}, // "?" (63) is above "." (46)
        {"List,", "List,"},      // "," (44) is not
        {"", ""},
    };
    for (const auto &[message, shown] : cases) {
        const auto text = ErrorDisplayText(EFieldException(message));
        ASSERT_TRUE(text.has_value());
        EXPECT_EQ(*text, shown);
    }
}

TEST(ErrorDisplayText, ShowsNothingForAnAbort) {
    EXPECT_FALSE(ErrorDisplayText(EAbort()).has_value());
    EXPECT_FALSE(ErrorDisplayText(std::make_exception_ptr(EAbort())).has_value());
}

TEST(ErrorDisplayText, TakesTheInnermostMessageOfWrappedErrors) {
    try {
        try {
            try {
                throw EInOutError("Disk full");
            } catch (...) {
                std::throw_with_nested(ECustomException(""));
            }
        } catch (...) {
            std::throw_with_nested(ECustomException("Saving failed"));
        }
    } catch (...) {
        EXPECT_EQ(ErrorDisplayText(std::current_exception()), "Disk full.");
    }
    EXPECT_EQ(ErrorDisplayText(std::make_exception_ptr(42)), "An unknown error occurred.");
}

TEST(FormatAmount, GroupsThousandsAndRoundsHalvesAway) {
    EXPECT_EQ(FormatDollars(1234.5), "$1,234.50");
    EXPECT_EQ(FormatDollars(-1234.5), "-$1,234.50");
    EXPECT_EQ(FormatDollars(0), "$0.00");
    EXPECT_EQ(FormatDollars(999999999.995), "$1,000,000,000.00");
    EXPECT_EQ(FormatDollars(-0.001), "$0.00");
    EXPECT_EQ(FormatGroupedAmount(100), "100.00");
    EXPECT_EQ(FormatGroupedAmount(1234567.125), "1,234,567.13");
    EXPECT_EQ(FormatAmount(1234.5678, 0, false, false), "1235");
    EXPECT_EQ(FormatAmount(1234.5678, 3, false, true), "$1234.568");
    EXPECT_EQ(AddDollarSign("-1,234.50"), "-$1,234.50");
}

} // namespace
} // namespace fiscora

namespace fiscora {
namespace {

TEST(ShowMsgBox, WithoutAPresenterTheMessageGoesToStandardError) {
    std::ostringstream captured;
    std::streambuf *const original = std::cerr.rdbuf(captured.rdbuf());
    const int button = ShowMsgBox("first~second", "Fiscora 2025", kMsgIconWarning);
    std::cerr.rdbuf(original);
    EXPECT_EQ(button, kMsgResultOk);
    EXPECT_EQ(captured.str(), "Fiscora 2025: first\nsecond\n");
}

TEST(TodayDateStr, ComesFromTheInstalledSource) {
    EXPECT_TRUE(IsValidDateStr(TodayDateStr()));
    const TodaySource previous = InstallTodaySource([] { return std::string("02/29/2028"); });
    EXPECT_EQ(TodayDateStr(), "02/29/2028");
    InstallTodaySource(previous);
    EXPECT_NE(TodayDateStr(), "02/29/2028");
}

} // namespace
} // namespace fiscora
