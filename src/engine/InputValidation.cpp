#include "InputValidation.h"

#include "Depreciate.h"
#include "ScheduleFrame.h"
#include "ToolBox.h"

namespace fiscora {

namespace {

constexpr std::string_view kVehicleDatesFirst = "01/01/2017";
constexpr std::string_view kVehicleDatesLast = "12/31/2026";
constexpr double kVehicleCostLimit = 145000;
constexpr int kLastScheduleYear = 9999;

constexpr std::string_view kDateFormatMessage =
    "Date Placed in Service requires the following format: mm/dd/yyyy";
constexpr std::string_view kCostMinimumMessage = "Cost or Basis requires an amount of at least $1.00";
constexpr std::string_view kConventionMessage =
    "The Convention for the Property Type is invalid.~Acceptable conventions are Half-Year and Mid-Quarter";
constexpr std::string_view kGeneralLifeMessage =
    "The Depreciable Life for the Property Type is invalid.~Acceptable "
    "depreciable lives are 5, 7, 10, 15, and 20 years";
constexpr std::string_view kVehicleDateMessage =
    "This Property Type only accepts dates between 01/01/2017 through 12/31/2026";
constexpr std::string_view kVehicleCostMessage =
    "This Property Type will not accept amounts larger than $145,000.00";
constexpr std::string_view kNonResidentialLifeMessage =
    "The Depreciable Life for the Property Type is invalid.~Acceptable depreciable Life is 39 years";
constexpr std::string_view kYearEndFormatMessage =
    "Fiscal Year End Date requires the following format: mm/dd/yyyy";
constexpr std::string_view kYearEndBeforeMessage =
    "Date Placed in Sevice must be prior to Fiscal Year End Date";
constexpr std::string_view kYearEndTooLateMessage =
    "Date Placed in Sevice must be within the same year as the Fiscal Year End Date";
constexpr std::string_view kScheduleTooLateMessage =
    "Date Placed in Service is too late: the schedule would run past 12/31/9999";

InputError Failure(AssetField field, std::string_view message) {
    return {field, TildeToLineBreak(message)};
}

// The checks that only some property types have, in their order.
std::optional<InputError> FindTypeError(const AssetInputs &inputs) {
    switch (inputs.propertyType) {
    case PropertyType::FurnitureEquipment:
        if (inputs.convention == Convention::MidMonth)
            return Failure(AssetField::Convention, kConventionMessage);
        if (inputs.life == DepreciableLife::Years3 || inputs.life == DepreciableLife::Years27_5 ||
            inputs.life == DepreciableLife::Years39)
            return Failure(AssetField::Life, kGeneralLifeMessage);
        break;
    case PropertyType::Automobile:
    case PropertyType::LightTruck:
        if (inputs.convention == Convention::MidMonth)
            return Failure(AssetField::Convention, kConventionMessage);
        if (!IsDateInRange(inputs.placedInService, kVehicleDatesFirst, kVehicleDatesLast))
            return Failure(AssetField::PlacedInService, kVehicleDateMessage);
        if (inputs.cost > kVehicleCostLimit)
            return Failure(AssetField::Cost, kVehicleCostMessage);
        break;
    case PropertyType::HeavyTruck:
        if (inputs.convention == Convention::MidMonth)
            return Failure(AssetField::Convention, kConventionMessage);
        break;
    case PropertyType::Residential:
        break;
    case PropertyType::NonResidential:
        if (inputs.life < DepreciableLife::Years39)
            return Failure(AssetField::Life, kNonResidentialLifeMessage);
        break;
    }
    return std::nullopt;
}

// Date texts end with the year 9999: a later year end could neither be written as a date nor read
// back. The row count depends on the type, the life, the fiscal month and, for vehicles, the caps,
// so the schedule routine itself tells it.
bool RunsPastLastScheduleYear(const AssetInputs &inputs) {
    const ScheduleFrame frame = MakeScheduleFrame(inputs);
    return frame.Year(static_cast<int>(ComputeSchedule(inputs).size())) > kLastScheduleYear;
}

} // namespace

std::optional<InputError> FindInputError(const AssetInputs &inputs) {
    if (!IsValidDateStr(inputs.placedInService))
        return Failure(AssetField::PlacedInService, kDateFormatMessage);
    if (inputs.cost < 1)
        return Failure(AssetField::Cost, kCostMinimumMessage);
    if (auto typeError = FindTypeError(inputs))
        return typeError;
    if (!IsValidDateStr(inputs.fiscalYearEnd))
        return Failure(AssetField::FiscalYearEnd, kYearEndFormatMessage);
    if (DaysBetweenDates(inputs.placedInService, inputs.fiscalYearEnd) < 0)
        return Failure(AssetField::PlacedInService, kYearEndBeforeMessage);
    // The schedule's first year ends on the last day of the year-end month, whatever day was typed,
    // so that is the year the asset must lie in.
    const std::string firstYearEnd = MakeScheduleFrame(inputs).YearEnd(1);
    if (DaysBetweenDates(inputs.placedInService, firstYearEnd) > 364)
        return Failure(AssetField::PlacedInService, kYearEndTooLateMessage);
    if (RunsPastLastScheduleYear(inputs))
        return Failure(AssetField::PlacedInService, kScheduleTooLateMessage);
    return std::nullopt;
}

void ValidateInputs(const AssetInputs &inputs, const FocusRequest &moveFocus) {
    const auto error = FindInputError(inputs);
    if (!error)
        return;
    if (moveFocus)
        moveFocus(error->field);
    throw EFieldException(error->message);
}

} // namespace fiscora
