#include "Depreciate.h"

#include "RateTables.h"
#include "ScheduleFrame.h"

#include <array>

namespace fiscora {

namespace {

const rates::StraightLineRates &StraightLineFor(DepreciableLife life) {
    switch (life) {
    case DepreciableLife::Years5:
        return rates::kStraightLine5;
    case DepreciableLife::Years7:
        return rates::kStraightLine7;
    case DepreciableLife::Years10:
        return rates::kStraightLine10;
    case DepreciableLife::Years15:
        return rates::kStraightLine15;
    case DepreciableLife::Years20:
        return rates::kStraightLine20;
    default:
        throw ECustomException("General property takes lives of 5, 7, 10, 15 or 20 years");
    }
}

} // namespace

ScheduleRows ComputeGeneralSchedule(const AssetInputs &inputs) {
    if (inputs.convention == Convention::MidMonth)
        throw ECustomException("General property takes the half-year or mid-quarter convention");
    const ScheduleFrame frame = MakeScheduleFrame(inputs);
    const int column = rates::RateColumn(inputs.convention, FiscalQuarter(frame.fiscalMonth));

    std::array<double, 20> rowRates{};
    std::size_t rateCount = 0;
    // MACRS has tables for 5, 7 and 10 years only; 15- and 20-year property is always straight-line
    // (the life rule forces it), so those lives take the straight-line table whatever the method says.
    if (inputs.method == DepreciationMethod::Macrs && inputs.life == DepreciableLife::Years5)
        rateCount = rates::CopyColumn(rates::kMacrs5, column, rowRates);
    else if (inputs.method == DepreciationMethod::Macrs && inputs.life == DepreciableLife::Years7)
        rateCount = rates::CopyColumn(rates::kMacrs7, column, rowRates);
    else if (inputs.method == DepreciationMethod::Macrs && inputs.life == DepreciableLife::Years10)
        rateCount = rates::CopyColumn(rates::kMacrs10, column, rowRates);
    else {
        const rates::StraightLineRates &straightLine = StraightLineFor(inputs.life);
        rateCount = static_cast<std::size_t>(straightLine.rowCount - 1);
        rowRates.fill(straightLine.laterRows);
        rowRates[0] = straightLine.firstRow[column];
    }
    return ComputeRateRows(DepreciationBasis(inputs), frame,
                           std::span<const double>(rowRates.data(), rateCount));
}

} // namespace fiscora
