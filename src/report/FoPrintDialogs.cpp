// The printer device's print and printer-setup dialogs. They are the only widget code of the report
// library and refuse to run (answering false) outside a widget application.
#include "FoPrinterDevice.h"

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
} // namespace

bool TFoPrinterDevice::PrintDialog(TPrintDialogRec &record) {
    if (!WidgetsAvailable() || InvalidPrinter())
        return false;
    QPrinter printer(QPrinter::HighResolution);
    SaveToPrinter(printer);
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
    LoadFromPrinter(printer);
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
        SetOutputFile(printer.outputFileName());
    return true;
}

bool TFoPrinterDevice::PrinterSetupDialog() {
    if (!WidgetsAvailable() || InvalidPrinter())
        return false;
    QPrinter printer(QPrinter::HighResolution);
    SaveToPrinter(printer);
    QPageSetupDialog dialog(&printer);
    PlaceDialog(dialog);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    LoadFromPrinter(printer);
    return true;
}

bool TFoPrinterDevice::SimplePrintDialog(int &firstPage, int &lastPage) {
    TPrintDialogRec record;
    record.MinPage = 1;
    record.MaxPage = std::max(1, lastPage);
    record.FromPage = 1;
    record.ToPage = record.MaxPage;
    record.Copies = Copies();
    record.Collate = Collate();
    record.Options = TPrintDialogRec::poPageNums;
    if (!PrintDialog(record))
        return false;
    if (record.PrintRange == TPrintDialogRec::prPageNums) {
        firstPage = record.FromPage;
        lastPage = record.ToPage;
    } else {
        firstPage = 1;
        lastPage = 9999;
    }
    SetCopies(record.Copies);
    SetCollate(record.Collate);
    return true;
}

} // namespace fiscora
