#pragma once

#include "report/devices/FoDevice.h"

#include <QByteArray>
#include <QSize>
#include <QString>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

class QPrinter;

namespace fiscora {

// One entry of the printer list: a printer on one of its ports.
struct TFoDeviceItem {
    QString DeviceName;
    QString DriverName;
    QString Port;

    // "%s on %s" with printer name and port.
    QString DisplayName() const;
};

// What the platform reports about a printer with given settings. Pixels at the printer resolution.
struct TFoPrinterCaps {
    int XDPI = 0;
    int YDPI = 0;
    QSize PhysicalSize;  // whole sheet
    QSize PrintableSize; // printable area
    QPoint PhysicalOffset;
    TFoNamedNumberList Bins;
    TFoNamedNumberList Papers;
    int MaxCopies = 1;
    QSize CustomMinimum; // tenths of a millimetre; empty when custom sizes are not supported
    QSize CustomMaximum;
};

// Access to the platform's printing services; the Qt/CUPS one is used unless a test hands in another.
class TFoPrinterSource {
public:
    virtual ~TFoPrinterSource() = default;
    // Installed printers, one entry per printer and port.
    virtual std::vector<TFoDeviceItem> Printers() = 0;
    // The user's default printer as "name,driver,port"; empty when there is none.
    virtual QString DefaultPrinter() = 0;
    // The printer's settings record; nullopt when the driver refuses it.
    virtual std::optional<TFoDevMode> OpenDevMode(const TFoDeviceItem &item) = 0;
    virtual TFoPrinterCaps Capabilities(const TFoDeviceItem &item, const TFoDevMode &devMode) = 0;
    virtual QStringList Fonts(const TFoDeviceItem &item) = 0;
    // Sends bytes to the printer untouched as a job of its own; false when that is not possible.
    virtual bool SendRaw(const TFoDeviceItem &item, const QString &title, const QByteArray &data) = 0;
    // The Qt printer a job on this printer draws on.
    virtual std::unique_ptr<QPrinter> CreatePrinter(const TFoDeviceItem &item) = 0;
};

// The page range choice and options of the print dialog.
struct TPrintDialogRec {
    enum TPrintRange : std::uint8_t { prAllPages, prSelection, prPageNums };
    static constexpr std::uint32_t poPrintToFile = 1;
    static constexpr std::uint32_t poPageNums = 2;
    static constexpr std::uint32_t poSelection = 4;
    static constexpr std::uint32_t poWarning = 8;
    static constexpr std::uint32_t poHelp = 16;
    static constexpr std::uint32_t poDisablePrintToFile = 32;

    TPrintRange PrintRange = prAllPages;
    int FromPage = 1;
    int ToPage = 1;
    int MinPage = 1;
    int MaxPage = 1;
    int Copies = 1;
    bool Collate = false;
    bool PrintToFile = false;
    std::uint32_t Options = 0;
};

// Whether Copies copies are printed as that many passes of one copy: whenever the printer cannot
// make them all itself, since a printer asked for more than it can make would print only one.
bool PrintsCopiesAsPasses(int Copies, int MaxCopies);

// The system printer. One instance serves the whole process (Instance()); tests may build their
// own over a fake printer source. Without any printer the device is invalid: setters are ignored,
// MaxCopies answers 1 and resolutions default to 100.
class TFoPrinterDevice : public TFoBaseDevice {
public:
    enum class TDeviceState : std::uint8_t { dsClosed, dsInformation, dsPrinting };

    static TFoPrinterDevice &Instance();
    // Makes another device the process's printer (a fake one, for tests) and returns the one it
    // replaces; nullptr puts the system's printer back on next use. Only while no job runs.
    static std::unique_ptr<TFoPrinterDevice> ReplaceInstance(std::unique_ptr<TFoPrinterDevice> device);

    explicit TFoPrinterDevice(std::unique_ptr<TFoPrinterSource> source);
    ~TFoPrinterDevice() override;

    // Output Options choices.
    bool FIgnoreSnapshotOrientation = false;
    bool FSetupOrientation = false;
    bool FIgnoreSnapshotBin = false;
    int FSetupBin = 0; // the bin chosen in the printer setup, used when FIgnoreSnapshotBin

