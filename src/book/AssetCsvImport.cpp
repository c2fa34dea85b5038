#include "AssetCsvImport.h"

#include "AssetFieldText.h"
#include "Book.h"
#include "BookAssetEntry.h"
#include "CsvReader.h"
#include "CsvWriter.h"
#include "ErrorDisplay.h"
#include "SameText.h"

#include <algorithm>
#include <map>
#include <optional>
#include <set>

namespace fiscora {

namespace {

enum class Column { AssetNumber, Description, Type, Placed, Cost, Method, Convention, Life, Bonus, Note };

// Columns of an exported register that an import reads past: the book computes them.
const std::set<std::string> kComputedColumns = {
    "id",           "bonus_amount", "fiscal_year_end", "fully_depreciated", "tax_year", "depreciation_before",
    "depreciation", "accumulated",  "basis_left"};

// A problem of one row, raised while its cells are read.
struct RowProblem {
    std::string message;
};

std::string Trimmed(std::string_view text) {
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos)
        return {};
    const std::size_t last = text.find_last_not_of(" \t");
    return std::string(text.substr(first, last - first + 1));
}

// The message as the error display shows it, on one line.
std::string OneLine(const std::exception &error) {
    std::string text = ErrorDisplayText(error).value_or(error.what());
    std::replace(text.begin(), text.end(), '\r', ' ');
    return text;
}

class HeaderMap {
public:
    explicit HeaderMap(const CsvRecord &header) {
        const auto &columns = AssetCsvColumns();
        for (std::size_t i = 0; i < header.fields.size(); ++i) {
            const std::string name = LowerCaseAscii(Trimmed(header.fields[i]));
            const auto known = std::find(columns.begin(), columns.end(), name);
            if (known == columns.end()) {
                // A spreadsheet's unnamed columns after the last one hold nothing of an asset.
                if (kComputedColumns.contains(name) || name.empty())
                    continue;
                throw ECsvError(header.line,
                                "unknown column \"" + Shown(name) + "\" (the columns are " + Names() + ")");
            }
            const auto column = static_cast<Column>(known - columns.begin());
            if (FIndex.contains(column))
                throw ECsvError(header.line, "the column \"" + name + "\" is given twice");
            FIndex[column] = i;
        }
        for (const Column required : {Column::Placed, Column::Cost})
            if (!FIndex.contains(required))
                throw ECsvError(header.line,
                                "the column \"" + columns[std::size_t(required)] + "\" is missing");
    }

    // The cell of a column in a row, if the file has the column.
    std::optional<std::string> Cell(const CsvRecord &row, Column column) const {
        const auto found = FIndex.find(column);
        if (found == FIndex.end())
            return std::nullopt;
        return UnguardedCsvField(row.fields[found->second]);
    }

private:
    static std::string Names() {
        std::string names;
        for (const std::string &name : AssetCsvColumns())
            names += (names.empty() ? "" : ", ") + name;
        return names;
    }

    // A header cell as a message shows it: printable and short.
    static std::string Shown(std::string name) {
        for (char &c : name)
            if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F || static_cast<unsigned char>(c) >= 0x80)
                c = '?';
        return name.size() > 40 ? name.substr(0, 40) + "..." : name;
    }

    std::map<Column, std::size_t> FIndex;
};

template <typename Choice, std::size_t Count>
std::optional<Choice> ChoiceCell(const std::optional<std::string> &cell, const char *column,
                                 const std::array<std::string_view, Count> &texts) {
    if (!cell || Trimmed(*cell).empty())
        return std::nullopt;
    if (const auto choice = ChoiceFromText<Choice>(Trimmed(*cell), texts))
        return choice;
    throw RowProblem{std::string(column) + ": unknown choice (give 0 to " + std::to_string(Count - 1) +
                     " or the choice's text)."};
}

// "m/d/yyyy" as the date field holds it; anything else the date check refuses with its message.
std::string DateCell(const std::optional<std::string> &cell) {
    const std::string text = Trimmed(cell.value_or(""));
    const std::size_t first = text.find('/');
    const std::size_t second = first == std::string::npos ? first : text.find('/', first + 1);
    const auto digits = [&](std::size_t from, std::size_t to, std::size_t least, std::size_t most) {
        const std::size_t count = to - from;
        return count >= least && count <= most &&
               std::all_of(text.begin() + long(from), text.begin() + long(to),
                           [](char c) { return c >= '0' && c <= '9'; });
    };
    if (second == std::string::npos || !digits(0, first, 1, 2) || !digits(first + 1, second, 1, 2) ||
        !digits(second + 1, text.size(), 4, 4))
        return std::string(kBlankDate);
    const auto twoDigits = [](std::string part) { return part.size() == 1 ? "0" + part : part; };
    return twoDigits(text.substr(0, first)) + "/" + twoDigits(text.substr(first + 1, second - first - 1)) +
           "/" + text.substr(second + 1);
}

