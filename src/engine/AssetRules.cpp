#include "AssetRules.h"

#include "ToolBox.h"

namespace fiscora {

namespace {

bool IsRealProperty(PropertyType type) {
    return type == PropertyType::Residential || type == PropertyType::NonResidential;
}

bool IsVehicle(PropertyType type) {
    return type == PropertyType::Automobile || type == PropertyType::LightTruck;
}

// The method, convention and life each property type forces.
struct TypeSettings {
    DepreciationMethod method;
    Convention convention;
    DepreciableLife life;
};

TypeSettings ForcedSettings(PropertyType type) {
    switch (type) {
    case PropertyType::HeavyTruck:
        return {DepreciationMethod::Macrs, Convention::HalfYear, DepreciableLife::Years3};
    case PropertyType::Residential:
        return {DepreciationMethod::StraightLine, Convention::MidMonth, DepreciableLife::Years27_5};
    case PropertyType::NonResidential:
        return {DepreciationMethod::StraightLine, Convention::MidMonth, DepreciableLife::Years39};
    default:
        return {DepreciationMethod::Macrs, Convention::HalfYear, DepreciableLife::Years5};
    }
}

} // namespace

bool IsInBonusWindow(std::string_view dateText) {
    return IsValidDateStr(dateText) && IsDateInRange(dateText, kBonusWindowFirst, kBonusWindowLast);
}

AssetEntry InitialAssetEntry(std::string today) {
    AssetEntry entry;
    entry.inputs.placedInService = std::move(today);
    entry.controls.bonusEnabled = false;
    ApplyBonusEligibility(entry);
    return entry;
}

void ApplyPropertyTypeChange(AssetEntry &entry) {
    AssetInputs &inputs = entry.inputs;
    ControlStates &controls = entry.controls;
    controls.methodEnabled = controls.conventionEnabled = controls.lifeEnabled = true;
    if (IsInBonusWindow(inputs.placedInService) && inputs.cost >= 1.00)
        controls.bonusEnabled = true;

    const TypeSettings forced = ForcedSettings(inputs.propertyType);
    inputs.method = forced.method;
    inputs.convention = forced.convention;
    inputs.life = forced.life;
    if (inputs.propertyType != PropertyType::FurnitureEquipment)
        controls.lifeEnabled = false;
    if (IsRealProperty(inputs.propertyType)) {
        controls.methodEnabled = controls.conventionEnabled = false;
        controls.bonusEnabled = false;
        inputs.bonusRequested = false;
        inputs.bonusAmount = 0;
    }
    ApplyBonusRule(entry);
    ApplyLifeRule(entry);
}

void ApplyLifeRule(AssetEntry &entry) {
    AssetInputs &inputs = entry.inputs;
    if (inputs.life == DepreciableLife::Years15 || inputs.life == DepreciableLife::Years20) {
        inputs.method = DepreciationMethod::StraightLine;
        entry.controls.methodEnabled = false;
    } else if (!IsRealProperty(inputs.propertyType)) {
        entry.controls.methodEnabled = true;
    }
}

void ApplyBonusRule(AssetEntry &entry) {
    AssetInputs &inputs = entry.inputs;
    if (!inputs.bonusRequested) {
        inputs.bonusAmount = 0;
        return;
    }
    if (IsInBonusWindow(inputs.placedInService))
        inputs.bonusAmount = RoundAmount(inputs.cost, 2);
    if (IsVehicle(inputs.propertyType) && inputs.bonusAmount > kVehicleBonusLimit)
        inputs.bonusAmount = kVehicleBonusLimit;
}

void ApplyBonusEligibility(AssetEntry &entry) {
    AssetInputs &inputs = entry.inputs;
    if (IsInBonusWindow(inputs.placedInService) && inputs.cost != 0) {
        if (IsRealProperty(inputs.propertyType))
            return;
        entry.controls.bonusEnabled = true;
        ApplyBonusRule(entry);
        return;
    }
    inputs.bonusRequested = false;
    ApplyBonusRule(entry);
    entry.controls.bonusEnabled = false;
}

} // namespace fiscora
