#include "report/devices/FoQtPrinterSource.h"

#include <QFontDatabase>
#include <QPageSize>
#include <QPrinter>
#include <QPrinterInfo>
#include <QProcess>

#include <cmath>
#include <optional>

namespace fiscora {

namespace {
constexpr double kSizeTolerance = 0.02; // inches

// CUPS does not expose ports; every queue prints through the spooler.
const QString kCupsPort = QStringLiteral("CUPS");

QPrinterInfo InfoFor(const TFoDeviceItem &item) {
    return QPrinterInfo::printerInfo(item.DeviceName);
}

int PaperNumber(const QPageSize &size, int fallback) {
    const QSizeF inches = size.size(QPageSize::Inch);
    const int number = PaperNumberForSize(inches.width(), inches.height());
    return number != 0 ? number : fallback;
}

// Standard papers by their number. A size alone is ambiguous (US Letter and ANSI A are both 8.5 by 11
// inches), and a printer knows its papers by their standard name.
std::optional<QPageSize::PageSizeId> StandardPageSize(int number) {
    switch (number) {
    case 1:
    case 2:
        return QPageSize::Letter;
    case 3:
        return QPageSize::Tabloid;
    case 4:
        return QPageSize::Ledger;
    case 5:
        return QPageSize::Legal;
    case 7:
        return QPageSize::Executive;
    case 8:
        return QPageSize::A3;
    case 9:
    case 10:
        return QPageSize::A4;
    case 11:
        return QPageSize::A5;
    case 20:
        return QPageSize::Envelope10;
    case 27:
        return QPageSize::EnvelopeDL;
    case 28:
        return QPageSize::EnvelopeC5;
    default:
        return std::nullopt;
    }
}

std::int16_t TenthsOfMillimetre(double millimetres) {
    return std::int16_t(std::lround(millimetres * 10.0));
}
} // namespace

int PaperNumberForSize(double widthInches, double heightInches) {
    for (const TFoPaperInfo &paper : TFoBaseDevice::PaperTable())
        if (paper.Width > 0 && std::abs(paper.Width - widthInches) < kSizeTolerance &&
            std::abs(paper.Height - heightInches) < kSizeTolerance)
            return paper.Number;
    return 0;
}

void ApplyPageLayoutToPrinter(const TFoDevMode &devMode, QPrinter &printer) {
    QPageSize pageSize;
    if (devMode.PaperSize == 256 && devMode.PaperWidth > 0 && devMode.PaperLength > 0) {
        pageSize = QPageSize(QSizeF(devMode.PaperWidth / 10.0, devMode.PaperLength / 10.0),
                             QPageSize::Millimeter, QString(), QPageSize::ExactMatch);
    } else if (const auto standard = StandardPageSize(devMode.PaperSize)) {
        pageSize = QPageSize(*standard);
    } else {
        double width = 8.5, height = 11.0;
        TFoBaseDevice::PaperSizeInches(devMode.PaperSize, width, height);
        pageSize = QPageSize(QSizeF(width, height), QPageSize::Inch);
    }
    printer.setPageSize(pageSize);
    printer.setPageOrientation(devMode.Orientation == 2 ? QPageLayout::Landscape : QPageLayout::Portrait);
}

void ApplyDevModeToPrinter(const TFoDevMode &devMode, QPrinter &printer) {
    ApplyPageLayoutToPrinter(devMode, printer);
    printer.setCopyCount(std::max<int>(1, devMode.Copies));
    printer.setCollateCopies(devMode.Collate == 1);
    switch (devMode.Duplex) {
    case 2:
        printer.setDuplex(QPrinter::DuplexLongSide);
        break;
    case 3:
        printer.setDuplex(QPrinter::DuplexShortSide);
        break;
    default:
        printer.setDuplex(QPrinter::DuplexNone);
        break;
    }
}

std::vector<TFoDeviceItem> TFoQtPrinterSource::Printers() {
    std::vector<TFoDeviceItem> items;
    for (const QPrinterInfo &info : QPrinterInfo::availablePrinters())
        items.push_back({info.printerName(), info.makeAndModel(), kCupsPort});
    return items;
}

QString TFoQtPrinterSource::DefaultPrinter() {
    const QPrinterInfo info = QPrinterInfo::defaultPrinter();
    if (info.isNull())
        return {};
    return info.printerName() + QLatin1Char(',') + info.makeAndModel() + QLatin1Char(',') + kCupsPort;
}

std::optional<TFoDevMode> TFoQtPrinterSource::OpenDevMode(const TFoDeviceItem &item) {
    const QPrinterInfo info = InfoFor(item);
    if (info.isNull())
        return std::nullopt;
    TFoDevMode devMode;
    devMode.Fields = TFoDevMode::DM_ORIENTATION | TFoDevMode::DM_PAPERSIZE | TFoDevMode::DM_PAPERLENGTH |
                     TFoDevMode::DM_PAPERWIDTH | TFoDevMode::DM_COPIES | TFoDevMode::DM_COLLATE;
    if (info.supportedDuplexModes().size() > 1)
        devMode.Fields |= TFoDevMode::DM_DUPLEX;
    const QPageSize size = info.defaultPageSize();
    devMode.PaperSize = std::int16_t(PaperNumber(size, 1));
    const QSizeF millimetres = size.size(QPageSize::Millimeter);
    if (PaperNumber(size, 0) == 0) {
        devMode.PaperSize = 256;
        devMode.PaperWidth = TenthsOfMillimetre(millimetres.width());
        devMode.PaperLength = TenthsOfMillimetre(millimetres.height());
    }
    switch (info.defaultDuplexMode()) {
    case QPrinter::DuplexLongSide:
        devMode.Duplex = 2;
        break;
    case QPrinter::DuplexShortSide:
        devMode.Duplex = 3;
        break;
    default:
        devMode.Duplex = 1;
        break;
    }
    return devMode;
}

TFoPrinterCaps TFoQtPrinterSource::Capabilities(const TFoDeviceItem &item, const TFoDevMode &devMode) {
    TFoPrinterCaps caps;
    const QPrinterInfo info = InfoFor(item);
    if (info.isNull())
        return caps;
    QPrinter printer(info, QPrinter::HighResolution);
    ApplyDevModeToPrinter(devMode, printer);
    caps.XDPI = printer.resolution();
    caps.YDPI = printer.resolution();
    const QRectF paper = printer.paperRect(QPrinter::DevicePixel);
    const QRectF page = printer.pageRect(QPrinter::DevicePixel);
    caps.PhysicalSize = paper.size().toSize();
    caps.PrintableSize = page.size().toSize();
    caps.PhysicalOffset = (page.topLeft() - paper.topLeft()).toPoint();
    int extra = 1000;
    for (const QPageSize &size : info.supportedPageSizes())
        caps.Papers.push_back({size.name(), PaperNumber(size, extra++)});
    caps.MaxCopies = 9999;
    if (info.supportsCustomPageSizes()) {
        const QSizeF minimum = info.minimumPhysicalPageSize().size(QPageSize::Millimeter);
        const QSizeF maximum = info.maximumPhysicalPageSize().size(QPageSize::Millimeter);
        caps.CustomMinimum =
            QSize(int(std::lround(minimum.width() * 10)), int(std::lround(minimum.height() * 10)));
        caps.CustomMaximum =
            QSize(int(std::lround(maximum.width() * 10)), int(std::lround(maximum.height() * 10)));
    }
    return caps;
}

QStringList TFoQtPrinterSource::Fonts(const TFoDeviceItem &) {
    return QFontDatabase::families();
}

bool TFoQtPrinterSource::SendRaw(const TFoDeviceItem &item, const QString &title, const QByteArray &data) {
    QProcess lp;
    lp.start(QStringLiteral("lp"), {QStringLiteral("-d"), item.DeviceName, QStringLiteral("-o"),
                                    QStringLiteral("raw"), QStringLiteral("-t"), title});
    if (!lp.waitForStarted(5000))
        return false;
    lp.write(data);
    lp.closeWriteChannel();
    if (!lp.waitForFinished(30000)) {
        lp.kill();
        lp.waitForFinished(1000);
        return false;
    }
    return lp.exitStatus() == QProcess::NormalExit && lp.exitCode() == 0;
}

std::unique_ptr<QPrinter> TFoQtPrinterSource::CreatePrinter(const TFoDeviceItem &item) {
    return std::make_unique<QPrinter>(QPrinterInfo::printerInfo(item.DeviceName), QPrinter::HighResolution);
}

} // namespace fiscora
