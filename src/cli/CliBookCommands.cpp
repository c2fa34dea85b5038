#include "CliBookCommands.h"
#include "CliBookSupport.h"

namespace fiscora::cli {

const std::vector<BookSubcommand> &BookSubcommands() {
    static const std::vector<BookSubcommand> subcommands = {
        {"create", "make a new, empty book", BookCreateUsage, RunBookCreate},
        {"add", "add one asset, entered as in the schedule command", BookAddUsage, RunBookAdd},
        {"import", "add the assets of a CSV file, all or none", BookImportUsage, RunBookImport},
        {"list", "the register of the assets, for a tax year", BookListUsage, RunBookList},
        {"remove", "remove an asset", BookRemoveUsage, RunBookRemove},
        {"totals", "bonus and depreciation per tax year", BookTotalsUsage, RunBookTotals},
        {"form4562", "the Form 4562 depreciation lines of a tax year", BookForm4562Usage, RunBookForm4562},
    };
    return subcommands;
}

} // namespace fiscora::cli
