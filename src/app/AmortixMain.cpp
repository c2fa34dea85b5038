#include "AmortixMain.h"

#include "ApplicationFont.h"
#include "AssetEntryRequest.h"
#include "BookWindow.h"
#include "Clock.h"
#include "DataFileLocation.h"
#include "DateEdit.h"
#include "DepreciateCommand.h"
#include "DollarEdit.h"
#include "EnterAsTab.h"
#include "FocusExitWatcher.h"
#include "GeneralErrorDisplay.h"
#include "HelpIcon.h"
#include "HelpWindow.h"
#include "ModalRunner.h"
#include "PreviewWindowSetup.h"
#include "ReportJob.h"
#include "SchedulePane.h"
#include "ToolBox.h"
#include "Utf8Text.h"
#include "output/html/FoHtmlExport.h"
#include "output/html/FoRenderHTML.h"
#include "output/pdf/FoRenderPDF.h"
#include "output/pdf/PdfExport.h"
#include "output/preview/CustPreviewForm_New.h"
#include "output/screen/FoRenderPreview.h"
#include "report/system/FoProject.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QScreen>
#include <QShortcut>
#include <QSignalBlocker>
#include <QStandardItemModel>
#include <QThread>
#include <QToolButton>

namespace fiscora {

namespace {

template <std::size_t N>
QComboBox *MakeDropDownList(QWidget *parent, const std::array<std::string_view, N> &items, int visibleRows) {
    auto *combo = new QComboBox(parent);
    for (const std::string_view item : items)
        combo->addItem(ToQString(item));
    combo->setMaxVisibleItems(visibleRows);
    return combo;
}

// A bold caption whose top-left corner sits at the given point; it takes the width of its text.
QLabel *MakeLabel(QWidget *parent, const QString &caption, int left, int top) {
    auto *label = new QLabel(caption, parent);
    label->setFont(FormFont(8, true));
    label->move(left, top);
    label->adjustSize();
    return label;
}

QToolButton *MakeFlatButton(QWidget *parent, const QString &caption, const QRect &geometry) {
    auto *button = new QToolButton(parent);
    button->setText(caption);
    button->setAutoRaise(true);
    button->setFocusPolicy(Qt::NoFocus);
    button->setToolButtonStyle(Qt::ToolButtonTextOnly);
    button->setGeometry(geometry);
    return button;
}

template <typename Choice> Choice ChoiceOf(const QComboBox &combo) {
    return static_cast<Choice>(combo.currentIndex());
}

template <typename Choice> void SetChoice(QComboBox &combo, Choice choice) {
    const QSignalBlocker quiet(combo);
    combo.setCurrentIndex(static_cast<int>(choice));
}

} // namespace

TFrmAmortix::TFrmAmortix(QWidget *parent)
    : QWidget(parent,
              Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      FReportJob(std::make_unique<TReportJob>()), FPdfFormat(CreatePdfFormat()),
      FHtmlFormat(CreateHtmlFormat()) {
    setObjectName(QStringLiteral("FrmAmortix"));
    ReportSystem().OverridePreview = [this](TFoSystem &system, TOverrideMode mode,
                                            std::unique_ptr<QObject> &form) {
        ReportSystemOverridePreview(system, mode, form);
    };
    setFont(FormFont(8, false));
    setFixedSize(kClientWidth + 2 * kBorderWidth, kClientHeight + 2 * kBorderWidth);
    CreateControls();
    SetTabOrder();
    ConnectHandlers();
    EnterAsTab = new TEnterAsTab(this);
    EnterAsTab->setObjectName(QStringLiteral("EnterAsTab"));
    EnterAsTab->SetEnterAsTabKey(true);
    EnterAsTab->SetEscapeAsClose(false);
    EnterAsTab->SetParentForm(this);
}

TFrmAmortix::~TFrmAmortix() = default;

void TFrmAmortix::CreateControls() {
    ClientArea = new QWidget(this);
    ClientArea->setObjectName(QStringLiteral("ClientArea"));
    ClientArea->setGeometry(kBorderWidth, kBorderWidth, kClientWidth, kClientHeight);
    QWidget *client = ClientArea;

    LblProperty_Description = MakeLabel(client, QStringLiteral("Property Description:"), 0, 8);
    EdtProperty_Description = new QLineEdit(client);
    EdtProperty_Description->setGeometry(132, 0, 445, 21);

    LblProperty_Type = MakeLabel(client, QStringLiteral("Property Type:"), 0, 35);
    CbxProperty_Type = MakeDropDownList(client, kPropertyTypeTexts, 6);
    CbxProperty_Type->setGeometry(132, 27, 170, 22);

    LblDate_Placed_in_Service = MakeLabel(client, QStringLiteral("Date Placed in Service:"), 313, 35);
    EdtDate_Placed_in_Service = new TDateEdit(client);
    EdtDate_Placed_in_Service->setAlignment(Qt::AlignCenter);
    EdtDate_Placed_in_Service->setGeometry(456, 27, 121, 21);

    LblCost_or_Basis = MakeLabel(client, QStringLiteral("Cost or Basis:"), 0, 62);
    EdtCost_or_Basis = new TDollarEdit(client);
    EdtCost_or_Basis->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    EdtCost_or_Basis->SetDollarDigits(9);
    EdtCost_or_Basis->SetCentDigits(2);
    EdtCost_or_Basis->SetCurrency(true);
    EdtCost_or_Basis->SetMinusKey(false);
    EdtCost_or_Basis->SetRequiredField(false);
    EdtCost_or_Basis->setGeometry(132, 54, 170, 21);

    LblDepreciation_Method = MakeLabel(client, QStringLiteral("Depreciation Method:"), 313, 62);
    CbxDepreciation_Method = MakeDropDownList(client, kDepreciationMethodTexts, 8);
    CbxDepreciation_Method->setGeometry(456, 54, 121, 22);

    LblConvention = MakeLabel(client, QStringLiteral("Convention:"), 0, 89);
    CbxConvention = MakeDropDownList(client, kConventionTexts, 8);
    CbxConvention->setGeometry(132, 81, 170, 22);

    LblDepreciable_Life = MakeLabel(client, QStringLiteral("Depreciable Life:"), 313, 89);
    CbxDepreciable_Life = MakeDropDownList(client, kDepreciableLifeTexts, 9);
    CbxDepreciable_Life->setGeometry(456, 81, 121, 22);

    ChkBonusDepr = new QCheckBox(QStringLiteral(" Check to compute 1st year Bonus Depreciation."), client);
    ChkBonusDepr->setGeometry(0, 112, 286, 17);

    LblBonusDepr = new QLabel(client);
    LblBonusDepr->setFont(FormFont(6.75, false));
    // Up to the bonus field rather than 149 wide, so that the caption fits in the substitute face.
    LblBonusDepr->setGeometry(292, 115, 164, 11);

    EdtBonusDepr = new TDollarEdit(client);
    EdtBonusDepr->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    EdtBonusDepr->SetDollarDigits(9);
    EdtBonusDepr->SetCentDigits(2);
    EdtBonusDepr->SetCurrency(true);
    EdtBonusDepr->setReadOnly(true);
    EdtBonusDepr->setFocusPolicy(Qt::ClickFocus);
    EdtBonusDepr->setGeometry(456, 108, 121, 21);

    LblFiscal_Year = new QLabel(client);
    LblFiscal_Year->setFont(FormFont(8, true));
    LblFiscal_Year->setGeometry(0, 144, 441, 13);

    EdtFiscal_Year = new TDateEdit(client);
    EdtFiscal_Year->setAlignment(Qt::AlignCenter);
    EdtFiscal_Year->SetText(TDateEdit::kBlankDate);
    EdtFiscal_Year->setGeometry(456, 136, 121, 21);

    RichEdit = new SchedulePane(FReportParams, client);
    RichEdit->setFocusPolicy(Qt::ClickFocus);
    RichEdit->setGeometry(0, 186, 577, 286);

    // One tab-like section of its caption's own width; the caption is not padded out to the right.
    auto *headerModel = new QStandardItemModel(0, 1, client);
    headerModel->setHorizontalHeaderItem(0, new QStandardItem(QStringLiteral("Depreciation Report")));
    HdrDepreciation_Report = new QHeaderView(Qt::Horizontal, client);
    HdrDepreciation_Report->setModel(headerModel);
    HdrDepreciation_Report->setDefaultAlignment(Qt::AlignCenter);
    HdrDepreciation_Report->setSectionResizeMode(QHeaderView::ResizeToContents);
    HdrDepreciation_Report->setStretchLastSection(false);
    HdrDepreciation_Report->setSectionsClickable(false);
    HdrDepreciation_Report->setFocusPolicy(Qt::NoFocus);
    HdrDepreciation_Report->setGeometry(0, 167, 577, 20);

    BtnDepreciate = MakeFlatButton(client, QStringLiteral("&Depreciate"), QRect(214, 484, 75, 22));
    BtnPrint = MakeFlatButton(client, QStringLiteral("&Print"), QRect(295, 484, 75, 22));
    BtnBook = MakeFlatButton(client, QStringLiteral("Asset &Book"), QRect(376, 484, 75, 22));
    BtnHelp = MakeFlatButton(client, QString(), QRect(554, 484, 23, 22));
    BtnHelp->setIcon(HelpIcon());
    BtnHelp->setToolButtonStyle(Qt::ToolButtonIconOnly);

    const std::pair<QObject *, const char *> names[] = {
        {LblProperty_Description, "LblProperty_Description"},
        {EdtProperty_Description, "EdtProperty_Description"},
        {LblProperty_Type, "LblProperty_Type"},
        {CbxProperty_Type, "CbxProperty_Type"},
        {LblDate_Placed_in_Service, "LblDate_Placed_in_Service"},
        {EdtDate_Placed_in_Service, "EdtDate_Placed_in_Service"},
        {LblCost_or_Basis, "LblCost_or_Basis"},
        {EdtCost_or_Basis, "EdtCost_or_Basis"},
        {LblDepreciation_Method, "LblDepreciation_Method"},
        {CbxDepreciation_Method, "CbxDepreciation_Method"},
        {LblConvention, "LblConvention"},
        {CbxConvention, "CbxConvention"},
        {LblDepreciable_Life, "LblDepreciable_Life"},
        {CbxDepreciable_Life, "CbxDepreciable_Life"},
        {ChkBonusDepr, "ChkBonusDepr"},
        {LblBonusDepr, "LblBonusDepr"},
        {EdtBonusDepr, "EdtBonusDepr"},
        {LblFiscal_Year, "LblFiscal_Year"},
        {EdtFiscal_Year, "EdtFiscal_Year"},
        {RichEdit, "RichEdit"},
        {HdrDepreciation_Report, "HdrDepreciation_Report"},
        {BtnDepreciate, "BtnDepreciate"},
        {BtnPrint, "BtnPrint"},
        {BtnBook, "BtnBook"},
        {BtnHelp, "BtnHelp"},
    };
    for (const auto &[component, name] : names)
        component->setObjectName(QString::fromLatin1(name));
}

void TFrmAmortix::SetTabOrder() {
    QWidget *const order[] = {EdtProperty_Description,
                              CbxProperty_Type,
                              EdtDate_Placed_in_Service,
                              EdtCost_or_Basis,
                              CbxDepreciation_Method,
                              CbxConvention,
                              CbxDepreciable_Life,
                              ChkBonusDepr,
                              EdtBonusDepr,
                              EdtFiscal_Year,
                              RichEdit};
    for (std::size_t i = 1; i < std::size(order); ++i)
        QWidget::setTabOrder(order[i - 1], order[i]);
}

void TFrmAmortix::ConnectHandlers() {
    // Handlers run from the toolkit's own widgets hand their errors to the general error display
    // before they could unwind through the toolkit's code. The fields' Exited signals need no such
    // boundary: the fields catch themselves.
    const auto guarded = [this](void (TFrmAmortix::*handler)()) {
        return [this, handler] { RunHandlingExceptions([&] { (this->*handler)(); }); };
    };
    connect(CbxProperty_Type, &QComboBox::currentIndexChanged, this,
            guarded(&TFrmAmortix::CbxProperty_TypeChange));
    connect(CbxDepreciable_Life, &QComboBox::currentIndexChanged, this,
            guarded(&TFrmAmortix::CbxDepreciable_LifeChange));
    connect(ChkBonusDepr, &QCheckBox::clicked, this, guarded(&TFrmAmortix::ChkBonusDeprClick));
    for (QComboBox *combo : {CbxProperty_Type, CbxDepreciation_Method, CbxConvention})
        connect(new FocusExitWatcher(*combo), &FocusExitWatcher::Exited, this,
                guarded(&TFrmAmortix::FieldExit));
    connect(EdtDate_Placed_in_Service, &TDateEdit::Exited, this, &TFrmAmortix::FieldExit);
    connect(EdtCost_or_Basis, &TDollarEdit::Exited, this, &TFrmAmortix::FieldExit);
    connect(BtnDepreciate, &QToolButton::clicked, this, guarded(&TFrmAmortix::BtnDepreciateClick));
    connect(BtnPrint, &QToolButton::clicked, this, guarded(&TFrmAmortix::BtnPrintClick));
    connect(BtnBook, &QToolButton::clicked, this, guarded(&TFrmAmortix::BtnBookClick));
    connect(BtnHelp, &QToolButton::clicked, this, guarded(&TFrmAmortix::BtnHelpClick));
    // F1 asks for the window's help context, as the Help button does.
    connect(new QShortcut(QKeySequence::HelpContents, this), &QShortcut::activated, this,
            guarded(&TFrmAmortix::BtnHelpClick));
}

void TFrmAmortix::showEvent(QShowEvent *event) {
    QWidget::showEvent(event);
    if (!FShown) {
        FShown = true;
        CentreOnScreen();
        FormShow();
    }
}

void TFrmAmortix::closeEvent(QCloseEvent *event) {
    FormClose();
    QWidget::closeEvent(event);
}

void TFrmAmortix::CentreOnScreen() {
    if (const QScreen *screen = this->screen()) {
        QRect frame = frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }
}

void TFrmAmortix::FormShow() {
    FExeDir = QString::fromStdString(AddPathDelimiter(QCoreApplication::applicationDirPath().toStdString()));
    FReportProjectFile = FindDataFile(QStringLiteral("Amortix.fol"));

    const AssetEntry initial = InitialAssetEntry(TodayDateStr());
    SetChoice(*CbxProperty_Type, initial.inputs.propertyType);
    EdtDate_Placed_in_Service->SetText(QString::fromStdString(initial.inputs.placedInService));
    WriteRuleResults(initial);

    setWindowTitle(QStringLiteral("Fiscora for 2026 (Version 2026.00 (64-bit))"));
    LblFiscal_Year->setText(QStringLiteral("Fiscal Year End Date. If a calendar year enter 12/31/2026:"));
    LblBonusDepr->setText(QStringLiteral("(for assets placed in service in 2026)"));
    FieldExit();

    FReportJob->HomeFolder = FExeDir;
    FReportJob->OpenTemplate(FReportProjectFile, QStringLiteral("DeprReport"));
}

void TFrmAmortix::FormClose() {
    if (FHelpWindow)
        FHelpWindow->close();
    if (FBookWindow)
        FBookWindow->close();
    FolioProject().Close();
}

TFoProject &TFrmAmortix::FolioProject() {
    return FReportJob->Project();
}

TFoSystem &TFrmAmortix::ReportSystem() {
    return FReportJob->System();
}

AssetInputs TFrmAmortix::ReadInputs() const {
    AssetInputs inputs;
    inputs.description = EdtProperty_Description->text().toStdString();
    inputs.propertyType = ChoiceOf<PropertyType>(*CbxProperty_Type);
    inputs.placedInService = EdtDate_Placed_in_Service->Text().toStdString();
    inputs.cost = EdtCost_or_Basis->Value();
    inputs.method = ChoiceOf<DepreciationMethod>(*CbxDepreciation_Method);
    inputs.convention = ChoiceOf<Convention>(*CbxConvention);
    inputs.life = ChoiceOf<DepreciableLife>(*CbxDepreciable_Life);
    inputs.bonusRequested = ChkBonusDepr->isChecked();
    inputs.bonusAmount = EdtBonusDepr->Value();
    inputs.fiscalYearEnd = EdtFiscal_Year->Text().toStdString();
    return inputs;
}

void TFrmAmortix::WriteInputs(const AssetInputs &inputs) {
    const AssetEntry entry =
        EnterAssetRequest(RequestForInputs(inputs), TodayDateStr(), DisabledEntryRule::AcceptFixedValue);
    EdtProperty_Description->setText(ToQString(entry.inputs.description));
    SetChoice(*CbxProperty_Type, entry.inputs.propertyType);
    EdtDate_Placed_in_Service->SetText(ToQString(entry.inputs.placedInService));
    EdtCost_or_Basis->SetValue(entry.inputs.cost);
    EdtFiscal_Year->SetText(ToQString(entry.inputs.fiscalYearEnd));
    WriteRuleResults(entry);
}

AssetEntry TFrmAmortix::ReadEntry() const {
    AssetEntry entry;
    entry.inputs = ReadInputs();
    entry.controls.methodEnabled = CbxDepreciation_Method->isEnabled();
    entry.controls.conventionEnabled = CbxConvention->isEnabled();
    entry.controls.lifeEnabled = CbxDepreciable_Life->isEnabled();
    entry.controls.bonusEnabled = ChkBonusDepr->isEnabled();
    return entry;
}

void TFrmAmortix::WriteRuleResults(const AssetEntry &entry) {
    SetChoice(*CbxDepreciation_Method, entry.inputs.method);
    SetChoice(*CbxConvention, entry.inputs.convention);
    SetChoice(*CbxDepreciable_Life, entry.inputs.life);
    {
        const QSignalBlocker quiet(ChkBonusDepr);
        ChkBonusDepr->setChecked(entry.inputs.bonusRequested);
    }
    EdtBonusDepr->SetValue(entry.inputs.bonusAmount);
    CbxDepreciation_Method->setEnabled(entry.controls.methodEnabled);
    CbxConvention->setEnabled(entry.controls.conventionEnabled);
    CbxDepreciable_Life->setEnabled(entry.controls.lifeEnabled);
    ChkBonusDepr->setEnabled(entry.controls.bonusEnabled);
    LblBonusDepr->setEnabled(entry.controls.bonusEnabled);
}

void TFrmAmortix::CbxProperty_TypeChange() {
    AssetEntry entry = ReadEntry();
    ApplyPropertyTypeChange(entry);
    WriteRuleResults(entry);
}

void TFrmAmortix::CbxDepreciable_LifeChange() {
    AssetEntry entry = ReadEntry();
    ApplyLifeRule(entry);
    WriteRuleResults(entry);
}

void TFrmAmortix::ChkBonusDeprClick() {
    AssetEntry entry = ReadEntry();
    ApplyBonusRule(entry);
    WriteRuleResults(entry);
}

void TFrmAmortix::FieldExit() {
    AssetEntry entry = ReadEntry();
    ApplyBonusEligibility(entry);
    WriteRuleResults(entry);
}

void TFrmAmortix::FocusField(AssetField field) {
    QWidget *control = nullptr;
    switch (field) {
    case AssetField::PlacedInService:
        control = EdtDate_Placed_in_Service;
        break;
    case AssetField::Cost:
        control = EdtCost_or_Basis;
        break;
    case AssetField::Convention:
        control = CbxConvention;
        break;
    case AssetField::Life:
        control = CbxDepreciable_Life;
        break;
    case AssetField::FiscalYearEnd:
        control = EdtFiscal_Year;
        break;
    }
    if (control != nullptr)
        control->setFocus(Qt::OtherFocusReason);
}

void TFrmAmortix::BtnDepreciateClick() {
    RunDepreciateCommand(ReadInputs(), *RichEdit, [this](AssetField field) { FocusField(field); });
    RichEdit->setFocus(Qt::OtherFocusReason);
}

void TFrmAmortix::BtnPrintClick() {
    if (IsBlankStr(RichEdit->toPlainText().toStdString()))
        return;
    FReportJob->Print(ReadInputs(), *RichEdit, [this](AssetField field) { FocusField(field); });
}

void TFrmAmortix::BtnBookClick() {
    ShowBookWindow();
}

BookWindow &TFrmAmortix::ShowBookWindow() {
    if (!FBookWindow)
        FBookWindow = new BookWindow(*this);
    FBookWindow->show();
    FBookWindow->raise();
    FBookWindow->activateWindow();
    return *FBookWindow;
}

BookWindow &TFrmAmortix::OpenBookWindow(const QString &location) {
    BookWindow &window = ShowBookWindow();
    window.OpenBook(location);
    return window;
}

void TFrmAmortix::ReportSystemOverridePreview(TFoSystem &system, TOverrideMode mode,
                                              std::unique_ptr<QObject> &form) {
    OverridePreviewInWindow(system, mode, form, this);
}

void TFrmAmortix::BtnHelpClick() {
    if (!FHelpWindow)
        FHelpWindow = new HelpWindow(this);
    FHelpWindow->ShowContext(kHelpContext);
}

} // namespace fiscora
