// fiscora-cli book report: a book report of a tax year through the Print command's report job,
// written as a snapshot, a PDF or HTML pages.

#include "Book.h"
#include "BookFigures.h"
#include "BookLocation.h"
#include "BookReportData.h"
#include "CliArguments.h"
#include "CliBookCommands.h"
#include "CliBookSupport.h"
#include "CliGuiApplication.h"
#include "DataFileLocation.h"
#include "ExportFormat.h"
#include "ExportOutput.h"
#include "ReportInputs.h"
#include "ReportJob.h"
#include "ReportOutputFile.h"

namespace fiscora::cli {

namespace {

const char *const kBookTemplate = "Amortix.fol";

} // namespace

std::string BookReportUsage() {
    return "usage: fiscora-cli book report FILE --report DeprBook|Form4562 --tax-year T\n"
           "                               --output FILE.fsn|FILE.pdf|FILE.html [--format fsn|pdf|html]\n"
           "                               [--template FILE]\n"
           "  --report NAME           DeprBook: the register of the tax year, depreciation per tax year and\n"
           "                          every asset's schedule; Form4562: the Form 4562 worksheet\n"
           "  --tax-year T            the tax year (the fiscal year ending in T)\n"
           "  --output FILE           file to write: a snapshot (.fsn), a PDF (.pdf) or HTML pages (.html)\n"
           "  --format fsn|pdf|html   the output's format, whatever its extension\n"
           "  --template FILE         report template (default: Amortix.fol, beside or in "
           "../share/fiscora)\n";
}

int RunBookReport(const std::vector<std::string> &args) {
    return RunBookSubcommand("report", BookReportUsage(), args, [](const std::vector<std::string> &given) {
        const ParsedArguments parsed = ParseArguments(
            given, {{"--report", "--tax-year", "--output", "--format", "--template"}, {}, {}, 1});
        if (parsed.operands.empty())
            throw UsageError("FILE is required");
        const auto report = parsed.Value("--report");
        if (!report)
            throw UsageError("--report DeprBook|Form4562 is required");
        const QString reportName = QString::fromStdString(*report);
        if (!BookReportNames().contains(reportName, Qt::CaseInsensitive))
            throw UsageError("--report: unknown book report " + Shown(*report) + " (DeprBook or Form4562)");
        const auto year = parsed.Value("--tax-year");
        if (!year)
            throw UsageError("--tax-year T is required");
        const int taxYear = ParseTaxYear(*year);
        const auto outputName = parsed.Value("--output");
        if (!outputName)
            throw UsageError("--output FILE.pdf is required");
        const ExportFormat format =
            ChooseExportFormat(*outputName, parsed.Value("--format"), ExportFormat::Snapshot);
        const QString output = QString::fromStdString(*outputName);
        const std::string &location = parsed.operands[0];

        const auto application = EnsureGuiApplication();
        TReportJob job;
        const std::string templateFile = parsed.Value("--template").value_or(std::string());
        job.OpenTemplate(templateFile.empty() ? FindDataFile(QLatin1String(kBookTemplate))
                                              : QString::fromStdString(templateFile),
                         reportName);
        std::vector<ReportInput> inputs = ReportInputs(job.Project());
        // A book file is read too: the report must not be written over it.
        if (ParseBookLocation(location).backEnd == BookBackEnd::Sqlite)
            inputs.push_back({"book", QString::fromStdString(location)});
        RefuseOutputOverInput(output, inputs);

        const auto book = Book::Open(location, BookAccess::Read);
        const std::vector<DepreciatedAsset> assets =
            DepreciateBookAssets(book->Assets(), book->YearEndMonth());
        const BookReportSource source{book->Name(), book->YearEndMonth(), assets};
        const auto runReport = [&] {
            job.PrintData(
                [&](TFoProject &project) { SetBookReportData(project, reportName, source, taxYear); });
        };
        if (format != ExportFormat::Snapshot) {
            WriteJobExport(job, runReport, output, format, inputs);
        } else {
            ReportOutputFile file(output);
            WriteJobSnapshot(job, runReport, file.PartialFileName());
            file.Commit();
        }
        return 0;
    });
}

} // namespace fiscora::cli
