#include "Depreciate.h"

#include "RateTables.h"
#include "ScheduleFrame.h"

namespace fiscora {

ScheduleRows ComputeHeavyTruckSchedule(const AssetInputs &inputs) {
    if (inputs.convention == Convention::MidMonth)
        throw ECustomException("Heavy vehicles take the half-year or mid-quarter convention");
    const ScheduleFrame frame = MakeScheduleFrame(inputs);
    const int column = rates::RateColumn(inputs.convention, FiscalQuarter(frame.fiscalMonth));
    const auto &table =
        inputs.method == DepreciationMethod::Macrs ? rates::kHeavyTruckMacrs : rates::kHeavyTruckStraightLine;
    std::array<double, 3> rowRates{};
    rates::CopyColumn(table, column, rowRates);
    return ComputeRateRows(DepreciationBasis(inputs), frame, rowRates);
}

} // namespace fiscora
