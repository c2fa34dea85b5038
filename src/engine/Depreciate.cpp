#include "Depreciate.h"

#include "ScheduleText.h"

namespace fiscora {

namespace {

ScheduleRows WriteRows(ScheduleRows rows, ScheduleSink &sink) {
    WriteScheduleRows(rows, sink);
    return rows;
}

} // namespace

ScheduleRows DepreciateGeneral(const AssetInputs &inputs, ScheduleSink &sink) {
    return WriteRows(ComputeGeneralSchedule(inputs), sink);
}

ScheduleRows DepreciateAutomobile(const AssetInputs &inputs, ScheduleSink &sink) {
    return WriteRows(ComputeAutomobileSchedule(inputs), sink);
}

ScheduleRows DepreciateLightTruck(const AssetInputs &inputs, ScheduleSink &sink) {
    return WriteRows(ComputeLightTruckSchedule(inputs), sink);
}

ScheduleRows DepreciateHeavyTruck(const AssetInputs &inputs, ScheduleSink &sink) {
    return WriteRows(ComputeHeavyTruckSchedule(inputs), sink);
}

ScheduleRows DepreciateResidential(const AssetInputs &inputs, ScheduleSink &sink) {
    return WriteRows(ComputeResidentialSchedule(inputs), sink);
}

ScheduleRows DepreciateNonResidential(const AssetInputs &inputs, ScheduleSink &sink) {
    return WriteRows(ComputeNonResidentialSchedule(inputs), sink);
}

} // namespace fiscora
