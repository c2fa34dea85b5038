#pragma once

#include <QDialog>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QStackedWidget;
class QToolButton;

namespace fiscora {

class TFoPrinterDevice;
class TFoRenderPrinter;
class TFoSystem;

// The Output Options dialog. In destination mode the report system shows it before a report runs:
// printer, preview or a file in one of the formats, and the printer options. Print-range mode (for
// printing from the preview) shows the page range instead of the destination.
class TFoSetupForm : public QDialog {
    Q_OBJECT
public:
    TFoSetupForm(TFoSystem &ReportSystem, QWidget *parent = nullptr);
    ~TFoSetupForm() override;

    TFoSystem &ReportSystem;
    TFoPrinterDevice *Printer; // the process's printer unless a test gives another
    bool PreviewSetup = false;
    // The printer renderer whose range and options print-range mode sets (not owned).
    TFoRenderPrinter *FilePrinter = nullptr;

    QPushButton *bbtnOK;
    QPushButton *CancelBB;
    QPushButton *SetupBB;
    QGroupBox *GroupBox1;
    QLabel *PrinterLabel;
    QLabel *NoPrinterLabel; // shown in print-range mode when there is no printer
    QGroupBox *GroupBox2;
    QLabel *CopiesLabel;
    QLineEdit *CopiesED;
    QCheckBox *CollateCK;
    QCheckBox *DuplexCK;
    QStackedWidget *PageControl1;
    QGroupBox *DestGB;
    QRadioButton *PrinterRB;
    QRadioButton *PreviewRB;
    QRadioButton *FileRB;
    QLineEdit *editFileName;
    QToolButton *FileNameSB;
    QLabel *Label1;
    QComboBox *cboxFormat;
    QGroupBox *RangeGB;
    QRadioButton *AllRB;
    QRadioButton *SelectionRB;
    QRadioButton *PagesRB;
    QLabel *FromLabel;
    QLineEdit *FromED;
    QLabel *ToLabel;
    QLineEdit *ToED;
    QLabel *SelectionLabel;
    QLineEdit *SelectionED;

    // The save dialog's filter, rebuilt on show: the two fixed formats, then the active renderers.
    QString SaveFilter() const { return FSaveFilter; }
    int SaveFilterIndex() const { return FSaveFilterIndex; }

    // Event handlers.
    void FormShow();
    void DestinationClick();
    void FileNameChange();
    void FileNameSBClick();
    void FormatChange();
    void RangeClick();
    void SetupBBClick();
    void bbtnOKClick();

protected:
    void showEvent(QShowEvent *event) override;

private:
    void CreateControls();
    void RebuildFormatList();
    void UpdatePrinterLabel();
    void ApplyDestination();
    void ApplyPrinterOptions();
    void ApplyPrintRange();
    bool UsablePrinter() const;
    bool IsFormatUsable(int index) const;

    QString FSaveFilter;
    int FSaveFilterIndex = 1;
};

// "%s on %s" with the selected printer's name and port, its name alone without a port, or
// "No printers installed!".
QString PrinterLabelText(TFoPrinterDevice &printer);

} // namespace fiscora
