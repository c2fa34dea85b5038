#pragma once

// The window's rules for the assets of a book: an asset is entered, checked and depreciated exactly
// as the main window would, with the fiscal year end the book's year-end month gives it.

#include "AssetEntryRequest.h"
#include "AssetRecord.h"

#include <string>
#include <string_view>

namespace fiscora {

// The last day of the year-end month (1..12) on or after the date placed in service: that asset's
// fiscal year end. Empty when the date is not valid.
std::string FiscalYearEndFor(std::string_view placedInService, int yearEndMonth);

// An asset as the window takes it from what was entered (placed in service `today` when the request
// has no date): forced settings, a disabled control given only the value the rules fixed, the bonus
// rule, then ValidateInputs against the book's fiscal year end. Raises EDisabledControl or
// EFieldException with the window's message. The record has no id, asset number or note yet.
AssetRecord EnterBookAsset(const AssetEntryRequest &request, int yearEndMonth, const std::string &today);

// The window's inputs of a stored asset, bonus amount and fiscal year end set, after the same
// rules and checks (which a stored asset normally passes: it passed them when it was entered).
AssetInputs BookAssetInputs(const AssetRecord &record, int yearEndMonth);

} // namespace fiscora
