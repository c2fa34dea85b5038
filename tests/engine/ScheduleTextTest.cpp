#include "ScheduleText.h"
#include "DepreciateCommand.h"
#include "EngineTestSupport.h"
#include "ScheduleFrame.h"
#include "ScheduleRecorder.h"

#include <gtest/gtest.h>

namespace fiscora {
namespace {

using test::Asset;

TEST(FiscalMonth, CountsFromTheMonthAfterTheYearEnd) {
    const std::tuple<const char *, const char *, int> cases[] = {
        {"07/01/2025", "06/30/2026", 1}, {"06/01/2026", "06/30/2026", 12}, {"01/15/2026", "01/31/2026", 12},
        {"12/15/2026", "11/30/2027", 1}, {"03/15/2026", "12/31/2026", 3},  {"11/15/2026", "06/30/2027", 5},
    };
    for (const auto &[placed, yearEnd, month] : cases)
        EXPECT_EQ(FiscalMonth(placed, yearEnd), month) << placed << " " << yearEnd;
    EXPECT_EQ(FiscalQuarter(3), 1);
    EXPECT_EQ(FiscalQuarter(4), 2);
    EXPECT_EQ(FiscalQuarter(9), 3);
    EXPECT_EQ(FiscalQuarter(10), 4);
}

TEST(ScheduleFrame, YearEndsUseTheLastDayOfTheYearEndMonth) {
    const std::tuple<const char *, const char *, std::vector<std::string>> cases[] = {
        {"07/01/2025", "06/15/2026", {"06/30/2026", "06/30/2027"}},
        {"03/01/2026", "02/28/2027", {"02/28/2027", "02/28/2028", "02/28/2029"}},
        {"03/01/2027", "02/29/2028", {"02/29/2028", "02/29/2029"}},
    };
    for (const auto &[placed, yearEnd, expected] : cases) {
        AssetInputs inputs;
        inputs.placedInService = placed;
        inputs.fiscalYearEnd = yearEnd;
        const ScheduleFrame frame = MakeScheduleFrame(inputs);
        for (std::size_t i = 0; i < expected.size(); ++i)
            EXPECT_EQ(frame.YearEnd(static_cast<int>(i) + 1), expected[i]) << yearEnd;
    }
}

TEST(ChoiceTexts, AreTheControlsItems) {
    const auto joined = [](const auto &texts) {
        std::string all;
        for (std::string_view text : texts)
            all.append(all.empty() ? "" : "|").append(text);
        return all;
    };
    EXPECT_EQ(joined(kPropertyTypeTexts),
              "Furniture, Equipment Etc.|Automobile|Van, Light Truck or SUV|Truck or "
              "Heavy Vehicle|Residential Real Property|Non-Residential Real Property");
    EXPECT_EQ(joined(kDepreciationMethodTexts), "MACRS|Staright-Line");
    EXPECT_EQ(joined(kConventionTexts), "Half-Year|Mid-Quarter|Mid-Month");
    EXPECT_EQ(joined(kDepreciableLifeTexts),
              "3-Years|5-Years|7-Years|10-Years|15-Years|20-Years|27.5-Years|39-Years");
}

TEST(ScheduleText, RowsSeparateAmountsByTheirSize) {
    EXPECT_EQ(ScheduleRowText({"12/31/2026", 100, 100}), "12/31/2026\t$100.00\t\t$100.00");
    EXPECT_EQ(ScheduleRowText({"12/31/2026", 100.01, 1234567.5}), "12/31/2026\t$100.01\t$1,234,567.50");
}

TEST(DepreciateCommand, WritesTheHeaderRowsAndParameters) {
    const AssetInputs inputs = Asset(PropertyType::HeavyTruck, "03/01/2026", 10000, DepreciationMethod::Macrs,
                                     Convention::HalfYear, DepreciableLife::Years3, "12/31/2026");
    ScheduleRecorder pane;
    RunDepreciateCommand(inputs, pane);
    const std::vector<std::string> expected = {
        "Depreciation Options Selected:",
        "",
        "Property Type:\t\tTruck or Heavy Vehicle",
        "Date Placed in Service:\t03/01/2026",
        "Cost or Basis:\t\t$10,000.00",
        "Depreciation Method:\tMACRS",
        "Convention:\t\tHalf-Year",
        "Depreciable Life:\t\t3-Years",
        "",
        "\t\tPeriod\t\tAccumulated",
        "Year End\tDepreciation\tDepreciation",
        "12/31/2026\t$3,333.00\t$3,333.00",
        "12/31/2027\t$4,445.00\t$7,778.00",
        "12/31/2028\t$1,481.00\t$9,259.00",
        "12/31/2029\t$741.00\t$10,000.00",
    };
    ASSERT_EQ(pane.lines().size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i)
        EXPECT_EQ(pane.lines()[i].text, expected[i]) << "line " << i;

    const auto formatOf = [&](std::size_t line) {
        const ScheduleFormat &f = pane.lines()[line].format;
        return f.fontName + " " + std::to_string(f.pointSize) + (f.bold ? " bold" : "") +
               (f.italic ? " italic" : "");
    };
    EXPECT_EQ(formatOf(0), "Tahoma 10 bold italic");
    EXPECT_EQ(formatOf(1), "Tahoma 8 bold italic");
    EXPECT_EQ(formatOf(8), "Tahoma 8 bold italic");
    EXPECT_EQ(formatOf(9), "Tahoma 8 bold");
    EXPECT_EQ(formatOf(11), "Courier New 8 bold");
    EXPECT_EQ(pane.caretResets(), 1);

    const std::vector<std::pair<std::string, std::string>> params = {
        {"YearEnd1", "12/31/2026"}, {"PerDepr1", "3,333.00"}, {"AccumDepr1", "3,333.00"},
        {"YearEnd2", "12/31/2027"}, {"PerDepr2", "4,445.00"}, {"AccumDepr2", "7,778.00"},
        {"YearEnd3", "12/31/2028"}, {"PerDepr3", "1,481.00"}, {"AccumDepr3", "9,259.00"},
        {"YearEnd4", "12/31/2029"}, {"PerDepr4", "741.00"},   {"AccumDepr4", "10,000.00"},
    };
    EXPECT_EQ(pane.params(), params);
}

TEST(DepreciateCommand, AShorterScheduleRemovesTheRowsOfALongerOne) {
    ScheduleRecorder pane;
    RunDepreciateCommand(Asset(PropertyType::Automobile, "06/01/2017", 145000, DepreciationMethod::Macrs,
                               Convention::HalfYear, DepreciableLife::Years5, "12/31/2017"),
                         pane);
    ASSERT_EQ(pane.Param("AccumDepr75"), "145,000.00");
    RunDepreciateCommand(Asset(PropertyType::HeavyTruck, "03/01/2026", 10000, DepreciationMethod::Macrs,
                               Convention::HalfYear, DepreciableLife::Years3, "12/31/2026"),
                         pane);
    EXPECT_EQ(pane.params().size(), 12u);
    EXPECT_EQ(pane.Param("YearEnd5"), "");
    EXPECT_EQ(pane.Param("AccumDepr4"), "10,000.00");
}

TEST(DepreciateCommand, TheBonusLineFollowsTheAmount) {
    const AssetInputs inputs = Asset(PropertyType::Automobile, "05/01/2026", 35000, DepreciationMethod::Macrs,
                                     Convention::HalfYear, DepreciableLife::Years5, "12/31/2026", true);
    ScheduleRecorder pane;
    RunDepreciateCommand(inputs, pane);
    EXPECT_EQ(pane.lines()[8].text, "1st Year Bonus Depreciation: $20,300.00");
    EXPECT_EQ(pane.lines()[9].text, "");
}

TEST(DepreciateCommand, AFailedValidationLeavesThePaneAndMovesTheFocus) {
    AssetInputs inputs = Asset(PropertyType::HeavyTruck, "03/01/2026", 10000, DepreciationMethod::Macrs,
                               Convention::HalfYear, DepreciableLife::Years3, "12/31/2026");
    ScheduleRecorder pane;
    RunDepreciateCommand(inputs, pane);
    inputs.fiscalYearEnd = std::string(kBlankDate);
    std::optional<AssetField> focused;
    try {
        RunDepreciateCommand(inputs, pane, [&](AssetField field) { focused = field; });
        FAIL() << "no field error";
    } catch (const EFieldException &error) {
        EXPECT_STREQ(error.what(), "Fiscal Year End Date requires the following format: mm/dd/yyyy");
    }
    EXPECT_EQ(focused, AssetField::FiscalYearEnd);
    EXPECT_EQ(pane.lines().size(), 15u);
}

TEST(DepreciateCommand, RepeatedRunsOfTheLongestScheduleKeepOneSetOfRowParameters) {
    const AssetInputs car = Asset(PropertyType::Automobile, "06/01/2017", 145000, DepreciationMethod::Macrs,
                                  Convention::HalfYear, DepreciableLife::Years5, "12/31/2017");
    ScheduleRecorder pane;
    for (int run = 0; run < 3; ++run)
        RunDepreciateCommand(car, pane);
    EXPECT_EQ(pane.params().size(), 75u * 3);
}

} // namespace
} // namespace fiscora

namespace fiscora {
namespace {

TEST(ScheduleRecorder, ReplacesParametersByNameWithoutRegardToCase) {
    ScheduleRecorder recorder;
    recorder.SetParam("YearEnd1", "a");
    recorder.SetParam("PerDepr1", "b");
    recorder.SetParam("yearend1", "c");
    recorder.SetParam("AccumDepr1", "d");
    recorder.SetParam("PERDEPR1", "");
    const std::vector<std::pair<std::string, std::string>> expected = {{"YearEnd1", "c"},
                                                                       {"AccumDepr1", "d"}};
    EXPECT_EQ(recorder.params(), expected);
    EXPECT_EQ(recorder.Param("ACCUMDEPR1"), "d");
    EXPECT_EQ(recorder.Param("PerDepr1"), "");
}

} // namespace
} // namespace fiscora
