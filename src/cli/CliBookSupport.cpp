#include "CliBookSupport.h"

#include "AssetCsvImport.h"
#include "CliArguments.h"
#include "CliWrite.h"
#include "ScheduleOutput.h"

#include <algorithm>
#include <array>
#include <iostream>

namespace fiscora::cli {

namespace {

bool IsWholeNumber(const std::string &value, std::size_t maxDigits) {
    return !value.empty() && value.size() <= maxDigits &&
           std::all_of(value.begin(), value.end(), [](char c) { return c >= '0' && c <= '9'; });
}

} // namespace

int RunBookSubcommand(std::string_view name, const std::string &usage, const std::vector<std::string> &args,
                      const std::function<int(const std::vector<std::string> &args)> &body) {
    const std::string command = "book " + std::string(name);
    if (IsHelpRequest(args))
        return WriteStandardOutput(command, usage) ? 0 : 1;
    try {
        return body(args);
    } catch (const UsageError &error) {
        return UsageFailure(command, error.what(), usage);
    } catch (const EImportRefused &refused) {
        for (const ImportProblem &problem : refused.problems)
            std::cerr << problem.Text() << '\n';
        WriteErrorMessage(refused, std::cerr);
        return 1;
    } catch (const std::exception &error) {
        WriteErrorMessage(error, std::cerr);
        return 1;
    }
}

BookOutputFormat ParseBookOutputFormat(const std::optional<std::string> &value) {
    if (!value || *value == "text")
        return BookOutputFormat::Text;
    if (*value == "csv")
        return BookOutputFormat::Csv;
    if (*value == "json")
        return BookOutputFormat::Json;
    throw UsageError("--format: unknown format " + Shown(*value) + " (text, csv or json)");
}

int ParseTaxYear(const std::string &value) {
    if (!IsWholeNumber(value, 4) || std::stoi(value) < 1)
        throw UsageError("--tax-year: " + Shown(value) + " is not a year (1 to 9999)");
    return std::stoi(value);
}

std::int64_t ParseAssetId(const std::string &value) {
    if (!IsWholeNumber(value, 18) || std::stoll(value) < 1)
        throw UsageError(Shown(value) + " is not an asset id (a whole number from 1)");
    return std::stoll(value);
}

std::string MonthName(int month) {
    static const std::array<const char *, 12> names = {"January",   "February", "March",    "April",
                                                       "May",       "June",     "July",     "August",
                                                       "September", "October",  "November", "December"};
    return month >= 1 && month <= 12 ? names[std::size_t(month - 1)] : std::to_string(month);
}

} // namespace fiscora::cli
