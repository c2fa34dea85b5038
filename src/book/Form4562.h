#pragma once

// The depreciation lines of IRS Form 4562 for a tax year, as the form's instructions assign the
// book's assets to them. Fiscora takes no section 179 expense (Part I stays empty) and business use
// is 100 %; automobiles and vans, light trucks and SUVs are listed property (Part V).

#include "BookFigures.h"

#include <string>
#include <vector>

namespace fiscora {

// A line 19 entry: assets placed in service in the tax year, by recovery period. Lines 19a to 19f
// gather the assets of one convention and method; 19h and 19i have one entry per asset.
struct Form4562Line19 {
    std::string line;           // "19b"
    std::string classification; // "5-year property"
    std::string placed;         // month and year placed in service, "03/2026" (19h and 19i only)
    Cents basis = 0;            // basis for depreciation: cost − bonus
    std::string recoveryPeriod; // "5 yrs"
    std::string convention;     // "HY", "MQ" or "MM"
    std::string method;         // "200DB" (the MACRS tables) or "S/L"
    Cents deduction = 0;
};

// A line 26 entry: one listed asset in service in the tax year.
struct Form4562Line26 {
    std::int64_t assetId = 0;
    std::string description;
    std::string placed; // "mm/dd/yyyy"
    int businessUse = 100;
    Cents cost = 0;
    Cents basis = 0; // cost − bonus
    std::string recoveryPeriod;
    std::string method;
    std::string convention;
    Cents deduction = 0;
};

struct Form4562 {
    int taxYear = 0;
    Cents line14 = 0; // special depreciation allowance, other than listed property
    Cents line17 = 0; // MACRS deductions, assets placed in service before the tax year
    std::vector<Form4562Line19> line19;
    Cents line21 = 0; // listed property: line 28
    Cents line22 = 0; // total: 14 + 17 + the deductions of 19 + 21
    Cents line25 = 0; // special depreciation allowance of listed property
    std::vector<Form4562Line26> line26;
    Cents line28 = 0; // 25 + the deductions of 26
};

Form4562 MakeForm4562(const std::vector<DepreciatedAsset> &assets, int taxYear);

// The caption of a line ("14", "17", "21", "22", "25", "26", "28"), the form's wording shortened.
std::string Form4562LineCaption(std::string_view line, int taxYear);

} // namespace fiscora
