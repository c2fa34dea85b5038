#include "BookChart.h"

#include <QBarSeries>
#include <QBarSet>
#include <QCategoryAxis>
#include <QChart>
#include <QLineSeries>
#include <QValueAxis>

namespace fiscora {

namespace {

double Thousands(Cents cents) {
    return static_cast<double>(cents) / 100000.0;
}

} // namespace

BookChart::BookChart(QWidget *parent) : QChartView(parent) {
    setObjectName(QStringLiteral("BookChart"));
    setRenderHint(QPainter::Antialiasing);
    setMinimumSize(320, 220);
}

void BookChart::ShowYears(const std::vector<TaxYearTotal> &years, std::optional<int> taxYear) {
    auto chart = std::make_unique<QChart>();
    chart->setTitle(QStringLiteral("Deductions per tax year ($ thousands)"));
    chart->legend()->setAlignment(Qt::AlignBottom);
    chart->setMargins(QMargins(4, 4, 4, 4));

    auto *bars = new QBarSeries(chart.get());
    FDeductions = new QBarSet(QStringLiteral("Deduction in year"), bars);
    FDeductions->setColor(QColor(0x4f, 0x7f, 0xb8));
    FDeductions->setSelectedColor(QColor(0xe0, 0x8a, 0x1e));
    FAccumulated = new QLineSeries(chart.get());
    FAccumulated->setName(QStringLiteral("Accumulated"));
    FAccumulated->setColor(QColor(0x2e, 0x7d, 0x32));
    FAccumulated->setPointsVisible(true);
    Cents accumulated = 0;
    double highestYear = 0, highestTotal = 0;
    for (std::size_t index = 0; index < years.size(); ++index) {
        const TaxYearTotal &year = years[index];
        accumulated += year.Total();
        FDeductions->append(Thousands(year.Total()));
        FAccumulated->append(static_cast<double>(index), Thousands(accumulated));
        highestYear = std::max(highestYear, Thousands(year.Total()));
        highestTotal = std::max(highestTotal, Thousands(accumulated));
        if (taxYear && year.taxYear == *taxYear)
            FDeductions->selectBar(static_cast<int>(index));
    }
    bars->append(FDeductions);
    chart->addSeries(bars);
    chart->addSeries(FAccumulated);

    // A book with buildings spans forty years and more: a label on every year would not fit, so the
    // years axis names every first, second, fifth or tenth year, each label centred on its bar
    // with the width of `step` bars.
    auto *yearsAxis = new QCategoryAxis(chart.get());
    yearsAxis->setLabelsPosition(QCategoryAxis::AxisLabelsPositionCenter);
    const int count = static_cast<int>(years.size());
    const int step = count <= 12 ? 1 : count <= 24 ? 2 : count <= 60 ? 5 : 10;
    bool first = true;
    for (int index = 0; index < count; ++index) {
        const int year = years[static_cast<std::size_t>(index)].taxYear;
        if (year % step != 0)
            continue;
        if (first)
            yearsAxis->setStartValue(index - step / 2.0);
        first = false;
        yearsAxis->append(QString::number(year), index + step / 2.0);
    }
    yearsAxis->setRange(-0.5, std::max(count, 1) - 0.5);
    yearsAxis->setGridLineVisible(false);
    // The accumulated amount grows to many years' deductions: on one scale the bars would be flat,
    // so each has its own, the bars' on the left and the line's on the right.
    const auto amountAxis = [&chart](double highest, Qt::Alignment side) {
        auto *axis = new QValueAxis(chart.get());
        axis->setRange(0, highest > 0 ? highest : 1);
        axis->applyNiceNumbers();
        axis->setLabelFormat(QStringLiteral("%.0f"));
        chart->addAxis(axis, side);
        return axis;
    };
    chart->addAxis(yearsAxis, Qt::AlignBottom);
    bars->attachAxis(yearsAxis);
    bars->attachAxis(amountAxis(highestYear, Qt::AlignLeft));
    FAccumulated->attachAxis(yearsAxis);
    QValueAxis *accumulatedAxis = amountAxis(highestTotal, Qt::AlignRight);
    accumulatedAxis->setGridLineVisible(false);
    accumulatedAxis->setLabelsColor(FAccumulated->color());
    FAccumulated->attachAxis(accumulatedAxis);
    // setChart hands the old chart back to its caller.
    const std::unique_ptr<QChart> previous(this->chart());
    setChart(chart.release());
}

int BookChart::HighlightedBar() const {
    if (!FDeductions)
        return -1;
    const QList<int> selected = FDeductions->selectedBars();
    return selected.isEmpty() ? -1 : selected.front();
}

} // namespace fiscora
