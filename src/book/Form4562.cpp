#include "Form4562.h"

#include "ToolBox.h"

#include <algorithm>
#include <cstdio>
#include <tuple>
#include <utility>

namespace fiscora {

namespace {

bool IsListedProperty(PropertyType type) {
    return type == PropertyType::Automobile || type == PropertyType::LightTruck;
}

bool TakesLine14(PropertyType type) {
    return type == PropertyType::FurnitureEquipment || type == PropertyType::HeavyTruck;
}

struct RecoveryClass {
    const char *line;
    const char *classification;
    const char *period;
    int order; // of the line on the form
};

// The line of Section B an asset belongs to, by its recovery period.
RecoveryClass RecoveryClassOf(const AssetInputs &inputs) {
    switch (inputs.propertyType) {
    case PropertyType::HeavyTruck:
        return {"19a", "3-year property", "3 yrs", 0};
    case PropertyType::Residential:
        return {"19h", "Residential rental property", "27.5 yrs", 7};
    case PropertyType::NonResidential:
        return {"19i", "Nonresidential real property", "39 yrs", 8};
    default:
        break;
    }
    switch (inputs.life) {
    case DepreciableLife::Years7:
        return {"19c", "7-year property", "7 yrs", 2};
    case DepreciableLife::Years10:
        return {"19d", "10-year property", "10 yrs", 3};
    case DepreciableLife::Years15:
        return {"19e", "15-year property", "15 yrs", 4};
    case DepreciableLife::Years20:
        return {"19f", "20-year property", "20 yrs", 5};
    default:
        return {"19b", "5-year property", "5 yrs", 1};
    }
}

const char *ConventionCode(Convention convention) {
    switch (convention) {
    case Convention::MidQuarter:
        return "MQ";
    case Convention::MidMonth:
        return "MM";
    default:
        return "HY";
    }
}

// The MACRS percentage tables are the 200 % declining-balance method with the switch to
// straight-line built in.
const char *MethodCode(DepreciationMethod method) {
    return method == DepreciationMethod::Macrs ? "200DB" : "S/L";
}

std::string MonthAndYear(const std::string &date) {
    int month = 0;
    int day = 0;
    int year = 0;
    SplitDateStr(date, month, day, year);
    char text[16];
    std::snprintf(text, sizeof text, "%02d/%04d", month, year);
    return text;
}

// A line 19 entry with its place on the form: by line, then convention and method; real property
// by the date placed in service ("yyyymm").
struct Line19Draft {
    int order = 0;
    std::string placedKey;
    Form4562Line19 entry;

    auto Key() const { return std::tie(order, entry.convention, entry.method, placedKey); }
};

void AddToLine19(std::vector<Line19Draft> &drafts, const DepreciatedAsset &asset, int taxYear) {
    const RecoveryClass recovery = RecoveryClassOf(asset.inputs);
    Line19Draft draft{recovery.order,
                      {},
                      {recovery.line,
                       recovery.classification,
                       {},
                       asset.record.cost - asset.bonus,
                       recovery.period,
                       ConventionCode(asset.inputs.convention),
                       MethodCode(asset.inputs.method),
                       asset.DepreciationIn(taxYear)}};
    const bool realProperty = asset.inputs.propertyType == PropertyType::Residential ||
                              asset.inputs.propertyType == PropertyType::NonResidential;
    if (realProperty) {
        draft.entry.placed = MonthAndYear(asset.inputs.placedInService);
        draft.placedKey = draft.entry.placed.substr(3) + draft.entry.placed.substr(0, 2);
    } else {
        for (Line19Draft &other : drafts) {
            if (other.Key() == draft.Key()) {
                other.entry.basis += draft.entry.basis;
                other.entry.deduction += draft.entry.deduction;
                return;
            }
        }
    }
    drafts.push_back(std::move(draft));
}

} // namespace

Form4562 MakeForm4562(const std::vector<DepreciatedAsset> &assets, int taxYear) {
    Form4562 form;
    form.taxYear = taxYear;
    std::vector<Line19Draft> line19;
    for (const DepreciatedAsset &asset : assets) {
        const PropertyType type = asset.inputs.propertyType;
        const bool placedInYear = asset.firstTaxYear == taxYear;
        if (IsListedProperty(type)) {
            if (placedInYear)
                form.line25 += asset.bonus;
            if (asset.HasRowIn(taxYear))
                form.line26.push_back(
                    {asset.record.id,
                     // Column (a) names the property: by its type when it has no description.
                     asset.record.description.empty() ? std::string(DisplayText(type))
                                                      : asset.record.description,
                     asset.inputs.placedInService, 100, asset.record.cost, asset.record.cost - asset.bonus,
                     "5 yrs", MethodCode(asset.inputs.method), ConventionCode(asset.inputs.convention),
                     asset.DepreciationIn(taxYear)});
            continue;
        }
        if (placedInYear) {
            if (TakesLine14(type))
                form.line14 += asset.bonus;
            AddToLine19(line19, asset, taxYear);
        } else if (asset.firstTaxYear < taxYear) {
            form.line17 += asset.DepreciationIn(taxYear);
        }
    }
    std::stable_sort(line19.begin(), line19.end(),
                     [](const Line19Draft &a, const Line19Draft &b) { return a.Key() < b.Key(); });
    for (Line19Draft &draft : line19)
        form.line19.push_back(std::move(draft.entry));

    Cents line19Deductions = 0;
    for (const Form4562Line19 &line : form.line19)
        line19Deductions += line.deduction;
    form.line28 = form.line25;
    for (const Form4562Line26 &line : form.line26)
        form.line28 += line.deduction;
    form.line21 = form.line28;
    form.line22 = form.line14 + form.line17 + line19Deductions + form.line21;
    return form;
}

std::string Form4562LineCaption(std::string_view line, int taxYear) {
    if (line == "14")
        return "Special depreciation allowance (other than listed property)";
    if (line == "17")
        return "MACRS deductions, assets placed in service in tax years beginning before " +
               std::to_string(taxYear);
    if (line == "21")
        return "Listed property (line 28)";
    if (line == "22")
        return "Total (lines 14 through 17, line 19 column (g), line 21)";
    if (line == "25")
        return "Special depreciation allowance for qualified listed property";
    if (line == "26")
        return "Property used more than 50% in a qualified business use";
    if (line == "28")
        return "Add amounts in column (h), lines 25 through 27";
    return {};
}

} // namespace fiscora
