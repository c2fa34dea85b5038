#pragma once

#include "AssetRecord.h"

#include <string>

namespace fiscora {

// "1234.56": "." and two decimals, no separators; for files.
std::string CentsText(Cents cents);

// "1,234.56": thousands separated by ","; for people.
std::string GroupedCentsText(Cents cents);

} // namespace fiscora
