#pragma once

// The schedule pane's text and the per-row report parameters.

#include "AssetInputs.h"
#include "ScheduleRows.h"
#include "ScheduleSink.h"

#include <string>

namespace fiscora {

// Clears the sink and writes the header block: the inputs (not the description) and the column
// captions. Leaves the formatting at Tahoma 8 bold.
void WriteScheduleHeader(const AssetInputs &inputs, ScheduleSink &sink);

// The pane line of a row: year end, tab, "$,0.00" period, one tab after periods above 100 and two
// otherwise, "$,0.00" accumulated amount.
std::string ScheduleRowText(const ScheduleRow &row);
// The same from the rows' ",0.00" texts (the report parameters), so that each amount is formatted once.
std::string ScheduleRowText(std::string_view yearEnd, double period, std::string_view groupedPeriod,
                            std::string_view groupedAccumulated);

// Writes every row in Courier New 8 bold (the header's size and style) and sets YearEnd<i>,
// PerDepr<i> and AccumDepr<i> for it; removes (sets empty) the row parameters of higher rows up to
// the capacity, left by an earlier longer schedule; then puts the caret at the start.
void WriteScheduleRows(const ScheduleRows &rows, ScheduleSink &sink);

} // namespace fiscora
