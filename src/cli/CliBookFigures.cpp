// fiscora-cli book list, totals and form4562: the figures of a book.

#include "Book.h"
#include "BookCsvExport.h"
#include "CliArguments.h"
#include "CliBookCommands.h"
#include "CliBookOutput.h"
#include "CliBookSupport.h"
#include "CliWrite.h"

namespace fiscora::cli {

namespace {

// The book, read only, with every asset depreciated.
struct DepreciatedBook {
    BookTitle title;
    std::vector<DepreciatedAsset> assets;
};

DepreciatedBook ReadBook(const std::string &location) {
    const auto book = Book::Open(location, BookAccess::Read);
    return {{book->Name(), book->YearEndMonth()}, DepreciateBookAssets(book->Assets(), book->YearEndMonth())};
}

ParsedArguments ParseFigureArguments(const std::vector<std::string> &given,
                                     std::vector<std::string> options) {
    options.push_back("--format");
    const ParsedArguments parsed = ParseArguments(given, {options, {}, {}, 1});
    if (parsed.operands.empty())
        throw UsageError("FILE is required");
    return parsed;
}

const char *kFormatHelp = "  --format text|csv|json  output format (default: text)\n";

} // namespace

std::string BookListUsage() {
    return std::string(
               "usage: fiscora-cli book list FILE [--tax-year T] [--format text|csv|json]\n"
               "  --tax-year T            the register of tax year T (the fiscal year ending in T): the\n"
               "                          assets placed in service by its end, with their depreciation\n") +
           kFormatHelp;
}

int RunBookList(const std::vector<std::string> &args) {
    return RunBookSubcommand("list", BookListUsage(), args, [](const std::vector<std::string> &given) {
        const ParsedArguments parsed = ParseFigureArguments(given, {"--tax-year"});
        const BookOutputFormat format = ParseBookOutputFormat(parsed.Value("--format"));
        std::optional<int> taxYear;
        if (const auto year = parsed.Value("--tax-year"))
            taxYear = ParseTaxYear(*year);
        const DepreciatedBook book = ReadBook(parsed.operands[0]);
        const AssetRegister reg = MakeAssetRegister(book.assets, taxYear);
        const std::string text = format == BookOutputFormat::Csv    ? RegisterCsv(reg)
                                 : format == BookOutputFormat::Json ? RegisterJson(book.title, reg)
                                                                    : RegisterText(book.title, reg);
        return WriteStandardOutput("book list", text) ? 0 : 1;
    });
}

std::string BookTotalsUsage() {
    return std::string("usage: fiscora-cli book totals FILE [--format text|csv|json]\n") + kFormatHelp;
}

int RunBookTotals(const std::vector<std::string> &args) {
    return RunBookSubcommand("totals", BookTotalsUsage(), args, [](const std::vector<std::string> &given) {
        const ParsedArguments parsed = ParseFigureArguments(given, {});
        const BookOutputFormat format = ParseBookOutputFormat(parsed.Value("--format"));
        const DepreciatedBook book = ReadBook(parsed.operands[0]);
        const std::vector<TaxYearTotal> totals = TotalsByTaxYear(book.assets);
        const std::string text = format == BookOutputFormat::Csv    ? TaxYearTotalsCsv(totals)
                                 : format == BookOutputFormat::Json ? TaxYearTotalsJson(book.title, totals)
                                                                    : TaxYearTotalsText(book.title, totals);
        return WriteStandardOutput("book totals", text) ? 0 : 1;
    });
}

std::string BookForm4562Usage() {
    return std::string("usage: fiscora-cli book form4562 FILE --tax-year T [--format text|csv|json]\n"
                       "  --tax-year T            the tax year of the form (the fiscal year ending in T)\n") +
           kFormatHelp;
}

int RunBookForm4562(const std::vector<std::string> &args) {
    return RunBookSubcommand(
        "form4562", BookForm4562Usage(), args, [](const std::vector<std::string> &given) {
            const ParsedArguments parsed = ParseFigureArguments(given, {"--tax-year"});
            const BookOutputFormat format = ParseBookOutputFormat(parsed.Value("--format"));
            const auto year = parsed.Value("--tax-year");
            if (!year)
                throw UsageError("--tax-year T is required");
            const int taxYear = ParseTaxYear(*year);
            const DepreciatedBook book = ReadBook(parsed.operands[0]);
            const Form4562 form = MakeForm4562(book.assets, taxYear);
            const std::string text = format == BookOutputFormat::Csv    ? Form4562Csv(form)
                                     : format == BookOutputFormat::Json ? Form4562Json(book.title, form)
                                                                        : Form4562Text(book.title, form);
            return WriteStandardOutput("book form4562", text) ? 0 : 1;
        });
}

} // namespace fiscora::cli
