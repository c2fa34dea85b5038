#include "AssetEntryRequest.h"
#include "AssetFieldText.h"

#include <gtest/gtest.h>

namespace fiscora {
namespace {

AssetEntryRequest Request(PropertyType type) {
    AssetEntryRequest request;
    request.propertyType = type;
    request.placedInService = "03/01/2026";
    request.cost = 10000;
    return request;
}

// An entry for a control the rules disabled: a person cannot make it; a stored asset may repeat the
// value the rules fixed, and only that value.
TEST(AssetEntryRequest, DisabledControlsTakeOnlyTheirFixedValueAndOnlyWhenAllowed) {
    struct Case {
        const char *name;
        AssetEntryRequest request;
        std::optional<EntryControl> refused;  // with DisabledEntryRule::Refuse
        std::optional<EntryControl> mismatch; // with DisabledEntryRule::AcceptFixedValue
    };
    AssetEntryRequest houseStraightLine = Request(PropertyType::Residential);
    houseStraightLine.method = DepreciationMethod::StraightLine;
    AssetEntryRequest houseMacrs = Request(PropertyType::Residential);
    houseMacrs.method = DepreciationMethod::Macrs;
    AssetEntryRequest truckThreeYears = Request(PropertyType::HeavyTruck);
    truckThreeYears.life = DepreciableLife::Years3;
    AssetEntryRequest carSevenYears = Request(PropertyType::Automobile);
    carSevenYears.life = DepreciableLife::Years7;
    AssetEntryRequest bonus2025 = Request(PropertyType::FurnitureEquipment);
    bonus2025.placedInService = "12/31/2025";
    bonus2025.bonus = true;
    const Case cases[] = {
        {"FixedMethodRepeated", houseStraightLine, EntryControl::Method, std::nullopt},
        {"FixedMethodContradicted", houseMacrs, EntryControl::Method, EntryControl::Method},
        {"FixedLifeRepeated", truckThreeYears, EntryControl::Life, std::nullopt},
        {"FixedLifeContradicted", carSevenYears, EntryControl::Life, EntryControl::Life},
        {"BonusOutsideTheWindow", bonus2025, EntryControl::Bonus, EntryControl::Bonus},
    };
    for (const Case &c : cases) {
        for (const auto rule : {DisabledEntryRule::Refuse, DisabledEntryRule::AcceptFixedValue}) {
            const auto expected = rule == DisabledEntryRule::Refuse ? c.refused : c.mismatch;
            try {
                EnterAssetRequest(c.request, "01/01/2026", rule);
                EXPECT_FALSE(expected) << c.name;
            } catch (const EDisabledControl &disabled) {
                EXPECT_EQ(std::optional<EntryControl>(disabled.control), expected) << c.name;
            }
        }
    }
}

// The entries apply in the window's order whatever the request holds: the life comes after the
// method, so 15 years ends straight-line; the bonus comes last, after the cost it takes.
TEST(AssetEntryRequest, AppliesTheEntriesInTheWindowsOrder) {
    AssetEntryRequest request = Request(PropertyType::FurnitureEquipment);
    request.method = DepreciationMethod::Macrs;
    request.life = DepreciableLife::Years15;
    request.bonus = true;
    const AssetEntry entry = EnterAssetRequest(request, "01/01/2026", DisabledEntryRule::Refuse);
    EXPECT_EQ(entry.inputs.method, DepreciationMethod::StraightLine);
    EXPECT_FALSE(entry.controls.methodEnabled);
    EXPECT_TRUE(entry.inputs.bonusRequested);
    EXPECT_EQ(entry.inputs.bonusAmount, 10000);
}

TEST(AssetFieldText, ReadsChoicesAndAmountsAsTheControlsDo) {
    EXPECT_EQ(ChoiceFromText<PropertyType>("05", kPropertyTypeTexts), PropertyType::NonResidential);
    EXPECT_EQ(ChoiceFromText<PropertyType>("van, light truck or suv", kPropertyTypeTexts),
              PropertyType::LightTruck);
    EXPECT_FALSE(ChoiceFromText<PropertyType>("6", kPropertyTypeTexts));
    EXPECT_FALSE(ChoiceFromText<PropertyType>("", kPropertyTypeTexts));
    struct Amount {
        const char *text;
        std::optional<double> value;
        const char *refusal;
    };
    const Amount amounts[] = {
        {"$12,500.10", 12500.10, ""},
        {"999999999.99", 999999999.99, ""},
        {"1e5", std::nullopt, "holds characters other than digits, \"$\", \",\" and \".\""},
        {"-5", std::nullopt, "is negative; the field takes no minus sign"},
        {"1.2.3", std::nullopt, "has more than one decimal point"},
        {"$,", std::nullopt, "has no digits"},
        {"1000000000", std::nullopt, "has more than 9 dollar digits"},
        {"1.005", std::nullopt, "has more than 2 decimals"},
    };
    for (const Amount &a : amounts) {
        std::string refusal;
        EXPECT_EQ(ReadCostText(a.text, refusal), a.value) << a.text;
        EXPECT_EQ(refusal, a.refusal) << a.text;
    }
    EXPECT_TRUE(IsHoldableDateText("  /  /    "));
    EXPECT_FALSE(IsHoldableDateText("3/1/2026"));
}

} // namespace
} // namespace fiscora
