#include "Depreciate.h"
#include "EngineTestSupport.h"
#include "ScheduleRecorder.h"
#include "ScheduleText.h"
#include "ToolBox.h"

#include <gtest/gtest.h>

namespace fiscora {
namespace {

using test::Amounts;
using test::Asset;
constexpr auto kMacrs = DepreciationMethod::Macrs;
constexpr auto kStraight = DepreciationMethod::StraightLine;
constexpr auto kHalf = Convention::HalfYear;
constexpr auto kQuarter = Convention::MidQuarter;
constexpr auto kMonth = Convention::MidMonth;

struct ScheduleCase {
    const char *name;
    AssetInputs inputs;
    std::vector<double> periods;
    const char *firstYearEnd;
};

std::vector<double> ResidentialLaterRows(double lastRow) {
    // Rows 2 to 9 at 3636, rows 10 to 27 alternating 3637 and 3636, then the last row.
    std::vector<double> rows = Amounts({{3636, 8}});
    for (int row = 10; row <= 27; ++row)
        rows.push_back(row % 2 == 0 ? 3637 : 3636);
    rows.push_back(lastRow);
    return rows;
}

std::vector<double> Prepend(std::initializer_list<double> first, std::vector<double> rest) {
    std::vector<double> all(first);
    all.insert(all.end(), rest.begin(), rest.end());
    return all;
}

std::vector<ScheduleCase> WorkedExamples() {
    const auto furniture = [](const char *placed, Convention convention, const char *yearEnd) {
        return Asset(PropertyType::FurnitureEquipment, placed, 10000, kMacrs, convention,
                     DepreciableLife::Years5, yearEnd);
    };
    return {
        {"MacrsHalfYear5",
         furniture("03/01/2026", kHalf, "12/31/2026"),
         {2000, 3200, 1920, 1152, 1152, 576},
         "12/31/2026"},
        {"MacrsMidQuarterFourth",
         furniture("11/15/2026", kQuarter, "12/31/2026"),
         {500, 3800, 2280, 1368, 1094, 958},
         "12/31/2026"},
        {"MacrsMidQuarterSecondFiscal",
         furniture("11/15/2026", kQuarter, "06/30/2027"),
         {2500, 3000, 1800, 1137, 1137, 426},
         "06/30/2027"},
        {"StraightLine7",
         Asset(PropertyType::FurnitureEquipment, "03/01/2026", 10000, kStraight, kHalf,
               DepreciableLife::Years7, "12/31/2026"),
         Amounts({{713}, {1429, 6}, {713}}), "12/31/2026"},
        {"StraightLine20MidQuarter",
         Asset(PropertyType::FurnitureEquipment, "02/01/2026", 10000, kStraight, kQuarter,
               DepreciableLife::Years20, "12/31/2026"),
         Amounts({{437.5}, {500, 19}, {62.5}}), "12/31/2026"},
        // MACRS has no 15- or 20-year table: those lives take the straight-line rates.
        {"Macrs15TakesStraightLine",
         Asset(PropertyType::FurnitureEquipment, "03/01/2026", 10000, kMacrs, kHalf, DepreciableLife::Years15,
               "12/31/2026"),
         Amounts({{333}, {667, 14}, {329}}), "12/31/2026"},
        {"FurnitureWithBonus",
         Asset(PropertyType::FurnitureEquipment, "03/01/2026", 10000, kMacrs, kHalf, DepreciableLife::Years5,
               "12/31/2026", true),
         Amounts({{0, 6}}), "12/31/2026"},
        {"AutomobileUncapped",
         Asset(PropertyType::Automobile, "05/01/2024", 60000, kMacrs, kHalf, DepreciableLife::Years5,
               "12/31/2024"),
         {12000, 19200, 11520, 6912, 6912, 3456},
         "12/31/2024"},
        {"AutomobileCapped",
         Asset(PropertyType::Automobile, "05/01/2024", 100000, kMacrs, kHalf, DepreciableLife::Years5,
               "12/31/2024"),
         Amounts({{12400}, {19800}, {11900}, {7160, 7}, {5780}}), "12/31/2024"},
        {"AutomobileBonusCapped",
         Asset(PropertyType::Automobile, "05/01/2026", 30000, kMacrs, kHalf, DepreciableLife::Years5,
               "12/31/2026", true),
         {0, 3104, 1862.40, 1117.44, 1117.44, 558.72, 1940},
         "12/31/2026"},
        {"AutomobileBonusWholeCost",
         Asset(PropertyType::Automobile, "05/01/2026", 15000, kMacrs, kHalf, DepreciableLife::Years5,
               "12/31/2026", true),
         Amounts({{0, 6}}), "12/31/2026"},
        {"LightTruck2017",
         Asset(PropertyType::LightTruck, "05/01/2017", 20000, kMacrs, kHalf, DepreciableLife::Years5,
               "12/31/2017"),
         {3560, 5700, 3450, 2075, 2075, 2075, 1065},
         "12/31/2017"},
        {"AutomobileStraightLineFirstQuarter",
         Asset(PropertyType::Automobile, "02/15/2026", 40000, kStraight, kQuarter, DepreciableLife::Years5,
               "12/31/2026"),
         {7000, 8000, 8000, 7160, 7160, 1000, 1680},
         "12/31/2026"},
        {"HeavyTruckMacrs",
         Asset(PropertyType::HeavyTruck, "03/01/2026", 10000, kMacrs, kHalf, DepreciableLife::Years3,
               "12/31/2026"),
         {3333, 4445, 1481, 741},
         "12/31/2026"},
        {"HeavyTruckStraightLine",
         Asset(PropertyType::HeavyTruck, "03/01/2026", 10000, kStraight, kHalf, DepreciableLife::Years3,
               "12/31/2026"),
         {1667, 3333, 3333, 1667},
         "12/31/2026"},
        {"HeavyTruckMidQuarterFourth",
         Asset(PropertyType::HeavyTruck, "12/01/2026", 10000, kMacrs, kQuarter, DepreciableLife::Years3,
               "12/31/2026"),
         {833, 6111, 2037, 1019},
         "12/31/2026"},
        {"HeavyTruckWithBonus",
         Asset(PropertyType::HeavyTruck, "03/01/2026", 10000, kMacrs, kHalf, DepreciableLife::Years3,
               "12/31/2026", true),
         Amounts({{0, 4}}), "12/31/2026"},
        {"ResidentialFirstMonth",
         Asset(PropertyType::Residential, "01/10/2026", 100000, kStraight, kMonth, DepreciableLife::Years27_5,
               "12/31/2026"),
         Prepend({3485}, ResidentialLaterRows(1970)), "12/31/2026"},
        {"ResidentialSeventhMonth",
         Asset(PropertyType::Residential, "07/10/2026", 100000, kStraight, kMonth, DepreciableLife::Years27_5,
               "12/31/2026"),
         [] {
             std::vector<double> rows = Prepend({1667}, ResidentialLaterRows(3636));
             rows.push_back(152);
             return rows;
         }(),
         "12/31/2026"},
        {"ResidentialFiscalYear",
         Asset(PropertyType::Residential, "07/15/2025", 100000, kStraight, kMonth, DepreciableLife::Years27_5,
               "06/30/2026"),
         Prepend({3485}, ResidentialLaterRows(1970)), "06/30/2026"},
        {"NonResidentialFirstMonth",
         Asset(PropertyType::NonResidential, "01/10/2026", 100000, kStraight, kMonth,
               DepreciableLife::Years39, "12/31/2026"),
         Amounts({{2461}, {2564, 38}, {107}}), "12/31/2026"},
        {"NonResidentialTwelfthMonth",
         Asset(PropertyType::NonResidential, "12/10/2026", 100000, kStraight, kMonth,
               DepreciableLife::Years39, "12/31/2026"),
         Amounts({{107}, {2564, 38}, {2461}}), "12/31/2026"},
    };
}

class WorkedExample : public testing::TestWithParam<ScheduleCase> {};

TEST_P(WorkedExample, ComesOutToTheCent) {
    const ScheduleCase &c = GetParam();
    const ScheduleRows rows = ComputeSchedule(c.inputs);
    ASSERT_EQ(rows.size(), c.periods.size());
    double accumulated = 0;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        EXPECT_EQ(RoundAmount(rows[i].period, 2), c.periods[i]) << "row " << i + 1;
        accumulated += c.periods[i];
        EXPECT_NEAR(rows[i].accumulated, accumulated, 0.001) << "row " << i + 1;
    }
    const double basis = c.inputs.bonusRequested ? c.inputs.cost - c.inputs.bonusAmount : c.inputs.cost;
    EXPECT_EQ(rows[rows.size() - 1].accumulated, basis);
    EXPECT_EQ(rows[0].yearEnd, c.firstYearEnd);
}

INSTANTIATE_TEST_SUITE_P(Schedules, WorkedExample, testing::ValuesIn(WorkedExamples()),
                         [](const auto &info) { return std::string(info.param.name); });

TEST(ScheduleRoutines, EachWritesTheRowsOfItsOwnPropertyType) {
    using Routine = ScheduleRows (*)(const AssetInputs &, ScheduleSink &);
    // 2017 vehicles, since automobiles and light trucks differ only in that year's caps.
    const std::pair<Routine, AssetInputs> cases[] = {
        {DepreciateGeneral, Asset(PropertyType::FurnitureEquipment, "03/01/2026", 10000, kMacrs, kHalf,
                                  DepreciableLife::Years7, "12/31/2026")},
        {DepreciateAutomobile, Asset(PropertyType::Automobile, "05/01/2017", 20000, kMacrs, kHalf,
                                     DepreciableLife::Years5, "12/31/2017")},
        {DepreciateLightTruck, Asset(PropertyType::LightTruck, "05/01/2017", 20000, kMacrs, kHalf,
                                     DepreciableLife::Years5, "12/31/2017")},
        {DepreciateHeavyTruck, Asset(PropertyType::HeavyTruck, "03/01/2026", 10000, kMacrs, kHalf,
                                     DepreciableLife::Years3, "12/31/2026")},
        {DepreciateResidential, Asset(PropertyType::Residential, "07/10/2026", 100000, kStraight, kMonth,
                                      DepreciableLife::Years27_5, "12/31/2026")},
        {DepreciateNonResidential, Asset(PropertyType::NonResidential, "07/10/2026", 100000, kStraight,
                                         kMonth, DepreciableLife::Years39, "12/31/2026")},
    };
    for (const auto &[routine, inputs] : cases) {
        const ScheduleRows expected = ComputeSchedule(inputs);
        ScheduleRecorder pane;
        const ScheduleRows written = routine(inputs, pane);
        ASSERT_EQ(written.size(), expected.size()) << DisplayText(inputs.propertyType);
        ASSERT_EQ(pane.lines().size(), expected.size()) << DisplayText(inputs.propertyType);
        for (std::size_t i = 0; i < expected.size(); ++i)
            EXPECT_EQ(pane.lines()[i].text, ScheduleRowText(expected[i])) << DisplayText(inputs.propertyType);
        EXPECT_EQ(pane.params().size(), 3 * expected.size());
        EXPECT_EQ(pane.caretResets(), 1);
    }
}

TEST(VehicleSchedule, TheLongestScheduleFitsItsRows) {
    const AssetInputs car = Asset(PropertyType::Automobile, "06/01/2017", 145000, kMacrs, kHalf,
                                  DepreciableLife::Years5, "12/31/2017");
    const ScheduleRows rows = ComputeSchedule(car);
    ASSERT_EQ(rows.size(), 75u);
    EXPECT_EQ(rows[74].accumulated, 145000);
    EXPECT_EQ(rows[74].yearEnd, "12/31/2091");
}

TEST(VehicleSchedule, MoreRowsThanItsCapacityIsAnErrorNotATruncation) {
    // Beyond the validated cost limit the 2017 caps would need more than 80 rows.
    const AssetInputs car = Asset(PropertyType::Automobile, "06/01/2017", 200000, kMacrs, kHalf,
                                  DepreciableLife::Years5, "12/31/2017");
    EXPECT_THROW(ComputeSchedule(car), ECustomException);
}

TEST(VehicleSchedule, AnOldBonusNeverMakesTheFirstYearNegative) {
    // A bonus computed for a 2026 date is kept when the date is changed without leaving the field.
    AssetInputs car = Asset(PropertyType::Automobile, "05/01/2026", 30000, kMacrs, kHalf,
                            DepreciableLife::Years5, "12/31/2026", true);
    car.placedInService = "05/01/2018";
    car.fiscalYearEnd = "12/31/2018";
    const ScheduleRows rows = ComputeSchedule(car);
    EXPECT_EQ(rows[0].period, 0);
    EXPECT_EQ(rows[rows.size() - 1].accumulated, 9700);
}

TEST(ScheduleRoutines, ABonusAboveALoweredCostLeavesNothingToDepreciate) {
    // The cost was lowered after the bonus was computed, and Depreciate ran before the field was left.
    AssetInputs furniture = Asset(PropertyType::FurnitureEquipment, "03/01/2026", 10000, kMacrs, kHalf,
                                  DepreciableLife::Years5, "12/31/2026", true);
    furniture.cost = 5000;
    const ScheduleRows rows = ComputeSchedule(furniture);
    ASSERT_EQ(rows.size(), 6u); // five years, half-year convention
    for (const ScheduleRow &row : rows) {
        EXPECT_EQ(row.period, 0);
        EXPECT_EQ(row.accumulated, 0);
    }
}

TEST(ScheduleRoutines, RefuseInputsTheyCannotDepreciate) {
    const AssetInputs threeYearFurniture = Asset(PropertyType::FurnitureEquipment, "03/01/2026", 10000,
                                                 kMacrs, kHalf, DepreciableLife::Years3, "12/31/2026");
    EXPECT_THROW(ComputeSchedule(threeYearFurniture), ECustomException);
    const AssetInputs midMonthTruck = Asset(PropertyType::HeavyTruck, "03/01/2026", 10000, kMacrs, kMonth,
                                            DepreciableLife::Years3, "12/31/2026");
    EXPECT_THROW(ComputeSchedule(midMonthTruck), ECustomException);
    const AssetInputs undatedTruck = Asset(PropertyType::HeavyTruck, "03/01/2026", 10000, kMacrs, kHalf,
                                           DepreciableLife::Years3, "  /  /    ");
    EXPECT_THROW(ComputeSchedule(undatedTruck), ECustomException);
}

} // namespace
} // namespace fiscora
