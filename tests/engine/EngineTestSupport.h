#pragma once

#include "AssetRules.h"

#include <string>
#include <vector>

namespace fiscora::test {

// An asset as the window holds it after the user has entered it; a requested bonus is computed by
// the bonus rule.
inline AssetInputs Asset(PropertyType type, std::string placed, double cost, DepreciationMethod method,
                         Convention convention, DepreciableLife life, std::string fiscalYearEnd,
                         bool bonus = false) {
    AssetEntry entry;
    entry.inputs.propertyType = type;
    entry.inputs.placedInService = std::move(placed);
    entry.inputs.cost = cost;
    entry.inputs.method = method;
    entry.inputs.convention = convention;
    entry.inputs.life = life;
    entry.inputs.fiscalYearEnd = std::move(fiscalYearEnd);
    entry.inputs.bonusRequested = bonus;
    ApplyBonusRule(entry);
    return entry.inputs;
}

// A list of amounts built from runs: {{3636, 8}, {3637, 1}} is eight times 3636, then 3637.
struct Run {
    double amount;
    int times = 1;
};

inline std::vector<double> Amounts(std::initializer_list<Run> runs) {
    std::vector<double> amounts;
    for (const Run &run : runs)
        amounts.insert(amounts.end(), run.times, run.amount);
    return amounts;
}

} // namespace fiscora::test
