#include "ScheduleText.h"

#include "AmountFormat.h"
#include "ToolBox.h"

namespace fiscora {

void WriteScheduleHeader(const AssetInputs &inputs, ScheduleSink &sink) {
    sink.Clear();
    sink.SetFormat({"Tahoma", 10, true, true});
    sink.AddLine("Depreciation Options Selected:");
    sink.SetFormat({"Tahoma", 8, true, true});
    sink.AddLine("");
    std::string line;
    const auto add = [&](std::string_view caption, std::string_view value) {
        line.assign(caption);
        line += value;
        sink.AddLine(line);
    };
    add("Property Type:\t\t", DisplayText(inputs.propertyType));
    add("Date Placed in Service:\t", inputs.placedInService);
    add("Cost or Basis:\t\t", FormatDollars(inputs.cost));
    add("Depreciation Method:\t", DisplayText(inputs.method));
    add("Convention:\t\t", DisplayText(inputs.convention));
    add("Depreciable Life:\t\t", DisplayText(inputs.life));
    // The line follows the amount, not the check box.
    if (RoundAmount(inputs.bonusAmount, 2) > 0)
        add("1st Year Bonus Depreciation: ", FormatDollars(inputs.bonusAmount));
    sink.AddLine("");
    sink.SetFormat({"Tahoma", 8, true, false});
    sink.AddLine("\t\tPeriod\t\tAccumulated");
    sink.AddLine("Year End\tDepreciation\tDepreciation");
}

std::string ScheduleRowText(std::string_view yearEnd, double period, std::string_view groupedPeriod,
                            std::string_view groupedAccumulated) {
    std::string text;
    text.reserve(48);
    text += yearEnd;
    text += '\t';
    text += AddDollarSign(groupedPeriod);
    text += period > 100 ? "\t" : "\t\t";
    text += AddDollarSign(groupedAccumulated);
    return text;
}

std::string ScheduleRowText(const ScheduleRow &row) {
    return ScheduleRowText(row.yearEnd, row.period, FormatGroupedAmount(row.period),
                           FormatGroupedAmount(row.accumulated));
}

void WriteScheduleRows(const ScheduleRows &rows, ScheduleSink &sink) {
    // The rows change only the font name; the header left size 8 and bold.
    const ScheduleFormat rowFormat{"Courier New", 8, true, false};
    std::string name;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const ScheduleRow &row = rows[i];
        const std::string number = std::to_string(i + 1);
        const std::string period = FormatGroupedAmount(row.period);
        const std::string accumulated = FormatGroupedAmount(row.accumulated);
        sink.SetFormat(rowFormat);
        sink.AddLine(ScheduleRowText(row.yearEnd, row.period, period, accumulated));
        name.assign("YearEnd").append(number);
        sink.SetParam(name, row.yearEnd);
        name.assign("PerDepr").append(number);
        sink.SetParam(name, period);
        name.assign("AccumDepr").append(number);
        sink.SetParam(name, accumulated);
    }
    // A shorter schedule must not leave an earlier, longer one's rows behind for the report.
    for (std::size_t i = rows.size() + 1; i <= ScheduleRows::kCapacity; ++i) {
        const std::string number = std::to_string(i);
        sink.SetParam(name.assign("YearEnd").append(number), {});
        sink.SetParam(name.assign("PerDepr").append(number), {});
        sink.SetParam(name.assign("AccumDepr").append(number), {});
    }
    sink.CaretToStart();
}

} // namespace fiscora
