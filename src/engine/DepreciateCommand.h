#pragma once

#include "AssetInputs.h"
#include "InputValidation.h"
#include "ScheduleRows.h"
#include "ScheduleSink.h"

namespace fiscora {

// The engine part of the Depreciate command: ValidateInputs (a failure moves the focus through
// `moveFocus` and raises EFieldException, leaving the sink untouched), then the header, then the
// schedule of the property type with its rows and report parameters. Returns the rows.
// The window gives the focus to the pane afterwards.
ScheduleRows RunDepreciateCommand(const AssetInputs &inputs, ScheduleSink &sink,
                                  const FocusRequest &moveFocus = {});

} // namespace fiscora
