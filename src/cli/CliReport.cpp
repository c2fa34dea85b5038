// fiscora-cli report: the main window's Print command on the command line, with the snapshot
// written to a file instead of a preview.

#include "CliCommand.h"
#include "Clock.h"
#include "ExportFormat.h"
#include "PdfOutput.h"
#include "ReportJob.h"
#include "ScheduleOptions.h"
#include "ScheduleOutput.h"
#include "ScheduleRecorder.h"
#include "report/core/FoErrors.h"
#include "report/system/FoSystem.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QTemporaryFile>

#include <cstdio>
#include <cstdlib>
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
           "                          [--bonus] [--template FILE] [--report NAME] --output FILE.fsn|FILE.pdf\n"
           "                          [--format fsn|pdf]\n" +
           ScheduleOptionsHelp() +
           "  --template FILE               report template (default: Amortix.fol beside fiscora-cli)\n"
           "  --report NAME                 report of the template to run (default: DeprReport)\n"
           "  --output FILE                 file to write: a snapshot (.fsn) or a PDF (.pdf)\n"
           "  --format fsn|pdf              the output's format, whatever its extension\n" +
           ScheduleChoicesHelp();
}

// Qt's own notes about the headless platform (no runtime folder and the like) are not the user's
// concern; the command reports its errors itself.
void QuietQtMessages(QtMsgType type, const QMessageLogContext &, const QString &message) {
    if (type == QtCriticalMsg || type == QtFatalMsg)
        std::cerr << message.toStdString() << '\n';
}

// Text layout measures fonts, which needs a GUI application; a headless one does.
std::unique_ptr<QGuiApplication> EnsureGuiApplication() {
    if (QCoreApplication::instance())
        return nullptr;
    if (!std::getenv("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    qInstallMessageHandler(QuietQtMessages);
    static int argc = 1;
    static char name[] = "fiscora-cli";
    static char *argv[] = {name, nullptr};
    return std::make_unique<QGuiApplication>(argc, argv);
}

// Runs the report into a file beside the output and moves it into place only when the job succeeded,
// so that a failed run never leaves a half-written snapshot under the output name.
void WriteReport(TReportJob &job, const AssetInputs &inputs, const QString &outputFile) {
    QTemporaryFile partial(QFileInfo(outputFile).absolutePath() +
                           QStringLiteral("/.fiscora-report-XXXXXX.part"));
    if (!partial.open())
        throw EFolioReport(QStringLiteral("Cannot create the output file \"%1\": %2")
                               .arg(outputFile, partial.errorString()));
    partial.close();

    TFoSystem &system = job.System();
    system.SystemSetups = static_cast<TSystemSetups>(system.SystemSetups & ~ssAllowSetup);
    system.SystemOptions = static_cast<TSystemOptions>(system.SystemOptions & ~soShowStatus);
    system.DefaultDest = TReportDest::rdFile;
    system.DoNativeOutput = false;
    system.OutputFileName = partial.fileName();
    ScheduleRecorder pane;
    job.Print(inputs, pane);
    if (system.Aborted)
        throw EFolioReport(QStringLiteral("The report was aborted"));
    if (std::rename(QFile::encodeName(partial.fileName()).constData(),
                    QFile::encodeName(outputFile).constData()) != 0)
        throw EFolioReport(QStringLiteral("Cannot write the output file \"%1\"").arg(outputFile));
    // The temporary file was private; the report is an ordinary file.
    QFile::setPermissions(outputFile, QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                          QFileDevice::ReadGroup | QFileDevice::ReadOther);
}

int RunReportCommand(const std::vector<std::string> &args) {
    if (args.size() == 1 && (args[0] == "--help" || args[0] == "-h")) {
        std::cout << ReportUsage();
        return 0;
    }
    AssetEntry entry;
    std::string templateFile, reportName = kDefaultReport, outputFile;
    ExportFormat format = ExportFormat::Snapshot;
    try {
        const ParsedScheduleArguments parsed =
            ParseScheduleArguments(args, {"--template", "--report", "--output", "--format"});
        const auto extra = [&](const char *name) {
            const auto found = parsed.extras.find(name);
            return found == parsed.extras.end() ? std::optional<std::string>() : found->second;
        };
        outputFile = extra("--output").value_or(std::string());
        if (outputFile.empty())
            throw UsageError("--output FILE.fsn is required");
        format = ChooseExportFormat(outputFile, extra("--format"));
        templateFile = extra("--template").value_or(std::string());
        reportName = extra("--report").value_or(reportName);
        entry = ApplyScheduleRequest(parsed.request, TodayDateStr());
    } catch (const UsageError &error) {
        std::cerr << "fiscora-cli report: " << error.what() << '\n' << ReportUsage();
        return 2;
    }
    try {
        const auto application = EnsureGuiApplication();
        TReportJob job;
        job.OpenTemplate(
            templateFile.empty()
                ? QDir(QCoreApplication::applicationDirPath()).filePath(QLatin1String(kDefaultTemplate))
                : QString::fromStdString(templateFile),
            QString::fromStdString(reportName));
        if (format == ExportFormat::Pdf)
            WriteReportPdf(job, entry.inputs, QString::fromStdString(outputFile));
        else
            WriteReport(job, entry.inputs, QString::fromStdString(outputFile));
        return 0;
    } catch (const std::exception &error) {
        WriteErrorMessage(error, std::cerr);
        return 1;
    }
}

const CliCommandRegistrar registrar("report", "write the depreciation report of one asset as a snapshot file",
                                    RunReportCommand);

} // namespace

} // namespace fiscora::cli