    // Keep the settings record a dialog returned instead of reading the driver's.
    bool KeepDevMode = false;
    // Called after every page started.
    std::function<void()> OnPage;

    // ---- Slot operations ----
    TFoCanvas &Canvas() override;
    int XDPI() override;
    int YDPI() override;
    TFoWasteMargins WasteMargins() override;
    void SetBin(int number) override;
    // The bin for the pages to come, applied at the next settings reset rather than at once.
    void SetPendingBin(int number);
    int Bin() override;
    const TFoNamedNumberList &Bins() override;
    const TFoNamedNumberList &Papers() override;
    QStringList Fonts() override;
    QStringList Printers() override;
    TOrientation Orientation() override;
    void SetOrientation(TOrientation value) override;
    int MaxCopies() override;
    void SetCopies(int value) override;
    int Copies() override;
    void SetDuplex(TDuplex value) override;
    TDuplex Duplex() override;
    void SetCollate(bool value) override;
    bool Collate() override;
    int PageHeight() override;
    int PageWidth() override;
    int TextWidth(const QString &text) override;
    void RawOut(const QByteArray &data) override;
    void BeginDoc() override;
    void BeginDocSelect() override;
    void EndDoc() override;
    void Abort() override;
    void NewPage() override;
    void NewPageSelect(bool valid) override;
    bool SelectPaper(const QString &name, bool exact = false) override;
    bool GetCustomExtents(QSize &minimum, QSize &maximum) override;
    bool SetPaperSize(int number, int width, int length) override;
    bool SupportBin() override;
    bool SupportPaper() override;
    bool SupportOrientation() override;
    bool SupportDuplex() override;
    bool SupportCollate() override;

    bool InvalidPrinter() override;
    QString DeviceName() override;
    QString DriverName() override;
    QString Port() override;
    const TFoDevMode *DevMode() override;

    // ---- Printer selection and settings ----
    const std::vector<TFoDeviceItem> &PrinterList();
    int DeviceIndex();
    void SetDeviceIndex(int index);
    bool SelectPrinter(const QString &name, bool exact = false);
    // Replaces the settings record (e.g. with the one a dialog returned).
    void SetDevMode(const TFoDevMode &devMode);
    const QString &OutputFile() const { return FOutputFile; }
    void SetOutputFile(const QString &name);
    // Applies pending settings changes to the platform printer.
    void ResetHandle();
    TDeviceState DeviceState() const { return FDeviceState; }
    // Whether a page of the running job is open.
    bool PageOpen() const { return FPageOpen; }

    // ---- Dialogs: shown by the output library's handlers, false while none are installed ----
    struct TDialogs {
        std::function<bool(TFoPrinterDevice &device, TPrintDialogRec &record)> PrintDialog;
        std::function<bool(TFoPrinterDevice &device)> PrinterSetupDialog;
    };
    static TDialogs &Dialogs();
    bool PrintDialog(TPrintDialogRec &record);
    bool PrinterSetupDialog();
    bool SimplePrintDialog(int &firstPage, int &lastPage);
    // Exchange the selected printer and its settings with a Qt printer object.
    void LoadFromPrinter(const QPrinter &printer);
    void SaveToPrinter(QPrinter &printer);

private:
    void CheckNotPrinting() const;
    void EnsureSelected();
    void SelectIndex(int index);
    // Marks the record changed and sets the field's presence bit; false when there is no record.
    bool ChangeDevMode(std::uint32_t field);
    const TFoPrinterCaps &Caps();
    void EnterInformationState();
    void ApplySettings(QPrinter &printer) const;
    void StartPage();
    void EndJob(bool aborted);

    std::unique_ptr<TFoPrinterSource> FSource;
    std::vector<TFoDeviceItem> FPrinterList;
    bool FListBuilt = false;
    int FDeviceIndex = -2;
    std::optional<TFoDevMode> FDevMode;
    bool FDevModeChanged = false;
    std::optional<TFoPrinterCaps> FCaps;
    TDeviceState FDeviceState = TDeviceState::dsClosed;
    QString FOutputFile;
    std::unique_ptr<QPrinter> FPrinter;
    std::unique_ptr<TFoCanvas> FCanvas;
    std::unique_ptr<class QImage> FInfoSurface;
    bool FPageOpen = false;
    bool FPageStarted = false;
    QByteArray FRawData;
};

} // namespace fiscora
