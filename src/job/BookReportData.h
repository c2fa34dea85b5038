#pragma once

// What the book reports of the template print: the book's name and tax year as report parameters,
// and the register, the tax years, the assets' schedules and the Form 4562 lines as data sets.

#include "BookFigures.h"

#include <QStringList>

#include <string>
#include <vector>

namespace fiscora {

class TFoProject;

// The book a report is made of: its assets, every one depreciated.
struct BookReportSource {
    std::string name;
    int yearEndMonth = 12;
    const std::vector<DepreciatedAsset> &assets;
};

// The short names of the template's book reports.
inline constexpr const char *DeprBookReportName = "DeprBook";
inline constexpr const char *Form4562ReportName = "Form4562";
QStringList BookReportNames();

// "DeprBook": parameters BookName, TaxYear, YearEnd; data sets Register (the register of the tax
// year), Years (depreciation per tax year) and Assets (the register's assets with the depreciation
// report's fields, each with its Schedule).
void SetDeprBookData(TFoProject &project, const BookReportSource &book, int taxYear);

// "Form4562": parameters BookName, TaxYear and the amount lines (Line14 … Line28, with Caption14 …);
// data sets Line19 and Line26.
void SetForm4562Data(TFoProject &project, const BookReportSource &book, int taxYear);

// The data of the book report of that name; raises EFolioException for a name that is none.
void SetBookReportData(TFoProject &project, const QString &reportName, const BookReportSource &book,
                       int taxYear);

} // namespace fiscora
