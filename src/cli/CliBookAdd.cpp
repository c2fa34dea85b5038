// fiscora-cli book add: one asset, entered as the schedule command enters it.

#include "Book.h"
#include "BookAssetEntry.h"
#include "CliBookCommands.h"
#include "CliBookSupport.h"
#include "CliWrite.h"
#include "Clock.h"
#include "ScheduleOptions.h"

namespace fiscora::cli {

std::string BookAddUsage() {
    return "usage: fiscora-cli book add FILE [--description TEXT] [--type N] [--placed MM/DD/YYYY] [--cost "
           "AMOUNT]\n"
           "                            [--method N] [--convention N] [--life N] [--bonus]\n"
           "                            [--asset-number TEXT] [--note TEXT]\n" +
           ScheduleOptionsHelp() +
           "  --asset-number TEXT           your number of the asset, unique in the book\n"
           "  --note TEXT                   a note kept with the asset\n"
           "The fiscal year end is the book's: --fiscal-year-end is not taken.\n" +
           ScheduleChoicesHelp();
}

int RunBookAdd(const std::vector<std::string> &args) {
    return RunBookSubcommand("add", BookAddUsage(), args, [](const std::vector<std::string> &given) {
        if (given.empty() || (given[0].size() > 1 && given[0][0] == '-'))
            throw UsageError("FILE is required, before the options");
        const ParsedScheduleArguments parsed = ParseScheduleArguments(
            std::vector<std::string>(given.begin() + 1, given.end()), {"--asset-number", "--note"});
        if (parsed.request.fiscalYearEnd)
            throw UsageError("--fiscal-year-end: a book's assets take their fiscal year end from the book");
        const auto extra = [&](const char *name) {
            const auto found = parsed.extras.find(name);
            return found == parsed.extras.end() ? std::string() : found->second;
        };
        const auto book = Book::Open(given[0], BookAccess::Write);
        AssetRecord record = EnterBookAsset(parsed.request, book->YearEndMonth(), TodayDateStr());
        record.assetNumber = extra("--asset-number");
        record.note = extra("--note");
        const std::int64_t id = book->AddAsset(record);
        return WriteStandardOutput("book add", "Added asset " + std::to_string(id) + ".\n") ? 0 : 1;
    });
}

} // namespace fiscora::cli
