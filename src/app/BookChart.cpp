#include "BookChart.h"

#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
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
    QStringList categories;
    Cents accumulated = 0;
    double highest = 0;
    for (std::size_t index = 0; index < years.size(); ++index) {
        const TaxYearTotal &year = years[index];
        accumulated += year.Total();
        categories << QString::number(year.taxYear);
        FDeductions->append(Thousands(year.Total()));
        FAccumulated->append(static_cast<double>(index), Thousands(accumulated));
        highest = std::max(highest, Thousands(accumulated));
        if (taxYear && year.taxYear == *taxYear)
            FDeductions->selectBar(static_cast<int>(index));
    }
    bars->append(FDeductions);
    chart->addSeries(bars);
    chart->addSeries(FAccumulated);

    auto *yearsAxis = new QBarCategoryAxis(chart.get());
    yearsAxis->append(categories);
    // Many years side by side: their labels stand upright so that none runs into the next.
    yearsAxis->setLabelsAngle(categories.size() > 12 ? -90 : 0);
    auto *amountAxis = new QValueAxis(chart.get());
    amountAxis->setRange(0, highest > 0 ? highest * 1.05 : 1);
    amountAxis->setLabelFormat(QStringLiteral("%.0f"));
    chart->addAxis(yearsAxis, Qt::AlignBottom);
    chart->addAxis(amountAxis, Qt::AlignLeft);
    for (QAbstractSeries *series :
         {static_cast<QAbstractSeries *>(bars), static_cast<QAbstractSeries *>(FAccumulated)}) {
        series->attachAxis(yearsAxis);
        series->attachAxis(amountAxis);
    }
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
