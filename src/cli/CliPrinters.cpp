// fiscora-cli printers: the printer queues, one a line, the default one marked " (default)".
#include "CliArguments.h"
#include "CliCommand.h"
#include "CliGuiApplication.h"
#include "CliWrite.h"

#include <QPrinterInfo>

#include <iostream>

namespace fiscora::cli {

namespace {

constexpr const char *PrintersUsage =
    "usage: fiscora-cli printers\n"
    "  lists the printer queues, one a line; the default one ends in \" (default)\"\n";

int RunPrintersCommand(const std::vector<std::string> &args) {
    if (IsHelpRequest(args))
        return WriteStandardOutput("printers", PrintersUsage) ? 0 : 1;
    try {
        ParseArguments(args, ArgumentRules{});
    } catch (const UsageError &error) {
        return UsageFailure("printers", error.what(), PrintersUsage);
    }
    const auto application = EnsureGuiApplication();
    const QString defaultName = QPrinterInfo::defaultPrinterName();
    std::string lines;
    for (const QString &name : QPrinterInfo::availablePrinterNames())
        lines += name.toStdString() + (name == defaultName ? " (default)" : "") + '\n';
    if (lines.empty())
        std::cerr << "fiscora-cli printers: no printer is installed\n";
    return WriteStandardOutput("printers", lines) ? 0 : 1;
}

const CliCommandRegistrar registrar("printers", "list the printer queues", RunPrintersCommand);

} // namespace

} // namespace fiscora::cli
