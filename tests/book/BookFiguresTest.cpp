// The register, the totals per tax year and the Form 4562 lines of a book's assets. Expected figures
// use rates the tables keep: 5-year half-year, 3-year and real property, and first-year rates.
#include "BookFigures.h"
#include "BookTestSupport.h"
#include "Form4562.h"

#include <gtest/gtest.h>

namespace fiscora {
namespace {

using test::Furniture;

AssetRecord WithId(AssetRecord record, std::int64_t id) {
    record.id = id;
    return record;
}

TEST(BookFigures, TheRegisterOfATaxYearHasTheAssetsInServiceByItsEnd) {
    // 10,000 of 5-year furniture, half-year: 2,000.00, 3,200.00, 1,920.00, 1,152.00, 1,152.00, 576.00.
    const std::vector<DepreciatedAsset> assets =
        DepreciateBookAssets({WithId(Furniture("A-1", "Desk", "03/01/2026"), 1),
                              WithId(Furniture("A-2", "Lathe", "01/15/2029", 500000), 2)},
                             12);
    const AssetRegister reg = MakeAssetRegister(assets, 2028);
    ASSERT_EQ(reg.assets.size(), 1u) << "the lathe comes in 2029";
    const RegisterFigures &desk = reg.figures[0];
    EXPECT_EQ(desk.cost, 1000000);
    EXPECT_EQ(desk.before, 520000);      // 2,000 + 3,200
    EXPECT_EQ(desk.inYear, 192000);      // 1,920
    EXPECT_EQ(desk.accumulated, 712000); // 7,120
    EXPECT_EQ(desk.basisLeft, 288000);   // 10,000 - 7,120
    EXPECT_EQ(reg.assets[0]->lastYearEnd, "12/31/2031");

    const AssetRegister all = MakeAssetRegister(assets, std::nullopt);
    EXPECT_EQ(all.assets.size(), 2u);
    EXPECT_EQ(all.totals.cost, 1500000);
    EXPECT_EQ(all.totals.basisLeft, 1500000);

    // After its last row an asset stays in the register, fully depreciated.
    const RegisterFigures later = MakeAssetRegister(assets, 2035).figures[0];
    EXPECT_EQ(later.inYear, 0);
    EXPECT_EQ(later.accumulated, 1000000);
    EXPECT_EQ(later.basisLeft, 0);
}

TEST(BookFigures, TotalsCoverEveryTaxYearWithARowAndTheBonusOfItsFirstYear) {
    AssetRecord computer = WithId(Furniture("A-2", "Computer", "06/15/2026", 400000), 2);
    computer.bonusRequested = true;
    const std::vector<DepreciatedAsset> assets =
        DepreciateBookAssets({WithId(Furniture("A-1", "Desk", "03/01/2017"), 1), computer}, 12);
    const std::vector<TaxYearTotal> totals = TotalsByTaxYear(assets);
    std::vector<int> years;
    for (const TaxYearTotal &total : totals)
        years.push_back(total.taxYear);
    // The desk has rows 2017 to 2022, the computer 2026 to 2031 (all 0.00 after its full bonus).
    EXPECT_EQ(years,
              (std::vector<int>{2017, 2018, 2019, 2020, 2021, 2022, 2026, 2027, 2028, 2029, 2030, 2031}));
    EXPECT_EQ(totals[1].depreciation, 320000);
    EXPECT_EQ(totals[6].bonus, 400000);
    EXPECT_EQ(totals[6].depreciation, 0);
    EXPECT_EQ(totals[6].Total(), 400000);
}

// A book whose tax year ends in June: "placed in service in 2026" means from 07/01/2025 to 06/30/2026.
TEST(BookFigures, Form4562TakesTheBooksFiscalYear) {
    AssetRecord quarter = Furniture("A-3", "Printer", "08/01/2025", 100000);
    quarter.convention = Convention::MidQuarter; // fiscal month 2, first quarter: 35 %
    AssetRecord house = Furniture("A-4", "Duplex", "09/20/2025", 11000000);
    house.propertyType = PropertyType::Residential; // fiscal month 3: 2.879 %
    house.method = DepreciationMethod::StraightLine;
    house.convention = Convention::MidMonth;
    house.life = DepreciableLife::Years27_5;
    const std::vector<DepreciatedAsset> assets = DepreciateBookAssets(
        {WithId(Furniture("A-1", "Desk", "07/15/2025"), 1),
         WithId(Furniture("A-2", "Old desk", "06/15/2025"), 2), WithId(quarter, 3), WithId(house, 4)},
        6);
    const Form4562 form = MakeForm4562(assets, 2026);
    // The old desk's tax year 2025 ended 06/30/2025: its second row, 3,200.00, is line 17.
    EXPECT_EQ(form.line17, 320000);
    ASSERT_EQ(form.line19.size(), 3u);
    EXPECT_EQ(form.line19[0].line, "19b");
    EXPECT_EQ(form.line19[0].convention, "HY");
    EXPECT_EQ(form.line19[0].basis, 1000000);
    EXPECT_EQ(form.line19[0].deduction, 200000);
    EXPECT_EQ(form.line19[1].line, "19b");
    EXPECT_EQ(form.line19[1].convention, "MQ");
    EXPECT_EQ(form.line19[1].deduction, 35000);
    EXPECT_EQ(form.line19[2].line, "19h");
    EXPECT_EQ(form.line19[2].placed, "09/2025");
    EXPECT_EQ(form.line19[2].method, "S/L");
    EXPECT_EQ(form.line19[2].deduction, 316690); // 110,000 x 0.02879
    EXPECT_EQ(form.line22, 320000 + 200000 + 35000 + 316690);
}

} // namespace
} // namespace fiscora
