// The window's rules for a book's assets: fiscal year ends from the book's month, and the tax years
// the rows fall in.
#include "BookAssetEntry.h"
#include "BookFigures.h"
#include "BookTestSupport.h"
#include "ToolBoxExceptions.h"

#include <gtest/gtest.h>

namespace fiscora {
namespace {

struct YearEndCase {
    const char *placed;
    int month;
    const char *yearEnd;
    int firstTaxYear;
};

const YearEndCase kYearEnds[] = {
    {"03/15/2026", 12, "12/31/2026", 2026}, {"12/31/2026", 12, "12/31/2026", 2026},
    {"07/01/2025", 6, "06/30/2026", 2026},  {"06/30/2026", 6, "06/30/2026", 2026},
    {"06/15/2025", 6, "06/30/2025", 2025},  {"02/10/2028", 2, "02/29/2028", 2028},
    {"11/05/2026", 9, "09/30/2027", 2027},  {"01/01/2026", 1, "01/31/2026", 2026},
};

TEST(BookEntry, TheFiscalYearEndsOnTheLastDayOfTheBooksMonthOnOrAfterThePlacedDate) {
    for (const YearEndCase &c : kYearEnds) {
        EXPECT_EQ(FiscalYearEndFor(c.placed, c.month), c.yearEnd) << c.placed << " month " << c.month;
        const DepreciatedAsset asset = DepreciateBookAsset(test::Furniture("", "Desk", c.placed), c.month);
        EXPECT_EQ(asset.firstTaxYear, c.firstTaxYear) << c.placed << " month " << c.month;
        EXPECT_EQ(asset.inputs.fiscalYearEnd, c.yearEnd);
    }
    EXPECT_EQ(FiscalYearEndFor("02/30/2026", 12), "");
}

// The window's own message, whether the date makes a fiscal year of 365 days (a leap day in it) or a
// forced setting is contradicted.
TEST(BookEntry, RefusesWhatTheWindowRefusesWithItsMessage) {
    struct Case {
        const char *name;
        AssetEntryRequest request;
        int month;
        const char *message;
    };
    AssetEntryRequest leapYear;
    leapYear.placedInService = "03/01/2027";
    leapYear.cost = 5000;
    AssetEntryRequest heavyTruckLife = leapYear;
    heavyTruckLife.placedInService = "03/01/2026";
    heavyTruckLife.propertyType = PropertyType::HeavyTruck;
    heavyTruckLife.life = DepreciableLife::Years5;
    AssetEntryRequest carBefore2017 = heavyTruckLife;
    carBefore2017.propertyType = PropertyType::Automobile;
    carBefore2017.life.reset();
    carBefore2017.placedInService = "12/31/2016";
    AssetEntryRequest noDate = leapYear;
    noDate.placedInService = "  /  /    ";
    const Case cases[] = {
        {"LeapDayYear", leapYear, 2,
         "Date Placed in Sevice must be within the same year as the Fiscal Year End Date"},
        {"FixedLife", heavyTruckLife, 12, "The Depreciable Life of this Property Type is fixed to 3-Years"},
        {"CarBefore2017", carBefore2017, 12,
         "This Property Type only accepts dates between 01/01/2017 through 12/31/2026"},
        {"NoDate", noDate, 12, "Date Placed in Service requires the following format: mm/dd/yyyy"},
    };
    for (const Case &c : cases) {
        try {
            EnterBookAsset(c.request, c.month, "03/01/2026");
            ADD_FAILURE() << c.name << ": entered";
        } catch (const ECustomException &error) {
            EXPECT_STREQ(error.what(), c.message) << c.name;
        }
    }
}

// Forced settings are applied as the window applies them: a life of 15 years makes the method
// straight-line, and real property takes its fixed values.
TEST(BookEntry, AppliesTheForcedSettings) {
    AssetEntryRequest fifteenYears;
    fifteenYears.placedInService = "03/01/2026";
    fifteenYears.cost = 5000;
    fifteenYears.method = DepreciationMethod::Macrs;
    fifteenYears.life = DepreciableLife::Years15;
    const AssetRecord furniture = EnterBookAsset(fifteenYears, 12, "");
    EXPECT_EQ(furniture.method, DepreciationMethod::StraightLine);

    AssetEntryRequest house;
    house.propertyType = PropertyType::NonResidential;
    house.placedInService = "03/01/2026";
    house.cost = 390000;
    house.convention = Convention::MidMonth; // the value the type fixes: accepted
    const AssetRecord building = EnterBookAsset(house, 12, "");
    EXPECT_EQ(building.method, DepreciationMethod::StraightLine);
    EXPECT_EQ(building.life, DepreciableLife::Years39);
    EXPECT_EQ(building.cost, 39000000);
}

} // namespace
} // namespace fiscora
