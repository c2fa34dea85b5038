#include "output/dialogs/FoFormSetup.h"

#include "ToolBox.h"
#include "output/dialogs/FileDialogs.h"
#include "output/print/FoRenderPrinter.h"
#include "report/devices/FoPrinterDevice.h"
#include "report/playback/FoRender.h"
#include "report/system/FoSystem.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QStackedWidget>
#include <QStandardItemModel>
#include <QToolButton>
#include <QVBoxLayout>

namespace fiscora {

namespace {

const QString kFormatSnapshot = QStringLiteral("Folio Format (FSN)");
const QString kFormatNative = QStringLiteral("Native Printer Output");
constexpr int kNativeFormatIndex = 1; // the only format that needs a printer

QLineEdit *DigitsEdit(QWidget *parent, const QString &pattern) {
    auto *edit = new QLineEdit(parent);
    edit->setValidator(new QRegularExpressionValidator(QRegularExpression(pattern), edit));
    return edit;
}

// The name with an extension appended when it has no "." yet.
QString WithExtension(const QString &name, const QString &extension) {
    return name.contains(u'.') ? name : name + extension;
}

// Duplex checked makes a simplex setting vertical and keeps another; unchecked makes it simplex.
TDuplex CheckedDuplex(bool checked, TDuplex current) {
    if (!checked)
        return TDuplex::dupSimplex;
    return current == TDuplex::dupSimplex ? TDuplex::dupVertical : current;
}

// The copies text as a number; none when it is not a valid integer (it is then ignored).
std::optional<int> CopiesValue(const QLineEdit &edit) {
    bool ok = false;
    const int copies = edit.text().toInt(&ok);
    return ok ? std::optional<int>(copies) : std::nullopt;
}

std::vector<TFoRendererEntry> ActiveRenderers() {
    std::vector<TFoRendererEntry> renderers;
    ListRenderers(renderers);
    return renderers;
}

} // namespace

QString PrinterLabelText(TFoPrinterDevice &printer) {
    const std::vector<TFoDeviceItem> &printers = printer.PrinterList();
    const int index = printer.DeviceIndex();
    if (printers.empty() || index < 0 || index >= int(printers.size()))
        return QStringLiteral("No printers installed!");
    const TFoDeviceItem &item = printers.at(std::size_t(index));
    return item.Port.isEmpty() ? item.DeviceName : item.DisplayName();
}

TFoSetupForm::TFoSetupForm(TFoSystem &system, QWidget *parent)
    : QDialog(parent), ReportSystem(system), Printer(&TFoPrinterDevice::Instance()) {
    setObjectName(QStringLiteral("FoSetupForm"));
    setWindowTitle(QStringLiteral("Output Options"));
    CreateControls();
    // On create: no page range texts, no selection, no file name until the file destination is chosen.
    FromLabel->hide();
    FromED->hide();
    ToLabel->hide();
    ToED->hide();
    SelectionLabel->setEnabled(false);
    SelectionED->setEnabled(false);
    editFileName->setEnabled(false);
    FileNameSB->setEnabled(false);
}

TFoSetupForm::~TFoSetupForm() = default;

void TFoSetupForm::CreateControls() {
    bbtnOK = new QPushButton(QStringLiteral("   OK   "), this);
    bbtnOK->setObjectName(QStringLiteral("bbtnOK"));
    bbtnOK->setDefault(true);
    CancelBB = new QPushButton(QStringLiteral("Cancel"), this);
    CancelBB->setObjectName(QStringLiteral("CancelBB"));
    SetupBB = new QPushButton(QStringLiteral("&Setup"), this);
    SetupBB->setObjectName(QStringLiteral("SetupBB"));

    GroupBox1 = new QGroupBox(QStringLiteral("Selected Printer"), this);
    PrinterLabel = new QLabel(QStringLiteral("(none)"), GroupBox1);
    PrinterLabel->setObjectName(QStringLiteral("PrinterLabel"));
    NoPrinterLabel = new QLabel(QStringLiteral("There is no printer to print on."), GroupBox1);
    NoPrinterLabel->setObjectName(QStringLiteral("NoPrinterLabel"));
    NoPrinterLabel->hide();
    auto *printerBox = new QVBoxLayout(GroupBox1);
    printerBox->addWidget(PrinterLabel);
    printerBox->addWidget(NoPrinterLabel);

    GroupBox2 = new QGroupBox(QStringLiteral("Options"), this);
    CopiesLabel = new QLabel(QStringLiteral("&Copies"), GroupBox2);
    CopiesED = DigitsEdit(GroupBox2, QStringLiteral("[0-9]*"));
    CopiesED->setObjectName(QStringLiteral("CopiesED"));
    CopiesED->setMaximumWidth(48);
    CopiesLabel->setBuddy(CopiesED);
    CollateCK = new QCheckBox(QStringLiteral("C&ollate"), GroupBox2);
    CollateCK->setObjectName(QStringLiteral("CollateCK"));
    DuplexCK = new QCheckBox(QStringLiteral("&Duplex"), GroupBox2);
    DuplexCK->setObjectName(QStringLiteral("DuplexCK"));
    auto *options = new QGridLayout(GroupBox2);
    options->addWidget(CopiesLabel, 0, 0);
    options->addWidget(CopiesED, 0, 1);
    options->addWidget(CollateCK, 1, 0, 1, 2);
    options->addWidget(DuplexCK, 2, 0, 1, 2);

    PageControl1 = new QStackedWidget(this);
    DestGB = new QGroupBox(QStringLiteral("Report Destination"));
    PrinterRB = new QRadioButton(QStringLiteral("&Printer"), DestGB);
    PrinterRB->setObjectName(QStringLiteral("PrinterRB"));
    PreviewRB = new QRadioButton(QStringLiteral("Pre&view"), DestGB);
    PreviewRB->setObjectName(QStringLiteral("PreviewRB"));
    FileRB = new QRadioButton(QStringLiteral("&File"), DestGB);
    FileRB->setObjectName(QStringLiteral("FileRB"));
    editFileName = new QLineEdit(DestGB);
    editFileName->setObjectName(QStringLiteral("editFileName"));
    FileNameSB = new QToolButton(DestGB);
    FileNameSB->setObjectName(QStringLiteral("FileNameSB"));
    FileNameSB->setText(QStringLiteral("..."));
    FileNameSB->setToolTip(QStringLiteral("Choose the file"));
    Label1 = new QLabel(QStringLiteral("Format:"), DestGB);
    cboxFormat = new QComboBox(DestGB);
    cboxFormat->setObjectName(QStringLiteral("cboxFormat"));
    Label1->setBuddy(cboxFormat);
    auto *destination = new QGridLayout(DestGB);
    destination->addWidget(PrinterRB, 0, 0, 1, 3);
    destination->addWidget(PreviewRB, 1, 0, 1, 3);
    destination->addWidget(FileRB, 2, 0);
    destination->addWidget(editFileName, 2, 1);
    destination->addWidget(FileNameSB, 2, 2);
    destination->addWidget(Label1, 3, 0);
    destination->addWidget(cboxFormat, 3, 1, 1, 2);
    PageControl1->addWidget(DestGB);

    RangeGB = new QGroupBox(QStringLiteral("Print Range"));
    AllRB = new QRadioButton(QStringLiteral("&All"), RangeGB);
    AllRB->setObjectName(QStringLiteral("AllRB"));
    AllRB->setChecked(true);
    SelectionRB = new QRadioButton(QStringLiteral("S&election"), RangeGB);
    SelectionRB->setObjectName(QStringLiteral("SelectionRB"));
    PagesRB = new QRadioButton(QStringLiteral("&Pages"), RangeGB);
    PagesRB->setObjectName(QStringLiteral("PagesRB"));
    FromLabel = new QLabel(QStringLiteral("From"), RangeGB);
    FromED = DigitsEdit(RangeGB, QStringLiteral("[0-9]*"));
    FromED->setObjectName(QStringLiteral("FromED"));
    ToLabel = new QLabel(QStringLiteral("to"), RangeGB);
    ToED = DigitsEdit(RangeGB, QStringLiteral("[0-9]*"));
    ToED->setObjectName(QStringLiteral("ToED"));
    SelectionLabel = new QLabel(QStringLiteral("Selection"), RangeGB);
    SelectionED = DigitsEdit(RangeGB, QStringLiteral("[0-9, \\-]*"));
    SelectionED->setObjectName(QStringLiteral("SelectionED"));
    auto *range = new QGridLayout(RangeGB);
    range->addWidget(AllRB, 0, 0, 1, 4);
    range->addWidget(SelectionRB, 1, 0, 1, 4);
    range->addWidget(PagesRB, 2, 0, 1, 4);
    range->addWidget(FromLabel, 3, 0);
    range->addWidget(FromED, 3, 1);
    range->addWidget(ToLabel, 3, 2);
    range->addWidget(ToED, 3, 3);
    range->addWidget(SelectionLabel, 4, 0);
    range->addWidget(SelectionED, 4, 1, 1, 3);
    PageControl1->addWidget(RangeGB);

    auto *buttons = new QVBoxLayout;
    buttons->addWidget(bbtnOK);
    buttons->addWidget(CancelBB);
    buttons->addWidget(SetupBB);
    buttons->addStretch();
    auto *top = new QHBoxLayout;
    top->addWidget(GroupBox1, 1);
    top->addLayout(buttons);
    auto *bottom = new QHBoxLayout;
    bottom->addWidget(PageControl1, 3);
    bottom->addWidget(GroupBox2, 2);
    auto *form = new QVBoxLayout(this);
    form->addLayout(top);
    form->addLayout(bottom);

    setTabOrder(bbtnOK, CancelBB);
    setTabOrder(CancelBB, SetupBB);
    setTabOrder(SetupBB, PrinterRB);
    setTabOrder(PrinterRB, PreviewRB);
    setTabOrder(PreviewRB, FileRB);
    setTabOrder(FileRB, editFileName);
    setTabOrder(editFileName, FileNameSB);
    setTabOrder(FileNameSB, cboxFormat);
    setTabOrder(cboxFormat, AllRB);
    setTabOrder(AllRB, SelectionRB);
    setTabOrder(SelectionRB, PagesRB);
    setTabOrder(PagesRB, FromED);
    setTabOrder(FromED, ToED);
    setTabOrder(ToED, SelectionED);
    setTabOrder(SelectionED, CopiesED);
    setTabOrder(CopiesED, CollateCK);
    setTabOrder(CollateCK, DuplexCK);

    connect(bbtnOK, &QPushButton::clicked, this, [this] { bbtnOKClick(); });
    connect(CancelBB, &QPushButton::clicked, this, &QDialog::reject);
    connect(SetupBB, &QPushButton::clicked, this, [this] { SetupBBClick(); });
    for (QRadioButton *radio : {PrinterRB, PreviewRB, FileRB})
        connect(radio, &QRadioButton::clicked, this, [this] { DestinationClick(); });
    for (QRadioButton *radio : {AllRB, SelectionRB, PagesRB})
        connect(radio, &QRadioButton::clicked, this, [this] { RangeClick(); });
    connect(editFileName, &QLineEdit::textChanged, this, [this] { FileNameChange(); });
    connect(FileNameSB, &QToolButton::clicked, this, [this] { FileNameSBClick(); });
    connect(cboxFormat, &QComboBox::currentIndexChanged, this, [this] { FormatChange(); });

    // The dialog's fixed size: at least the client area the form was designed with.
    const QSize designed(295, 242);
    setFixedSize(sizeHint().expandedTo(designed));
}

bool TFoSetupForm::UsablePrinter() const {
    return Printer && !Printer->InvalidPrinter();
}

void TFoSetupForm::showEvent(QShowEvent *event) {
    QDialog::showEvent(event);
    FormShow();
}

void TFoSetupForm::RebuildFormatList() {
    const int previous = cboxFormat->currentIndex();
    const QSignalBlocker quiet(cboxFormat);
    cboxFormat->clear();
    cboxFormat->addItem(kFormatSnapshot);
    cboxFormat->addItem(kFormatNative);
    FSaveFilter = kFormatSnapshot + QStringLiteral("|*.FSN|") + kFormatNative + QStringLiteral("|*.PRN");
    QStringList rendererFilter;
    for (const TFoRendererEntry &entry : ActiveRenderers()) {
        cboxFormat->addItem(entry.DisplayName);
        rendererFilter << entry.DisplayName << entry.Renderer->FileExtension();
    }
    if (!rendererFilter.isEmpty())
        FSaveFilter += u'|' + rendererFilter.join(u'|');
    if (auto *formats = qobject_cast<QStandardItemModel *>(cboxFormat->model()))
        formats->item(kNativeFormatIndex)->setEnabled(UsablePrinter());
    const bool keep = previous >= 0 && previous < cboxFormat->count() && IsFormatUsable(previous);
    cboxFormat->setCurrentIndex(keep ? previous : 0);
}

bool TFoSetupForm::IsFormatUsable(int index) const {
    return index != kNativeFormatIndex || UsablePrinter();
}

void TFoSetupForm::UpdatePrinterLabel() {
    PrinterLabel->setText(Printer ? PrinterLabelText(*Printer) : QStringLiteral("No printers installed!"));
}

void TFoSetupForm::FormShow() {
    RebuildFormatList();
    UpdatePrinterLabel();
    const TSystemSetups setups = ReportSystem.SystemSetups;
    const bool printer = UsablePrinter();
    if (PreviewSetup) {
        PageControl1->setCurrentWidget(RangeGB);
        FromED->setText(QStringLiteral("1"));
        const int pages = FilePrinter ? FilePrinter->Pages() : 1;
        ToED->setText(QString::number(pages));
        SelectionED->setText(QStringLiteral("1-%1").arg(pages));
        // Printing from the preview needs a printer: say so instead of reporting it after OK.
        bbtnOK->setEnabled(printer);
        NoPrinterLabel->setVisible(!printer);
    } else {
        PageControl1->setCurrentWidget(DestGB);
        // Only the printer needs one: a file in any format but native output is written without it.
        PrinterRB->setEnabled(printer && (setups & ssAllowDestPrinter));
        PreviewRB->setEnabled(setups & ssAllowDestPreview);
        FileRB->setEnabled(setups & ssAllowDestFile);
        switch (ReportSystem.DefaultDest) {
        case TReportDest::rdPrinter:
            if (printer) {
                PrinterRB->setChecked(true);
                break;
            }
            PreviewRB->setChecked(setups & ssAllowDestPreview);
            break;
        case TReportDest::rdPreview:
            PreviewRB->setChecked(true);
            break;
        case TReportDest::rdFile:
            FileRB->setChecked(true);
            break;
        }
    }
    const TSystemPrinter &settings = ReportSystem.SystemPrinter;
    CopiesED->setText(QString::number(settings.Copies));
    if (!printer) {
        for (QWidget *option :
             std::initializer_list<QWidget *>{CollateCK, CopiesED, CopiesLabel, DuplexCK, SetupBB})
            option->setEnabled(false);
    } else {
        CollateCK->setEnabled(setups & ssAllowCollate);
        CollateCK->setChecked(settings.Collate);
        CopiesED->setEnabled(setups & ssAllowCopies);
        CopiesLabel->setEnabled(setups & ssAllowCopies);
        DuplexCK->setEnabled(setups & ssAllowDuplex);
        DuplexCK->setChecked(settings.Duplex != TDuplex::dupSimplex);
        SetupBB->setEnabled(setups & ssAllowPrinterSetup);
    }
    if (!PreviewSetup && (PrinterRB->isChecked() || PreviewRB->isChecked() || FileRB->isChecked()))
        DestinationClick();
}

void TFoSetupForm::DestinationClick() {
    const TSystemSetups setups = ReportSystem.SystemSetups;
    const bool file = FileRB->isChecked();
    editFileName->setEnabled(file);
    FileNameSB->setEnabled(file);
    cboxFormat->setEnabled(file);
    Label1->setEnabled(file);
    SetupBB->setEnabled(UsablePrinter() && (setups & ssAllowPrinterSetup));
    if (file) {
        FileNameChange();
        return;
    }
    bbtnOK->setEnabled(true);
    const bool printer = PrinterRB->isChecked() && UsablePrinter();
    CopiesED->setEnabled(printer && (setups & ssAllowCopies));
    CopiesLabel->setEnabled(printer && (setups & ssAllowCopies));
    CollateCK->setEnabled(printer && (setups & ssAllowCollate));
    DuplexCK->setEnabled(printer && (setups & ssAllowDuplex));
}

void TFoSetupForm::FileNameChange() {
    if (FileRB->isChecked())
        bbtnOK->setEnabled(!editFileName->text().trimmed().isEmpty() &&
                           IsFormatUsable(cboxFormat->currentIndex()));
}

void TFoSetupForm::FileNameSBClick() {
    TFileDialogRequest request;
    request.Kind = TFileDialogRequest::TKind::Save;
    request.Filter = FSaveFilter;
    request.FilterIndex = FSaveFilterIndex;
    request.DefaultExtension = QStringLiteral("fsn");
    request.FileName = editFileName->text();
    const std::optional<TFileDialogAnswer> answer = AskFileName(this, request);
    if (!answer)
        return;
    editFileName->setText(answer->FileName);
    FSaveFilterIndex = answer->FilterIndex;
    if (answer->FilterIndex - 1 < cboxFormat->count() && IsFormatUsable(answer->FilterIndex - 1))
        cboxFormat->setCurrentIndex(answer->FilterIndex - 1);
}

void TFoSetupForm::FormatChange() {
    FSaveFilterIndex = cboxFormat->currentIndex() + 1;
    FileNameChange();
}

void TFoSetupForm::RangeClick() {
    const bool selection = SelectionRB->isChecked();
    const bool pages = PagesRB->isChecked();
    SelectionLabel->setVisible(!pages);
    SelectionED->setVisible(!pages);
    SelectionLabel->setEnabled(selection);
    SelectionED->setEnabled(selection);
    FromLabel->setVisible(pages);
    FromED->setVisible(pages);
    ToLabel->setVisible(pages);
    ToED->setVisible(pages);
    FromED->setEnabled(pages);
    ToED->setEnabled(pages);
    if (AllRB->isChecked()) {
        FromED->setEnabled(false);
        ToED->setEnabled(false);
    }
}

void TFoSetupForm::SetupBBClick() {
    if (!Printer)
        return;
    const int bin = Printer->Bin();
    if (Printer->PrinterSetupDialog()) {
        if (Printer->Bin() != bin) {
            Printer->FSetupBin = Printer->Bin();
            Printer->FIgnoreSnapshotBin = true;
        }
    }
    UpdatePrinterLabel();
}

void TFoSetupForm::ApplyDestination() {
    TFoSystem &system = ReportSystem;
    if (PrinterRB->isChecked()) {
        system.ReportDest = TReportDest::rdPrinter;
        system.OutputFileName.clear();
    } else if (FileRB->isChecked()) {
        system.ReportDest = TReportDest::rdFile;
        const QString name = editFileName->text().trimmed();
        const int format = cboxFormat->currentIndex();
        system.RenderObject = nullptr;
        if (format <= 0) {
            system.OutputFileName = WithExtension(name, QStringLiteral(".fsn"));
            system.DoNativeOutput = false;
        } else if (format == kNativeFormatIndex) {
            system.OutputFileName = WithExtension(name, QStringLiteral(".prn"));
            system.DoNativeOutput = true;
        } else {
            const std::vector<TFoRendererEntry> renderers = ActiveRenderers();
            TFoRender *renderer =
                std::size_t(format - 2) < renderers.size() ? renderers[format - 2].Renderer : nullptr;
            system.DoNativeOutput = false;
            system.RenderObject = renderer;
            system.OutputFileName = renderer ? WithExtension(name, renderer->FileExtension().mid(1)) : name;
        }
    } else {
        system.ReportDest = TReportDest::rdPreview;
        system.OutputFileName.clear();
    }
}

void TFoSetupForm::ApplyPrinterOptions() {
    TSystemPrinter &settings = ReportSystem.SystemPrinter;
    const TSystemSetups setups = ReportSystem.SystemSetups;
    if (const auto copies = CopiesValue(*CopiesED); copies && (setups & ssAllowCopies))
        settings.Copies = *copies;
    if (setups & ssAllowCollate)
        settings.Collate = CollateCK->isChecked();
    if (setups & ssAllowDuplex)
        settings.Duplex = CheckedDuplex(DuplexCK->isChecked(), settings.Duplex);
}

void TFoSetupForm::ApplyPrintRange() {
    if (!FilePrinter)
        return;
    TFoRenderPrinter &printer = *FilePrinter;
    printer.SetFirstPage(1);
    printer.SetLastPage(9999);
    printer.SetSelection(QString());
    if (SelectionRB->isChecked()) {
        printer.SetSelection(SelectionED->text());
    } else if (PagesRB->isChecked()) {
        // A bad number raises the conversion error and keeps the dialog open.
        printer.SetFirstPage(StrToInt(FromED->text().toStdString()));
        printer.SetLastPage(StrToInt(ToED->text().toStdString()));
    }
    const TSystemSetups setups = ReportSystem.SystemSetups;
    if (const auto copies = CopiesValue(*CopiesED); copies && (setups & ssAllowCopies))
        printer.FCopies = *copies;
    if (setups & ssAllowCollate)
        printer.FCollate = CollateCK->isChecked();
    if (setups & ssAllowDuplex)
        printer.FDuplex = CheckedDuplex(DuplexCK->isChecked(), printer.FDuplex);
}

void TFoSetupForm::bbtnOKClick() {
    if (PreviewSetup)
        ApplyPrintRange();
    else
        ApplyDestination();
    ApplyPrinterOptions();
    accept();
}

} // namespace fiscora
