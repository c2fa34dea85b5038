#pragma once

// A person entering an asset at the main window, as one call: start from the window's initial state,
// apply each given entry the way the window applies it, in the window's field order. The command
// line and the asset book enter assets through this, so both follow exactly the window's rules.

#include "AssetRules.h"
#include "ToolBoxExceptions.h"

#include <optional>
#include <string>

namespace fiscora {

// What is entered; an entry not given leaves the window's state as it is.
struct AssetEntryRequest {
    std::optional<std::string> description;
    std::optional<PropertyType> propertyType;
    std::optional<std::string> placedInService; // the date field's ten characters
    std::optional<double> cost;                 // as the currency field reads it: rounded to cents
    std::optional<DepreciationMethod> method;
    std::optional<Convention> convention;
    std::optional<DepreciableLife> life;
    std::optional<std::string> fiscalYearEnd;
    bool bonus = false; // click the bonus box, last
};

// The request that enters every one of the inputs (the bonus box clicked when it is checked there).
AssetEntryRequest RequestForInputs(const AssetInputs &inputs);

// The controls the rules may have disabled when their entry comes.
enum class EntryControl { Method, Convention, Life, Bonus };

// An entry for a control the rules have disabled at that point; the message names the value the
// rules hold there.
class EDisabledControl : public ECustomException {
public:
    EDisabledControl(EntryControl control, const std::string &message)
        : ECustomException(message), control(control) {}

    EntryControl control;
};

// What an entry for a disabled method, convention or life means: a person cannot make it at all
// (Refuse), or a stored asset may repeat the value the rules fixed (AcceptFixedValue). A bonus
// while the box is disabled is refused either way.
enum class DisabledEntryRule { Refuse, AcceptFixedValue };

// The window after the entries, in this order: description typed; property type chosen (its forced
// settings) and left; date placed in service, cost, method and convention each entered and left;
// life chosen (the life rule); fiscal year end typed; the bonus box clicked. Raises EDisabledControl
// as the rule says.
AssetEntry EnterAssetRequest(const AssetEntryRequest &request, std::string today, DisabledEntryRule rule);

} // namespace fiscora
