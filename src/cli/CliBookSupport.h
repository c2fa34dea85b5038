#pragma once

// What the sub-commands of `fiscora-cli book` share: their run (help, usage errors, messages), the
// book's options and the output formats.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace fiscora::cli {

// A sub-command: `book NAME ARGS`.
struct BookSubcommand {
    const char *name;
    const char *synopsis; // the arguments, for the usage of `book`
    const char *summary;
    std::string (*usage)();
    int (*run)(const std::vector<std::string> &args);
};

// The sub-commands in the order the usage lists them.
const std::vector<BookSubcommand> &BookSubcommands();

// Runs the body of `book NAME`: "--help" prints the usage (0); a UsageError from the body is a usage
// failure (2); a refused import lists its lines, and any other error prints its message (1).
int RunBookSubcommand(std::string_view name, const std::string &usage, const std::vector<std::string> &args,
                      const std::function<int(const std::vector<std::string> &args)> &body);

enum class BookOutputFormat { Text, Csv, Json };

// `--format`: "text" (also when not given), "csv" or "json"; raises UsageError for anything else.
BookOutputFormat ParseBookOutputFormat(const std::optional<std::string> &value);

// `--tax-year T`: a year 1 to 9999; raises UsageError otherwise.
int ParseTaxYear(const std::string &value);

// An asset's id: a whole number from 1; raises UsageError otherwise.
std::int64_t ParseAssetId(const std::string &value);

// The month names, for messages: "December".
std::string MonthName(int month);

} // namespace fiscora::cli
