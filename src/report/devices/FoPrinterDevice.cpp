#include "report/devices/FoPrinterDevice.h"

#include "report/core/FoErrors.h"
#include "report/devices/FoQtPrinterSource.h"

#include <QCoreApplication>
#include <QImage>
#include <QPainter>
#include <QPrinter>

#include <algorithm>
#include <cmath>

namespace fiscora {

namespace {
constexpr int kDefaultResolution = 100;

std::unique_ptr<TFoPrinterDevice> &InstanceHolder() {
    static std::unique_ptr<TFoPrinterDevice> instance;
    return instance;
}

bool NameMatches(const QString &candidate, const QString &name, bool exact) {
    return exact ? candidate == name : candidate.contains(name, Qt::CaseInsensitive);
}
} // namespace

QString TFoDeviceItem::DisplayName() const {
    return QStringLiteral("%1 on %2").arg(DeviceName, Port);
}

TFoPrinterDevice &TFoPrinterDevice::Instance() {
    auto &instance = InstanceHolder();
    if (!instance) {
        instance = std::make_unique<TFoPrinterDevice>(std::make_unique<TFoQtPrinterSource>());
        // Freed with the application object, before Qt's printing support goes away.
        if (QCoreApplication::instance())
            qAddPostRoutine([] { InstanceHolder().reset(); });
    }
    return *instance;
}

std::unique_ptr<TFoPrinterDevice>
TFoPrinterDevice::ReplaceInstance(std::unique_ptr<TFoPrinterDevice> device) {
    std::swap(InstanceHolder(), device);
    return device;
}

TFoPrinterDevice::TFoPrinterDevice(std::unique_ptr<TFoPrinterSource> source)
    : FSource(std::move(source)), FCanvas(std::make_unique<TFoCanvas>()) {}

TFoPrinterDevice::~TFoPrinterDevice() {
    if (FPrinting) {
        try {
            EndJob(true);
        } catch (...) {
            // Nothing sensible is left to do with a failing job while shutting down.
        }
    }
    FCanvas->SetDevice(nullptr);
}

void TFoPrinterDevice::CheckNotPrinting() const {
    if (FPrinting)
        throw EFolioReport(kMsgDeviceAlreadyPrinting);
}

// ---- Printer selection ----------------------------------------------------------------------

const std::vector<TFoDeviceItem> &TFoPrinterDevice::PrinterList() {
    if (!FListBuilt) {
        FPrinterList = FSource->Printers();
        FListBuilt = true;
    }
    return FPrinterList;
}

QStringList TFoPrinterDevice::Printers() {
    QStringList names;
    for (const TFoDeviceItem &item : PrinterList())
        names << item.DisplayName();
    return names;
}

void TFoPrinterDevice::EnsureSelected() {
    if (FDeviceIndex != -2)
        return;
    const auto &list = PrinterList();
    if (list.empty()) {
        FDeviceIndex = -1;
        return;
    }
    int chosen = int(list.size()) - 1;
    const QStringList parts = FSource->DefaultPrinter().split(QLatin1Char(','));
    if (!parts.isEmpty() && !parts[0].trimmed().isEmpty()) {
        const QString name = parts[0].trimmed();
        const QString port = parts.size() > 2 ? parts[2].trimmed() : QString();
        for (std::size_t i = 0; i < list.size(); ++i) {
            if (list[i].DeviceName.compare(name, Qt::CaseInsensitive) == 0 &&
                (port.isEmpty() || list[i].Port.compare(port, Qt::CaseInsensitive) == 0)) {
                chosen = int(i);
                break;
            }
        }
    }
    SelectIndex(chosen);
}

void TFoPrinterDevice::SelectIndex(int index) {
    const auto &list = PrinterList();
    if (index < 0 || index >= int(list.size()))
        return;
    FDeviceIndex = index;
    if (!KeepDevMode)
        FDevMode = FSource->OpenDevMode(list[std::size_t(index)]);
    KeepDevMode = false;
    FDevModeChanged = false;
    FCaps.reset();
    FDeviceState = TDeviceState::dsClosed;
}

int TFoPrinterDevice::DeviceIndex() {
    EnsureSelected();
    return FDeviceIndex;
}

void TFoPrinterDevice::SetDeviceIndex(int index) {
    CheckNotPrinting();
    EnsureSelected();
    SelectIndex(index);
}

bool TFoPrinterDevice::SelectPrinter(const QString &name, bool exact) {
    CheckNotPrinting();
    const auto &list = PrinterList();
    const QString upper = name.toUpper();
    const bool withPort = name.contains(QLatin1String(" on "));
    for (std::size_t i = 0; i < list.size(); ++i) {
        const bool match = (!exact || withPort) ? list[i].DisplayName().toUpper().contains(upper)
                                                : list[i].DeviceName == name;
        if (match) {
            EnsureSelected();
            SelectIndex(int(i));
            return true;
        }
    }
    return false;
}

bool TFoPrinterDevice::InvalidPrinter() {
    EnsureSelected();
    return FDeviceIndex < 0;
}

QString TFoPrinterDevice::DeviceName() {
    EnsureSelected();
    return FDeviceIndex >= 0 ? FPrinterList[std::size_t(FDeviceIndex)].DeviceName : QString();
}

QString TFoPrinterDevice::DriverName() {
    EnsureSelected();
    return FDeviceIndex >= 0 ? FPrinterList[std::size_t(FDeviceIndex)].DriverName : QString();
}

QString TFoPrinterDevice::Port() {
    EnsureSelected();
    return FDeviceIndex >= 0 ? FPrinterList[std::size_t(FDeviceIndex)].Port : QString();
}

const TFoDevMode *TFoPrinterDevice::DevMode() {
    EnsureSelected();
    return FDevMode ? &*FDevMode : nullptr;
}

void TFoPrinterDevice::SetDevMode(const TFoDevMode &devMode) {
    EnsureSelected();
    if (FDeviceIndex < 0)
        return;
    FDevMode = devMode;
    FDevModeChanged = true;
    FCaps.reset();
}

// ---- Settings -------------------------------------------------------------------------------

bool TFoPrinterDevice::ChangeDevMode(std::uint32_t field) {
    EnsureSelected();
    if (!FDevMode)
        return false;
    FDevMode->Fields |= field;
    FDevModeChanged = true;
    FCaps.reset();
    return true;
}

const TFoPrinterCaps &TFoPrinterDevice::Caps() {
    EnsureSelected();
    if (!FCaps) {
        if (FDeviceIndex >= 0 && FDevMode)
            FCaps = FSource->Capabilities(FPrinterList[std::size_t(FDeviceIndex)], *FDevMode);
        else
            FCaps = TFoPrinterCaps{};
    }
    return *FCaps;
}

int TFoPrinterDevice::XDPI() {
    const int dpi = InvalidPrinter() ? 0 : Caps().XDPI;
    return dpi > 0 ? dpi : kDefaultResolution;
}

int TFoPrinterDevice::YDPI() {
    const int dpi = InvalidPrinter() ? 0 : Caps().YDPI;
    return dpi > 0 ? dpi : kDefaultResolution;
}

TFoWasteMargins TFoPrinterDevice::WasteMargins() {
    if (InvalidPrinter())
        return {};
    const TFoPrinterCaps &caps = Caps();
    TFoWasteMargins waste;
    waste.Left = caps.PhysicalOffset.x();
    waste.Top = caps.PhysicalOffset.y();
    waste.Right = caps.PhysicalSize.width() - waste.Left - caps.PrintableSize.width();
    waste.Bottom = caps.PhysicalSize.height() - waste.Top - caps.PrintableSize.height();
    return waste;
}

int TFoPrinterDevice::PageWidth() {
    return InvalidPrinter() ? 0 : Caps().PrintableSize.width();
}
int TFoPrinterDevice::PageHeight() {
    return InvalidPrinter() ? 0 : Caps().PrintableSize.height();
}

void TFoPrinterDevice::SetBin(int number) {
    if (ChangeDevMode(TFoDevMode::DM_DEFAULTSOURCE))
        FDevMode->DefaultSource = std::int16_t(number);
}

void TFoPrinterDevice::SetPendingBin(int number) {
    EnsureSelected();
    if (FDevMode)
        FDevMode->DefaultSource = std::int16_t(number);
}

int TFoPrinterDevice::Bin() {
    EnsureSelected();
    return FDevMode ? FDevMode->DefaultSource : 0;
}

const TFoNamedNumberList &TFoPrinterDevice::Bins() {
    return InvalidPrinter() ? FEmptyList : Caps().Bins;
}

const TFoNamedNumberList &TFoPrinterDevice::Papers() {
    return InvalidPrinter() ? FEmptyList : Caps().Papers;
}

QStringList TFoPrinterDevice::Fonts() {
    if (InvalidPrinter())
        return {};
    return FSource->Fonts(FPrinterList[std::size_t(FDeviceIndex)]);
}

TOrientation TFoPrinterDevice::Orientation() {
    EnsureSelected();
    return FDevMode && FDevMode->Orientation == 2 ? TOrientation::poLandScape : TOrientation::poPortrait;
}

void TFoPrinterDevice::SetOrientation(TOrientation value) {
    if (value == TOrientation::poDefault)
        return;
    if (ChangeDevMode(TFoDevMode::DM_ORIENTATION))
        FDevMode->Orientation = std::int16_t(int(value) + 1);
}

bool PrintsCopiesAsPasses(int Copies, int MaxCopies) {
    return Copies >= 2 && Copies > MaxCopies;
}

int TFoPrinterDevice::MaxCopies() {
    return InvalidPrinter() ? 1 : std::max(1, Caps().MaxCopies);
}

void TFoPrinterDevice::SetCopies(int value) {
    CheckNotPrinting();
    if (value < 1 || value > MaxCopies())
        return;
    if (ChangeDevMode(TFoDevMode::DM_COPIES))
        FDevMode->Copies = std::int16_t(value);
}

int TFoPrinterDevice::Copies() {
    EnsureSelected();
    return FDevMode && FDevMode->Copies > 0 ? FDevMode->Copies : 1;
}

void TFoPrinterDevice::SetDuplex(TDuplex value) {
    CheckNotPrinting();
    if (!SupportDuplex())
        return;
    if (ChangeDevMode(TFoDevMode::DM_DUPLEX))
        FDevMode->Duplex = std::int16_t(int(value) + 1);
}

TDuplex TFoPrinterDevice::Duplex() {
    EnsureSelected();
    if (!FDevMode || FDevMode->Duplex < 1 || FDevMode->Duplex > 3)
        return TDuplex::dupSimplex;
    return TDuplex(FDevMode->Duplex - 1);
}

void TFoPrinterDevice::SetCollate(bool value) {
    CheckNotPrinting();
    if (!SupportCollate())
        return;
    if (ChangeDevMode(TFoDevMode::DM_COLLATE))
        FDevMode->Collate = value ? 1 : 0;
}

bool TFoPrinterDevice::Collate() {
    EnsureSelected();
    return FDevMode && FDevMode->Collate == 1;
}

bool TFoPrinterDevice::GetCustomExtents(QSize &minimum, QSize &maximum) {
    if (InvalidPrinter())
        return false;
    const TFoPrinterCaps &caps = Caps();
    minimum = caps.CustomMinimum;
    maximum = caps.CustomMaximum;
    return !caps.CustomMaximum.isEmpty();
}

bool TFoPrinterDevice::SetPaperSize(int number, int width, int length) {
    CheckNotPrinting();
    EnsureSelected();
    if (!FDevMode)
        return false;
    if (width != 0 && length != 0) {
        if (FDevMode->PaperSize == 256 && FDevMode->PaperWidth == width && FDevMode->PaperLength == length)
            return true;
        QSize minimum, maximum;
        if (!GetCustomExtents(minimum, maximum) || width < minimum.width() || length < minimum.height() ||
            width > maximum.width() || length > maximum.height())
            return false;
        ChangeDevMode(TFoDevMode::DM_PAPERSIZE | TFoDevMode::DM_PAPERWIDTH | TFoDevMode::DM_PAPERLENGTH);
        FDevMode->PaperSize = 256;
        FDevMode->PaperWidth = std::int16_t(width);
        FDevMode->PaperLength = std::int16_t(length);
        return true;
    }
    const auto &papers = Papers();
    const bool listed = std::any_of(papers.begin(), papers.end(),
                                    [number](const TFoNamedNumber &paper) { return paper.Number == number; });
    if (!listed)
        return false;
    if (FDevMode->PaperSize == number && FDevMode->PaperWidth == 0 && FDevMode->PaperLength == 0)
        return true;
    ChangeDevMode(TFoDevMode::DM_PAPERSIZE | TFoDevMode::DM_PAPERWIDTH | TFoDevMode::DM_PAPERLENGTH);
    FDevMode->PaperSize = std::int16_t(number);
    FDevMode->PaperWidth = 0;
    FDevMode->PaperLength = 0;
    return true;
}

bool TFoPrinterDevice::SelectPaper(const QString &name, bool exact) {
    CheckNotPrinting();
    EnsureSelected();
    for (const TFoNamedNumber &paper : Papers()) {
        if (NameMatches(paper.Name, name, exact)) {
            if (FDevMode && FDevMode->PaperSize != paper.Number)
                SetPaperSize(paper.Number, 0, 0);
            return true;
        }
    }
    return false;
}

bool TFoPrinterDevice::SupportBin() {
    return DevMode() && (DevMode()->Fields & TFoDevMode::DM_DEFAULTSOURCE);
}
bool TFoPrinterDevice::SupportPaper() {
    return DevMode() && (DevMode()->Fields & TFoDevMode::DM_PAPERSIZE);
}
bool TFoPrinterDevice::SupportOrientation() {
    return DevMode() && (DevMode()->Fields & TFoDevMode::DM_ORIENTATION);
}
bool TFoPrinterDevice::SupportDuplex() {
    return DevMode() && (DevMode()->Fields & TFoDevMode::DM_DUPLEX);
}
bool TFoPrinterDevice::SupportCollate() {
    return DevMode() && (DevMode()->Fields & TFoDevMode::DM_COLLATE);
}

void TFoPrinterDevice::SetOutputFile(const QString &name) {
    CheckNotPrinting();
    FOutputFile = name;
}

// ---- Drawing context and jobs ---------------------------------------------------------------

void TFoPrinterDevice::EnterInformationState() {
    if (FDeviceState != TDeviceState::dsClosed)
        return;
    // A small surface at the printer's resolution, so fonts measure as they will print.
    FInfoSurface = std::make_unique<QImage>(16, 16, QImage::Format_RGB32);
    const int dotsPerMetre = int(std::lround(YDPI() / 0.0254));
    FInfoSurface->setDotsPerMeterX(dotsPerMetre);
    FInfoSurface->setDotsPerMeterY(dotsPerMetre);
    FCanvas->SetDevice(FInfoSurface.get());
    FCanvas->SetDPI(YDPI());
    FDeviceState = TDeviceState::dsInformation;
}

TFoCanvas &TFoPrinterDevice::Canvas() {
    if (!FPrinting)
        EnterInformationState();
    return *FCanvas;
}

int TFoPrinterDevice::TextWidth(const QString &text) {
    return std::max(1, Canvas().TextWidth(text));
}

void TFoPrinterDevice::ResetHandle() {
    if (FDevModeChanged && FPrinter && FDevMode) {
        // A running job can change its pages only; copies and the like belong to the whole job.
        if (FPrinting)
            ApplyPageLayoutToPrinter(*FDevMode, *FPrinter);
        else
            ApplyDevModeToPrinter(*FDevMode, *FPrinter);
        FDevModeChanged = false;
    }
}

void TFoPrinterDevice::BeginDocSelect() {
    CheckNotPrinting();
    if (InvalidPrinter())
        return;
    FCanvas->SetDevice(nullptr);
    FInfoSurface.reset();
    FPrinter = FSource->CreatePrinter(FPrinterList[std::size_t(FDeviceIndex)]);
    if (FDevMode)
        ApplyDevModeToPrinter(*FDevMode, *FPrinter);
    FDevModeChanged = false;
    FPrinter->setDocName(FTitle);
    if (!FOutputFile.isEmpty())
        FPrinter->setOutputFileName(FOutputFile);
    FCanvas->SetDPI(FPrinter->resolution());
    FDeviceState = TDeviceState::dsPrinting;
    FPrinting = true;
    FAborted = false;
    FPageOpen = false;
    FPageStarted = false;
    FRawData.clear();
}

void TFoPrinterDevice::StartPage() {
    if (!FPageStarted) {
        // The job really starts with its first page, so unselected leading pages leave no blank sheet.
        FCanvas->SetDevice(FPrinter.get());
        if (!FCanvas->Painter())
            throw EFolioReport(QStringLiteral("The printer %1 could not be opened.").arg(DeviceName()));
        FPageStarted = true;
    } else {
        FPrinter->newPage();
    }
    FPageOpen = true;
    if (OnPage)
        OnPage();
}

void TFoPrinterDevice::BeginDoc() {
    BeginDocSelect();
    if (FPrinting)
        StartPage();
}

void TFoPrinterDevice::NewPageSelect(bool valid) {
    if (!FPrinting)
        throw EFolioReport(kMsgDeviceNotPrinting);
    FPageOpen = false;
    ResetHandle();
    if (valid)
        StartPage();
}

void TFoPrinterDevice::NewPage() {
    NewPageSelect(true);
}

void TFoPrinterDevice::RawOut(const QByteArray &data) {
    // Qt cannot put raw bytes into a painted job; they are spooled as a raw job of the same title.
    if (FPrinting)
        FRawData += data;
}

void TFoPrinterDevice::EndJob(bool aborted) {
    if (aborted && FPrinter && FPageStarted)
        FPrinter->abort();
    FCanvas->EndPaint();
    FCanvas->SetDevice(nullptr);
    const QByteArray raw = std::exchange(FRawData, QByteArray());
    FPrinter.reset();
    FPrinting = false;
    FAborted = false;
    FPageOpen = false;
    FOutputFile.clear();
    FDeviceState = TDeviceState::dsClosed;
    if (!aborted && !raw.isEmpty() && FDeviceIndex >= 0 &&
        !FSource->SendRaw(FPrinterList[std::size_t(FDeviceIndex)], FTitle, raw))
        throw EFolioReport(
            QStringLiteral("Raw printer data could not be sent to the printer %1.").arg(DeviceName()));
}

void TFoPrinterDevice::EndDoc() {
    if (!FPrinting)
        throw EFolioReport(kMsgDeviceNotPrinting);
    EndJob(FAborted);
}

void TFoPrinterDevice::Abort() {
    if (!FPrinting)
        throw EFolioReport(kMsgDeviceNotPrinting);
    FAborted = true;
    EndDoc();
}

void TFoPrinterDevice::LoadFromPrinter(const QPrinter &printer) {
    const auto &list = PrinterList();
    for (std::size_t i = 0; i < list.size(); ++i) {
        if (list[i].DeviceName == printer.printerName()) {
            EnsureSelected();
            SelectIndex(int(i));
            break;
        }
    }
    if (!FDevMode)
        return;
    TFoDevMode devMode = *FDevMode;
    devMode.Orientation = printer.pageLayout().orientation() == QPageLayout::Landscape ? 2 : 1;
    const QSizeF inches = printer.pageLayout().pageSize().size(QPageSize::Inch);
    const int number = PaperNumberForSize(inches.width(), inches.height());
    if (number != 0) {
        devMode.PaperSize = std::int16_t(number);
        devMode.PaperWidth = devMode.PaperLength = 0;
    } else {
        const QSizeF mm = printer.pageLayout().pageSize().size(QPageSize::Millimeter);
        devMode.PaperSize = 256;
        devMode.PaperWidth = std::int16_t(std::lround(mm.width() * 10));
        devMode.PaperLength = std::int16_t(std::lround(mm.height() * 10));
    }
    devMode.Copies = std::int16_t(std::max(1, printer.copyCount()));
    devMode.Collate = printer.collateCopies() ? 1 : 0;
    devMode.Duplex = printer.duplex() == QPrinter::DuplexLongSide    ? 2
                     : printer.duplex() == QPrinter::DuplexShortSide ? 3
                                                                     : 1;
    SetDevMode(devMode);
    KeepDevMode = true;
}

void TFoPrinterDevice::SaveToPrinter(QPrinter &printer) {
    if (InvalidPrinter())
        return;
    printer.setPrinterName(DeviceName());
    if (FDevMode)
        ApplyDevModeToPrinter(*FDevMode, printer);
}

// ---- Dialogs ----------------------------------------------------------------------------------------

TFoPrinterDevice::TDialogs &TFoPrinterDevice::Dialogs() {
    static TDialogs dialogs;
    return dialogs;
}

bool TFoPrinterDevice::PrintDialog(TPrintDialogRec &record) {
    const auto &show = Dialogs().PrintDialog;
    return show && !InvalidPrinter() && show(*this, record);
}

bool TFoPrinterDevice::PrinterSetupDialog() {
    const auto &show = Dialogs().PrinterSetupDialog;
    return show && !InvalidPrinter() && show(*this);
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
