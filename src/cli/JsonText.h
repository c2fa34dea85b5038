#pragma once

#include <string>
#include <string_view>

namespace fiscora::cli {

// A JSON string literal (quotes included) for UTF-8 text.
std::string JsonString(std::string_view text);

// A JSON number in the shortest form that reads back to the same double.
std::string JsonNumber(double value);

} // namespace fiscora::cli
