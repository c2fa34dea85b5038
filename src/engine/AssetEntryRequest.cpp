#include "AssetEntryRequest.h"

namespace fiscora {

namespace {

std::string DisabledMessage(std::string_view control, std::string_view fixedValue) {
    return "The " + std::string(control) + " of this Property Type is fixed to " + std::string(fixedValue);
}

// An entry for a control that may be disabled: applied when enabled; otherwise refused, or accepted
// when it repeats the fixed value and the rule allows that.
template <typename Value>
bool MayEnter(bool enabled, const std::optional<Value> &value, const Value &current, DisabledEntryRule rule,
              EntryControl control, std::string_view caption) {
    if (!value)
        return false;
    if (enabled)
        return true;
    if (rule == DisabledEntryRule::AcceptFixedValue && *value == current)
        return false;
    throw EDisabledControl(control, DisabledMessage(caption, DisplayText(current)));
}

// A value entered into one of the fields whose exit runs the bonus eligibility, then the field left.
template <typename Value>
void EnterAndLeave(AssetEntry &entry, const std::optional<Value> &value, Value &field) {
    field = *value;
    ApplyBonusEligibility(entry);
}

} // namespace

AssetEntry EnterAssetRequest(const AssetEntryRequest &request, std::string today, DisabledEntryRule rule) {
    AssetEntry entry = InitialAssetEntry(std::move(today));
    AssetInputs &inputs = entry.inputs;
    const ControlStates &controls = entry.controls;
    if (request.description)
        inputs.description = *request.description;
    if (request.propertyType) {
        inputs.propertyType = *request.propertyType;
        ApplyPropertyTypeChange(entry);
        ApplyBonusEligibility(entry);
    }
    if (request.placedInService)
        EnterAndLeave(entry, request.placedInService, inputs.placedInService);
    if (request.cost)
        EnterAndLeave(entry, request.cost, inputs.cost);
    if (MayEnter(controls.methodEnabled, request.method, inputs.method, rule, EntryControl::Method,
                 "Depreciation Method"))
        EnterAndLeave(entry, request.method, inputs.method);
    if (MayEnter(controls.conventionEnabled, request.convention, inputs.convention, rule,
                 EntryControl::Convention, "Convention"))
        EnterAndLeave(entry, request.convention, inputs.convention);
    if (MayEnter(controls.lifeEnabled, request.life, inputs.life, rule, EntryControl::Life,
                 "Depreciable Life")) {
        inputs.life = *request.life;
        ApplyLifeRule(entry);
    }
    if (request.fiscalYearEnd)
        inputs.fiscalYearEnd = *request.fiscalYearEnd;
    if (request.bonus) {
        if (!controls.bonusEnabled)
            throw EDisabledControl(EntryControl::Bonus,
                                   "1st Year Bonus Depreciation needs a date placed in service in 2026, a "
                                   "cost and a property type other than real property");
        inputs.bonusRequested = true;
        ApplyBonusRule(entry);
    }
    return entry;
}

AssetEntryRequest RequestForInputs(const AssetInputs &inputs) {
    AssetEntryRequest request;
    request.description = inputs.description;
    request.propertyType = inputs.propertyType;
    request.placedInService = inputs.placedInService;
    request.cost = inputs.cost;
    request.method = inputs.method;
    request.convention = inputs.convention;
    request.life = inputs.life;
    request.fiscalYearEnd = inputs.fiscalYearEnd;
    request.bonus = inputs.bonusRequested;
    return request;
}

} // namespace fiscora
