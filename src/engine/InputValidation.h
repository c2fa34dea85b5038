#pragma once

#include "AssetInputs.h"
#include "ToolBoxExceptions.h"

#include <functional>
#include <optional>
#include <string>

namespace fiscora {

// The input controls a validation failure can point at.
enum class AssetField { PlacedInService, Cost, Convention, Life, FiscalYearEnd };

struct InputError {
    AssetField field;
    std::string message; // line breaks already carriage returns
};

// The first failing check, in the fixed order (date, cost, the checks of the property type, fiscal
// year end, the two date-order checks, a last year end after 12/31/9999), or nothing when the
// inputs may be depreciated.
std::optional<InputError> FindInputError(const AssetInputs &inputs);

// Moves the focus to the offending control (through `moveFocus`, which may be empty) and raises
// EFieldException with the check's message when a check fails; returns normally otherwise.
using FocusRequest = std::function<void(AssetField)>;
void ValidateInputs(const AssetInputs &inputs, const FocusRequest &moveFocus = {});

} // namespace fiscora
