#include "ScheduleFrame.h"

#include "ToolBox.h"

#include <algorithm>
#include <cstdio>

namespace fiscora {

int FiscalMonth(std::string_view placedInService, std::string_view fiscalYearEnd) {
    int placedMonth = 0;
    int yearEndMonth = 0;
    int unusedDay = 0;
    int unusedYear = 0;
    SplitDateStr(placedInService, placedMonth, unusedDay, unusedYear);
    SplitDateStr(fiscalYearEnd, yearEndMonth, unusedDay, unusedYear);
    const int offset = (placedMonth - yearEndMonth - 1) % 12;
    return (offset < 0 ? offset + 12 : offset) + 1;
}

int FiscalQuarter(int fiscalMonth) {
    return (fiscalMonth - 1) / 3 + 1;
}

// Formatted by hand: a book computes hundreds of thousands of rows, and snprintf dominated that.
std::string ScheduleFrame::YearEnd(int row) const {
    const auto twoDigits = [](std::string &text, int value) {
        text += char('0' + value / 10 % 10);
        text += char('0' + value % 10);
    };
    std::string text;
    text.reserve(10);
    twoDigits(text, yearEndMonth);
    text += '/';
    twoDigits(text, yearEndDays);
    text += '/';
    const std::string year = std::to_string(Year(row));
    if (year.size() < 4)
        text.append(4 - year.size(), '0');
    return text + year;
}

ScheduleFrame MakeScheduleFrame(const AssetInputs &inputs) {
    if (!IsValidDateStr(inputs.placedInService) || !IsValidDateStr(inputs.fiscalYearEnd))
        throw ECustomException("A schedule needs a valid date placed in service and fiscal year end");
    ScheduleFrame frame;
    int unusedDay = 0;
    SplitDateStr(inputs.fiscalYearEnd, frame.yearEndMonth, unusedDay, frame.yearEndYear);
    frame.yearEndDays = DaysInMonthOf(inputs.fiscalYearEnd);
    frame.fiscalMonth = FiscalMonth(inputs.placedInService, inputs.fiscalYearEnd);
    return frame;
}

double DepreciationBasis(const AssetInputs &inputs) {
    if (!inputs.bonusRequested)
        return inputs.cost;
    // The bonus amount is refreshed only when a field is left, so a cost lowered just before
    // Depreciate can lie below it: nothing is left to depreciate then, rather than a negative basis.
    return std::max(0.0, inputs.cost - inputs.bonusAmount);
}

ScheduleRows ComputeRateRows(double basis, const ScheduleFrame &frame, std::span<const double> rates) {
    ScheduleRows rows;
    const int rowCount = static_cast<int>(rates.size()) + 1;
    double accumulated = 0;
    for (int row = 1; row <= rowCount; ++row) {
        const double period = row == rowCount ? basis - accumulated : RoundAmount(basis * rates[row - 1], 2);
        accumulated += period;
        rows.Add({frame.YearEnd(row), period, accumulated});
    }
    return rows;
}

} // namespace fiscora
