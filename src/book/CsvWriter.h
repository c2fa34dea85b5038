#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace fiscora {

// A field as a CSV cell. A cell that a spreadsheet would run as a formula (it starts with "=", "+",
// "-", "@", a tab or a carriage return, after any number of "'") gets a "'" before it; a cell with
// a comma, a quote or a line break, or so guarded, is quoted, its quotes doubled.
std::string CsvCell(std::string_view field);

// The cells of one record, separated by commas, ending with a line feed.
std::string CsvLine(const std::vector<std::string> &fields);

// A field read back: the "'" that CsvCell put before a formula character is taken away again.
std::string UnguardedCsvField(std::string_view field);

} // namespace fiscora
