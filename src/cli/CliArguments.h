#pragma once

// The command line rules every command shares: options by name with their value as the next argument
// or after "=", each at most once; other arguments in order; "--help" alone asks for the usage text.

#include <optional>
#include <set>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace fiscora::cli {

// Bad command line: the message is the one-line reason; the command adds its usage text.
class UsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// What a command accepts.
struct ArgumentRules {
    std::vector<std::string> valueOptions;      // "--name VALUE" or "--name=VALUE"
    std::vector<std::string> flagOptions;       // "--name", no value
    std::vector<std::string> emptyValueOptions; // value options for which "" is a value, not a missing one
    std::size_t maxOperands = 0;                // arguments that are not options (file names)
};

struct ParsedArguments {
    std::vector<std::pair<std::string, std::string>> values; // value options in command line order
    std::set<std::string> flags;
    std::vector<std::string> operands;

    std::optional<std::string> Value(const std::string &name) const;
};

// Raises UsageError for an unknown or repeated option, a missing value (none follows, the next
// argument is one of the command's options, or it is empty), a value given to a flag, or an operand
// too many.
ParsedArguments ParseArguments(const std::vector<std::string> &args, const ArgumentRules &rules);

// Writes "fiscora-cli COMMAND: REASON" and the command's usage text to standard error; returns 2,
// the exit status of a usage error.
int UsageFailure(std::string_view command, std::string_view reason, std::string_view usage);

// True for "--help" or "-h" as the only argument.
bool IsHelpRequest(const std::vector<std::string> &args);

// A value from the command line as a message shows it: control characters as "?", and cut to a
// readable length ("..." marks the cut). Shown() puts it in single quotes.
std::string Cut(std::string_view value);
std::string Shown(std::string_view value);

} // namespace fiscora::cli
