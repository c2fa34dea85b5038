#include "FakePrinterSource.h"
#include "FoBaseRecorderTest.h"
#include "report/core/FoErrors.h"
#include "report/devices/FoPrinterDevice.h"
#include "report/devices/FoQtPrinterSource.h"

#include <QFileInfo>
#include <QPrinter>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace fiscora;
using fiscora::test_support::TRecordingReport;

namespace {

template <typename F> std::string MessageOf(F &&action) {
    try {
        action();
    } catch (const EFolioReport &error) {
        return error.what();
    }
    return {};
}

TEST(FoDevicePrinterTest, PrinterListEntriesNamePrinterAndPort) {
    auto printer = MakePrinter();
    EXPECT_EQ(printer.Device->Printers(),
              (QStringList{"Laser on LPT1:", "Office Jet on USB001", "Office Jet on USB002"}));
}

TEST(FoDevicePrinterTest, DefaultPrinterIsMatchedByNameAndPort) {
    EXPECT_EQ(MakePrinter("office jet, Jet Driver, usb001").Device->DeviceIndex(), 1);
    EXPECT_EQ(MakePrinter("Laser,Laser Driver,LPT1:").Device->DeviceIndex(), 0);
    // No match, or no default at all: the last printer of the list.
    EXPECT_EQ(MakePrinter("Plotter,x,COM1:").Device->DeviceIndex(), 2);
    EXPECT_EQ(MakePrinter().Device->DeviceIndex(), 2);
}

TEST(FoDevicePrinterTest, SelectPrinterExactAndPartial) {
    auto printer = MakePrinter();
    EXPECT_TRUE(printer.Device->SelectPrinter("Laser", true));
    EXPECT_EQ(printer.Device->DeviceIndex(), 0);
    EXPECT_FALSE(printer.Device->SelectPrinter("Jet", true));
    EXPECT_TRUE(printer.Device->SelectPrinter("Office Jet on USB002", true));
    EXPECT_EQ(printer.Device->DeviceIndex(), 2);
    EXPECT_TRUE(printer.Device->SelectPrinter("jet", false));
    EXPECT_EQ(printer.Device->DeviceIndex(), 1);
    EXPECT_EQ(printer.Device->Port(), "USB001");
    EXPECT_FALSE(printer.Device->SelectPrinter("Plotter", false));
}

TEST(FoDevicePrinterTest, GuardedSettersRefuseWhatThePrinterCannotDo) {
    auto printer = MakePrinter();
    TFoPrinterDevice &device = *printer.Device;
    device.SetCopies(3);
    device.SetCopies(6); // above MaxCopies 5
    device.SetCopies(0);
    EXPECT_EQ(device.Copies(), 3);
    device.SetDuplex(TDuplex::dupVertical); // no duplex support
    EXPECT_EQ(device.Duplex(), TDuplex::dupSimplex);
    EXPECT_FALSE(device.DevMode()->Fields & TFoDevMode::DM_DUPLEX);
    device.SetCollate(true);
    EXPECT_TRUE(device.Collate());
    // A custom size outside the extents is refused and the paper stays.
    EXPECT_FALSE(device.SetPaperSize(256, 5000, 2000));
    EXPECT_EQ(device.DevMode()->PaperSize, 1);
    EXPECT_TRUE(device.SetPaperSize(256, 2000, 2500));
    EXPECT_EQ(device.DevMode()->PaperSize, 256);
    EXPECT_EQ(device.DevMode()->PaperWidth, 2000);
    EXPECT_TRUE(device.DevMode()->Fields & TFoDevMode::DM_PAPERWIDTH);
    EXPECT_FALSE(device.SetPaperSize(7, 0, 0)); // not listed
    EXPECT_TRUE(device.SelectPaper("a4"));
    EXPECT_EQ(device.DevMode()->PaperSize, 9);
    EXPECT_EQ(device.DevMode()->PaperWidth, 0);
    EXPECT_TRUE(device.SelectBin("Manual feed", true));
    EXPECT_EQ(device.Bin(), 4);
    EXPECT_FALSE(device.SelectBin("manual", true));
    device.SetOrientation(TOrientation::poLandScape);
    device.SetOrientation(TOrientation::poDefault);
    EXPECT_EQ(device.DevMode()->Orientation, 2);
    EXPECT_EQ(device.PageWidth(), 3200);
}

TEST(FoDevicePrinterTest, WasteMarginsAndResolution) {
    auto printer = MakePrinter();
    const TFoWasteMargins waste = printer.Device->WasteMargins();
    EXPECT_EQ(waste.Left, 40);
    EXPECT_EQ(waste.Top, 60);
    EXPECT_EQ(waste.Right, 60);
    EXPECT_EQ(waste.Bottom, 140);
    EXPECT_EQ(printer.Device->XDPI(), 300);
}

TEST(FoDevicePrinterTest, CanvasUsesThePrinterPageAndWastes) {
    auto printer = MakePrinter();
    TRecordingReport report;
    report.SetPrinterDevice(printer.Device.get());
    EXPECT_FALSE(report.NoPrinters());
    report.ResetPrinter();
    EXPECT_DOUBLE_EQ(report.PageWidth(), 8.5);
    EXPECT_DOUBLE_EQ(report.LeftWaste(), 40.0 / 300);
    EXPECT_EQ(report.XDPI(), 300);
    EXPECT_EQ(report.PrinterIndex(), 2);
    EXPECT_TRUE(report.SelectPrinter("Laser"));
    EXPECT_EQ(report.Macro(TMacroID::midPrinterName), QChar(253) + QStringLiteral("$FOLM13"));
    report.OutputKindValue = okPrinter;
    EXPECT_EQ(report.Macro(TMacroID::midPrinterName), "Laser");
    EXPECT_EQ(report.Macro(TMacroID::midPortName), "LPT1:");
    report.ReleasePrinter();
    EXPECT_TRUE(report.NoPrinters());
    EXPECT_DOUBLE_EQ(report.PageWidth(), 8.5);
    report.RecoverPrinter();
    EXPECT_EQ(report.Macro(TMacroID::midPrinterName), "Laser");
}

TEST(FoDevicePrinterTest, WithoutPrintersTheDeviceIsInvalidAndTheCanvasStillWorks) {
    TFoPrinterDevice device(std::make_unique<TNoPrinterSource>());
    EXPECT_TRUE(device.InvalidPrinter());
    EXPECT_EQ(device.DeviceIndex(), -1);
    EXPECT_EQ(device.MaxCopies(), 1);
    EXPECT_EQ(device.XDPI(), 100);
    device.SetCopies(1);
    device.SetOrientation(TOrientation::poLandScape);
    EXPECT_EQ(device.DevMode(), nullptr);
    EXPECT_EQ(device.Orientation(), TOrientation::poPortrait);
    EXPECT_FALSE(device.SetPaperSize(1, 0, 0));
    EXPECT_TRUE(device.Printers().isEmpty());

    TRecordingReport report;
    report.SetPrinterDevice(&device);
    EXPECT_TRUE(report.NoPrinters());
    EXPECT_EQ(report.PrinterIndex(), -1);
    report.OnPrint = [](TBaseReport &canvas) { canvas.PrintLeft("laid out", 1.0); };
    report.Execute();
    EXPECT_EQ(report.CallsOf("LeftText").size(), 1u);
    EXPECT_EQ(report.Macro(TMacroID::midTotalPages), QChar(253) + QStringLiteral("$FOLM10"));
}

TEST(FoDevicePrinterTest, DriverRefusingItsSettingsLeavesSettersWithoutEffect) {
    auto source = std::make_unique<TFakePrinterSource>();
    source->RefuseDevMode = true;
    TFoPrinterDevice device(std::move(source));
    EXPECT_FALSE(device.InvalidPrinter());
    device.SetCopies(3);
    EXPECT_EQ(device.Copies(), 1);
    EXPECT_EQ(device.DevMode(), nullptr);
}

TEST(FoDevicePrinterTest, JobStatesAndTheirMessages) {
    QTemporaryDir dir;
    auto printer = MakePrinter();
    printer.Source->PdfPath = dir.filePath("job.pdf");
    TFoPrinterDevice &device = *printer.Device;
    EXPECT_EQ(MessageOf([&] { device.EndDoc(); }), "Invalid method call.  Device is not printing.");
    EXPECT_EQ(MessageOf([&] { device.NewPageSelect(true); }),
              "Invalid method call.  Device is not printing.");
    device.SetTitle("Schedule");
    device.BeginDocSelect();
    EXPECT_TRUE(device.Printing());
    EXPECT_FALSE(device.PageOpen());
    EXPECT_EQ(MessageOf([&] { device.BeginDocSelect(); }), "Invalid method call.  Device already printing.");
    EXPECT_EQ(MessageOf([&] { device.SetCopies(2); }), "Invalid method call.  Device already printing.");
    device.NewPageSelect(false);
    EXPECT_FALSE(device.PageOpen());
    device.NewPageSelect(true);
    EXPECT_TRUE(device.PageOpen());
    device.Canvas().TextOut(100, 100, "page");
    device.RawOut("\x1b"
                  "E");
    device.EndDoc();
    EXPECT_FALSE(device.Printing());
    EXPECT_GT(QFileInfo(dir.filePath("job.pdf")).size(), 0);
    EXPECT_EQ(printer.Source->RawSent, QByteArray("\x1b"
                                                  "E"));
}

TEST(FoDevicePrinterTest, AbortEndsTheJobWithoutRawData) {
    QTemporaryDir dir;
    auto printer = MakePrinter();
    printer.Source->PdfPath = dir.filePath("aborted.pdf");
    printer.Device->BeginDoc();
    EXPECT_TRUE(printer.Device->PageOpen());
    printer.Device->RawOut("raw");
    printer.Device->Abort();
    EXPECT_FALSE(printer.Device->Printing());
    EXPECT_FALSE(printer.Device->Aborted());
    EXPECT_TRUE(printer.Source->RawSent.isEmpty());
}

TEST(FoDevicePrinterTest, SettingsRecordReachesTheQtPrinter) {
    TFoDevMode devMode;
    devMode.Orientation = 2;
    devMode.PaperSize = 5;
    devMode.Copies = 3;
    devMode.Collate = 1;
    devMode.Duplex = 2;
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    ApplyDevModeToPrinter(devMode, printer);
    EXPECT_EQ(printer.pageLayout().orientation(), QPageLayout::Landscape);
    EXPECT_EQ(printer.pageLayout().pageSize().id(), QPageSize::Legal);
    EXPECT_EQ(printer.copyCount(), 3);
    EXPECT_EQ(PaperNumberForSize(210 / 25.4, 297 / 25.4), 9);
}

} // namespace
