#include "ScheduleOptions.h"

#include "DepreciateCommand.h"
#include "SameText.h"
#include "ScheduleRecorder.h"
#include "ToolBox.h"

#include <algorithm>
#include <span>

namespace fiscora::cli {

namespace {

// The cost field: 9 dollar digits, 2 cent digits, no minus key.
constexpr std::size_t kCostDollarDigits = 9;
constexpr std::size_t kCostCentDigits = 2;

const std::vector<std::string> &ScheduleValueOptions() {
    static const std::vector<std::string> names = {"--description", "--type",           "--placed",
                                                   "--cost",        "--method",         "--convention",
                                                   "--life",        "--fiscal-year-end"};
    return names;
}

// A choice by its 0-based index or its display text.
template <typename Choice, std::size_t Count>
Choice ParseChoice(const std::string &option, const std::string &value,
                   const std::array<std::string_view, Count> &texts) {
    if (!value.empty() &&
        std::all_of(value.begin(), value.end(), [](char c) { return c >= '0' && c <= '9'; })) {
        if (value.size() <= 2 && std::stoul(value) < Count)
            return static_cast<Choice>(std::stoul(value));
    } else {
        for (std::size_t i = 0; i < Count; ++i)
            if (SameText(value, texts[i]))
                return static_cast<Choice>(i);
    }
    throw UsageError(option + ": unknown choice " + Shown(value) + " (give 0 to " +
                     std::to_string(Count - 1) + " or the choice's text)");
}

// A date as the masked date field holds it: digits or blanks around "/" in positions 3 and 6.
std::string ParseDateText(const std::string &option, const std::string &value) {
    bool holdable = value.size() == 10;
    for (std::size_t i = 0; holdable && i < value.size(); ++i) {
        const char c = value[i];
        holdable = (i == 2 || i == 5) ? c == '/' : (c == ' ' || (c >= '0' && c <= '9'));
    }
    if (!holdable)
        throw UsageError(option + ": " + Shown(value) + " is not a date the field can hold (MM/DD/YYYY)");
    return value;
}

// An amount as the cost field reads it: the field shows "$" and "," besides "-", "." and digits, and
// reads only the last three; what remains must fit the field (no minus key, 9 dollar digits, 2 cent
// digits). Any other character could never stand in the field, so "1e5" is refused, not read as 15.
double ParseCost(const std::string &option, const std::string &value) {
    const auto refuse = [&](const char *why) { return UsageError(option + ": " + Shown(value) + " " + why); };
    if (FilterChars(value, MakeCharSet("$,-.0123456789")).size() != value.size())
        throw refuse("holds characters other than digits, \"$\", \",\" and \".\"");
    const std::string amount = FilterChars(value, MakeCharSet("-.0123456789"));
    if (amount.find('-') != std::string::npos)
        throw refuse("is negative; the field takes no minus sign");
    if (std::count(amount.begin(), amount.end(), '.') > 1)
        throw refuse("has more than one decimal point");
    if (amount.find_first_of("0123456789") == std::string::npos)
        throw refuse("has no digits");
    const std::size_t point = amount.find('.');
    const std::size_t dollarDigits = point == std::string::npos ? amount.size() : point;
    const std::size_t centDigits = point == std::string::npos ? 0 : amount.size() - point - 1;
    if (dollarDigits > kCostDollarDigits)
        throw refuse("has more than 9 dollar digits");
    if (centDigits > kCostCentDigits)
        throw refuse("has more than 2 decimals");
    return RoundAmount(StrToAmount(amount), 2);
}

void StoreOption(ScheduleRequest &request, const std::string &name, const std::string &value) {
    if (name == "--description")
        request.description = value;
    else if (name == "--type")
        request.propertyType = ParseChoice<PropertyType>(name, value, kPropertyTypeTexts);
    else if (name == "--placed")
        request.placedInService = ParseDateText(name, value);
    else if (name == "--cost")
        request.cost = ParseCost(name, value);
    else if (name == "--method")
        request.method = ParseChoice<DepreciationMethod>(name, value, kDepreciationMethodTexts);
    else if (name == "--convention")
        request.convention = ParseChoice<Convention>(name, value, kConventionTexts);
    else if (name == "--life")
        request.life = ParseChoice<DepreciableLife>(name, value, kDepreciableLifeTexts);
    else if (name == "--fiscal-year-end")
        request.fiscalYearEnd = ParseDateText(name, value);
}

void RequireEnabled(bool enabled, const std::string &option, std::string_view control) {
    if (!enabled)
        throw UsageError(option + ": the " + std::string(control) +
                         " control is disabled at this point (the property type or life fixes it)");
}

// A value entered into one of the fields whose exit runs the bonus eligibility, then the field left.
template <typename Value>
void EnterAndLeave(AssetEntry &entry, const std::optional<Value> &value, Value &field) {
    if (!value)
        return;
    field = *value;
    ApplyBonusEligibility(entry);
}

} // namespace

ParsedScheduleArguments ParseScheduleArguments(const std::vector<std::string> &args,
                                               const std::vector<std::string> &extraValueOptions) {
    ArgumentRules rules{ScheduleValueOptions(), {"--bonus"}, {"--description"}, 0};
    rules.valueOptions.insert(rules.valueOptions.end(), extraValueOptions.begin(), extraValueOptions.end());
    const ParsedArguments given = ParseArguments(args, rules);
    ParsedScheduleArguments parsed;
    for (const auto &[name, value] : given.values) {
        if (std::find(extraValueOptions.begin(), extraValueOptions.end(), name) != extraValueOptions.end())
            parsed.extras[name] = value;
        else
            StoreOption(parsed.request, name, value);
    }
    parsed.request.bonus = given.flags.contains("--bonus");
    return parsed;
}

AssetEntry ApplyScheduleRequest(const ScheduleRequest &request, const std::string &today) {
    AssetEntry entry = InitialAssetEntry(today);
    AssetInputs &inputs = entry.inputs;
    if (request.description)
        inputs.description = *request.description;
    if (request.propertyType) {
        inputs.propertyType = *request.propertyType;
        ApplyPropertyTypeChange(entry);
        ApplyBonusEligibility(entry);
    }
    EnterAndLeave(entry, request.placedInService, inputs.placedInService);
    EnterAndLeave(entry, request.cost, inputs.cost);
    if (request.method)
        RequireEnabled(entry.controls.methodEnabled, "--method", "Depreciation Method");
    EnterAndLeave(entry, request.method, inputs.method);
    if (request.convention)
        RequireEnabled(entry.controls.conventionEnabled, "--convention", "Convention");
    EnterAndLeave(entry, request.convention, inputs.convention);
    if (request.life) {
        RequireEnabled(entry.controls.lifeEnabled, "--life", "Depreciable Life");
        inputs.life = *request.life;
        ApplyLifeRule(entry);
    }
    if (request.fiscalYearEnd)
        inputs.fiscalYearEnd = *request.fiscalYearEnd;
    if (request.bonus) {
        if (!entry.controls.bonusEnabled)
            throw UsageError(
                "--bonus: the bonus box is disabled at this point (it needs a date placed in service "
                "in 2026, a cost and a property type other than real property)");
        inputs.bonusRequested = true;
        ApplyBonusRule(entry);
    }
    return entry;
}

ScheduleRun RunSchedule(const AssetInputs &inputs) {
    ScheduleRecorder pane;
    ScheduleRun run{inputs, RunDepreciateCommand(inputs, pane), {}, pane.params()};
    run.lines.reserve(pane.lines().size());
    for (const ScheduleRecorder::Line &line : pane.lines())
        run.lines.push_back(line.text);
    return run;
}

std::string ScheduleOptionsHelp() {
    return "  --description TEXT            property description\n"
           "  --type N                      property type\n"
           "  --placed MM/DD/YYYY           date placed in service (default: today)\n"
           "  --cost AMOUNT                 cost or basis, e.g. 12500.00 or $12,500.00\n"
           "  --method N                    depreciation method\n"
           "  --convention N                convention\n"
           "  --life N                      depreciable life\n"
           "  --fiscal-year-end MM/DD/YYYY  fiscal year end date\n"
           "  --bonus                       check the 1st year bonus depreciation box\n";
}

std::string ScheduleChoicesHelp() {
    std::string help = "N is the 0-based index of the choice or its text, in any case:\n";
    const auto list = [&help](std::string_view option, std::span<const std::string_view> texts) {
        constexpr std::size_t kWidth = 100;
        std::string line = "  " + std::string(option);
        line.resize(16, ' ');
        const std::size_t indent = line.size();
        for (std::size_t i = 0; i < texts.size(); ++i) {
            const std::string item = std::to_string(i) + " \"" + std::string(texts[i]) + "\"";
            if (line.size() > indent && line.size() + 2 + item.size() > kWidth) {
                help += line + '\n';
                line.assign(indent, ' ');
            } else if (line.size() > indent) {
                line += "  ";
            }
            line += item;
        }
        help += line + '\n';
    };
    list("--type", kPropertyTypeTexts);
    list("--method", kDepreciationMethodTexts);
    list("--convention", kConventionTexts);
    list("--life", kDepreciableLifeTexts);
    return help;
}

} // namespace fiscora::cli
