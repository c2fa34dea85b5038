// Page canvas: page selection and the printer settings it delegates to the printer device.
#include "report/canvas/FoBase.h"

#include "report/core/FoErrors.h"
#include "report/core/FoPageSelection.h"
#include "report/devices/FoPrinterDevice.h"

#include <utility>

namespace fiscora {

namespace {
TFoPrinterDevice *AsPrinter(TFoBaseDevice *device) {
    return dynamic_cast<TFoPrinterDevice *>(device);
}

QStringList Names(const TFoNamedNumberList &list) {
    QStringList names;
    for (const TFoNamedNumber &entry : list)
        names << entry.Name;
    return names;
}
} // namespace

// ---- Page selection -------------------------------------------------------------------------

bool TBaseReport::PageSelected(int PageNum) const {
    if (FSelection.isEmpty())
        return FFirstPage <= PageNum && PageNum <= FLastPage;
    return fiscora::PageInSelection(FSelection, PageNum);
}

// ---- Printer settings -----------------------------------------------------------------------

void TBaseReport::SetCopies(int value) {
    CheckNotPrinting();
    FCopies = value;
    if (value > 0)
        if (TFoBaseDevice *printer = PrinterDevice())
            printer->SetCopies(value);
}

bool TBaseReport::Collate() {
    TFoBaseDevice *printer = PrinterDevice();
    return printer && printer->Collate();
}

void TBaseReport::SetCollate(bool value) {
    if (TFoBaseDevice *printer = PrinterDevice())
        printer->SetCollate(value);
}

TDuplex TBaseReport::Duplex() {
    TFoBaseDevice *printer = PrinterDevice();
    return printer ? printer->Duplex() : TDuplex::dupSimplex;
}

void TBaseReport::SetDuplex(TDuplex value) {
    if (TFoBaseDevice *printer = PrinterDevice())
        printer->SetDuplex(value);
}

int TBaseReport::PrinterIndex() {
    TFoPrinterDevice *printer = AsPrinter(PrinterDevice());
    return printer && !printer->InvalidPrinter() ? printer->DeviceIndex() : -1;
}

void TBaseReport::SetPrinterIndex(int value) {
    CheckNotPrinting();
    if (TFoPrinterDevice *printer = AsPrinter(PrinterDevice())) {
        printer->SetDeviceIndex(value);
        ReadDeviceMetrics();
    }
}

bool TBaseReport::SelectPrinter(const QString &PrinterName) {
    CheckNotPrinting();
    TFoPrinterDevice *printer = AsPrinter(PrinterDevice());
    if (!printer)
        return false;
    const bool found =
        printer->SelectPrinter(PrinterName, true) || printer->SelectPrinter(PrinterName, false);
    if (found)
        ReadDeviceMetrics();
    return found;
}

bool TBaseReport::SelectBin(const QString &BinName) {
    TFoBaseDevice *printer = PrinterDevice();
    return printer && printer->SelectBin(BinName, false);
}

bool TBaseReport::SelectPaper(const QString &PaperName) {
    CheckNotPrinting();
    TFoBaseDevice *printer = PrinterDevice();
    return printer && printer->SelectPaper(PaperName, false);
}

bool TBaseReport::SetPaperSize(int Size, int Width, int Height) {
    CheckNotPrinting();
    TFoBaseDevice *printer = PrinterDevice();
    return printer && printer->SetPaperSize(Size, Width, Height);
}

void TBaseReport::SetOutputName(const QString &value) {
    CheckNotPrinting();
    FOutputName = value;
    if (TFoPrinterDevice *printer = AsPrinter(PrinterDevice()))
        printer->SetOutputFile(value);
}

bool TBaseReport::SupportBin() {
    return PrinterDevice() && PrinterDevice()->SupportBin();
}
bool TBaseReport::SupportPaper() {
    return PrinterDevice() && PrinterDevice()->SupportPaper();
}
bool TBaseReport::SupportOrientation() {
    return PrinterDevice() && PrinterDevice()->SupportOrientation();
}
bool TBaseReport::SupportDuplex() {
    return PrinterDevice() && PrinterDevice()->SupportDuplex();
}
bool TBaseReport::SupportCollate() {
    return PrinterDevice() && PrinterDevice()->SupportCollate();
}

QStringList TBaseReport::Bins() {
    return PrinterDevice() ? Names(PrinterDevice()->Bins()) : QStringList();
}
QStringList TBaseReport::Papers() {
    return PrinterDevice() ? Names(PrinterDevice()->Papers()) : QStringList();
}

QStringList TBaseReport::Fonts() {
    if (FDevice)
        return FDevice->Fonts();
    return PrinterDevice() ? PrinterDevice()->Fonts() : QStringList();
}

QStringList TBaseReport::Printers() {
    return PrinterDevice() ? PrinterDevice()->Printers() : QStringList();
}

int TBaseReport::MaxCopies() {
    return PrinterDevice() ? PrinterDevice()->MaxCopies() : 1;
}

const TFoDevMode *TBaseReport::DevMode() {
    return PrinterDevice() ? PrinterDevice()->DevMode() : nullptr;
}

QString TBaseReport::DeviceName() {
    if (OutputKind() == okPreview)
        return QStringLiteral("Preview");
    return NoPrinters() ? QStringLiteral("Render") : PrinterDevice()->DeviceName();
}

QString TBaseReport::DriverName() {
    if (OutputKind() == okPreview)
        return QStringLiteral("Preview");
    return NoPrinters() ? QStringLiteral("Render") : PrinterDevice()->DriverName();
}

QString TBaseReport::Port() {
    if (OutputKind() == okPreview)
        return QStringLiteral("Screen");
    return NoPrinters() ? QStringLiteral("Render") : PrinterDevice()->Port();
}

bool TBaseReport::ShowPrintDialog() {
    TFoPrinterDevice *printer = AsPrinter(PrinterDevice());
    if (!printer)
        return false;
    int first = FFirstPage;
    int last = FLastPage;
    if (!printer->SimplePrintDialog(first, last))
        return false;
    FFirstPage = first;
    FLastPage = last;
    FCopies = printer->Copies();
    return true;
}

bool TBaseReport::ShowPrinterSetupDialog() {
    TFoPrinterDevice *printer = AsPrinter(PrinterDevice());
    return printer && printer->PrinterSetupDialog();
}

void TBaseReport::ReleasePrinter() {
    CheckNotPrinting();
    if (!FPrinterDeviceSet || FPrinterDevice) {
        FReleasedPrinter = PrinterDevice();
        FPrinterDevice = nullptr;
    }
}

void TBaseReport::RecoverPrinter() {
    CheckNotPrinting();
    if (FReleasedPrinter) {
        FPrinterDevice = std::exchange(FReleasedPrinter, nullptr);
        ReadDeviceMetrics();
    }
}

} // namespace fiscora
