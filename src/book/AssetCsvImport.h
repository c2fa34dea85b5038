#pragma once

// Assets from a CSV file, by the names in its header line: asset_number, description, type, placed,
// cost, method, convention, life, bonus, note. Choices are read as the command line reads them (an
// index or the choice's text), the cost as the cost field reads it. Every row is entered and checked
// as the window would; an import is all or nothing.

#include "AssetRecord.h"
#include "BookError.h"

#include <string>
#include <string_view>
#include <vector>

namespace fiscora {

class Book;

// One refused line: "line 7: Cost or Basis requires an amount of at least $1.00."
struct ImportProblem {
    int line = 0;
    std::string message; // ending as the error display ends it, on one line

    std::string Text() const { return "line " + std::to_string(line) + ": " + message; }
};

// An import that nothing came of: every problem found, by line.
class EImportRefused : public EBookError {
public:
    explicit EImportRefused(std::vector<ImportProblem> problems);

    std::vector<ImportProblem> problems;
};

// The column names the import reads, in the order an export writes them.
const std::vector<std::string> &AssetCsvColumns();

// The assets of the CSV text for a book with the year-end month and asset numbers: new records
// (no ids). Raises EImportRefused listing every bad line.
std::vector<AssetRecord> ReadAssetCsv(std::string_view text, int yearEndMonth,
                                      const std::vector<std::string> &numbersInBook);

// Reads the text and adds its assets to the book in one transaction. Returns how many.
std::size_t ImportAssetCsv(Book &book, std::string_view text);

} // namespace fiscora
