#include "CliBookCommands.h"
#include "CliBookSupport.h"

namespace fiscora::cli {

const std::vector<BookSubcommand> &BookSubcommands() {
    static const std::vector<BookSubcommand> subcommands = {
        {"create", "FILE --name NAME [--year-end-month M]", "make a new, empty book", BookCreateUsage,
         RunBookCreate},
        {"add", "FILE [schedule options] [--asset-number TEXT] [--note TEXT]",
         "add one asset, entered as in the schedule command", BookAddUsage, RunBookAdd},
        {"import", "FILE CSV", "add the assets of a CSV file, all or none", BookImportUsage, RunBookImport},
        {"list", "FILE [--tax-year T] [--format text|csv|json]", "the register of the assets, for a tax year",
         BookListUsage, RunBookList},
        {"remove", "FILE ID", "remove an asset", BookRemoveUsage, RunBookRemove},
        {"totals", "FILE [--format text|csv|json]", "bonus and depreciation per tax year", BookTotalsUsage,
         RunBookTotals},
        {"form4562", "FILE --tax-year T [--format text|csv|json]",
         "the Form 4562 depreciation lines of a tax year", BookForm4562Usage, RunBookForm4562},
        {"report", "FILE --report DeprBook|Form4562 --tax-year T --output FILE.pdf|FILE.html|FILE.fsn",
         "a book report of a tax year: the book report or the Form 4562 worksheet", BookReportUsage,
         RunBookReport},
    };
    return subcommands;
}

} // namespace fiscora::cli
