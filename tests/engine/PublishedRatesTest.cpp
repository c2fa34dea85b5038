#include "Depreciate.h"
#include "EngineTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

namespace fiscora {
namespace {

// The IRS's percentage tables for 200 % declining balance property (half-year, then the four
// mid-quarter columns), every row including the last. A schedule of $10,000 must take exactly these
// percentages of its basis, year by year.
struct PublishedColumn {
    const char *name;
    PropertyType type;
    DepreciableLife life;
    int column; // 0 half-year, 1 to 4 the fiscal quarter placed in service
    std::vector<double> percent;
};

const std::vector<PublishedColumn> &PublishedColumns() {
    using enum PropertyType;
    using L = DepreciableLife;
    static const std::vector<PublishedColumn> columns = {
        {"Furniture5HalfYear", FurnitureEquipment, L::Years5, 0, {20.00, 32.00, 19.20, 11.52, 11.52, 5.76}},
        {"Furniture5Q1", FurnitureEquipment, L::Years5, 1, {35.00, 26.00, 15.60, 11.01, 11.01, 1.38}},
        {"Furniture5Q2", FurnitureEquipment, L::Years5, 2, {25.00, 30.00, 18.00, 11.37, 11.37, 4.26}},
        {"Furniture5Q3", FurnitureEquipment, L::Years5, 3, {15.00, 34.00, 20.40, 12.24, 11.30, 7.06}},
        {"Furniture5Q4", FurnitureEquipment, L::Years5, 4, {5.00, 38.00, 22.80, 13.68, 10.94, 9.58}},
        {"Automobile5HalfYear", Automobile, L::Years5, 0, {20.00, 32.00, 19.20, 11.52, 11.52, 5.76}},
        {"Automobile5Q1", Automobile, L::Years5, 1, {35.00, 26.00, 15.60, 11.01, 11.01, 1.38}},
        {"LightTruck5Q2", LightTruck, L::Years5, 2, {25.00, 30.00, 18.00, 11.37, 11.37, 4.26}},
        {"Automobile5Q3", Automobile, L::Years5, 3, {15.00, 34.00, 20.40, 12.24, 11.30, 7.06}},
        {"LightTruck5Q4", LightTruck, L::Years5, 4, {5.00, 38.00, 22.80, 13.68, 10.94, 9.58}},
        {"Furniture7HalfYear",
         FurnitureEquipment,
         L::Years7,
         0,
         {14.29, 24.49, 17.49, 12.49, 8.93, 8.92, 8.93, 4.46}},
        {"Furniture7Q1",
         FurnitureEquipment,
         L::Years7,
         1,
         {25.00, 21.43, 15.31, 10.93, 8.75, 8.74, 8.75, 1.09}},
        {"Furniture7Q2",
         FurnitureEquipment,
         L::Years7,
         2,
         {17.85, 23.47, 16.76, 11.97, 8.87, 8.87, 8.87, 3.34}},
        {"Furniture7Q3",
         FurnitureEquipment,
         L::Years7,
         3,
         {10.71, 25.51, 18.22, 13.02, 9.30, 8.85, 8.86, 5.53}},
        {"Furniture7Q4",
         FurnitureEquipment,
         L::Years7,
         4,
         {3.57, 27.55, 19.68, 14.06, 10.04, 8.73, 8.73, 7.64}},
        {"Furniture10HalfYear",
         FurnitureEquipment,
         L::Years10,
         0,
         {10.00, 18.00, 14.40, 11.52, 9.22, 7.37, 6.55, 6.55, 6.56, 6.55, 3.28}},
        {"Furniture10Q1",
         FurnitureEquipment,
         L::Years10,
         1,
         {17.50, 16.50, 13.20, 10.56, 8.45, 6.76, 6.55, 6.55, 6.56, 6.55, 0.82}},
        {"Furniture10Q2",
         FurnitureEquipment,
         L::Years10,
         2,
         {12.50, 17.50, 14.00, 11.20, 8.96, 7.17, 6.55, 6.55, 6.56, 6.55, 2.46}},
        {"Furniture10Q3",
         FurnitureEquipment,
         L::Years10,
         3,
         {7.50, 18.50, 14.80, 11.84, 9.47, 7.58, 6.55, 6.55, 6.56, 6.55, 4.10}},
        {"Furniture10Q4",
         FurnitureEquipment,
         L::Years10,
         4,
         {2.50, 19.50, 15.60, 12.48, 9.98, 7.99, 6.55, 6.55, 6.56, 6.55, 5.74}},
        {"HeavyTruck3HalfYear", HeavyTruck, L::Years3, 0, {33.33, 44.45, 14.81, 7.41}},
        {"HeavyTruck3Q1", HeavyTruck, L::Years3, 1, {58.33, 27.78, 12.35, 1.54}},
        {"HeavyTruck3Q2", HeavyTruck, L::Years3, 2, {41.67, 38.89, 14.14, 5.30}},
        {"HeavyTruck3Q3", HeavyTruck, L::Years3, 3, {25.00, 50.00, 16.67, 8.33}},
        {"HeavyTruck3Q4", HeavyTruck, L::Years3, 4, {8.33, 61.11, 20.37, 10.19}},
    };
    return columns;
}

// With a December year end, the month placed in service picks the quarter.
const char *PlacedInQuarter(int column) {
    static const char *const placed[] = {"03/01/2026", "02/15/2026", "05/15/2026", "08/15/2026",
                                         "11/15/2026"};
    return placed[column];
}

class PublishedRatesTest : public testing::TestWithParam<PublishedColumn> {};

TEST_P(PublishedRatesTest, ColumnSumsToTheWholeBasis) {
    long hundredths = 0;
    for (double percent : GetParam().percent)
        hundredths += std::lround(percent * 100);
    EXPECT_EQ(hundredths, 10000);
}

TEST_P(PublishedRatesTest, ScheduleTakesThePublishedPercentages) {
    const PublishedColumn &column = GetParam();
    const AssetInputs inputs = test::Asset(
        column.type, PlacedInQuarter(column.column), 10000, DepreciationMethod::Macrs,
        column.column == 0 ? Convention::HalfYear : Convention::MidQuarter, column.life, "12/31/2026");
    const ScheduleRows rows = ComputeSchedule(inputs);
    ASSERT_EQ(rows.size(), column.percent.size());
    for (std::size_t row = 0; row < rows.size(); ++row)
        EXPECT_NEAR(rows[row].period, column.percent[row] * 100, 0.001) << "year " << row + 1;
}

INSTANTIATE_TEST_SUITE_P(Tables, PublishedRatesTest, testing::ValuesIn(PublishedColumns()),
                         [](const auto &info) { return std::string(info.param.name); });

// The cell the mend was found by: 7-year property of $15,000, year 6.
TEST(PublishedRates, SevenYearAssetSixthYear) {
    const AssetInputs inputs =
        test::Asset(PropertyType::FurnitureEquipment, "03/01/2026", 15000, DepreciationMethod::Macrs,
                    Convention::HalfYear, DepreciableLife::Years7, "12/31/2026");
    EXPECT_DOUBLE_EQ(ComputeSchedule(inputs)[5].period, 1338.00);
}

} // namespace
} // namespace fiscora
