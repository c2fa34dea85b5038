#pragma once

#include "BookFigures.h"

#include <QChartView>

#include <optional>
#include <vector>

class QBarSet;
class QLineSeries;

namespace fiscora {

// The book's deductions per tax year as bars (bonus and depreciation together) with the amount
// accumulated by each year's end as a line; the chosen tax year's bar is highlighted.
class BookChart : public QChartView {
    Q_OBJECT
public:
    explicit BookChart(QWidget *parent = nullptr);

    void ShowYears(const std::vector<TaxYearTotal> &years, std::optional<int> taxYear);

    QBarSet *Deductions() const { return FDeductions; }
    QLineSeries *Accumulated() const { return FAccumulated; }
    int HighlightedBar() const; // -1 for none

private:
    QBarSet *FDeductions = nullptr;
    QLineSeries *FAccumulated = nullptr;
};

} // namespace fiscora
