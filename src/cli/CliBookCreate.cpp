// fiscora-cli book create: a new, empty book.

#include "Book.h"
#include "CliArguments.h"
#include "CliBookCommands.h"
#include "CliBookSupport.h"
#include "CliWrite.h"

namespace fiscora::cli {

std::string BookCreateUsage() {
    return "usage: fiscora-cli book create FILE --name NAME [--year-end-month M]\n"
           "  FILE                book file to make (.fbook), or a PostgreSQL connection string\n"
           "  --name NAME         the business the book is kept for\n"
           "  --year-end-month M  last month of the tax year, 1 to 12 (default: 12, December)\n";
}

int RunBookCreate(const std::vector<std::string> &args) {
    return RunBookSubcommand("create", BookCreateUsage(), args, [](const std::vector<std::string> &given) {
        const ParsedArguments parsed = ParseArguments(given, {{"--name", "--year-end-month"}, {}, {}, 1});
        if (parsed.operands.empty())
            throw UsageError("FILE is required");
        const auto name = parsed.Value("--name");
        if (!name)
            throw UsageError("--name NAME is required");
        int month = 12;
        if (const auto value = parsed.Value("--year-end-month")) {
            const bool isMonth = value->size() <= 2 &&
                                 value->find_first_not_of("0123456789") == std::string::npos &&
                                 std::stoi(*value) >= 1 && std::stoi(*value) <= 12;
            if (!isMonth)
                throw UsageError("--year-end-month: " + Shown(*value) + " is not a month (1 to 12)");
            month = std::stoi(*value);
        }
        const auto book = Book::Create(parsed.operands[0], *name, month);
        return WriteStandardOutput("book create", "Created the book of " + Cut(book->Name()) +
                                                      ", tax years ending in " + MonthName(month) + ".\n")
                   ? 0
                   : 1;
    });
}

} // namespace fiscora::cli
