#include "DepreciateCommand.h"

#include "Depreciate.h"
#include "ScheduleText.h"

namespace fiscora {

ScheduleRows ComputeSchedule(const AssetInputs &inputs) {
    switch (inputs.propertyType) {
    case PropertyType::FurnitureEquipment:
        return ComputeGeneralSchedule(inputs);
    case PropertyType::Automobile:
        return ComputeAutomobileSchedule(inputs);
    case PropertyType::LightTruck:
        return ComputeLightTruckSchedule(inputs);
    case PropertyType::HeavyTruck:
        return ComputeHeavyTruckSchedule(inputs);
    case PropertyType::Residential:
        return ComputeResidentialSchedule(inputs);
    case PropertyType::NonResidential:
        return ComputeNonResidentialSchedule(inputs);
    }
    throw ECustomException("Unknown property type");
}

ScheduleRows RunDepreciateCommand(const AssetInputs &inputs, ScheduleSink &sink,
                                  const FocusRequest &moveFocus) {
    ValidateInputs(inputs, moveFocus);
    // Computed before the pane is cleared, so that an internal error leaves the last schedule shown.
    ScheduleRows rows = ComputeSchedule(inputs);
    WriteScheduleHeader(inputs, sink);
    WriteScheduleRows(rows, sink);
    return rows;
}

} // namespace fiscora
