#pragma once

// The book's figures for people (text tables) and programs (JSON); CSV is the book library's own
// (BookCsvExport.h).

#include "BookFigures.h"
#include "Form4562.h"

#include <string>
#include <vector>

namespace fiscora::cli {

// The book a report is of.
struct BookTitle {
    std::string name;
    int yearEndMonth = 12;
};

std::string RegisterText(const BookTitle &title, const AssetRegister &reg);
std::string RegisterJson(const BookTitle &title, const AssetRegister &reg);

std::string TaxYearTotalsText(const BookTitle &title, const std::vector<TaxYearTotal> &totals);
std::string TaxYearTotalsJson(const BookTitle &title, const std::vector<TaxYearTotal> &totals);

std::string Form4562Text(const BookTitle &title, const Form4562 &form);
std::string Form4562Json(const BookTitle &title, const Form4562 &form);

} // namespace fiscora::cli
