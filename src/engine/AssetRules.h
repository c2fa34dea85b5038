#pragma once

// The choice rules of the asset inputs, applied to a snapshot of the window's controls so that the
// main window and the command line apply exactly the same rules.
//
// How the window uses it: in each event handler, read the controls into an AssetEntry (values and
// enabled states), call the matching rule, then write the entry back to the controls with their
// change signals blocked (each rule already ran every rule the change triggers):
//   property type changed   -> ApplyPropertyTypeChange
//   depreciable life changed -> ApplyLifeRule
//   bonus box clicked        -> set inputs.bonusRequested from the box, then ApplyBonusRule
//   a field left (FieldExit) -> ApplyBonusEligibility
// The bonus box's caption label is enabled exactly when the box is (controls.bonusEnabled).

#include "AssetInputs.h"

namespace fiscora {

// Which input controls the rules leave enabled. The description, type, date, cost and fiscal-year
// fields are always enabled; the bonus amount is always read-only.
struct ControlStates {
    bool methodEnabled = true;
    bool conventionEnabled = true;
    bool lifeEnabled = true;
    bool bonusEnabled = false; // the bonus check box and its label
};

struct AssetEntry {
    AssetInputs inputs;
    ControlStates controls;
};

// First-year bonus window of this edition, and the bonus limit of automobiles and light trucks in it.
inline constexpr std::string_view kBonusWindowFirst = "01/01/2026";
inline constexpr std::string_view kBonusWindowLast = "12/31/2026";
inline constexpr double kVehicleBonusLimit = 20300;

// True when the text is a valid date in the bonus window.
bool IsInBonusWindow(std::string_view dateText);

// The window as first shown: description empty, type 0, `today` placed in service, cost 0, MACRS,
// half-year, 5 years, blank fiscal year end; then one field exit, which leaves the bonus box
// unchecked and disabled.
AssetEntry InitialAssetEntry(std::string today);

// A change of the property type (inputs.propertyType already holds the new type): enables method,
// convention and life; enables the bonus box when the date is in the bonus window and the cost is at
// least 1.00; forces method, convention and life by type and disables what the type fixes (real
// property also loses the bonus); then the bonus rule and the life rule.
void ApplyPropertyTypeChange(AssetEntry &entry);

// 15- and 20-year lives force straight-line and disable the method; other lives re-enable the
// method (its value unchanged) except for real property.
void ApplyLifeRule(AssetEntry &entry);

// The bonus amount: 0 when unchecked; the cost rounded to cents when the date is in the bonus window
// (otherwise it keeps its value); at most 20300 for automobiles and light trucks.
void ApplyBonusRule(AssetEntry &entry);

// Leaving a field: with a date in the bonus window and a cost other than 0 the bonus box is enabled
// (real property unchanged) and the bonus rule runs; otherwise the box is unchecked, the amount
// becomes 0 and the box is disabled.
void ApplyBonusEligibility(AssetEntry &entry);

} // namespace fiscora
