#include "ToolBox.h"
#include "SameText.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace fiscora {
namespace {

struct RoundCase {
    double value;
    int decimals;
    double expected;
};

TEST(RoundAmount, RoundsHalvesAwayFromZeroOnTheDecimalText) {
    const RoundCase cases[] = {
        {1.005, 2, 1.00},
        {2.675, 2, 2.67},
        {1234.565, 2, 1234.57},
        {0.125, 2, 0.13},
        {-0.125, 2, -0.13},
        {1152.5, 0, 1153},
        {-1152.5, 0, -1153},
        {0.004, 2, 0},
        {0.005, 2, 0.01},
        {9.995, 2, 9.99},
        {999.995, 2, 1000.00},
        {99999.995, 2, 99999.99},
        {1940.0000000001, 2, 1940},
        {10000 * 0.1152, 2, 1152},
        {0, 2, 0},
        {123456789012.345, 2, 123456789012.35},
        {0.000049999, 4, 0},
        {1e-35, 2, 0},
    };
    for (const auto &c : cases)
        EXPECT_EQ(RoundAmount(c.value, c.decimals), c.expected) << c.value << " to " << c.decimals;
}

TEST(RoundAmount, HugeAndTinyMagnitudesKeepFourSignificantDigits) {
    EXPECT_EQ(RoundAmount(1.23456e40, 2), 1.235e40);
    EXPECT_EQ(RoundAmount(-9.99951e36, 2), -1.000e37);
    EXPECT_EQ(RoundAmount(std::ldexp(1.0, 120), 2), 1.329e36);
    EXPECT_EQ(RoundAmount(1.23456e-40, 2), 1.235e-40);
}

TEST(RoundAmount, NonNumbersGiveZero) {
    EXPECT_EQ(RoundAmount(std::numeric_limits<double>::quiet_NaN(), 2), 0);
    EXPECT_EQ(RoundAmount(std::numeric_limits<double>::infinity(), 2), 0);
    EXPECT_EQ(RoundAmount(-std::numeric_limits<double>::infinity(), 2), 0);
}

TEST(FilterChars, KeepsOnlyMembersInOrder) {
    const CharSet digits = MakeCharSet("0123456789.");
    EXPECT_EQ(FilterChars("$1,234.56", digits), "1234.56");
    EXPECT_EQ(FilterChars("", digits), "");
    EXPECT_EQ(FilterChars("caf\xc3\xa9 9", digits), "9"); // bytes of a UTF-8 character are not members
}

TEST(IsValidDateStr, NeedsTenDateCharactersAndARealDate) {
    const std::pair<const char *, bool> cases[] = {
        {"12/31/2026", true},   {"02/29/2028", true},  {"02/30/2026", false}, {"1/5/2026", false},
        {"  /  /    ", false},  {"13/01/2026", false}, {"00/10/2026", false}, {"01/00/2026", false},
        {"02/29/2100", false},  {"02/29/2000", true},  {"12-31-2026", false}, {"12/31/20266", false},
        {"12/31/2026x", false}, {"", false},           {"01/01/0000", false}, {"12/31/9999", true},
    };
    for (const auto &[text, valid] : cases)
        EXPECT_EQ(IsValidDateStr(text), valid) << '"' << text << '"';
}

TEST(DaysBetweenDates, CountsWholeDaysAndRaisesOnBadDates) {
    EXPECT_EQ(DaysBetweenDates("01/01/2026", "12/31/2026"), 364);
    EXPECT_EQ(DaysBetweenDates("01/01/2028", "12/31/2028"), 365);
    EXPECT_EQ(DaysBetweenDates("01/01/2027", "12/31/2026"), -1);
    EXPECT_EQ(DaysBetweenDates("03/01/1900", "03/01/2100"), 73049);
    EXPECT_THROW(DaysBetweenDates("  /  /    ", "12/31/2026"), EConvertError);
    EXPECT_THROW(DaysBetweenDates("12/31/2026", "02/30/2026"), EConvertError);
}

TEST(IsLeapYear, FollowsTheGregorianRule) {
    EXPECT_TRUE(IsLeapYear(2028));
    EXPECT_TRUE(IsLeapYear(2000));
    EXPECT_FALSE(IsLeapYear(2100));
    EXPECT_FALSE(IsLeapYear(2026));
}

TEST(IsBlankStr, IgnoresSpacesAndControlCharacters) {
    EXPECT_TRUE(IsBlankStr(""));
    EXPECT_TRUE(IsBlankStr(" \t\r\n"));
    EXPECT_FALSE(IsBlankStr(" x "));
}

TEST(StrToAmount, ReadsTheNumberAmongOtherCharacters) {
    const std::pair<const char *, double> cases[] = {
        {"$1,234.56", 1234.56}, {"", 0},    {"-", 0}, {".", 0}, {"12.", 12}, {".5", 0.5},
        {"-12.5", -12.5},       {"abc", 0},
    };
    for (const auto &[text, value] : cases)
        EXPECT_EQ(StrToAmount(text), value) << '"' << text << '"';
    for (const char *bad : {"1.2.3", "5-", "--5", "-.", "1-2"})
        EXPECT_THROW(StrToAmount(bad), EConvertError) << bad;
}

TEST(StrToWhole, ReadsTheWholeNumberAmongOtherCharacters) {
    EXPECT_EQ(StrToWhole("  42 "), 42);
    EXPECT_EQ(StrToWhole(""), 0);
    EXPECT_EQ(StrToWhole("-"), 0);
    EXPECT_EQ(StrToWhole("-17x"), -17);
    EXPECT_THROW(StrToWhole("1-2"), EConvertError);
    EXPECT_THROW(StrToWhole("99999999999"), EConvertError);
}

TEST(StrToInt, TakesOnlyASignAndDigits) {
    EXPECT_EQ(StrToInt("-12"), -12);
    EXPECT_EQ(StrToInt("2147483647"), 2147483647);
    for (const char *bad : {"", "12px", " 5", "+5", "2147483648", "-"})
        EXPECT_THROW(StrToInt(bad), EConvertError) << '"' << bad << '"';
}

TEST(ConversionErrors, NameTheTextThatWasConverted) {
    const auto messageOf = [](const auto &convert) {
        try {
            convert();
        } catch (const EConvertError &error) {
            return std::string(error.what());
        }
        return std::string("no error");
    };
    EXPECT_EQ(messageOf([] { StrToAmount("$1.2.3"); }), "'1.2.3' is not a valid floating point value");
    EXPECT_EQ(messageOf([] { StrToAmount(std::string(400, '9')); }),
              "'" + std::string(400, '9') + "' is not a valid floating point value");
    EXPECT_EQ(messageOf([] { StrToWhole("1-2"); }), "'1-2' is not a valid integer value");
    EXPECT_EQ(messageOf([] { StrToInt("x"); }), "'x' is not a valid integer value");
    EXPECT_EQ(messageOf([] { DaysBetweenDates("12/31/2026", "02/30/2026"); }),
              "'02/30/2026' is not a valid date");
}

TEST(TildeToLineBreak, ReplacesEveryTildeWithACarriageReturn) {
    EXPECT_EQ(TildeToLineBreak("a~~b"), "a\r\rb");
    EXPECT_EQ(TildeToLineBreak("none"), "none");
}

TEST(SplitDateStr, SetsZerosForInvalidDates) {
    int month = 9;
    int day = 9;
    int year = 9;
    SplitDateStr("13/01/2026", month, day, year);
    EXPECT_EQ(month, 0);
    EXPECT_EQ(day, 0);
    EXPECT_EQ(year, 0);
    SplitDateStr("03/07/2026", month, day, year);
    EXPECT_EQ(month, 3);
    EXPECT_EQ(day, 7);
    EXPECT_EQ(year, 2026);
}

TEST(MakeDateStr, PadsMonthAndDay) {
    EXPECT_EQ(MakeDateStr(3, 7, 2026), "03/07/2026");
    EXPECT_EQ(MakeDateStr(12, 31, 2026), "12/31/2026");
}

TEST(DaysInMonthOf, CountsFebruaryOfLeapYears) {
    EXPECT_EQ(DaysInMonthOf("02/10/2028"), 29);
    EXPECT_EQ(DaysInMonthOf("02/10/2100"), 28);
    EXPECT_EQ(DaysInMonthOf("02/10/2000"), 29);
    EXPECT_EQ(DaysInMonthOf("04/10/2026"), 30);
    EXPECT_EQ(DaysInMonthOf("  /  /    "), 0);
}

TEST(AddPathDelimiter, AppendsOnlyWhenMissing) {
    EXPECT_EQ(AddPathDelimiter("/usr/bin"), "/usr/bin/");
    EXPECT_EQ(AddPathDelimiter("/usr/bin/"), "/usr/bin/");
}

TEST(AddMonthsToDate, ClampsToTheLastDayAndRejectsBadDates) {
    EXPECT_EQ(AddMonthsToDate("01/31/2026", 1), "02/28/2026");
    EXPECT_EQ(AddMonthsToDate("01/31/2026", -1), "12/31/2025");
    EXPECT_EQ(AddMonthsToDate("01/31/2028", 1), "02/29/2028");
    EXPECT_EQ(AddMonthsToDate("05/15/2026", -17), "12/15/2024");
    EXPECT_EQ(AddMonthsToDate("05/15/2026", 24), "05/15/2028");
    EXPECT_EQ(AddMonthsToDate("02/30/2026", 1), "");
    EXPECT_EQ(AddMonthsToDate("12/15/9999", 1), "");
}

TEST(IsDateInRange, IncludesBothEndsAndRaisesOnBadDates) {
    EXPECT_TRUE(IsDateInRange("01/01/2026", "01/01/2026", "12/31/2026"));
    EXPECT_TRUE(IsDateInRange("12/31/2026", "01/01/2026", "12/31/2026"));
    EXPECT_FALSE(IsDateInRange("12/31/2025", "01/01/2026", "12/31/2026"));
    EXPECT_FALSE(IsDateInRange("01/01/2027", "01/01/2026", "12/31/2026"));
    EXPECT_THROW(IsDateInRange("  /  /    ", "01/01/2026", "12/31/2026"), EConvertError);
}

} // namespace
} // namespace fiscora

namespace fiscora {
namespace {

TEST(SameText, IgnoresTheCaseOfAsciiLetters) {
    EXPECT_TRUE(SameText("YearEnd1", "YEAREND1"));
    EXPECT_FALSE(SameText("YearEnd1", "YearEnd10"));
    EXPECT_FALSE(SameText("a", "\xc3\xa0"));
    EXPECT_EQ(LowerCaseAscii("PerDepr12"), "perdepr12");
}

} // namespace
} // namespace fiscora
