#include "BookFigures.h"

#include "BookAssetEntry.h"
#include "BookError.h"
#include "Depreciate.h"
#include "ScheduleFrame.h"

#include <algorithm>
#include <map>
#include <numeric>

namespace fiscora {

Cents DepreciatedAsset::DepreciationIn(int taxYear) const {
    return HasRowIn(taxYear) ? periods[static_cast<std::size_t>(taxYear - firstTaxYear)] : 0;
}

Cents DepreciatedAsset::DepreciationBefore(int taxYear) const {
    const int rows = std::clamp(taxYear - firstTaxYear, 0, static_cast<int>(periods.size()));
    return std::accumulate(periods.begin(), periods.begin() + rows, Cents(0));
}

DepreciatedAsset DepreciateBookAsset(const AssetRecord &record, int yearEndMonth) {
    DepreciatedAsset asset;
    asset.record = record;
    try {
        asset.inputs = BookAssetInputs(record, yearEndMonth);
    } catch (const ECustomException &error) {
        const std::string number = record.assetNumber.empty() ? "" : " (" + record.assetNumber + ")";
        throw EBookError("Asset " + std::to_string(record.id) + number + ": " + error.what());
    }
    const ScheduleRows rows = ComputeSchedule(asset.inputs);
    asset.firstTaxYear = MakeScheduleFrame(asset.inputs).Year(1);
    asset.periods.reserve(rows.size());
    for (const ScheduleRow &row : rows)
        asset.periods.push_back(ToCents(row.period));
    asset.lastYearEnd = rows[rows.size() - 1].yearEnd;
    asset.bonus = asset.inputs.bonusRequested ? ToCents(asset.inputs.bonusAmount) : 0;
    return asset;
}

std::vector<DepreciatedAsset> DepreciateBookAssets(const std::vector<AssetRecord> &records,
                                                   int yearEndMonth) {
    std::vector<DepreciatedAsset> assets;
    assets.reserve(records.size());
    for (const AssetRecord &record : records)
        assets.push_back(DepreciateBookAsset(record, yearEndMonth));
    return assets;
}

RegisterFigures &RegisterFigures::operator+=(const RegisterFigures &other) {
    cost += other.cost;
    bonus += other.bonus;
    before += other.before;
    inYear += other.inYear;
    accumulated += other.accumulated;
    basisLeft += other.basisLeft;
    return *this;
}

RegisterFigures FiguresOfYear(const DepreciatedAsset &asset, std::optional<int> taxYear) {
    RegisterFigures figures;
    figures.cost = asset.record.cost;
    figures.bonus = asset.bonus;
    if (taxYear) {
        figures.before = asset.DepreciationBefore(*taxYear);
        figures.inYear = asset.DepreciationIn(*taxYear);
        figures.accumulated = figures.before + figures.inYear;
    }
    figures.basisLeft = figures.cost - figures.bonus - figures.accumulated;
    return figures;
}

AssetRegister MakeAssetRegister(const std::vector<DepreciatedAsset> &assets, std::optional<int> taxYear) {
    AssetRegister reg;
    reg.taxYear = taxYear;
    for (const DepreciatedAsset &asset : assets) {
        if (taxYear && asset.firstTaxYear > *taxYear)
            continue;
        reg.assets.push_back(&asset);
        reg.figures.push_back(FiguresOfYear(asset, taxYear));
        reg.totals += reg.figures.back();
    }
    return reg;
}

std::vector<TaxYearTotal> TotalsByTaxYear(const std::vector<DepreciatedAsset> &assets) {
    std::map<int, TaxYearTotal> years;
    for (const DepreciatedAsset &asset : assets) {
        years[asset.firstTaxYear].bonus += asset.bonus;
        for (std::size_t row = 0; row < asset.periods.size(); ++row)
            years[asset.firstTaxYear + static_cast<int>(row)].depreciation += asset.periods[row];
    }
    std::vector<TaxYearTotal> totals;
    totals.reserve(years.size());
    for (auto &[year, total] : years) {
        total.taxYear = year;
        totals.push_back(total);
    }
    return totals;
}

} // namespace fiscora
