#include "CsvWriter.h"

namespace fiscora {

namespace {

bool IsFormulaStart(char c) {
    return c == '=' || c == '+' || c == '-' || c == '@' || c == '\t' || c == '\r';
}

// True when the field starts a formula after its leading "'"; `quotes` is their count.
bool StartsFormula(std::string_view field, std::size_t &quotes) {
    quotes = field.find_first_not_of('\'');
    return quotes != std::string_view::npos && IsFormulaStart(field[quotes]);
}

} // namespace

std::string CsvCell(std::string_view field) {
    std::size_t quotes = 0;
    const bool guarded = StartsFormula(field, quotes);
    if (!guarded && field.find_first_of(",\"\r\n") == std::string_view::npos)
        return std::string(field);
    std::string cell = guarded ? "\"'" : "\"";
    for (const char c : field) {
        if (c == '"')
            cell += '"';
        cell += c;
    }
    return cell + '"';
}

std::string CsvLine(const std::vector<std::string> &fields) {
    std::string line;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (i > 0)
            line += ',';
        line += CsvCell(fields[i]);
    }
    return line + '\n';
}

std::string UnguardedCsvField(std::string_view field) {
    std::size_t quotes = 0;
    if (StartsFormula(field, quotes) && quotes > 0)
        field.remove_prefix(1);
    return std::string(field);
}

} // namespace fiscora
