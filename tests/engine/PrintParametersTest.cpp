#include "PrintParameters.h"

#include "EngineTestSupport.h"
#include "ScheduleRecorder.h"

#include <gtest/gtest.h>

namespace fiscora {
namespace {

using Params = std::vector<std::pair<std::string, std::string>>;

Params PrintParams(const AssetInputs &inputs) {
    ScheduleRecorder recorder;
    SetPrintParameters(
        inputs, [&](std::string_view name, std::string_view value) { recorder.SetParam(name, value); });
    return recorder.params();
}

TEST(PrintParameters, InputsInOrderWithTheBonusPairOnlyWhenChecked) {
    AssetInputs car = test::Asset(PropertyType::Automobile, "03/15/2026", 48500, DepreciationMethod::Macrs,
                                  Convention::HalfYear, DepreciableLife::Years5, "12/31/2026", true);
    car.description = "Company car";
    EXPECT_EQ(PrintParams(car), (Params{{"PropDesc", "Company car"},
                                        {"PropType", "Automobile"},
                                        {"Date", "03/15/2026"},
                                        {"Cost", "$48,500.00"},
                                        {"Method", "MACRS"},
                                        {"Convention", "Half-Year"},
                                        {"Life", "5-Years"},
                                        {"BonusDeprDesc", "1st Year Bonus Depreciation"},
                                        {"BonusDeprAmount", "$20,300.00"}}));

    // No bonus pair without the box; an empty description removes its parameter.
    const AssetInputs desk =
        test::Asset(PropertyType::FurnitureEquipment, "07/01/2025", 1234.5, DepreciationMethod::StraightLine,
                    Convention::MidQuarter, DepreciableLife::Years7, "06/30/2026");
    EXPECT_EQ(PrintParams(desk), (Params{{"PropType", "Furniture, Equipment Etc."},
                                         {"Date", "07/01/2025"},
                                         {"Cost", "$1,234.50"},
                                         {"Method", "Staright-Line"},
                                         {"Convention", "Mid-Quarter"},
                                         {"Life", "7-Years"}}));
}

} // namespace
} // namespace fiscora
