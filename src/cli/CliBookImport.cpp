// fiscora-cli book import: the assets of a CSV file, all or none.

#include "AssetCsvImport.h"
#include "Book.h"
#include "CliArguments.h"
#include "CliBookCommands.h"
#include "CliBookSupport.h"
#include "CliInputFile.h"
#include "CliWrite.h"

namespace fiscora::cli {

std::string BookImportUsage() {
    return "usage: fiscora-cli book import FILE CSV\n"
           "  CSV  the assets, one a line, under a header line naming the columns:\n"
           "       asset_number, description, type, placed, cost, method, convention, life, bonus, note\n";
}

int RunBookImport(const std::vector<std::string> &args) {
    return RunBookSubcommand("import", BookImportUsage(), args, [](const std::vector<std::string> &given) {
        const ParsedArguments parsed = ParseArguments(given, {{}, {}, {}, 2});
        if (parsed.operands.size() < 2)
            throw UsageError("FILE and CSV are required");
        QFile csv(QString::fromStdString(parsed.operands[1]));
        if (const auto failure = OpenInputFile(csv))
            throw EBookError(*failure);
        const QByteArray text = csv.readAll();
        const auto book = Book::Open(parsed.operands[0], BookAccess::Write);
        const std::size_t count =
            ImportAssetCsv(*book, std::string_view(text.constData(), std::size_t(text.size())));
        return WriteStandardOutput("book import", "Imported " + std::to_string(count) +
                                                      (count == 1 ? " asset.\n" : " assets.\n"))
                   ? 0
                   : 1;
    });
}

} // namespace fiscora::cli
