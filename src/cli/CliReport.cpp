// fiscora-cli report: the main window's Print command on the command line, with the snapshot
// written to a file instead of a preview.

#include "CliCommand.h"
#include "CliGuiApplication.h"
#include "CliWrite.h"
#include "Clock.h"
#include "DataFileLocation.h"
#include "ExportFormat.h"
#include "ExportOutput.h"
#include "ReportInputs.h"
#include "ReportJob.h"
#include "ReportOutputFile.h"
#include "ScheduleOptions.h"
#include "ScheduleOutput.h"
#include "ScheduleRecorder.h"
#include "report/core/FoErrors.h"
#include "report/system/FoSystem.h"

#include <QCoreApplication>
#include <QDir>

#include <iostream>
#include <memory>

namespace fiscora::cli {

namespace {

const char *const kDefaultTemplate = "Amortix.fol";
const char *const kDefaultReport = "DeprReport";

std::string ReportUsage() {
    return "usage: fiscora-cli report [--description TEXT] [--type N] [--placed MM/DD/YYYY] [--cost AMOUNT]\n"
           "                          [--method N] [--convention N] [--life N] [--fiscal-year-end "
           "MM/DD/YYYY]\n"
           "                          [--bonus] [--template FILE] [--report NAME]\n"
           "                          --output FILE.fsn|FILE.pdf|FILE.html [--format fsn|pdf|html]\n" +
           ScheduleOptionsHelp() +
           "  --template FILE               report template (default: Amortix.fol, beside or in "
           "../share/fiscora)\n"
           "  --report NAME                 report of the template to run (default: DeprReport)\n"
           "  --output FILE                 file to write: a snapshot (.fsn), a PDF (.pdf) or HTML pages "
           "(.html)\n"
           "  --format fsn|pdf|html         the output's format, whatever its extension\n" +
           ScheduleChoicesHelp();
}

struct ReportRequest {
    AssetEntry entry;
    std::string templateFile; // empty: the default template
    std::string reportName = kDefaultReport;
    QString outputFile;
    ExportFormat format = ExportFormat::Snapshot;
};

ReportRequest ParseReportRequest(const std::vector<std::string> &args) {
    const ParsedScheduleArguments parsed =
        ParseScheduleArguments(args, {"--template", "--report", "--output", "--format"});
    const auto extra = [&](const char *name) {
        const auto found = parsed.extras.find(name);
        return found == parsed.extras.end() ? std::optional<std::string>() : found->second;
    };
    ReportRequest request;
    const auto output = extra("--output");
    if (!output)
        throw UsageError("--output FILE.fsn is required");
    request.outputFile = QString::fromStdString(*output);
    // Any other name is a snapshot, as the command has always written.
    request.format = ChooseExportFormat(*output, extra("--format"), ExportFormat::Snapshot);
    request.templateFile = extra("--template").value_or(std::string());
    request.reportName = extra("--report").value_or(request.reportName);
    request.entry = ApplyScheduleRequest(parsed.request, TodayDateStr());
    return request;
}

int RunReportCommand(const std::vector<std::string> &args) {
    if (IsHelpRequest(args))
        return WriteStandardOutput("report", ReportUsage()) ? 0 : 1;
    ReportRequest request;
    try {
        request = ParseReportRequest(args);
    } catch (const UsageError &error) {
        return UsageFailure("report", error.what(), ReportUsage());
    }
    try {
        const auto application = EnsureGuiApplication();
        TReportJob job;
        // The project file rule adds ".fol" to a name without a dot; everything after names the file
        // it made.
        job.OpenTemplate(request.templateFile.empty() ? FindDataFile(QLatin1String(kDefaultTemplate))
                                                      : QString::fromStdString(request.templateFile),
                         QString::fromStdString(request.reportName));
        const std::vector<ReportInput> inputs = ReportInputs(job.Project());
        RefuseOutputOverInput(request.outputFile, inputs);
        if (request.format != ExportFormat::Snapshot) {
            WriteReportExport(job, request.entry.inputs, request.outputFile, request.format, inputs);
        } else {
            ReportOutputFile output(request.outputFile);
            WriteJobSnapshot(
                job,
                [&] {
                    ScheduleRecorder pane;
                    job.Print(request.entry.inputs, pane);
                },
                output.PartialFileName());
            output.Commit();
        }
        return 0;
    } catch (const UsageError &error) {
        return UsageFailure("report", error.what(), ReportUsage());
    } catch (const std::exception &error) {
        WriteErrorMessage(error, std::cerr);
        return 1;
    }
}

const CliCommandRegistrar registrar("report", "write the depreciation report of one asset as a snapshot file",
                                    RunReportCommand);

} // namespace

} // namespace fiscora::cli
