#include "Depreciate.h"

#include "RateTables.h"
#include "ScheduleFrame.h"
#include "ToolBox.h"

#include <algorithm>

namespace fiscora {

namespace {

constexpr int kRecoveryYears = 6;

const rates::YearCaps &CapsFor(const AssetInputs &inputs, PropertyType kind) {
    for (const rates::YearCaps &caps : rates::kYearCaps) {
        const bool kindMatches =
            caps.appliesTo == rates::CapsFor::BothKinds ||
            (caps.appliesTo == rates::CapsFor::AutomobileOnly && kind == PropertyType::Automobile) ||
            (caps.appliesTo == rates::CapsFor::LightTruckOnly && kind == PropertyType::LightTruck);
        if (kindMatches && IsDateInRange(inputs.placedInService, caps.first, caps.last))
            return caps;
    }
    throw ECustomException("Automobiles and light trucks take dates from 01/01/2017 through 12/31/2026");
}

double BonusCapFor(const AssetInputs &inputs, PropertyType kind) {
    if (IsDateInRange(inputs.placedInService, "01/01/2026", "12/31/2026"))
        return rates::kBonusCapInWindow;
    return kind == PropertyType::Automobile ? rates::kAutomobileBonusCapBefore
                                            : rates::kLightTruckBonusCapBefore;
}

// Automobiles and light trucks: six recovery years limited by the yearly caps, then further rows
// of at most the later-year cap until the whole basis is depreciated.
ScheduleRows ComputeVehicleSchedule(const AssetInputs &inputs, PropertyType kind) {
    if (inputs.convention == Convention::MidMonth)
        throw ECustomException("Automobiles and light trucks take the half-year or mid-quarter convention");
    const ScheduleFrame frame = MakeScheduleFrame(inputs);
    const int column = rates::RateColumn(inputs.convention, FiscalQuarter(frame.fiscalMonth));
    const rates::YearCaps &caps = CapsFor(inputs, kind);
    const double bonusCap = BonusCapFor(inputs, kind);
    const auto &table =
        inputs.method == DepreciationMethod::Macrs ? rates::kVehicleMacrs : rates::kVehicleStraightLine;
    const double basis = DepreciationBasis(inputs);

    std::array<double, kRecoveryYears> periods{};
    std::array<double, kRecoveryYears> accumulatedAfter{};
    bool limited = false;
    double accumulated = 0;
    for (int year = 1; year <= kRecoveryYears; ++year) {
        double period = RoundAmount(basis * table[year - 1][column], 2);
        const double yearCap = year == 1   ? caps.year1
                               : year == 2 ? caps.year2
                               : year == 3 ? caps.year3
                                           : caps.laterYears;
        if (year == 1 && inputs.bonusRequested && period + inputs.bonusAmount > bonusCap) {
            // A bonus kept from a date in the bonus window can exceed an earlier year's lower limit:
            // the first year then depreciates nothing rather than a negative amount.
            period = std::max(0.0, bonusCap - inputs.bonusAmount);
            limited = true;
        } else if (period > yearCap) {
            period = yearCap;
            limited = true;
        }
        if (year == kRecoveryYears && !limited)
            period = basis - accumulated;
        accumulated += period;
        periods[year - 1] = period;
        accumulatedAfter[year - 1] = accumulated;
    }
    if (limited) {
        // The sixth year takes a full later-year cap when that much is still undepreciated.
        const double beforeSixth = accumulatedAfter[kRecoveryYears - 2];
        if (basis - beforeSixth >= caps.laterYears)
            periods[kRecoveryYears - 1] = caps.laterYears;
        accumulated = beforeSixth + periods[kRecoveryYears - 1];
        accumulatedAfter[kRecoveryYears - 1] = accumulated;
    }

    ScheduleRows rows;
    for (int year = 1; year <= kRecoveryYears; ++year)
        rows.Add({frame.YearEnd(year), periods[year - 1], accumulatedAfter[year - 1]});
    for (int year = kRecoveryYears + 1; accumulated < basis; ++year) {
        double period = caps.laterYears;
        if (caps.laterYears + accumulated > basis) {
            period = basis - accumulated;
            accumulated = basis; // the remainder row ends the schedule exactly
        } else {
            accumulated += period;
        }
        rows.Add({frame.YearEnd(year), period, accumulated});
    }
    return rows;
}

} // namespace

ScheduleRows ComputeAutomobileSchedule(const AssetInputs &inputs) {
    return ComputeVehicleSchedule(inputs, PropertyType::Automobile);
}

ScheduleRows ComputeLightTruckSchedule(const AssetInputs &inputs) {
    return ComputeVehicleSchedule(inputs, PropertyType::LightTruck);
}

} // namespace fiscora
