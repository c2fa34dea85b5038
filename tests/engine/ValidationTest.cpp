#include "EngineTestSupport.h"
#include "InputValidation.h"

#include <gtest/gtest.h>

#include <functional>

namespace fiscora {
namespace {

constexpr const char *kConvention =
    "The Convention for the Property Type is invalid.\rAcceptable conventions are Half-Year and Mid-Quarter";
constexpr const char *kGeneralLife = "The Depreciable Life for the Property Type is invalid.\rAcceptable "
                                     "depreciable lives are 5, 7, 10, 15, and 20 years";
constexpr const char *kVehicleDate =
    "This Property Type only accepts dates between 01/01/2017 through 12/31/2026";
constexpr const char *kVehicleCost = "This Property Type will not accept amounts larger than $145,000.00";
constexpr const char *kCostMinimum = "Cost or Basis requires an amount of at least $1.00";
constexpr const char *kBefore = "Date Placed in Sevice must be prior to Fiscal Year End Date";
constexpr const char *kSameYear =
    "Date Placed in Sevice must be within the same year as the Fiscal Year End Date";
constexpr const char *kPast9999 =
    "Date Placed in Service is too late: the schedule would run past 12/31/9999";

struct ValidationCase {
    const char *name;
    std::function<void(AssetInputs &)> change;
    std::optional<AssetField> field; // nothing: the inputs pass
    const char *message;
};

AssetInputs ValidFurniture() {
    return test::Asset(PropertyType::FurnitureEquipment, "03/01/2026", 10000, DepreciationMethod::Macrs,
                       Convention::HalfYear, DepreciableLife::Years5, "12/31/2026");
}

const ValidationCase kCases[] = {
    {"Valid", [](AssetInputs &) {}, std::nullopt, ""},
    {"BlankDate", [](AssetInputs &a) { a.placedInService = "  /  /    "; }, AssetField::PlacedInService,
     "Date Placed in Service requires the following format: mm/dd/yyyy"},
    {"DateBeforeCost",
     [](AssetInputs &a) {
         a.placedInService = "02/30/2026";
         a.cost = 0;
     },
     AssetField::PlacedInService, "Date Placed in Service requires the following format: mm/dd/yyyy"},
    {"CostBelowOneDollar", [](AssetInputs &a) { a.cost = 0.99; }, AssetField::Cost, kCostMinimum},
    {"CostOfOneDollar", [](AssetInputs &a) { a.cost = 1.00; }, std::nullopt, ""},
    {"ConventionBeforeLife",
     [](AssetInputs &a) {
         a.convention = Convention::MidMonth;
         a.life = DepreciableLife::Years39;
     },
     AssetField::Convention, kConvention},
    {"GeneralLife", [](AssetInputs &a) { a.life = DepreciableLife::Years3; }, AssetField::Life, kGeneralLife},
    {"AutomobileMidMonth",
     [](AssetInputs &a) {
         a.propertyType = PropertyType::Automobile;
         a.convention = Convention::MidMonth;
     },
     AssetField::Convention, kConvention},
    {"AutomobileBefore2017",
     [](AssetInputs &a) {
         a.propertyType = PropertyType::Automobile;
         a.placedInService = "12/31/2016";
         a.fiscalYearEnd = "12/31/2016";
     },
     AssetField::PlacedInService, kVehicleDate},
    {"AutomobileFirstDay",
     [](AssetInputs &a) {
         a.propertyType = PropertyType::Automobile;
         a.placedInService = "01/01/2017";
         a.fiscalYearEnd = "12/31/2017";
     },
     std::nullopt, ""},
    {"LightTruckAfter2026",
     [](AssetInputs &a) {
         a.propertyType = PropertyType::LightTruck;
         a.placedInService = "01/01/2027";
         a.fiscalYearEnd = "12/31/2027";
     },
     AssetField::PlacedInService, kVehicleDate},
    {"AutomobileCostLimit",
     [](AssetInputs &a) {
         a.propertyType = PropertyType::Automobile;
         a.cost = 145000.00;
     },
     std::nullopt, ""},
    {"LightTruckCentOverLimit",
     [](AssetInputs &a) {
         a.propertyType = PropertyType::LightTruck;
         a.cost = 145000.01;
     },
     AssetField::Cost, kVehicleCost},
    {"HeavyTruckMidMonth",
     [](AssetInputs &a) {
         a.propertyType = PropertyType::HeavyTruck;
         a.convention = Convention::MidMonth;
     },
     AssetField::Convention, kConvention},
    {"ResidentialHasNoOwnCheck",
     [](AssetInputs &a) {
         a.propertyType = PropertyType::Residential;
         a.convention = Convention::MidMonth;
         a.life = DepreciableLife::Years3;
     },
     std::nullopt, ""},
    {"NonResidentialLife",
     [](AssetInputs &a) {
         a.propertyType = PropertyType::NonResidential;
         a.life = DepreciableLife::Years27_5;
     },
     AssetField::Life,
     "The Depreciable Life for the Property Type is invalid.\rAcceptable depreciable Life is 39 years"},
    {"BlankYearEnd", [](AssetInputs &a) { a.fiscalYearEnd = "  /  /    "; }, AssetField::FiscalYearEnd,
     "Fiscal Year End Date requires the following format: mm/dd/yyyy"},
    {"FirstDayOfTheYear", [](AssetInputs &a) { a.placedInService = "01/01/2026"; }, std::nullopt, ""},
    {"OnTheYearEnd", [](AssetInputs &a) { a.placedInService = "12/31/2026"; }, std::nullopt, ""},
    {"A365DaysBefore", [](AssetInputs &a) { a.placedInService = "12/31/2025"; }, AssetField::PlacedInService,
     kSameYear},
    {"AfterTheYearEnd", [](AssetInputs &a) { a.placedInService = "01/01/2027"; }, AssetField::PlacedInService,
     kBefore},
    {"LeapYear365DaysBefore",
     [](AssetInputs &a) {
         a.placedInService = "01/01/2028";
         a.fiscalYearEnd = "12/31/2028";
     },
     AssetField::PlacedInService, kSameYear},
    // The year checked ends where the first row does: on the last day of the year-end month.
    {"TypedDayBeforeMonthEnd",
     [](AssetInputs &a) {
         a.placedInService = "03/15/2026";
         a.fiscalYearEnd = "03/14/2027";
     },
     AssetField::PlacedInService, kSameYear},
    {"MonthEnd364DaysAfter",
     [](AssetInputs &a) {
         a.placedInService = "07/01/2025";
         a.fiscalYearEnd = "06/15/2026";
     },
     std::nullopt, ""},
    {"MonthEnd365DaysAfter",
     [](AssetInputs &a) {
         a.placedInService = "06/30/2025";
         a.fiscalYearEnd = "06/15/2026";
     },
     AssetField::PlacedInService, kSameYear},
    {"LeapFebruaryEnd364DaysAfter",
     [](AssetInputs &a) {
         a.placedInService = "03/02/2027";
         a.fiscalYearEnd = "02/10/2028";
     },
     std::nullopt, ""},
    {"LeapFebruaryEnd365DaysAfter",
     [](AssetInputs &a) {
         a.placedInService = "03/01/2027";
         a.fiscalYearEnd = "02/10/2028";
     },
     AssetField::PlacedInService, kSameYear},
    {"TypedDayStillOrdersTheDates",
     [](AssetInputs &a) {
         a.placedInService = "06/20/2026";
         a.fiscalYearEnd = "06/15/2026";
     },
     AssetField::PlacedInService, kBefore},
    // The last year end must still be a date: six rows of 5-year furniture end in 9999 at the latest.
    {"LastYearEndIn9999",
     [](AssetInputs &a) {
         a.placedInService = "03/01/9994";
         a.fiscalYearEnd = "12/31/9994";
     },
     std::nullopt, ""},
    {"LastYearEndAfter9999",
     [](AssetInputs &a) {
         a.placedInService = "03/01/9995";
         a.fiscalYearEnd = "12/31/9995";
     },
     AssetField::PlacedInService, kPast9999},
    {"YearEndsOfJuneAfter9999",
     [](AssetInputs &a) {
         a.placedInService = "07/01/9994";
         a.fiscalYearEnd = "06/30/9995";
     },
     AssetField::PlacedInService, kPast9999},
    {"TwentyYearLife",
     [](AssetInputs &a) {
         a.method = DepreciationMethod::StraightLine;
         a.life = DepreciableLife::Years20;
         a.placedInService = "03/01/9979";
         a.fiscalYearEnd = "12/31/9979";
     },
     std::nullopt, ""},
    {"TwentyYearLifeAYearLater",
     [](AssetInputs &a) {
         a.method = DepreciationMethod::StraightLine;
         a.life = DepreciableLife::Years20;
         a.placedInService = "03/01/9980";
         a.fiscalYearEnd = "12/31/9980";
     },
     AssetField::PlacedInService, kPast9999},
    {"HeavyTruckIn9999",
     [](AssetInputs &a) {
         a.propertyType = PropertyType::HeavyTruck;
         a.placedInService = "01/01/9999";
         a.fiscalYearEnd = "12/31/9999";
     },
     AssetField::PlacedInService, kPast9999},
    // Residential property has a 29th row when placed in service in the second half of its fiscal year.
    {"ResidentialFirstHalf",
     [](AssetInputs &a) {
         a.propertyType = PropertyType::Residential;
         a.placedInService = "06/15/9972";
         a.fiscalYearEnd = "12/31/9972";
     },
     std::nullopt, ""},
    {"ResidentialSecondHalf",
     [](AssetInputs &a) {
         a.propertyType = PropertyType::Residential;
         a.placedInService = "07/15/9972";
         a.fiscalYearEnd = "12/31/9972";
     },
     AssetField::PlacedInService, kPast9999},
    {"NonResidentialIn9961",
     [](AssetInputs &a) {
         a.propertyType = PropertyType::NonResidential;
         a.life = DepreciableLife::Years39;
         a.placedInService = "01/15/9961";
         a.fiscalYearEnd = "12/31/9961";
     },
     AssetField::PlacedInService, kPast9999},
    {"DateOrderBeforeLastYear",
     [](AssetInputs &a) {
         a.placedInService = "03/01/9999";
         a.fiscalYearEnd = "12/31/9998";
     },
     AssetField::PlacedInService, kBefore},
};

class Validation : public testing::TestWithParam<ValidationCase> {};

TEST_P(Validation, StopsAtTheFirstFailingCheck) {
    const ValidationCase &c = GetParam();
    AssetInputs inputs = ValidFurniture();
    c.change(inputs);
    std::optional<AssetField> focused;
    const auto moveFocus = [&](AssetField field) { focused = field; };
    if (!c.field) {
        EXPECT_NO_THROW(ValidateInputs(inputs, moveFocus));
        EXPECT_FALSE(focused.has_value());
        return;
    }
    try {
        ValidateInputs(inputs, moveFocus);
        FAIL() << "passed";
    } catch (const EFieldException &error) {
        EXPECT_STREQ(error.what(), c.message);
    }
    EXPECT_EQ(focused, c.field);
}

INSTANTIATE_TEST_SUITE_P(Checks, Validation, testing::ValuesIn(kCases),
                         [](const auto &info) { return std::string(info.param.name); });

} // namespace
} // namespace fiscora
