#include "BookReportData.h"

#include "CentsText.h"
#include "DepreciateCommand.h"
#include "Form4562.h"
#include "PrintParameters.h"
#include "ScheduleRecorder.h"
#include "Utf8Text.h"
#include "report/core/FoErrors.h"
#include "report/system/FoProject.h"

#include <QDate>

namespace fiscora {

namespace {

QString Q(const std::string &text) {
    return ToQString(text);
}

// Amounts as the depreciation report prints them: "$1,234.56", exact to the cent.
QString Dollars(Cents cents) {
    const std::string grouped = GroupedCentsText(cents);
    return cents < 0 ? QStringLiteral("-$") + Q(grouped.substr(1)) : QStringLiteral("$") + Q(grouped);
}

// Form lines carry no currency sign.
QString FormAmount(Cents cents) {
    return Q(GroupedCentsText(cents));
}

QString YearEndText(int yearEndMonth, int taxYear) {
    const QDate end = QDate(taxYear, yearEndMonth, 1).addMonths(1).addDays(-1);
    return end.toString(QStringLiteral("MM/dd/yyyy"));
}

void SetBookParams(TFoProject &project, const BookReportSource &book, int taxYear) {
    project.SetParam(QStringLiteral("BookName"), Q(book.name));
    project.SetParam(QStringLiteral("TaxYear"), QString::number(taxYear));
    project.SetParam(QStringLiteral("YearEnd"), YearEndText(book.yearEndMonth, taxYear));
}

TFoDataSetPtr RegisterSet(const AssetRegister &reg) {
    auto set =
        std::make_shared<TFoDataSet>(QStringList{"Number", "Description", "Type", "Placed", "Cost", "Bonus",
                                                 "Before", "InYear", "Accumulated", "BasisLeft", "Done"});
    for (std::size_t index = 0; index < reg.assets.size(); ++index) {
        const DepreciatedAsset &asset = *reg.assets[index];
        const RegisterFigures &figures = reg.figures[index];
        const bool done = reg.taxYear && asset.LastTaxYear() <= *reg.taxYear;
        set->AddRow({Q(asset.record.assetNumber), Q(asset.record.description),
                     Q(std::string(DisplayText(asset.inputs.propertyType))), Q(asset.record.placedInService),
                     Dollars(figures.cost), Dollars(figures.bonus), Dollars(figures.before),
                     Dollars(figures.inYear), Dollars(figures.accumulated), Dollars(figures.basisLeft),
                     done ? QStringLiteral("Yes") : QString()});
    }
    return set;
}

TFoDataSetPtr YearsSet(const std::vector<TaxYearTotal> &totals) {
    auto set =
        std::make_shared<TFoDataSet>(QStringList{"TaxYear", "Bonus", "Depreciation", "Total", "Accumulated"});
    Cents accumulated = 0;
    for (const TaxYearTotal &year : totals) {
        accumulated += year.Total();
        set->AddRow({QString::number(year.taxYear), Dollars(year.bonus), Dollars(year.depreciation),
                     Dollars(year.Total()), Dollars(accumulated)});
    }
    return set;
}

// The fields and rows of the depreciation report of one asset, from the routines the Print command
// runs: the book's schedule pages read exactly like that report.
TFoDataSetPtr AssetsSet(const AssetRegister &reg) {
    const QStringList fields{"Number", "PropDesc",   "PropType", "Date",          "Cost",
                             "Method", "Convention", "Life",     "BonusDeprDesc", "BonusDeprAmount"};
    auto set = std::make_shared<TFoDataSet>(fields);
    for (const DepreciatedAsset *asset : reg.assets) {
        QStringList values(fields.size());
        values[0] = Q(asset->record.assetNumber);
        SetPrintParameters(asset->inputs, [&](std::string_view name, std::string_view value) {
            const int field = set->FieldIndex(ToQString(name));
            if (field >= 0)
                values[field] = ToQString(value);
        });
        const std::size_t row = set->AddRow(values);
        ScheduleRecorder recorder;
        const ScheduleRows rows = RunDepreciateCommand(asset->inputs, recorder);
        auto schedule = std::make_shared<TFoDataSet>(QStringList{"YearEnd", "PerDepr", "AccumDepr"});
        for (std::size_t index = 1; index <= rows.size(); ++index) {
            const std::string number = std::to_string(index);
            schedule->AddRow({Q(recorder.Param("YearEnd" + number)), Q(recorder.Param("PerDepr" + number)),
                              Q(recorder.Param("AccumDepr" + number))});
        }
        set->SetChild(row, QStringLiteral("Schedule"), std::move(schedule));
    }
    return set;
}

} // namespace

QStringList BookReportNames() {
    return {QLatin1String(DeprBookReportName), QLatin1String(Form4562ReportName)};
}

void SetDeprBookData(TFoProject &project, const BookReportSource &book, int taxYear) {
    SetBookParams(project, book, taxYear);
    const AssetRegister reg = MakeAssetRegister(book.assets, taxYear);
    if (reg.assets.empty())
        project.SetParam(
            QStringLiteral("NoRegister"),
            QStringLiteral("No asset was placed in service by the end of tax year %1.").arg(taxYear));
    project.SetDataSet(QStringLiteral("Register"), RegisterSet(reg));
    project.SetDataSet(QStringLiteral("Years"), YearsSet(TotalsByTaxYear(book.assets)));
    project.SetDataSet(QStringLiteral("Assets"), AssetsSet(reg));
}

void SetForm4562Data(TFoProject &project, const BookReportSource &book, int taxYear) {
    SetBookParams(project, book, taxYear);
    const Form4562 form = MakeForm4562(book.assets, taxYear);
    const std::vector<std::pair<const char *, Cents>> lines = {{"14", form.line14}, {"17", form.line17},
                                                               {"21", form.line21}, {"22", form.line22},
                                                               {"25", form.line25}, {"28", form.line28}};
    for (const auto &[line, amount] : lines) {
        project.SetParam(QStringLiteral("Line") + QLatin1String(line), FormAmount(amount));
        project.SetParam(QStringLiteral("Caption") + QLatin1String(line),
                         Q(Form4562LineCaption(line, taxYear)));
    }
    project.SetParam(QStringLiteral("Caption26"), Q(Form4562LineCaption("26", taxYear)));
    auto line19 = std::make_shared<TFoDataSet>(QStringList{"Line", "Classification", "Placed", "Basis",
                                                           "Period", "Convention", "Method", "Deduction"});
    for (const Form4562Line19 &line : form.line19)
        line19->AddRow({Q(line.line), Q(line.classification), Q(line.placed), FormAmount(line.basis),
                        Q(line.recoveryPeriod), Q(line.convention), Q(line.method),
                        FormAmount(line.deduction)});
    auto line26 = std::make_shared<TFoDataSet>(QStringList{"Description", "Placed", "Use", "Cost", "Basis",
                                                           "Period", "Method", "Convention", "Deduction"});
    for (const Form4562Line26 &line : form.line26)
        line26->AddRow({Q(line.description), Q(line.placed), QString::number(line.businessUse) + u'%',
                        FormAmount(line.cost), FormAmount(line.basis), Q(line.recoveryPeriod), Q(line.method),
                        Q(line.convention), FormAmount(line.deduction)});
    const QString none = QStringLiteral("None.");
    if (form.line19.empty())
        project.SetParam(QStringLiteral("NoLine19"), none);
    if (form.line26.empty())
        project.SetParam(QStringLiteral("NoLine26"), none);
    project.SetDataSet(QStringLiteral("Line19"), std::move(line19));
    project.SetDataSet(QStringLiteral("Line26"), std::move(line26));
}

void SetBookReportData(TFoProject &project, const QString &reportName, const BookReportSource &book,
                       int taxYear) {
    if (reportName.compare(QLatin1String(DeprBookReportName), Qt::CaseInsensitive) == 0)
        SetDeprBookData(project, book, taxYear);
    else if (reportName.compare(QLatin1String(Form4562ReportName), Qt::CaseInsensitive) == 0)
        SetForm4562Data(project, book, taxYear);
    else
        throw EFolioException(QStringLiteral("\"%1\" is no book report (%2)")
                                  .arg(reportName, BookReportNames().join(QStringLiteral(", "))));
}

} // namespace fiscora
