#include "Depreciate.h"

#include "RateTables.h"
#include "ScheduleFrame.h"

#include <array>

namespace fiscora {

// Real property applies the rates to the cost itself: it never has a bonus.

ScheduleRows ComputeResidentialSchedule(const AssetInputs &inputs) {
    const ScheduleFrame frame = MakeScheduleFrame(inputs);
    // 28 rows when placed in service in the first half of the fiscal year, else 29.
    const std::size_t rowCount = frame.fiscalMonth <= 6 ? 28 : 29;
    std::array<double, 28> rowRates{};
    rowRates[0] = rates::kResidentialFirstYear[frame.fiscalMonth - 1];
    for (std::size_t row = 2; row < rowCount; ++row)
        rowRates[row - 1] = rates::ResidentialLaterRate(static_cast<int>(row));
    return ComputeRateRows(inputs.cost, frame, std::span<const double>(rowRates.data(), rowCount - 1));
}

ScheduleRows ComputeNonResidentialSchedule(const AssetInputs &inputs) {
    const ScheduleFrame frame = MakeScheduleFrame(inputs);
    std::array<double, 39> rowRates{};
    rowRates.fill(rates::kNonResidentialLaterRate);
    rowRates[0] = rates::kNonResidentialFirstYear[frame.fiscalMonth - 1];
    return ComputeRateRows(inputs.cost, frame, rowRates);
}

} // namespace fiscora
