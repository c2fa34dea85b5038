#include "output/print/FoRenderPrinter.h"

#include "ScopeExit.h"
#include "ToolBoxExceptions.h"
#include "report/core/FoErrors.h"
#include "report/core/FoStatusFormat.h"
#include "report/devices/FoPrinterDevice.h"
#include "report/playback/FoSnapshotConverter.h"

#include <QCoreApplication>
#include <QIODevice>

#include <exception>

namespace fiscora {

namespace {
constexpr int kCustomPaper = 256;
} // namespace

TFoRenderPrinter::TFoRenderPrinter() : TFoRenderPrinter(TFoPrinterDevice::Instance()) {}

TFoRenderPrinter::TFoRenderPrinter(TFoPrinterDevice &device) : FDevice(device) {
    // Printing is asked for by name; the printer is never offered as a save format.
    FActive = false;
}

TFoRenderPrinter::~TFoRenderPrinter() {
    SetSnapshotStream(nullptr);
}

int TFoRenderPrinter::Pages() const {
    return FPlayedPages > 0 ? FPlayedPages : FPages;
}

TFoCanvas &TFoRenderPrinter::Canvas() {
    return FDevice.Canvas();
}

int TFoRenderPrinter::XDPI() {
    return FDevice.XDPI();
}

int TFoRenderPrinter::YDPI() {
    return FDevice.YDPI();
}

int TFoRenderPrinter::MaxCopies() {
    return FDevice.MaxCopies();
}

// Page positions are measured from the paper's corner; the printer draws from its printable area's.
int TFoRenderPrinter::XI2D(double Pos) {
    const double dpi = XDPI();
    return RoundToDevice((Pos - FDevice.WasteMargins().Left / dpi) * dpi);
}

int TFoRenderPrinter::YI2D(double Pos) {
    const double dpi = YDPI();
    return RoundToDevice((Pos - FDevice.WasteMargins().Top / dpi) * dpi);
}

void TFoRenderPrinter::DocBegin() {
    TFoRenderCanvas::DocBegin();
    FAbortRequested = false;
    FUncaughtAtBegin = std::uncaught_exceptions();
    if (FDevice.InvalidPrinter())
        throw EFolioReport(QStringLiteral("There is no printer to print on; nothing was printed."));
    const TFoReportHeader &header = Converter->ReportHeader;
    FPlayedPages = header.PageCount;
    FDevice.SetTitle(header.Title);
    FDevice.SetOrientation(header.Orientation);
    if (header.DMPaperSize == kCustomPaper)
        FDevice.SetPaperSize(0, header.DMPaperWidth, header.DMPaperLength);
    else
        FDevice.SetPaperSize(header.DMPaperSize, 0, 0);
    if (FIgnoreFileSettings) {
        FDevice.SetCopies(FOneCopyPerPass ? 1 : FCopies);
        FDevice.SetCollate(FCollate);
        FDevice.SetDuplex(FDuplex);
    } else {
        FDevice.SetCopies(FOneCopyPerPass ? 1 : header.Copies);
        FDevice.SetCollate(header.Collate);
        FDevice.SetDuplex(header.Duplex);
    }
    FDevice.SetOutputFile(FOutputFileName);
    FDevice.BeginDocSelect();
}

void TFoRenderPrinter::PageBegin() {
    TFoRenderCanvas::PageBegin();
    ShowStatus();
    if (FAbortRequested) {
        FDevice.Abort();
        throw EAbort();
    }
    const TOrientation orientation = Converter->ReportHeader.Orientation;
    // Marking an unchanged orientation would reset the printer at every page.
    if (orientation != TOrientation::poDefault && orientation != FDevice.Orientation())
        FDevice.SetOrientation(orientation);
    if (FDevice.FIgnoreSnapshotBin)
        FDevice.SetBin(FDevice.FSetupBin);
    else
        FDevice.SetPendingBin(Converter->ReportHeader.Bin);
    FDevice.NewPageSelect(true);
}

void TFoRenderPrinter::PageEnd() {}

void TFoRenderPrinter::DocEnd() {
    // Playback ends the document also when an error stops it: such a job is abandoned, not spooled.
    if (FDevice.Printing()) {
        if (std::uncaught_exceptions() > FUncaughtAtBegin)
            FDevice.Abort();
        else
            FDevice.EndDoc();
    }
    TFoRenderCanvas::DocEnd();
}

void TFoRenderPrinter::ShowStatus() {
    if (!StatusLabel)
        return;
    TFoStatusValues values;
    values.CurrentPage = Converter ? Converter->PageNo() : 0;
    values.FirstPage = FFirstPage > 0 ? FFirstPage : 1;
    values.LastPage = FLastPage > 0 ? FLastPage : 9999;
    values.DeviceName = FDevice.DeviceName();
    values.DriverName = FDevice.DriverName();
    values.Port = FDevice.Port();
    StatusLabel(FormatStatusText(StatusFormat, values));
    // Lets the status window repaint and its Cancel be pressed.
    QCoreApplication::processEvents();
}

void TFoRenderPrinter::SetBin(const QString &BinName) {
    FDevice.SelectBin(BinName, false);
    if (Converter)
        Converter->ReportHeader.Bin = qint16(FDevice.Bin());
}

void TFoRenderPrinter::SetPaperBin(int Bin) {
    // Copied: selecting a bin may rebuild the list.
    const TFoNamedNumberList bins = FDevice.Bins();
    for (const TFoNamedNumber &bin : bins)
        if (bin.Number == Bin)
            SetBin(bin.Name);
}

void TFoRenderPrinter::PrintData(const QString &Text) {
    QByteArray bytes;
    bytes.reserve(Text.size());
    for (const QChar ch : Text)
        bytes.append(char(ch.unicode() & 0xFF));
    FDevice.RawOut(bytes);
}

void TFoRenderPrinter::PrintDataStream(QIODevice &Stream, qint64 Length) {
    qint64 left = Length > 0 ? Length : Stream.bytesAvailable();
    while (left > 0) {
        const QByteArray chunk = Stream.read(std::min(left, kRawChunkBytes));
        if (chunk.isEmpty())
            throw EFolioReport(QStringLiteral("Stream read error"));
        FDevice.RawOut(chunk);
        left -= chunk.size();
    }
}

void PrintSnapshotCopies(TFoRenderPrinter &printer, QIODevice *snapshot) {
    PrintSnapshotCopies(printer, snapshot, printer.Copies());
}

void PrintSnapshotCopies(TFoRenderPrinter &printer, QIODevice *snapshot, int copies) {
    const bool asPasses = PrintsCopiesAsPasses(copies, printer.MaxCopies());
    printer.FOneCopyPerPass = asPasses;
    ScopeExit restore([&printer] { printer.FOneCopyPerPass = false; });
    const int passes = asPasses ? copies : 1;
    for (int pass = 0; pass < passes; ++pass)
        printer.Render(snapshot);
}

} // namespace fiscora
