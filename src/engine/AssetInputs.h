#pragma once

// The asset as a command reads it from the main window's controls. The enumerators keep the
// controls' item order: a combo box index converts with static_cast in both directions.

#include <array>
#include <string>
#include <string_view>

namespace fiscora {

enum class PropertyType {
    FurnitureEquipment = 0,
    Automobile = 1,
    LightTruck = 2, // van, light truck or SUV
    HeavyTruck = 3,
    Residential = 4,
    NonResidential = 5,
};

enum class DepreciationMethod { Macrs = 0, StraightLine = 1 };

enum class Convention { HalfYear = 0, MidQuarter = 1, MidMonth = 2 };

enum class DepreciableLife {
    Years3 = 0,
    Years5 = 1,
    Years7 = 2,
    Years10 = 3,
    Years15 = 4,
    Years20 = 5,
    Years27_5 = 6,
    Years39 = 7,
};

// The blank date text of an empty date field.
inline constexpr std::string_view kBlankDate = "  /  /    ";

struct AssetInputs {
    std::string description; // free text, only a report parameter
    PropertyType propertyType = PropertyType::FurnitureEquipment;
    std::string placedInService; // date text "mm/dd/yyyy"
    double cost = 0;             // dollars; 0 while the field is empty
    DepreciationMethod method = DepreciationMethod::Macrs;
    Convention convention = Convention::HalfYear;
    DepreciableLife life = DepreciableLife::Years5;
    bool bonusRequested = false;                         // the bonus check box
    double bonusAmount = 0;                              // written only by the bonus rule
    std::string fiscalYearEnd = std::string(kBlankDate); // date text
};

// Display texts, in item order; written into the schedule header and the report as they stand.
inline constexpr std::array<std::string_view, 6> kPropertyTypeTexts = {
    "Furniture, Equipment Etc.", "Automobile",
    "Van, Light Truck or SUV",   "Truck or Heavy Vehicle",
    "Residential Real Property", "Non-Residential Real Property"};
inline constexpr std::array<std::string_view, 2> kDepreciationMethodTexts = {"MACRS", "Staright-Line"};
inline constexpr std::array<std::string_view, 3> kConventionTexts = {"Half-Year", "Mid-Quarter", "Mid-Month"};
inline constexpr std::array<std::string_view, 8> kDepreciableLifeTexts = {
    "3-Years", "5-Years", "7-Years", "10-Years", "15-Years", "20-Years", "27.5-Years", "39-Years"};

inline std::string_view DisplayText(PropertyType value) {
    return kPropertyTypeTexts[static_cast<std::size_t>(value)];
}
inline std::string_view DisplayText(DepreciationMethod value) {
    return kDepreciationMethodTexts[static_cast<std::size_t>(value)];
}
inline std::string_view DisplayText(Convention value) {
    return kConventionTexts[static_cast<std::size_t>(value)];
}
inline std::string_view DisplayText(DepreciableLife value) {
    return kDepreciableLifeTexts[static_cast<std::size_t>(value)];
}

} // namespace fiscora
