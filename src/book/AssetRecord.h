#pragma once

#include "AssetInputs.h"

#include <cstdint>
#include <string>

namespace fiscora {

// Amounts of a book are whole cents, so that sums over thousands of assets stay exact.
using Cents = std::int64_t;

// An asset as a book stores it: the window's inputs (the fiscal year end comes from the book, the
// bonus amount from the bonus rule) and the register's own fields.
struct AssetRecord {
    std::int64_t id = 0;     // given by the book when stored
    std::string assetNumber; // the user's number, unique in the book; empty for none
    std::string description;
    PropertyType propertyType = PropertyType::FurnitureEquipment;
    std::string placedInService; // "mm/dd/yyyy"
    Cents cost = 0;
    DepreciationMethod method = DepreciationMethod::Macrs;
    Convention convention = Convention::HalfYear;
    DepreciableLife life = DepreciableLife::Years5;
    bool bonusRequested = false;
    std::string note;
    std::int64_t rowVersion = 0; // as loaded; a save of a changed asset is checked against it

    bool operator==(const AssetRecord &) const = default;
};

// Cents of a dollar amount that the engine computed to cents (the last row's remainder included).
Cents ToCents(double dollars);
double ToDollars(Cents cents);

} // namespace fiscora
