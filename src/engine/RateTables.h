#pragma once

// Depreciation rates (fractions of the basis), as the IRS publishes them with each column summing to
// 100 %, and the automobile caps of this edition.
// Rate columns: 0 half-year, 1 to 4 mid-quarter in fiscal quarters 1 to 4.

#include "AssetInputs.h"

#include <array>

namespace fiscora::rates {

using RateRow = std::array<double, 5>;

// The column of a convention; the quarter matters only for mid-quarter.
inline int RateColumn(Convention convention, int fiscalQuarter) {
    return convention == Convention::MidQuarter ? fiscalQuarter : 0;
}

// Copies one column of a table, row by row, to the front of `out`; returns the number of rows.
template <std::size_t Rows, std::size_t Capacity>
std::size_t CopyColumn(const std::array<RateRow, Rows> &table, int column,
                       std::array<double, Capacity> &out) {
    static_assert(Rows <= Capacity);
    for (std::size_t row = 0; row < Rows; ++row)
        out[row] = table[row][column];
    return Rows;
}

// General property, MACRS: rows 1 to N - 1 (the last row takes the remainder).
inline constexpr std::array<RateRow, 5> kMacrs5 = {{
    {0.2, 0.35, 0.25, 0.15, 0.05},
    {0.32, 0.26, 0.3, 0.34, 0.38},
    {0.192, 0.156, 0.18, 0.204, 0.228},
    {0.1152, 0.1101, 0.1137, 0.1224, 0.1368},
    {0.1152, 0.1101, 0.1137, 0.113, 0.1094},
}};

inline constexpr std::array<RateRow, 7> kMacrs7 = {{
    {0.1429, 0.25, 0.1785, 0.1071, 0.0357},
    {0.2449, 0.2143, 0.2347, 0.2551, 0.2755},
    {0.1749, 0.1531, 0.1676, 0.1822, 0.1968},
    {0.1249, 0.1093, 0.1197, 0.1302, 0.1406},
    {0.0893, 0.0875, 0.0887, 0.093, 0.1004},
    {0.0892, 0.0874, 0.0887, 0.0885, 0.0873},
    {0.0893, 0.0875, 0.0887, 0.0886, 0.0873},
}};

inline constexpr std::array<RateRow, 10> kMacrs10 = {{
    {0.1, 0.175, 0.125, 0.075, 0.025},
    {0.18, 0.165, 0.175, 0.185, 0.195},
    {0.144, 0.132, 0.14, 0.148, 0.156},
    {0.1152, 0.1056, 0.112, 0.1184, 0.1248},
    {0.0922, 0.0845, 0.0896, 0.0947, 0.0998},
    {0.0737, 0.0676, 0.0717, 0.0758, 0.0799},
    {0.0655, 0.0655, 0.0655, 0.0655, 0.0655},
    {0.0655, 0.0655, 0.0655, 0.0655, 0.0655},
    {0.0656, 0.0656, 0.0656, 0.0656, 0.0656},
    {0.0655, 0.0655, 0.0655, 0.0655, 0.0655},
}};

// General property, straight-line: the first row by column, then one rate up to row N - 1.
struct StraightLineRates {
    int rowCount;
    RateRow firstRow;
    double laterRows;
};

inline constexpr StraightLineRates kStraightLine5 = {6, {0.1, 0.175, 0.125, 0.075, 0.025}, 0.2};
inline constexpr StraightLineRates kStraightLine7 = {8, {0.0713, 0.1249, 0.0892, 0.0534, 0.0177}, 0.1429};
inline constexpr StraightLineRates kStraightLine10 = {11, {0.05, 0.0825, 0.0625, 0.0375, 0.0125}, 0.1};
inline constexpr StraightLineRates kStraightLine15 = {16, {0.0333, 0.0583, 0.0417, 0.025, 0.0083}, 0.0667};
inline constexpr StraightLineRates kStraightLine20 = {21, {0.025, 0.04375, 0.03125, 0.01875, 0.00625}, 0.05};

// Automobiles and light trucks: the six recovery years.
inline constexpr std::array<RateRow, 6> kVehicleMacrs = {{
    {0.2, 0.35, 0.25, 0.15, 0.05},
    {0.32, 0.26, 0.3, 0.34, 0.38},
    {0.192, 0.156, 0.18, 0.204, 0.228},
    {0.1152, 0.1101, 0.1137, 0.1224, 0.1368},
    {0.1152, 0.1101, 0.1137, 0.113, 0.1094},
    {0.0576, 0.0138, 0.0426, 0.0706, 0.0958},
}};

inline constexpr std::array<RateRow, 6> kVehicleStraightLine = {{
    {0.1, 0.175, 0.125, 0.075, 0.025},
    {0.2, 0.2, 0.2, 0.2, 0.2},
    {0.2, 0.2, 0.2, 0.2, 0.2},
    {0.2, 0.2, 0.2, 0.2, 0.2},
    {0.2, 0.2, 0.2, 0.2, 0.2},
    {0.1, 0.025, 0.075, 0.125, 0.175},
}};

// Yearly caps by placed-in-service period (inclusive ranges, tested in order).
enum class CapsFor { BothKinds, AutomobileOnly, LightTruckOnly }; // the 2017 caps differ by kind

struct YearCaps {
    const char *first;
    const char *last;
    CapsFor appliesTo;
    double year1;
    double year2;
    double year3;
    double laterYears;
};

inline constexpr std::array<YearCaps, 10> kYearCaps = {{
    {"01/01/2017", "12/31/2017", CapsFor::AutomobileOnly, 3160, 5100, 3050, 1875},
    {"01/01/2017", "12/31/2017", CapsFor::LightTruckOnly, 3560, 5700, 3450, 2075},
    {"01/01/2018", "12/31/2018", CapsFor::BothKinds, 10000, 16000, 9600, 5760},
    {"01/01/2019", "12/31/2020", CapsFor::BothKinds, 10100, 16100, 9700, 5760},
    {"01/01/2021", "12/31/2021", CapsFor::BothKinds, 10200, 16400, 9800, 5860},
    {"01/01/2022", "12/31/2022", CapsFor::BothKinds, 11200, 18000, 10800, 6460},
    {"01/01/2023", "12/31/2023", CapsFor::BothKinds, 12200, 19500, 11700, 6960},
    {"01/01/2024", "12/31/2024", CapsFor::BothKinds, 12400, 19800, 11900, 7160},
    {"01/01/2025", "12/31/2025", CapsFor::BothKinds, 12200, 19600, 11800, 7060},
    {"01/01/2026", "12/31/2026", CapsFor::BothKinds, 12300, 19800, 11900, 7160},
}};

// Limit on the first-year bonus plus the first year's depreciation: in the bonus window, and before.
inline constexpr double kBonusCapInWindow = 20300;
inline constexpr double kAutomobileBonusCapBefore = 11160;
inline constexpr double kLightTruckBonusCapBefore = 11560;

// Heavy trucks: rows 1 to 3 (row 4 takes the remainder).
inline constexpr std::array<RateRow, 3> kHeavyTruckMacrs = {{
    {0.3333, 0.5833, 0.4167, 0.25, 0.0833},
    {0.4445, 0.2778, 0.3889, 0.5, 0.6111},
    {0.1481, 0.1235, 0.1414, 0.1667, 0.2037},
}};

inline constexpr std::array<RateRow, 3> kHeavyTruckStraightLine = {{
    {0.1667, 0.2917, 0.2083, 0.125, 0.0417},
    {0.3333, 0.3333, 0.3333, 0.3333, 0.3333},
    {0.3333, 0.3333, 0.3333, 0.3333, 0.3333},
}};

// Real property: first-year rate by fiscal month 1 to 12.
inline constexpr std::array<double, 12> kResidentialFirstYear = {0.03485, 0.03182, 0.02879, 0.02576,
                                                                 0.02273, 0.0197,  0.01667, 0.01364,
                                                                 0.01061, 0.00758, 0.00455, 0.00152};
inline constexpr std::array<double, 12> kNonResidentialFirstYear = {0.02461, 0.02247, 0.02033, 0.01819,
                                                                    0.01605, 0.01391, 0.01177, 0.00963,
                                                                    0.00749, 0.00535, 0.00321, 0.00107};

// Residential rows 2 to 28: 0.03637 on the even rows 10 to 26, 0.03636 on every other.
inline double ResidentialLaterRate(int row) {
    return row >= 10 && row <= 26 && row % 2 == 0 ? 0.03637 : 0.03636;
}
inline constexpr double kNonResidentialLaterRate = 0.02564;

} // namespace fiscora::rates
