// fiscora-cli schedule: the Depreciate command of the main window, on the command line.

#include "CliCommand.h"
#include "CliWrite.h"
#include "Clock.h"
#include "ScheduleOptions.h"
#include "ScheduleOutput.h"

#include <iostream>
#include <sstream>

namespace fiscora::cli {

namespace {

std::string ScheduleUsage() {
    return "usage: fiscora-cli schedule [--description TEXT] [--type N] [--placed MM/DD/YYYY] [--cost "
           "AMOUNT]\n"
           "                            [--method N] [--convention N] [--life N] [--fiscal-year-end "
           "MM/DD/YYYY]\n"
           "                            [--bonus] [--format text|csv|json]\n" +
           ScheduleOptionsHelp() + "  --format text|csv|json        output format (default: text)\n" +
           ScheduleChoicesHelp();
}

int RunScheduleCommand(const std::vector<std::string> &args) {
    if (IsHelpRequest(args))
        return WriteStandardOutput("schedule", ScheduleUsage()) ? 0 : 1;
    AssetEntry entry;
    ScheduleOutputFormat format = ScheduleOutputFormat::Text;
    try {
        const ParsedScheduleArguments parsed = ParseScheduleArguments(args, {"--format"});
        if (const auto given = parsed.extras.find("--format"); given != parsed.extras.end())
            format = ParseScheduleOutputFormat(given->second);
        entry = ApplyScheduleRequest(parsed.request, TodayDateStr());
    } catch (const UsageError &error) {
        return UsageFailure("schedule", error.what(), ScheduleUsage());
    }
    try {
        const ScheduleRun run = RunSchedule(entry.inputs);
        std::ostringstream text;
        WriteScheduleOutput(run, format, text);
        return WriteStandardOutput("schedule", text.str()) ? 0 : 1;
    } catch (const std::exception &error) {
        WriteErrorMessage(error, std::cerr);
        return 1;
    }
}

const CliCommandRegistrar registrar("schedule", "compute the depreciation schedule of one asset",
                                    RunScheduleCommand);

} // namespace

} // namespace fiscora::cli
