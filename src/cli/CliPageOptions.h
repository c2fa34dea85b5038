#pragma once

#include <QString>

#include <optional>
#include <string>

namespace fiscora::cli {

// "--selection TEXT" as the canvas's selection rule reads it, such as 1,3-5, EVEN, ODD or 4-;
// UsageError when the rule cannot read it. Empty when the option is not given.
QString PageSelectionOption(const std::optional<std::string> &text);

// "--pages FROM-TO": two page numbers, FROM not after TO; UsageError otherwise.
struct PageRange {
    int first = 1;
    int last = 1;
};
std::optional<PageRange> PageRangeOption(const std::optional<std::string> &text);

} // namespace fiscora::cli
