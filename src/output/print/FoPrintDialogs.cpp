// The printer device's print and printer-setup dialogs over Qt's print dialogs.
#include "output/print/FoPrintDialogs.h"

#include "report/devices/FoPrinterDevice.h"

#include <QApplication>
#include <QDialog>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrinter>
#include <QScreen>

namespace fiscora {

namespace {
bool WidgetsAvailable() {
    return qobject_cast<QApplication *>(QCoreApplication::instance()) != nullptr;
}

// Centred horizontally, at one third of the free height.
void PlaceDialog(QDialog &dialog) {
    dialog.adjustSize();
    const QScreen *screen = dialog.screen() ? dialog.screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect area = screen->availableGeometry();
    const QSize size = dialog.frameGeometry().size();
    dialog.move(area.left() + (area.width() - size.width()) / 2,
                area.top() + (area.height() - size.height()) / 3);
}

bool ShowPrintDialog(TFoPrinterDevice &device, TPrintDialogRec &record) {
    if (!WidgetsAvailable())
        return false;
    QPrinter printer(QPrinter::HighResolution);
    device.SaveToPrinter(printer);
    printer.setFromTo(record.FromPage, record.ToPage);
    printer.setCopyCount(record.Copies);
    printer.setCollateCopies(record.Collate);
    printer.setPrintRange(record.PrintRange == TPrintDialogRec::prPageNums    ? QPrinter::PageRange
                          : record.PrintRange == TPrintDialogRec::prSelection ? QPrinter::Selection
                                                                              : QPrinter::AllPages);
    QPrintDialog dialog(&printer);
    dialog.setMinMax(record.MinPage, record.MaxPage);
    QAbstractPrintDialog::PrintDialogOptions options = QAbstractPrintDialog::PrintShowPageSize;
    if (record.Options & TPrintDialogRec::poPageNums)
        options |= QAbstractPrintDialog::PrintPageRange;
    if (record.Options & TPrintDialogRec::poSelection)
        options |= QAbstractPrintDialog::PrintSelection;
    if ((record.Options & TPrintDialogRec::poPrintToFile) &&
        !(record.Options & TPrintDialogRec::poDisablePrintToFile))
        options |= QAbstractPrintDialog::PrintToFile;
    options |= QAbstractPrintDialog::PrintCollateCopies;
    dialog.setOptions(options);
    PlaceDialog(dialog);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    device.LoadFromPrinter(printer);
    switch (printer.printRange()) {
    case QPrinter::PageRange:
        record.PrintRange = TPrintDialogRec::prPageNums;
        break;
    case QPrinter::Selection:
        record.PrintRange = TPrintDialogRec::prSelection;
        break;
    default:
        record.PrintRange = TPrintDialogRec::prAllPages;
        break;
    }
    record.FromPage = printer.fromPage();
    record.ToPage = printer.toPage();
    record.Copies = printer.copyCount();
    record.Collate = printer.collateCopies();
    record.PrintToFile = !printer.outputFileName().isEmpty();
    if (record.PrintToFile)
        device.SetOutputFile(printer.outputFileName());
    return true;
}

bool ShowPrinterSetupDialog(TFoPrinterDevice &device) {
    if (!WidgetsAvailable())
        return false;
    QPrinter printer(QPrinter::HighResolution);
    device.SaveToPrinter(printer);
    QPageSetupDialog dialog(&printer);
    PlaceDialog(dialog);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    device.LoadFromPrinter(printer);
    return true;
}

} // namespace

void InstallPrinterDialogs() {
    TFoPrinterDevice::Dialogs() = {ShowPrintDialog, ShowPrinterSetupDialog};
}

} // namespace fiscora
