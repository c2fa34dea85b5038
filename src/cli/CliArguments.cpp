#include "CliArguments.h"

#include <iostream>

#include <algorithm>

namespace fiscora::cli {

namespace {

// Enough for any real value; a pasted file or a runaway shell expansion is cut.
constexpr std::size_t kShownBytes = 40;

bool IsOneOf(const std::string &name, const std::vector<std::string> &names) {
    return std::find(names.begin(), names.end(), name) != names.end();
}

bool IsOption(const std::string &arg) {
    return arg.size() > 1 && arg[0] == '-';
}

std::string OptionName(const std::string &arg) {
    return arg.substr(0, arg.find('='));
}

} // namespace

std::optional<std::string> ParsedArguments::Value(const std::string &name) const {
    for (const auto &[given, value] : values)
        if (given == name)
            return value;
    return std::nullopt;
}

ParsedArguments ParseArguments(const std::vector<std::string> &args, const ArgumentRules &rules) {
    const auto known = [&](const std::string &name) {
        return IsOneOf(name, rules.valueOptions) || IsOneOf(name, rules.flagOptions);
    };
    ParsedArguments parsed;
    std::set<std::string> seen;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string &arg = args[i];
        if (!IsOption(arg)) {
            if (parsed.operands.size() >= rules.maxOperands)
                throw UsageError("unexpected argument " + Shown(arg));
            parsed.operands.push_back(arg);
            continue;
        }
        const std::string name = OptionName(arg);
        const bool hasEquals = name.size() < arg.size();
        if (!known(name))
            throw UsageError("unknown option " + Shown(name));
        if (!seen.insert(name).second)
            throw UsageError(name + " is given more than once");
        if (IsOneOf(name, rules.flagOptions)) {
            if (hasEquals)
                throw UsageError(name + " takes no value");
            parsed.flags.insert(name);
            continue;
        }
        std::optional<std::string> value;
        if (hasEquals)
            value = arg.substr(name.size() + 1);
        else if (i + 1 < args.size() && !(IsOption(args[i + 1]) && known(OptionName(args[i + 1]))))
            value = args[++i];
        if (!value || (value->empty() && !IsOneOf(name, rules.emptyValueOptions)))
            throw UsageError(name + " needs a value");
        parsed.values.emplace_back(name, *value);
    }
    return parsed;
}

int UsageFailure(std::string_view command, std::string_view reason, std::string_view usage) {
    std::cerr << "fiscora-cli " << command << ": " << reason << '\n' << usage;
    return 2;
}

bool IsHelpRequest(const std::vector<std::string> &args) {
    return args.size() == 1 && (args[0] == "--help" || args[0] == "-h");
}

std::string Cut(std::string_view value) {
    std::string shown(value.substr(0, kShownBytes));
    const bool cut = shown.size() < value.size();
    if (cut) {
        // Never end inside a UTF-8 sequence: a last sequence the cut left incomplete goes.
        std::size_t lead = shown.size();
        while (lead > 0 && (static_cast<unsigned char>(shown[lead - 1]) & 0xC0) == 0x80)
            --lead;
        if (lead > 0) {
            const auto first = static_cast<unsigned char>(shown[lead - 1]);
            const std::size_t length = first >= 0xF0 ? 4 : first >= 0xE0 ? 3 : first >= 0xC0 ? 2 : 1;
            if (lead - 1 + length > shown.size())
                shown.resize(lead - 1);
        }
    }
    for (char &c : shown)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F)
            c = '?';
    return cut ? shown + "..." : shown;
}

std::string Shown(std::string_view value) {
    std::string shown(1, '\'');
    return shown.append(Cut(value)).append(1, '\'');
}

} // namespace fiscora::cli
