#pragma once

#include "AssetInputs.h"

#include <functional>
#include <string_view>

namespace fiscora {

using ParameterSetter = std::function<void(std::string_view name, std::string_view value)>;

// The report parameters the Print command sets after the schedule run, in their order: the inputs,
// then the bonus pair only when the bonus box is checked. The row parameters come from the run itself.
void SetPrintParameters(const AssetInputs &inputs, const ParameterSetter &setParam);

} // namespace fiscora
