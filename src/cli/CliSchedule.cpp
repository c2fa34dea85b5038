// fiscora-cli schedule: the Depreciate command of the main window, on the command line.

#include "CliCommand.h"
#include "Clock.h"
#include "ScheduleOptions.h"
#include "ScheduleOutput.h"

#include <iostream>

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
    if (args.size() == 1 && (args[0] == "--help" || args[0] == "-h")) {
        std::cout << ScheduleUsage();
        return 0;
    }
    AssetEntry entry;
    ScheduleOutputFormat format = ScheduleOutputFormat::Text;
    try {
        const ParsedScheduleArguments parsed = ParseScheduleArguments(args, {"--format"});
        if (const auto given = parsed.extras.find("--format"); given != parsed.extras.end())
            format = ParseScheduleOutputFormat(given->second);
        entry = ApplyScheduleRequest(parsed.request, TodayDateStr());
    } catch (const UsageError &error) {
        std::cerr << "fiscora-cli schedule: " << error.what() << '\n' << ScheduleUsage();
        return 2;
    }
    try {
        const ScheduleRun run = RunSchedule(entry.inputs);
        WriteScheduleOutput(run, format, std::cout);
        std::cout.flush();
        if (!std::cout) {
            std::cerr << "fiscora-cli schedule: the schedule could not be written to standard output\n";
            return 1;
        }
        return 0;
    } catch (const std::exception &error) {
        WriteErrorMessage(error, std::cerr);
        return 1;
    }
}

const CliCommandRegistrar registrar("schedule", "compute the depreciation schedule of one asset",
                                    RunScheduleCommand);

} // namespace

} // namespace fiscora::cli
