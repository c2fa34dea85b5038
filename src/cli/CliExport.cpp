// fiscora-cli export SNAPSHOT --output FILE.pdf|FILE.html [--format pdf|html]: the preview window's
// exports of a saved snapshot file, with the preview's export settings.
#include "CliArguments.h"
#include "CliCommand.h"
#include "CliGuiApplication.h"
#include "CliInputFile.h"
#include "CliWrite.h"
#include "ExportFormat.h"
#include "ExportOutput.h"
#include "ReportInputs.h"
#include "ScheduleOutput.h"

#include <QFile>
#include <QFileInfo>

#include <iostream>

namespace fiscora::cli {

namespace {

constexpr const char *ExportUsage =
    "usage: fiscora-cli export SNAPSHOT --output FILE.pdf|FILE.html [--format pdf|html]\n"
    "  SNAPSHOT           the snapshot file (.fsn) to export\n"
    "  --output FILE      the file to write; its extension chooses the format (.pdf, .html, .htm)\n"
    "  --format NAME      the format, whatever the extension: pdf or html\n";

struct ExportRequest {
    QString snapshot;
    QString output;
    ExportFormat format = ExportFormat::Pdf;
};

ExportRequest ParseExportRequest(const std::vector<std::string> &args) {
    const ParsedArguments parsed = ParseArguments(args, ArgumentRules{{"--output", "--format"}, {}, {}, 1});
    if (parsed.operands.empty())
        throw UsageError("missing SNAPSHOT");
    const std::optional<std::string> output = parsed.Value("--output");
    if (!output)
        throw UsageError("--output FILE is required");
    const ExportFormat format = ChooseExportFormat(*output, parsed.Value("--format"));
    if (format == ExportFormat::Snapshot)
        throw UsageError("export writes PDF or HTML; a snapshot is already a snapshot");
    ExportRequest request{QString::fromStdString(parsed.operands.front()), QString::fromStdString(*output),
                          format};
    if (QFileInfo(request.snapshot).absoluteFilePath() == QFileInfo(request.output).absoluteFilePath())
        throw UsageError("the output would replace the snapshot it is made from");
    RefuseOutputOverInput(request.output, {{"snapshot", request.snapshot}});
    return request;
}

int RunExportCommand(const std::vector<std::string> &args) {
    if (IsHelpRequest(args))
        return WriteStandardOutput("export", ExportUsage) ? 0 : 1;
    ExportRequest request;
    try {
        request = ParseExportRequest(args);
    } catch (const UsageError &error) {
        return UsageFailure("export", error.what(), ExportUsage);
    }
    QFile snapshot(request.snapshot);
    if (!OpenInputFileOrSay(snapshot))
        return 1;
    try {
        const auto application = EnsureGuiApplication();
        WriteExportOutput(snapshot, request.output, request.format, {{"snapshot", request.snapshot}});
        return 0;
    } catch (const UsageError &error) {
        return UsageFailure("export", error.what(), ExportUsage);
    } catch (const std::exception &error) {
        WriteErrorMessage(error, std::cerr);
        return 1;
    }
}

const CliCommandRegistrar registrar("export",
                                    "export a snapshot file to PDF or HTML with the preview's settings",
                                    RunExportCommand);

} // namespace

} // namespace fiscora::cli
