#include "CliBookOutput.h"

#include "CentsText.h"
#include "CliBookSupport.h"
#include "JsonText.h"

#include <algorithm>

namespace fiscora::cli {

namespace {

// A text as a table cell: control characters (line breaks of a description) as "?".
std::string Printable(std::string text) {
    for (char &c : text)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F)
            c = '?';
    return text;
}

// Characters, not bytes, of UTF-8 text.
std::size_t Width(const std::string &text) {
    return static_cast<std::size_t>(std::count_if(
        text.begin(), text.end(), [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
}

// Columns padded to their widest cell; numbers right-aligned.
class TextTable {
public:
    explicit TextTable(std::vector<bool> rightAligned) : FRight(std::move(rightAligned)) {}

    void Add(std::vector<std::string> cells) {
        for (std::string &cell : cells)
            cell = Printable(std::move(cell));
        FRows.push_back(std::move(cells));
    }

    // The rows as lines, each with its line feed.
    std::vector<std::string> Lines(const std::string &indent = {}) const {
        std::vector<std::size_t> widths(FRight.size(), 0);
        for (const auto &row : FRows)
            for (std::size_t i = 0; i < row.size(); ++i)
                widths[i] = std::max(widths[i], Width(row[i]));
        std::vector<std::string> lines;
        for (const auto &row : FRows) {
            std::string line = indent;
            for (std::size_t i = 0; i < row.size(); ++i) {
                const std::string padding(widths[i] - Width(row[i]), ' ');
                line += (i == 0 ? "" : "  ") + (FRight[i] ? padding + row[i] : row[i] + padding);
            }
            line.erase(line.find_last_not_of(' ') + 1);
            lines.push_back(line + '\n');
        }
        return lines;
    }

    std::string Render(const std::string &indent = {}) const {
        std::string text;
        for (const std::string &line : Lines(indent))
            text += line;
        return text;
    }

private:
    std::vector<bool> FRight;
    std::vector<std::vector<std::string>> FRows;
};

std::string Amount(Cents cents) {
    return GroupedCentsText(cents);
}

std::string JsonAmount(Cents cents) {
    return JsonNumber(ToDollars(cents));
}

std::string JsonChoice(std::string_view text, int index) {
    return "{\"text\": " + JsonString(text) + ", \"index\": " + std::to_string(index) + "}";
}

std::string TitleLine(const BookTitle &title) {
    return Printable(title.name) + ", tax years ending in " + MonthName(title.yearEndMonth);
}

std::string JsonBook(const BookTitle &title) {
    return "{\"name\": " + JsonString(title.name) +
           ", \"yearEndMonth\": " + std::to_string(title.yearEndMonth) + "}";
}

// Items of a JSON array, one a line.
std::string JsonList(const std::vector<std::string> &items, const std::string &indent) {
    if (items.empty())
        return "[]";
    std::string text = "[";
    for (std::size_t i = 0; i < items.size(); ++i)
        text += (i == 0 ? "\n" : ",\n") + indent + "  " + items[i];
    return text + "\n" + indent + "]";
}

} // namespace

std::string RegisterText(const BookTitle &title, const AssetRegister &reg) {
    const bool year = reg.taxYear.has_value();
    const std::string yearText = year ? std::to_string(*reg.taxYear) : "";
    std::vector<std::string> header = {"ID",     "Asset no.", "Description", "Type", "Placed",
                                       "Method", "Conv.",     "Life",        "Cost", "Bonus"};
    std::vector<bool> right = {true, false, false, false, false, false, false, false, true, true};
    if (year) {
        header.insert(header.end(), {"Before " + yearText, yearText, "Accumulated", "Basis left"});
        right.insert(right.end(), {true, true, true, true});
    } else {
        header.push_back("Basis");
        right.push_back(true);
    }
    header.push_back("Fully depreciated");
    right.push_back(false);
    TextTable table(right);
    table.Add(header);
    for (std::size_t i = 0; i < reg.assets.size(); ++i) {
        const DepreciatedAsset &asset = *reg.assets[i];
        const RegisterFigures &figures = reg.figures[i];
        std::vector<std::string> cells = {std::to_string(asset.record.id),
                                          asset.record.assetNumber,
                                          asset.record.description,
                                          std::string(DisplayText(asset.inputs.propertyType)),
                                          asset.inputs.placedInService,
                                          std::string(DisplayText(asset.inputs.method)),
                                          std::string(DisplayText(asset.inputs.convention)),
                                          std::string(DisplayText(asset.inputs.life)),
                                          Amount(figures.cost),
                                          Amount(figures.bonus)};
        if (year)
            cells.insert(cells.end(), {Amount(figures.before), Amount(figures.inYear),
                                       Amount(figures.accumulated), Amount(figures.basisLeft)});
        else
            cells.push_back(Amount(figures.basisLeft));
        cells.push_back(asset.lastYearEnd);
        table.Add(std::move(cells));
    }
    std::vector<std::string> totals = {
        "", "", "Total", "", "", "", "", "", Amount(reg.totals.cost), Amount(reg.totals.bonus)};
    if (year)
        totals.insert(totals.end(), {Amount(reg.totals.before), Amount(reg.totals.inYear),
                                     Amount(reg.totals.accumulated), Amount(reg.totals.basisLeft)});
    else
        totals.push_back(Amount(reg.totals.basisLeft));
    totals.push_back("");
    table.Add(std::move(totals));
    const std::string heading = year ? "Asset register, tax year " + yearText : "Asset register";
    return heading + ": " + TitleLine(title) + "\n\n" + table.Render();
}

std::string RegisterJson(const BookTitle &title, const AssetRegister &reg) {
    const auto figuresJson = [&](const RegisterFigures &figures) {
        std::string text =
            "\"cost\": " + JsonAmount(figures.cost) + ", \"bonus\": " + JsonAmount(figures.bonus);
        if (reg.taxYear)
            text += ", \"depreciationBefore\": " + JsonAmount(figures.before) +
                    ", \"depreciation\": " + JsonAmount(figures.inYear) +
                    ", \"accumulated\": " + JsonAmount(figures.accumulated);
        return text + ", \"basisLeft\": " + JsonAmount(figures.basisLeft);
    };
    std::vector<std::string> assets;
    for (std::size_t i = 0; i < reg.assets.size(); ++i) {
        const DepreciatedAsset &asset = *reg.assets[i];
        const AssetRecord &record = asset.record;
        const AssetInputs &in = asset.inputs;
        assets.push_back(
            "{\"id\": " + std::to_string(record.id) + ", \"assetNumber\": " + JsonString(record.assetNumber) +
            ", \"description\": " + JsonString(record.description) +
            ", \"propertyType\": " + JsonChoice(DisplayText(in.propertyType), int(in.propertyType)) +
            ", \"placedInService\": " + JsonString(in.placedInService) +
            ", \"method\": " + JsonChoice(DisplayText(in.method), int(in.method)) +
            ", \"convention\": " + JsonChoice(DisplayText(in.convention), int(in.convention)) +
            ", \"life\": " + JsonChoice(DisplayText(in.life), int(in.life)) + ", \"bonusRequested\": " +
            (in.bonusRequested ? "true" : "false") + ", \"note\": " + JsonString(record.note) +
            ", \"fiscalYearEnd\": " + JsonString(in.fiscalYearEnd) + ", \"fullyDepreciated\": " +
            JsonString(asset.lastYearEnd) + ", " + figuresJson(reg.figures[i]) + "}");
    }
    return "{\n  \"book\": " + JsonBook(title) +
           ",\n  \"taxYear\": " + (reg.taxYear ? std::to_string(*reg.taxYear) : "null") +
           ",\n  \"assets\": " + JsonList(assets, "  ") + ",\n  \"totals\": {" + figuresJson(reg.totals) +
           "}\n}\n";
}

std::string TaxYearTotalsText(const BookTitle &title, const std::vector<TaxYearTotal> &totals) {
    TextTable table({false, true, true, true});
    table.Add({"Tax year", "Bonus", "Depreciation", "Total"});
    TaxYearTotal sum;
    for (const TaxYearTotal &total : totals) {
        table.Add({std::to_string(total.taxYear), Amount(total.bonus), Amount(total.depreciation),
                   Amount(total.Total())});
        sum.bonus += total.bonus;
        sum.depreciation += total.depreciation;
    }
    table.Add({"All years", Amount(sum.bonus), Amount(sum.depreciation), Amount(sum.Total())});
    return "Deductions per tax year: " + TitleLine(title) + "\n\n" + table.Render();
}

std::string TaxYearTotalsJson(const BookTitle &title, const std::vector<TaxYearTotal> &totals) {
    std::vector<std::string> years;
    for (const TaxYearTotal &total : totals)
        years.push_back("{\"taxYear\": " + std::to_string(total.taxYear) + ", \"bonus\": " +
                        JsonAmount(total.bonus) + ", \"depreciation\": " + JsonAmount(total.depreciation) +
                        ", \"total\": " + JsonAmount(total.Total()) + "}");
    return "{\n  \"book\": " + JsonBook(title) + ",\n  \"taxYears\": " + JsonList(years, "  ") + "\n}\n";
}

std::string Form4562Text(const BookTitle &title, const Form4562 &form) {
    const std::string year = std::to_string(form.taxYear);
    // The lines of one amount, aligned with each other across the parts.
    const std::vector<std::pair<std::string, Cents>> amountLines = {{"14", form.line14}, {"17", form.line17},
                                                                    {"21", form.line21}, {"22", form.line22},
                                                                    {"25", form.line25}, {"28", form.line28}};
    TextTable amounts({false, false, true});
    for (const auto &[line, amount] : amountLines)
        amounts.Add({line, Form4562LineCaption(line, form.taxYear), Amount(amount)});
    const std::vector<std::string> amountRows = amounts.Lines("  ");
    const auto amountLine = [&](std::string_view line) {
        for (std::size_t i = 0; i < amountLines.size(); ++i)
            if (amountLines[i].first == line)
                return amountRows[i];
        return std::string();
    };
    std::string text = "Form 4562, tax year " + year + ": " + TitleLine(title) + "\n\n";
    text += "Part I    Election to expense certain property under section 179: none\n";
    text += "Part II   Special depreciation allowance\n" + amountLine("14");
    text += "Part III  MACRS depreciation\n" + amountLine("17");
    text += "  19  Assets placed in service during the " + year + " tax year (General Depreciation System)\n";
    TextTable line19({false, false, false, true, false, false, false, true});
    line19.Add({"", "(a) Classification", "(b) Placed", "(c) Basis", "(d) Period", "(e) Conv.", "(f) Method",
                "(g) Deduction"});
    for (const Form4562Line19 &line : form.line19)
        line19.Add({line.line, line.classification, line.placed, Amount(line.basis), line.recoveryPeriod,
                    line.convention, line.method, Amount(line.deduction)});
    text += form.line19.empty() ? "      none\n" : line19.Render("  ");
    text += "Part IV   Summary\n" + amountLine("21") + amountLine("22");
    text += "Part V    Listed property\n" + amountLine("25");
    text += "  26  " + Form4562LineCaption("26", form.taxYear) + "\n";
    TextTable line26({false, false, true, true, true, false, false, true});
    line26.Add({"(a) Property", "(b) Placed", "(c) Use", "(d) Cost", "(e) Basis", "(f) Period",
                "(g) Method/Conv.", "(h) Deduction"});
    for (const Form4562Line26 &line : form.line26)
        line26.Add({line.description, line.placed, std::to_string(line.businessUse) + "%", Amount(line.cost),
                    Amount(line.basis), line.recoveryPeriod, line.method + "/" + line.convention,
                    Amount(line.deduction)});
    text += form.line26.empty() ? "      none\n" : line26.Render("      ");
    return text + amountLine("28");
}

std::string Form4562Json(const BookTitle &title, const Form4562 &form) {
    std::vector<std::string> line19;
    for (const Form4562Line19 &line : form.line19)
        line19.push_back("{\"line\": " + JsonString(line.line) + ", \"classification\": " +
                         JsonString(line.classification) + ", \"placed\": " + JsonString(line.placed) +
                         ", \"basis\": " + JsonAmount(line.basis) +
                         ", \"recoveryPeriod\": " + JsonString(line.recoveryPeriod) + ", \"convention\": " +
                         JsonString(line.convention) + ", \"method\": " + JsonString(line.method) +
                         ", \"deduction\": " + JsonAmount(line.deduction) + "}");
    std::vector<std::string> line26;
    for (const Form4562Line26 &line : form.line26)
        line26.push_back("{\"assetId\": " + std::to_string(line.assetId) + ", \"description\": " +
                         JsonString(line.description) + ", \"placed\": " + JsonString(line.placed) +
                         ", \"businessUse\": " + std::to_string(line.businessUse) +
                         ", \"cost\": " + JsonAmount(line.cost) + ", \"basis\": " + JsonAmount(line.basis) +
                         ", \"recoveryPeriod\": " + JsonString(line.recoveryPeriod) + ", \"method\": " +
                         JsonString(line.method) + ", \"convention\": " + JsonString(line.convention) +
                         ", \"deduction\": " + JsonAmount(line.deduction) + "}");
    return "{\n  \"book\": " + JsonBook(title) + ",\n  \"taxYear\": " + std::to_string(form.taxYear) +
           ",\n  \"line14\": " + JsonAmount(form.line14) + ",\n  \"line17\": " + JsonAmount(form.line17) +
           ",\n  \"line19\": " + JsonList(line19, "  ") + ",\n  \"line21\": " + JsonAmount(form.line21) +
           ",\n  \"line22\": " + JsonAmount(form.line22) + ",\n  \"line25\": " + JsonAmount(form.line25) +
           ",\n  \"line26\": " + JsonList(line26, "  ") + ",\n  \"line28\": " + JsonAmount(form.line28) +
           "\n}\n";
}

} // namespace fiscora::cli
