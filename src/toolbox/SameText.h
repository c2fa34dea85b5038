#pragma once

#include <string>
#include <string_view>

namespace fiscora {

// True when the texts are equal without regard to the case of the letters A to Z (names of report
// parameters, choices typed on the command line).
bool SameText(std::string_view a, std::string_view b);

// The text with the letters A to Z in lower case, e.g. as a case-blind lookup key.
std::string LowerCaseAscii(std::string_view text);

} // namespace fiscora
