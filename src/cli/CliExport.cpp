// fiscora-cli export SNAPSHOT --output FILE.pdf [--format pdf]: the preview window's PDF export of a
// saved snapshot file, with the preview's export settings.
#include "CliCommand.h"
#include "ExportFormat.h"
#include "PdfOutput.h"
#include "ScheduleOptions.h"
#include "ScheduleOutput.h"

#include <QFile>
#include <QFileInfo>

#include <iostream>
#include <optional>

namespace fiscora::cli {

namespace {

std::string ExportUsage() {
    return "usage: fiscora-cli export SNAPSHOT --output FILE.pdf [--format pdf]\n"
           "  SNAPSHOT           the snapshot file (.fsn) to export\n"
           "  --output FILE      the file to write; its extension chooses the format (.pdf)\n"
           "  --format NAME      the format, whatever the extension: pdf\n";
}

struct ExportOptions {
    std::string snapshot;
    std::string output;
    std::optional<std::string> format;
};

ExportOptions ParseExportOptions(const std::vector<std::string> &args) {
    ExportOptions options;
    bool outputSeen = false;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string &arg = args[i];
        const size_t equals = arg.find('=');
        const std::string name = arg.rfind("--", 0) == 0 ? arg.substr(0, equals) : arg;
        if (name == "--output" || name == "--format") {
            std::string value;
            if (equals != std::string::npos)
                value = arg.substr(equals + 1);
            else if (i + 1 < args.size())
                value = args[++i];
            else
                throw UsageError(name + " needs a value");
            if (name == "--output") {
                if (outputSeen)
                    throw UsageError("--output is given more than once");
                outputSeen = true;
                options.output = value;
            } else {
                if (options.format)
                    throw UsageError("--format is given more than once");
                options.format = value;
            }
        } else if (!arg.empty() && arg[0] == '-') {
            throw UsageError("unknown option '" + arg + "'");
        } else if (options.snapshot.empty()) {
            options.snapshot = arg;
        } else {
            throw UsageError("unexpected argument '" + arg + "'");
        }
    }
    if (options.snapshot.empty())
        throw UsageError("missing SNAPSHOT");
    if (options.output.empty())
        throw UsageError("--output FILE is required");
    if (ChooseExportFormat(options.output, options.format) != ExportFormat::Pdf)
        throw UsageError("export writes PDF; a snapshot is already a snapshot");
    if (QFileInfo(QString::fromStdString(options.snapshot)).absoluteFilePath() ==
        QFileInfo(QString::fromStdString(options.output)).absoluteFilePath())
        throw UsageError("the output would replace the snapshot it is made from");
    return options;
}

int RunExportCommand(const std::vector<std::string> &args) {
    if (args.size() == 1 && (args[0] == "--help" || args[0] == "-h")) {
        std::cout << ExportUsage();
        return 0;
    }
    ExportOptions options;
    try {
        options = ParseExportOptions(args);
    } catch (const UsageError &error) {
        std::cerr << "fiscora-cli export: " << error.what() << '\n' << ExportUsage();
        return 2;
    }
    try {
        const auto application = EnsureHeadlessGui();
        QFile snapshot(QString::fromStdString(options.snapshot));
        if (!snapshot.open(QIODevice::ReadOnly))
            throw std::runtime_error("Cannot open file \"" + options.snapshot + "\". " +
                                     snapshot.errorString().toStdString());
        WritePdfOutput(snapshot, QString::fromStdString(options.output));
        return 0;
    } catch (const std::exception &error) {
        WriteErrorMessage(error, std::cerr);
        return 1;
    }
}

const CliCommandRegistrar registrar("export", "export a snapshot file to PDF with the preview's settings",
                                    RunExportCommand);

} // namespace

} // namespace fiscora::cli
