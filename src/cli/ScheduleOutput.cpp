#include "ScheduleOutput.h"

#include "DecimalText.h"
#include "ErrorDisplay.h"
#include "JsonText.h"
#include "ToolBox.h"

namespace fiscora::cli {

namespace {

void WriteText(const ScheduleRun &run, std::ostream &out) {
    for (const std::string &line : run.lines)
        out << line << '\n';
}

void WriteCsv(const ScheduleRun &run, std::ostream &out) {
    out << "year_end,period,accumulated\n";
    for (const ScheduleRow &row : run.rows)
        out << row.yearEnd << ',' << FixedDecimalText(row.period, 2) << ','
            << FixedDecimalText(row.accumulated, 2) << '\n';
}

// Amounts as JSON numbers, in cents as shown (the last row's remainder is not rounded otherwise).
std::string JsonAmount(double value) {
    return JsonNumber(RoundAmount(value, 2));
}

void WriteJson(const ScheduleRun &run, std::ostream &out) {
    const AssetInputs &in = run.inputs;
    const auto choice = [](std::string_view text, auto value) {
        return JsonString(text) + ", \"index\": " + std::to_string(static_cast<int>(value));
    };
    out << "{\n  \"inputs\": {\n"
        << "    \"description\": " << JsonString(in.description) << ",\n"
        << "    \"propertyType\": {\"text\": " << choice(DisplayText(in.propertyType), in.propertyType)
        << "},\n"
        << "    \"placedInService\": " << JsonString(in.placedInService) << ",\n"
        << "    \"cost\": " << JsonAmount(in.cost) << ",\n"
        << "    \"method\": {\"text\": " << choice(DisplayText(in.method), in.method) << "},\n"
        << "    \"convention\": {\"text\": " << choice(DisplayText(in.convention), in.convention) << "},\n"
        << "    \"life\": {\"text\": " << choice(DisplayText(in.life), in.life) << "},\n"
        << "    \"fiscalYearEnd\": " << JsonString(in.fiscalYearEnd) << ",\n"
        << "    \"bonus\": " << (in.bonusRequested ? "true" : "false") << ",\n"
        << "    \"bonusAmount\": " << JsonAmount(in.bonusAmount) << "\n  },\n";
    out << "  \"rows\": [";
    for (std::size_t i = 0; i < run.rows.size(); ++i) {
        const ScheduleRow &row = run.rows[i];
        out << (i == 0 ? "\n" : ",\n") << "    {\"yearEnd\": " << JsonString(row.yearEnd)
            << ", \"period\": " << JsonAmount(row.period)
            << ", \"accumulated\": " << JsonAmount(row.accumulated) << "}";
    }
    out << "\n  ],\n  \"params\": [";
    for (std::size_t i = 0; i < run.params.size(); ++i)
        out << (i == 0 ? "\n" : ",\n") << "    {\"name\": " << JsonString(run.params[i].first)
            << ", \"value\": " << JsonString(run.params[i].second) << "}";
    out << "\n  ]\n}\n";
}

} // namespace

ScheduleOutputFormat ParseScheduleOutputFormat(const std::string &name) {
    if (name == "text")
        return ScheduleOutputFormat::Text;
    if (name == "csv")
        return ScheduleOutputFormat::Csv;
    if (name == "json")
        return ScheduleOutputFormat::Json;
    throw UsageError("--format: unknown format " + Shown(name) + " (text, csv or json)");
}

void WriteScheduleOutput(const ScheduleRun &run, ScheduleOutputFormat format, std::ostream &out) {
    switch (format) {
    case ScheduleOutputFormat::Text:
        WriteText(run, out);
        break;
    case ScheduleOutputFormat::Csv:
        WriteCsv(run, out);
        break;
    case ScheduleOutputFormat::Json:
        WriteJson(run, out);
        break;
    }
}

void WriteErrorMessage(const std::exception &error, std::ostream &err) {
    const auto text = ErrorDisplayText(error);
    if (!text)
        return;
    std::string shown = *text;
    for (char &c : shown)
        if (c == '\r')
            c = '\n';
    err << shown << '\n';
}

} // namespace fiscora::cli
