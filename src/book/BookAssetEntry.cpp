#include "BookAssetEntry.h"

#include "InputValidation.h"
#include "ToolBox.h"

#include <cmath>

namespace fiscora {

Cents ToCents(double dollars) {
    return std::llround(dollars * 100);
}

double ToDollars(Cents cents) {
    // Correctly rounded division: the same double as the decimal text of the amount reads to.
    return static_cast<double>(cents) / 100.0;
}

std::string FiscalYearEndFor(std::string_view placedInService, int yearEndMonth) {
    if (!IsValidDateStr(placedInService) || yearEndMonth < 1 || yearEndMonth > 12)
        return {};
    int month = 0;
    int day = 0;
    int year = 0;
    SplitDateStr(placedInService, month, day, year);
    const int yearEndYear = month <= yearEndMonth ? year : year + 1;
    return MakeDateStr(yearEndMonth, DaysInMonthOf(MakeDateStr(yearEndMonth, 1, yearEndYear)), yearEndYear);
}

namespace {

AssetEntry EnterChecked(AssetEntryRequest request, int yearEndMonth, const std::string &today) {
    request.fiscalYearEnd = FiscalYearEndFor(request.placedInService.value_or(today), yearEndMonth);
    if (request.fiscalYearEnd->empty())
        request.fiscalYearEnd = std::string(kBlankDate);
    AssetEntry entry = EnterAssetRequest(request, today, DisabledEntryRule::AcceptFixedValue);
    ValidateInputs(entry.inputs);
    return entry;
}

AssetEntryRequest RequestOf(const AssetRecord &record) {
    AssetEntryRequest request;
    request.description = record.description;
    request.propertyType = record.propertyType;
    request.placedInService = record.placedInService;
    request.cost = ToDollars(record.cost);
    request.method = record.method;
    request.convention = record.convention;
    request.life = record.life;
    request.bonus = record.bonusRequested;
    return request;
}

} // namespace

AssetRecord EnterBookAsset(const AssetEntryRequest &request, int yearEndMonth, const std::string &today) {
    const AssetInputs inputs = EnterChecked(request, yearEndMonth, today).inputs;
    AssetRecord record;
    record.description = inputs.description;
    record.propertyType = inputs.propertyType;
    record.placedInService = inputs.placedInService;
    record.cost = ToCents(inputs.cost);
    record.method = inputs.method;
    record.convention = inputs.convention;
    record.life = inputs.life;
    record.bonusRequested = inputs.bonusRequested;
    return record;
}

AssetInputs BookAssetInputs(const AssetRecord &record, int yearEndMonth) {
    return EnterChecked(RequestOf(record), yearEndMonth, record.placedInService).inputs;
}

} // namespace fiscora
