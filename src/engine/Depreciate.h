#pragma once

// The schedule routines, one per property type. Each expects inputs that passed ValidateInputs (the
// window writes the header first); Compute* only computes the rows, Depreciate* also writes them
// to the sink (WriteScheduleRows) and returns them. Inputs the routine cannot handle raise
// ECustomException.

#include "AssetInputs.h"
#include "ScheduleRows.h"
#include "ScheduleSink.h"

namespace fiscora {

ScheduleRows ComputeGeneralSchedule(const AssetInputs &inputs);        // furniture, equipment
ScheduleRows ComputeAutomobileSchedule(const AssetInputs &inputs);     // automobile
ScheduleRows ComputeLightTruckSchedule(const AssetInputs &inputs);     // van, light truck or SUV
ScheduleRows ComputeHeavyTruckSchedule(const AssetInputs &inputs);     // truck or heavy vehicle
ScheduleRows ComputeResidentialSchedule(const AssetInputs &inputs);    // 27.5-year real property
ScheduleRows ComputeNonResidentialSchedule(const AssetInputs &inputs); // 39-year real property

ScheduleRows DepreciateGeneral(const AssetInputs &inputs, ScheduleSink &sink);
ScheduleRows DepreciateAutomobile(const AssetInputs &inputs, ScheduleSink &sink);
ScheduleRows DepreciateLightTruck(const AssetInputs &inputs, ScheduleSink &sink);
ScheduleRows DepreciateHeavyTruck(const AssetInputs &inputs, ScheduleSink &sink);
ScheduleRows DepreciateResidential(const AssetInputs &inputs, ScheduleSink &sink);
ScheduleRows DepreciateNonResidential(const AssetInputs &inputs, ScheduleSink &sink);

// The rows of the routine that the property type selects.
ScheduleRows ComputeSchedule(const AssetInputs &inputs);

} // namespace fiscora