std::optional<double> CostCell(const std::optional<std::string> &cell) {
    const std::string text = Trimmed(cell.value_or(""));
    if (text.empty())
        return std::nullopt;
    std::string refusal;
    if (const auto amount = ReadCostText(text, refusal))
        return amount;
    throw RowProblem{"cost: the amount " + refusal + "."};
}

bool BonusCell(const std::optional<std::string> &cell) {
    const std::string text = LowerCaseAscii(Trimmed(cell.value_or("")));
    if (text.empty() || text == "0" || text == "no" || text == "n" || text == "false")
        return false;
    if (text == "1" || text == "yes" || text == "y" || text == "true" || text == "x")
        return true;
    throw RowProblem{"bonus: give yes or no (1 or 0)."};
}

AssetRecord ReadRow(const HeaderMap &header, const CsvRecord &row, int yearEndMonth) {
    AssetEntryRequest request;
    request.description = header.Cell(row, Column::Description).value_or("");
    request.propertyType =
        ChoiceCell<PropertyType>(header.Cell(row, Column::Type), "type", kPropertyTypeTexts);
    request.placedInService = DateCell(header.Cell(row, Column::Placed));
    request.cost = CostCell(header.Cell(row, Column::Cost));
    request.method =
        ChoiceCell<DepreciationMethod>(header.Cell(row, Column::Method), "method", kDepreciationMethodTexts);
    request.convention =
        ChoiceCell<Convention>(header.Cell(row, Column::Convention), "convention", kConventionTexts);
    request.life = ChoiceCell<DepreciableLife>(header.Cell(row, Column::Life), "life", kDepreciableLifeTexts);
    request.bonus = BonusCell(header.Cell(row, Column::Bonus));
    AssetRecord record;
    try {
        record = EnterBookAsset(request, yearEndMonth, std::string(kBlankDate));
    } catch (const ECustomException &error) {
        throw RowProblem{OneLine(error)};
    }
    record.assetNumber = Trimmed(header.Cell(row, Column::AssetNumber).value_or(""));
    record.note = header.Cell(row, Column::Note).value_or("");
    return record;
}

} // namespace

EImportRefused::EImportRefused(std::vector<ImportProblem> list)
    : EBookError("Nothing was imported: " + std::to_string(list.size()) +
                 (list.size() == 1 ? " line has an error" : " lines have errors")),
      problems(std::move(list)) {}

const std::vector<std::string> &AssetCsvColumns() {
    static const std::vector<std::string> columns = {"asset_number", "description", "type", "placed", "cost",
                                                     "method",       "convention",  "life", "bonus",  "note"};
    return columns;
}

std::vector<AssetRecord> ReadAssetCsv(std::string_view text, int yearEndMonth,
                                      const std::vector<std::string> &numbersInBook) {
    std::vector<CsvRecord> rows;
    std::optional<HeaderMap> header;
    try {
        rows = ReadCsvRecords(text);
        if (rows.empty())
            throw ECsvError(1, "the file has no header line");
        header.emplace(rows.front());
    } catch (const ECsvError &error) {
        throw EImportRefused({{error.line, std::string(error.what()) + "."}});
    }
    const std::set<std::string> inBook(numbersInBook.begin(), numbersInBook.end());
    std::map<std::string, int> numberLines; // asset number -> the line that has it first
    std::vector<AssetRecord> records;
    std::vector<ImportProblem> problems;
    const std::size_t width = rows.front().fields.size();
    for (std::size_t i = 1; i < rows.size(); ++i) {
        const CsvRecord &row = rows[i];
        // A spreadsheet writes the empty rows below a table as commas alone.
        if (std::all_of(row.fields.begin(), row.fields.end(),
                        [](const std::string &field) { return Trimmed(field).empty(); }))
            continue;
        try {
            if (row.fields.size() != width)
                throw RowProblem{"the line has " + std::to_string(row.fields.size()) +
                                 " fields, the header " + std::to_string(width) + "."};
            for (const std::string &field : row.fields)
                if (!IsValidUtf8(field))
                    throw RowProblem{"the text is not UTF-8."};
            AssetRecord record = ReadRow(*header, row, yearEndMonth);
            if (!record.assetNumber.empty()) {
                if (inBook.contains(record.assetNumber))
                    throw RowProblem{"the asset number is already in the book."};
                const auto [first, isNew] = numberLines.emplace(record.assetNumber, row.line);
                if (!isNew)
                    throw RowProblem{"the asset number is also on line " + std::to_string(first->second) +
                                     "."};
            }
            records.push_back(std::move(record));
        } catch (const RowProblem &problem) {
            problems.push_back({row.line, problem.message});
        }
    }
    if (!problems.empty())
        throw EImportRefused(std::move(problems));
    return records;
}

std::size_t ImportAssetCsv(Book &book, std::string_view text) {
    const std::vector<AssetRecord> records = ReadAssetCsv(text, book.YearEndMonth(), book.AssetNumbers());
    book.AddAssets(records);
    return records.size();
}

} // namespace fiscora
