// fiscora-cli print SNAPSHOT [--printer NAME] [--copies N] [--collate] [--duplex]
//                            [--pages FROM-TO | --selection TEXT]:
// prints a saved snapshot as the preview window's Print does, without its dialogs.
#include "CliArguments.h"
#include "CliCommand.h"
#include "CliGuiApplication.h"
#include "CliInputFile.h"
#include "CliPageOptions.h"
#include "CliWrite.h"
#include "ScheduleOutput.h"

#include "output/print/FoRenderPrinter.h"
#include "report/devices/FoPrinterDevice.h"
#include "report/playback/FoSnapshotRecorder.h"
#include "report/snapshot/FoSnapshotHeaders.h"

#include <QFile>

#include <charconv>
#include <iostream>

namespace fiscora::cli {

namespace {

constexpr const char *PrintUsage =
    "usage: fiscora-cli print SNAPSHOT [--printer NAME] [--copies N] [--collate] [--duplex]\n"
    "                                  [--pages FROM-TO | --selection TEXT]\n"
    "  SNAPSHOT          the snapshot file (.fsn) to print\n"
    "  --printer NAME    the printer queue (default: the system's default printer)\n"
    "  --copies N        copies to print, 1 to 999 (default: 1)\n"
    "  --collate         print whole copies one after the other\n"
    "  --duplex          print on both sides of the paper\n"
    "  --pages FROM-TO   print only pages FROM to TO, such as 2-3\n"
    "  --selection TEXT  print the pages named, such as 1,3-5, EVEN, ODD or 4-\n";

constexpr int kMaxCopies = 999;

struct PrintRequest {
    QString snapshot;
    std::optional<QString> printer;
    int copies = 1;
    bool collate = false;
    bool duplex = false;
    std::optional<PageRange> pages;
    QString selection;
};

int Copies(const std::optional<std::string> &text) {
    if (!text)
        return 1;
    int value = 0;
    const auto result = std::from_chars(text->data(), text->data() + text->size(), value);
    if (result.ec != std::errc() || result.ptr != text->data() + text->size() || value < 1 ||
        value > kMaxCopies)
        throw UsageError("--copies: " + Shown(*text) + " is not a number of copies (1 to " +
                         std::to_string(kMaxCopies) + ")");
    return value;
}

PrintRequest ParsePrintRequest(const std::vector<std::string> &args) {
    const ParsedArguments parsed = ParseArguments(
        args,
        ArgumentRules{{"--printer", "--copies", "--pages", "--selection"}, {"--collate", "--duplex"}, {}, 1});
    if (parsed.operands.empty())
        throw UsageError("missing SNAPSHOT");
    PrintRequest request;
    request.snapshot = QString::fromStdString(parsed.operands.front());
    if (const auto printer = parsed.Value("--printer"))
        request.printer = QString::fromStdString(*printer);
    request.copies = Copies(parsed.Value("--copies"));
    request.collate = parsed.flags.count("--collate") > 0;
    request.duplex = parsed.flags.count("--duplex") > 0;
    request.pages = PageRangeOption(parsed.Value("--pages"));
    request.selection = PageSelectionOption(parsed.Value("--selection"));
    if (request.pages && !request.selection.isEmpty())
        throw UsageError("--pages and --selection both choose the pages; give one of them");
    return request;
}

int Failure(const std::string &reason) {
    std::cerr << "fiscora-cli print: " << reason << '\n';
    return 1;
}

void ChoosePages(TFoRender &renderer, const PrintRequest &request) {
    if (request.pages) {
        renderer.SetFirstPage(request.pages->first);
        renderer.SetLastPage(request.pages->last);
    }
    renderer.SetSelection(request.selection);
}

// Plays the snapshot without printing, so that a broken file or a choice of no pages sends nothing.
// Answers the number of pages that will print.
int PagesToPrint(QFile &snapshot, const PrintRequest &request) {
    TFoSnapshotReader reader(snapshot);
    const int pageCount = ReadSnapshotReportHeader(reader, false).PageCount;
    if (request.pages && request.pages->first > pageCount)
        throw std::runtime_error("--pages " + std::to_string(request.pages->first) + "-" +
                                 std::to_string(request.pages->last) + ": the snapshot has " +
                                 std::to_string(pageCount) + (pageCount == 1 ? " page" : " pages"));
    TFoSnapshotRecorder probe;
    ChoosePages(probe, request);
    probe.SetSnapshotStream(&snapshot);
    probe.RenderPage(0);
    probe.SetSnapshotStream(nullptr);
    return int(probe.CallsNamed(QStringLiteral("PageBegin")).size());
}

int RunPrintCommand(const std::vector<std::string> &args) {
    if (IsHelpRequest(args))
        return WriteStandardOutput("print", PrintUsage) ? 0 : 1;
    PrintRequest request;
    try {
        request = ParsePrintRequest(args);
    } catch (const UsageError &error) {
        return UsageFailure("print", error.what(), PrintUsage);
    }
    QFile snapshot(request.snapshot);
    if (!OpenInputFileOrSay(snapshot))
        return 1;
    const auto application = EnsureGuiApplication();
    try {
        TFoPrinterDevice &device = TFoPrinterDevice::Instance();
        if (device.PrinterList().empty())
            return Failure("no printer is installed; nothing was printed");
        if (request.printer && !device.SelectPrinter(*request.printer, true))
            return Failure("there is no printer " + Shown(request.printer->toStdString()) +
                           " (fiscora-cli printers lists them); nothing was printed");
        const int pages = PagesToPrint(snapshot, request);
        if (pages == 0)
            return Failure("no page of the snapshot is among the pages chosen; nothing was printed");
        if (request.duplex && !device.SupportDuplex())
            std::cerr << "fiscora-cli print: the printer " << device.DeviceName().toStdString()
                      << " prints on one side only\n";
        TFoRenderPrinter printer(device);
        printer.FIgnoreFileSettings = true;
        printer.FCopies = request.copies;
        printer.FCollate = request.collate;
        printer.FDuplex = request.duplex ? TDuplex::dupVertical : TDuplex::dupSimplex;
        ChoosePages(printer, request);
        PrintSnapshotCopies(printer, &snapshot);
        const std::string copies =
            request.copies > 1 ? ", " + std::to_string(request.copies) + " copies" : std::string();
        return WriteStandardOutput("print", std::to_string(pages) + (pages == 1 ? " page" : " pages") +
                                                " sent to " + device.DeviceName().toStdString() + copies +
                                                "\n")
                   ? 0
                   : 1;
    } catch (const std::exception &error) {
        WriteErrorMessage(error, std::cerr);
        return 1;
    }
}

const CliCommandRegistrar registrar("print", "print a snapshot file on a printer", RunPrintCommand);

} // namespace

} // namespace fiscora::cli
