#pragma once

// The figures of a book's assets, computed by the engine's own routines: an asset is depreciated
// exactly as the window would depreciate it, with its fiscal year end from the book. A tax year T
// is the fiscal year that ends in calendar year T.

#include "AssetRecord.h"

#include <optional>
#include <string>
#include <vector>

namespace fiscora {

// An asset with its schedule.
struct DepreciatedAsset {
    AssetRecord record;
    AssetInputs inputs;         // as the window holds them: bonus amount and fiscal year end set
    int firstTaxYear = 0;       // the tax year of row 1, in which the asset was placed in service
    std::vector<Cents> periods; // the depreciation of each row, row 1 first
    std::string lastYearEnd;    // the year end of the last row: fully depreciated then
    Cents bonus = 0;

    int LastTaxYear() const { return firstTaxYear + static_cast<int>(periods.size()) - 1; }
    bool HasRowIn(int taxYear) const { return taxYear >= firstTaxYear && taxYear <= LastTaxYear(); }
    Cents DepreciationIn(int taxYear) const;
    Cents DepreciationBefore(int taxYear) const;
};

// Raises EBookError naming the asset (its id and number) with the window's message when the asset
// does not pass the window's checks.
DepreciatedAsset DepreciateBookAsset(const AssetRecord &record, int yearEndMonth);
std::vector<DepreciatedAsset> DepreciateBookAssets(const std::vector<AssetRecord> &records, int yearEndMonth);

// An asset's figures for a tax year: before it, in it, accumulated at its end, and the basis left
// (cost − bonus − accumulated). Without a tax year only cost, bonus and the basis are set.
struct RegisterFigures {
    Cents cost = 0;
    Cents bonus = 0;
    Cents before = 0;
    Cents inYear = 0;
    Cents accumulated = 0;
    Cents basisLeft = 0;

    RegisterFigures &operator+=(const RegisterFigures &other);
};

RegisterFigures FiguresOfYear(const DepreciatedAsset &asset, std::optional<int> taxYear);

// The fixed-asset register: for a tax year, the assets placed in service by its end; without one,
// every asset.
struct AssetRegister {
    std::optional<int> taxYear;
    std::vector<const DepreciatedAsset *> assets;
    std::vector<RegisterFigures> figures; // one per asset
    RegisterFigures totals;
};

AssetRegister MakeAssetRegister(const std::vector<DepreciatedAsset> &assets, std::optional<int> taxYear);

// The book's deductions of one tax year: the bonus of the assets placed in service in it and the
// depreciation of every asset's row in it.
struct TaxYearTotal {
    int taxYear = 0;
    Cents bonus = 0;
    Cents depreciation = 0;

    Cents Total() const { return bonus + depreciation; }
};

// Every tax year in which any asset has a row, in order.
std::vector<TaxYearTotal> TotalsByTaxYear(const std::vector<DepreciatedAsset> &assets);

} // namespace fiscora
