#pragma once

#include "AssetRecord.h"

#include <string>

namespace fiscora::test {

// An asset that passes the window's checks in a December book: 5-year furniture, MACRS, half-year.
inline AssetRecord Furniture(std::string number, std::string description, std::string placed = "03/01/2026",
                             Cents cost = 1000000) {
    AssetRecord record;
    record.assetNumber = std::move(number);
    record.description = std::move(description);
    record.placedInService = std::move(placed);
    record.cost = cost;
    return record;
}

} // namespace fiscora::test
