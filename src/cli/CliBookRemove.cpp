// fiscora-cli book remove: one asset out of the book.

#include "Book.h"
#include "CliArguments.h"
#include "CliBookCommands.h"
#include "CliBookSupport.h"
#include "CliWrite.h"

namespace fiscora::cli {

std::string BookRemoveUsage() {
    return "usage: fiscora-cli book remove FILE ID\n"
           "  ID  the asset's id, as book list shows it\n";
}

int RunBookRemove(const std::vector<std::string> &args) {
    return RunBookSubcommand("remove", BookRemoveUsage(), args, [](const std::vector<std::string> &given) {
        const ParsedArguments parsed = ParseArguments(given, {{}, {}, {}, 2});
        if (parsed.operands.size() < 2)
            throw UsageError("FILE and ID are required");
        const std::int64_t id = ParseAssetId(parsed.operands[1]);
        const auto book = Book::Open(parsed.operands[0], BookAccess::Write);
        book->RemoveAsset(id);
        return WriteStandardOutput("book remove", "Removed asset " + std::to_string(id) + ".\n") ? 0 : 1;
    });
}

} // namespace fiscora::cli
