#pragma once

// The fiscal-year arithmetic every schedule shares.

#include "AssetInputs.h"
#include "ScheduleRows.h"

#include <span>

#include <string>
#include <string_view>

namespace fiscora {

// Month of the fiscal year (1..12) in which the asset was placed in service: the month after the
// fiscal year's last month is 1; with a December year end it is the calendar month.
int FiscalMonth(std::string_view placedInService, std::string_view fiscalYearEnd);

// Quarter (1..4) of a fiscal month, for the mid-quarter convention.
int FiscalQuarter(int fiscalMonth);

struct ScheduleFrame {
    int yearEndMonth = 12;
    int yearEndYear = 0;
    int yearEndDays = 31; // days of the year-end month in the fiscal-year-end year, used for every row
    int fiscalMonth = 1;

    // The year in which row `row` (1-based) ends.
    int Year(int row) const { return yearEndYear + row - 1; }
    // "MM/DD/YYYY" of row `row`: the entered day is not used, the month's last day is.
    std::string YearEnd(int row) const;
};

// The frame of validated inputs (both dates valid).
ScheduleFrame MakeScheduleFrame(const AssetInputs &inputs);

// The amount the percentages apply to: the cost less the bonus amount when the bonus box is checked
// (never below 0).
double DepreciationBasis(const AssetInputs &inputs);

// The shared row computation: one row per rate and a last row that takes the remainder of the basis;
// every other period is the basis times its rate, rounded to cents.
ScheduleRows ComputeRateRows(double basis, const ScheduleFrame &frame, std::span<const double> rates);

} // namespace fiscora
