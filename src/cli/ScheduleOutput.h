#pragma once

#include "ScheduleOptions.h"

#include <exception>
#include <ostream>

namespace fiscora::cli {

enum class ScheduleOutputFormat { Text, Csv, Json };

// "text", "csv" or "json"; raises UsageError for anything else.
ScheduleOutputFormat ParseScheduleOutputFormat(const std::string &name);

// The schedule in the requested format: the pane's lines, CSV rows or a JSON document.
void WriteScheduleOutput(const ScheduleRun &run, ScheduleOutputFormat format, std::ostream &out);

// An error as the general error display shows it ("." appended by its rule), each carriage return a
// line break, ending with a line break; nothing for a silent abort.
void WriteErrorMessage(const std::exception &error, std::ostream &err);

} // namespace fiscora::cli
