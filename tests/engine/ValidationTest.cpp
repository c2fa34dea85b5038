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
