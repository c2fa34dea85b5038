#pragma once

// The book's figures as CSV (CsvWriter.h): amounts with "." and two decimals, no separators.

#include "BookFigures.h"
#include "Form4562.h"

#include <string>

namespace fiscora {

// The register: the columns an import reads (choices as their texts, the bonus as yes or no), then
// bonus_amount, fiscal_year_end, with a tax year tax_year, depreciation_before, depreciation,
// accumulated and basis_left, and fully_depreciated. Such a file imports again into a book.
std::string RegisterCsv(const AssetRegister &reg);

// tax_year, bonus, depreciation, total: one line per tax year.
std::string TaxYearTotalsCsv(const std::vector<TaxYearTotal> &totals);

// line, description, placed, business_use, cost, basis, recovery_period, convention, method, amount:
// one line per line of the form (and per entry of lines 19 and 26).
std::string Form4562Csv(const Form4562 &form);

} // namespace fiscora
