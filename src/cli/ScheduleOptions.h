#pragma once

// The asset options shared by the commands that compute a schedule (schedule, report), and the run
// that acts as a person at the main window does: start from the window's initial state, apply each
// given option the way the window applies that entry, then run the Depreciate command.
//
// A command with options of its own passes their names to ParseScheduleArguments and finds their
// values in ParsedScheduleArguments::extras.

#include "AssetEntryRequest.h"
#include "CliArguments.h"
#include "ScheduleRows.h"

#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace fiscora::cli {

// What the options ask for; an option not given leaves the window's state as it is.
using ScheduleRequest = AssetEntryRequest;

struct ParsedScheduleArguments {
    ScheduleRequest request;
    std::map<std::string, std::string> extras; // extra options given, by name with dashes ("--output")
};

// Parses the schedule options plus `extraValueOptions` (names like "--output", each taking a value)
// by the shared rules (CliArguments.h). Raises UsageError for what those refuse, an unknown choice,
// a date the date field cannot hold, or an amount the cost field cannot hold.
ParsedScheduleArguments ParseScheduleArguments(const std::vector<std::string> &args,
                                               const std::vector<std::string> &extraValueOptions = {});

// The window after a person entered the request, starting from the initial state with `today`
// placed in service. Raises UsageError when an option targets a control the rules have disabled at
// that point (the bonus box included).
AssetEntry ApplyScheduleRequest(const ScheduleRequest &request, const std::string &today);

// What one Depreciate command produced.
struct ScheduleRun {
    AssetInputs inputs;
    ScheduleRows rows;
    std::vector<std::string> lines;                          // the schedule pane, tabs included
    std::vector<std::pair<std::string, std::string>> params; // report parameters in the order set
};

// The Depreciate command on the inputs; a failed validation raises EFieldException.
ScheduleRun RunSchedule(const AssetInputs &inputs);

// The usage text's lines for the options (without a usage line) and for the choices N may name,
// for every command that takes them.
std::string ScheduleOptionsHelp();
std::string ScheduleChoicesHelp();

} // namespace fiscora::cli
