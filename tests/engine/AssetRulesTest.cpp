#include "AssetRules.h"

#include <gtest/gtest.h>

namespace fiscora {
namespace {

// A window showing a 2026 asset whose cost field has been left, so the bonus box is enabled.
AssetEntry EnteredIn2026(double cost) {
    AssetEntry entry = InitialAssetEntry("06/15/2026");
    entry.inputs.cost = cost;
    ApplyBonusEligibility(entry);
    return entry;
}

std::string Describe(const AssetEntry &e) {
    const auto on = [](bool enabled) { return enabled ? "on" : "off"; };
    return std::string(DisplayText(e.inputs.method)) + " " + std::string(DisplayText(e.inputs.convention)) +
           " " + std::string(DisplayText(e.inputs.life)) + " | method " + on(e.controls.methodEnabled) +
           ", convention " + on(e.controls.conventionEnabled) + ", life " + on(e.controls.lifeEnabled) +
           ", bonus " + on(e.controls.bonusEnabled) + (e.inputs.bonusRequested ? " checked" : "");
}

TEST(AssetRules, TheInitialStateHasTheBonusBoxDisabled) {
    const AssetEntry entry = InitialAssetEntry("06/15/2026");
    EXPECT_EQ(entry.inputs.placedInService, "06/15/2026");
    EXPECT_EQ(entry.inputs.fiscalYearEnd, "  /  /    ");
    EXPECT_EQ(Describe(entry), "MACRS Half-Year 5-Years | method on, convention on, life on, bonus off");
}

TEST(AssetRules, ThePropertyTypeForcesAndDisablesItsSettings) {
    const std::pair<PropertyType, const char *> cases[] = {
        {PropertyType::FurnitureEquipment,
         "MACRS Half-Year 5-Years | method on, convention on, life on, bonus on"},
        {PropertyType::Automobile, "MACRS Half-Year 5-Years | method on, convention on, life off, bonus on"},
        {PropertyType::LightTruck, "MACRS Half-Year 5-Years | method on, convention on, life off, bonus on"},
        {PropertyType::HeavyTruck, "MACRS Half-Year 3-Years | method on, convention on, life off, bonus on"},
        {PropertyType::Residential,
         "Staright-Line Mid-Month 27.5-Years | method off, convention off, life off, bonus off"},
        {PropertyType::NonResidential,
         "Staright-Line Mid-Month 39-Years | method off, convention off, life off, bonus off"},
    };
    for (const auto &[type, expected] : cases) {
        AssetEntry entry = EnteredIn2026(5000);
        entry.inputs.method = DepreciationMethod::StraightLine;
        entry.inputs.convention = Convention::MidQuarter;
        entry.inputs.life = DepreciableLife::Years20;
        entry.inputs.propertyType = type;
        ApplyPropertyTypeChange(entry);
        EXPECT_EQ(Describe(entry), expected) << DisplayText(type);
    }
}

TEST(AssetRules, RealPropertyDropsTheBonusAndFurnitureRestoresItOnlyWithAnEligibleAsset) {
    AssetEntry entry = EnteredIn2026(35000);
    entry.inputs.bonusRequested = true;
    ApplyBonusRule(entry);
    EXPECT_EQ(entry.inputs.bonusAmount, 35000);
    entry.inputs.propertyType = PropertyType::Residential;
    ApplyPropertyTypeChange(entry);
    EXPECT_FALSE(entry.inputs.bonusRequested);
    EXPECT_EQ(entry.inputs.bonusAmount, 0);
    entry.inputs.propertyType = PropertyType::FurnitureEquipment;
    ApplyPropertyTypeChange(entry);
    EXPECT_EQ(Describe(entry), "MACRS Half-Year 5-Years | method on, convention on, life on, bonus on");

    entry.inputs.placedInService = "06/15/2025";
    entry.inputs.propertyType = PropertyType::Residential;
    ApplyPropertyTypeChange(entry);
    entry.inputs.propertyType = PropertyType::FurnitureEquipment;
    ApplyPropertyTypeChange(entry);
    EXPECT_FALSE(entry.controls.bonusEnabled);
}

TEST(AssetRules, FifteenAndTwentyYearsForceStraightLine) {
    AssetEntry entry = EnteredIn2026(5000);
    entry.inputs.life = DepreciableLife::Years15;
    ApplyLifeRule(entry);
    EXPECT_EQ(Describe(entry),
              "Staright-Line Half-Year 15-Years | method off, convention on, life on, bonus on");
    entry.inputs.life = DepreciableLife::Years7;
    ApplyLifeRule(entry);
    EXPECT_EQ(Describe(entry),
              "Staright-Line Half-Year 7-Years | method on, convention on, life on, bonus on");
}

TEST(AssetRules, TheBonusIsTheCostCappedForVehicles) {
    const std::tuple<PropertyType, double, double> cases[] = {
        {PropertyType::Automobile, 35000, 20300},
        {PropertyType::LightTruck, 35000, 20300},
        {PropertyType::FurnitureEquipment, 35000, 35000},
        {PropertyType::HeavyTruck, 1234.565, 1234.57},
    };
    for (const auto &[type, cost, bonus] : cases) {
        AssetEntry entry = EnteredIn2026(cost);
        entry.inputs.propertyType = type;
        ApplyPropertyTypeChange(entry);
        entry.inputs.bonusRequested = true;
        ApplyBonusRule(entry);
        EXPECT_EQ(entry.inputs.bonusAmount, bonus) << DisplayText(type);
        entry.inputs.bonusRequested = false;
        ApplyBonusRule(entry);
        EXPECT_EQ(entry.inputs.bonusAmount, 0);
    }
}

TEST(AssetRules, TheBonusKeepsItsAmountForADateOutsideTheWindow) {
    AssetEntry entry = EnteredIn2026(8000);
    entry.inputs.bonusRequested = true;
    ApplyBonusRule(entry);
    entry.inputs.cost = 9000;
    entry.inputs.placedInService = "06/15/2025";
    ApplyBonusRule(entry);
    EXPECT_EQ(entry.inputs.bonusAmount, 8000);
    ApplyBonusEligibility(entry); // leaving the date field
    EXPECT_FALSE(entry.inputs.bonusRequested);
    EXPECT_EQ(entry.inputs.bonusAmount, 0);
    EXPECT_FALSE(entry.controls.bonusEnabled);
}

TEST(AssetRules, FiftyCentsEnableTheBoxOnExitButNotOnATypeChange) {
    AssetEntry entry = InitialAssetEntry("06/15/2026");
    entry.inputs.cost = 0.50;
    entry.inputs.propertyType = PropertyType::Automobile;
    ApplyPropertyTypeChange(entry);
    EXPECT_FALSE(entry.controls.bonusEnabled);
    ApplyBonusEligibility(entry);
    EXPECT_TRUE(entry.controls.bonusEnabled);
}

TEST(AssetRules, LeavingAFieldNeverEnablesTheBonusOfRealProperty) {
    AssetEntry entry = InitialAssetEntry("06/15/2026");
    entry.inputs.propertyType = PropertyType::NonResidential;
    ApplyPropertyTypeChange(entry);
    entry.inputs.cost = 5000;
    ApplyBonusEligibility(entry);
    EXPECT_FALSE(entry.controls.bonusEnabled);
}

} // namespace
} // namespace fiscora
