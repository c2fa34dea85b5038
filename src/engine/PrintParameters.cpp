#include "PrintParameters.h"

#include "AmountFormat.h"

namespace fiscora {

void SetPrintParameters(const AssetInputs &inputs, const ParameterSetter &setParam) {
    setParam("PropDesc", inputs.description);
    setParam("PropType", DisplayText(inputs.propertyType));
    setParam("Date", inputs.placedInService);
    setParam("Cost", FormatDollars(inputs.cost));
    setParam("Method", DisplayText(inputs.method));
    setParam("Convention", DisplayText(inputs.convention));
    setParam("Life", DisplayText(inputs.life));
    if (inputs.bonusRequested) {
        setParam("BonusDeprDesc", "1st Year Bonus Depreciation");
        setParam("BonusDeprAmount", FormatDollars(inputs.bonusAmount));
    }
}

} // namespace fiscora
