#include "ScheduleOptions.h"

#include "AssetFieldText.h"
#include "DepreciateCommand.h"
#include "ScheduleRecorder.h"
#include "ToolBox.h"

#include <algorithm>
#include <span>

namespace fiscora::cli {

namespace {

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
    if (const auto choice = ChoiceFromText<Choice>(value, texts))
        return *choice;
    throw UsageError(option + ": unknown choice " + Shown(value) + " (give 0 to " +
                     std::to_string(Count - 1) + " or the choice's text)");
}

std::string ParseDateText(const std::string &option, const std::string &value) {
    if (!IsHoldableDateText(value))
        throw UsageError(option + ": " + Shown(value) + " is not a date the field can hold (MM/DD/YYYY)");
    return value;
}

double ParseCost(const std::string &option, const std::string &value) {
    std::string refusal;
    if (const auto amount = ReadCostText(value, refusal))
        return *amount;
    throw UsageError(option + ": " + Shown(value) + " " + refusal);
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

UsageError DisabledControlError(const std::string &option, std::string_view control) {
    return UsageError(option + ": the " + std::string(control) +
                      " control is disabled at this point (the property type or life fixes it)");
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
    try {
        return EnterAssetRequest(request, today, DisabledEntryRule::Refuse);
    } catch (const EDisabledControl &disabled) {
        switch (disabled.control) {
        case EntryControl::Method:
            throw DisabledControlError("--method", "Depreciation Method");
        case EntryControl::Convention:
            throw DisabledControlError("--convention", "Convention");
        case EntryControl::Life:
            throw DisabledControlError("--life", "Depreciable Life");
        case EntryControl::Bonus:
            break;
        }
        throw UsageError(
            "--bonus: the bonus box is disabled at this point (it needs a date placed in service "
            "in 2026, a cost and a property type other than real property)");
    }
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
