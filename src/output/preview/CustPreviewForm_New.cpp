#include "output/preview/CustPreviewForm_New.h"

#include "FormKeyPreview.h"
#include "GeneralErrorDisplay.h"
#include "ModalRunner.h"
#include "MsgBox.h"
#include "PartialFile.h"
#include "ScopeExit.h"
#include "output/dialogs/FileDialogs.h"
#include "output/dialogs/FoFormSetup.h"
#include "output/dialogs/FoPrintJob.h"
#include "output/html/FoHtmlExport.h"
#include "output/pdf/PdfExport.h"
#include "output/preview/PreviewKeys.h"
#include "output/print/FoRenderPrinter.h"
#include "output/screen/FoRenderPreview.h"
#include "output/screen/PageNumberEdit.h"
#include "report/core/FoErrors.h"
#include "report/system/FoSystem.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QScrollArea>
#include <QScrollBar>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <QWheelEvent>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>

namespace fiscora {

namespace {

constexpr qint64 kCopyBufferBytes = 1024 * 1024;

// Copies the whole stream into the file; the stream's position is the caller's to restore. Written
// beside the file and renamed over it only when complete, so a failure leaves no half-written file
// and an existing one as it was. A link is written through: the file it leads to is replaced.
void CopySnapshot(QIODevice &stream, const QString &fileName) {
    const QFileInfo info(fileName);
    const QString target = info.isSymLink() ? info.symLinkTarget() : fileName;
    PartialFile partial(QFile::encodeName(target).toStdString());
    if (partial.Error() != 0)
        throw CannotCreateFileError(fileName, SystemErrorText(partial.Error()));
    QFile file(QFile::decodeName(partial.Path().c_str()));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        throw CannotCreateFileError(fileName, file.errorString());
    const auto writeError = [&fileName](const QString &reason) {
        return EFolioReport(QStringLiteral("Cannot write file \"%1\". %2").arg(fileName, reason));
    };
    stream.seek(0);
    QByteArray buffer(kCopyBufferBytes, Qt::Uninitialized);
    for (;;) {
        const qint64 read = stream.read(buffer.data(), buffer.size());
        if (read < 0)
            throw EFolioReport(QStringLiteral("Stream read error"));
        if (read == 0)
            break;
        if (file.write(buffer.constData(), read) != read)
            throw writeError(file.errorString());
    }
    if (!file.flush())
        throw writeError(file.errorString());
    file.close();
    if (const int error = partial.Commit())
        throw writeError(SystemErrorText(error));
}

bool SameFile(const QString &a, const QString &b) {
    const QFileInfo first(a), second(b);
    return first.exists() && second.exists() && first.canonicalFilePath() == second.canonicalFilePath();
}

// The whole scrollable length, of which the viewport shows one page: positions stop a page short.
int ScrollRange(const QScrollBar &bar) {
    return bar.maximum() + bar.pageStep();
}

} // namespace

TFrmReportPreview::TFrmReportPreview(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      FPreview(std::make_unique<TFoRenderPreview>()), FPrinter(std::make_unique<TFoRenderPrinter>()) {
    setObjectName(QStringLiteral("FrmReportPreview"));
    CreateControls();
    // FormCreate.
    FPageNum = 1;
    FPreview->OnPageChange = [this](TFoRenderPreview &) { PreviewPageChange(); };
    FPreview->OnZoomChange = [this](TFoRenderPreview &) { PreviewZoomChange(); };
    FPreview->SetShadowDepth(0);
    FPreview->MarginPercent = 2.5;
    FPreview->SetZoomFactor(100);
    FPreview->ZoomInc = 10;
    FPreview->SetScrollBox(ScrollBox1);
    FKeyPreview =
        std::make_unique<FormKeyPreview>(*this, [this](QKeyEvent &event) { return FormKeyDown(event); });
}

TFrmReportPreview::~TFrmReportPreview() {
    FPreview->SetSnapshotStream(nullptr);
}

QToolButton *TFrmReportPreview::AddButton(const char *name, const QString &caption, const QString &hint,
                                          void (TFrmReportPreview::*handler)()) {
    // An action, not a widget of its own: the tool bar lists the actions it has no room for in its
    // overflow menu, and a widget there would show as an empty entry.
    auto *action = new QAction(caption, this);
    action->setObjectName(QLatin1String(name) + QStringLiteral("Action"));
    action->setToolTip(hint);
    connect(action, &QAction::triggered, this, [this, handler] { Guarded(handler); });
    ToolBar->addAction(action);
    auto *button = qobject_cast<QToolButton *>(ToolBar->widgetForAction(action));
    button->setObjectName(QLatin1String(name));
    button->setFocusPolicy(Qt::NoFocus);
    // 70 wide, or as wide as the caption needs in a font wider than the one that size was made for.
    button->setFixedSize(std::max(70, button->sizeHint().width()), 22);
    return button;
}

void TFrmReportPreview::CreateControls() {
    ToolBar = new QToolBar(this);
    ToolBar->setObjectName(QStringLiteral("ToolBar"));
    ToolBar->setToolButtonStyle(Qt::ToolButtonTextOnly);
    BtnOpen = AddButton("BtnOpen", QStringLiteral("Open"), QStringLiteral("Open Saved Report (Ctrl+O)"),
                        &TFrmReportPreview::BtnOpenClick);
    BtnSave = AddButton("BtnSave", QStringLiteral("Save"), QStringLiteral("Save Report (Ctrl+S)"),
                        &TFrmReportPreview::BtnSaveClick);
    BtnPrint = AddButton("BtnPrint", QStringLiteral("Print"), QStringLiteral("Print Report (Ctrl+P)"),
                         &TFrmReportPreview::BtnPrintClick);
    ToolBar->addSeparator();
    BtnFirst = AddButton("BtnFirst", QStringLiteral("First Page"), QStringLiteral("Go to First Page (Alt+F)"),
                         &TFrmReportPreview::BtnFirstClick);
    BtnPrior = AddButton("BtnPrior", QStringLiteral("Prior Page"), QStringLiteral("Go to Prior Page (Alt+P)"),
                         &TFrmReportPreview::BtnPriorClick);
    BtnNext = AddButton("BtnNext", QStringLiteral("Next Page"), QStringLiteral("Go to Next Page (Alt+N)"),
                        &TFrmReportPreview::BtnNextClick);
    BtnLast = AddButton("BtnLast", QStringLiteral("Last Page"), QStringLiteral("Go to Last Page (Alt+L)"),
                        &TFrmReportPreview::BtnLastClick);
    ToolBar->addSeparator();
    BtnZoomIn = AddButton("BtnZoomIn", QStringLiteral("Zoom In"), QStringLiteral("Zoom In (+)"),
                          &TFrmReportPreview::BtnZoomInClick);
    BtnZoomOut = AddButton("BtnZoomOut", QStringLiteral("Zoom Out"), QStringLiteral("Zoom Out (-)"),
                           &TFrmReportPreview::BtnZoomOutClick);
    BtnFitWidth = AddButton("BtnFitWidth", QStringLiteral("Fit Width"), QStringLiteral("Zoom to Page Width"),
                            &TFrmReportPreview::BtnFitWidthClick);
    BtnFitPage = AddButton("BtnFitPage", QStringLiteral("Fit Page"), QStringLiteral("Zoom to Whole Page"),
                           &TFrmReportPreview::BtnFitPageClick);
    ToolBar->addSeparator();
    BtnExportPDF = AddButton("BtnExportPDF", QStringLiteral("PDF Export"),
                             QStringLiteral("Export to PDF (Ctrl+D)"), &TFrmReportPreview::BtnExportPDFClick);
    BtnExportHTML =
        AddButton("BtnExportHTML", QStringLiteral("HTML Export"), QStringLiteral("Export to HTML (Ctrl+H)"),
                  &TFrmReportPreview::BtnExportHTMLClick);
    ToolBar->addSeparator();
    BtnExit = AddButton("BtnExit", QStringLiteral("Exit"), QStringLiteral("Exit Preview Screen (Alt+X)"),
                        &TFrmReportPreview::BtnExitClick);

    ScrollBox1 = new QScrollArea(this);
    ScrollBox1->setObjectName(QStringLiteral("ScrollBox1"));
    ScrollBox1->setBackgroundRole(QPalette::Dark);
    // A page narrower or shorter than the window sits in its middle.
    ScrollBox1->setAlignment(Qt::AlignCenter);
    ScrollBox1->installEventFilter(this);
    ScrollBox1->viewport()->installEventFilter(this);

    CreateStatusBar();

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(ToolBar);
    layout->addWidget(ScrollBox1, 1);
    layout->addWidget(StatusBar);

    CreatePopupMenu();
    resize(615, 450);
}

void TFrmReportPreview::CreateStatusBar() {
    StatusBar = new QStatusBar(this);
    StatusBar->setObjectName(QStringLiteral("StatusBar"));
    StatusBar->setSizeGripEnabled(false);
    StatusPanel = new QLabel(StatusBar);
    StatusPanel->setObjectName(QStringLiteral("StatusPanel"));
    StatusBar->addWidget(StatusPanel, 1);
    auto *pageLabel = new QLabel(QStringLiteral("Go to page"), StatusBar);
    PageEdit = new TPageNumberEdit(StatusBar);
    pageLabel->setBuddy(PageEdit);
    PageEdit->OnPageChosen = [this](int page) { RunHandlingExceptions([&] { GoToPage(page); }); };
    PageEdit->OnDone = [this] { ScrollBox1->setFocus(Qt::OtherFocusReason); };
    StatusBar->addPermanentWidget(pageLabel);
    StatusBar->addPermanentWidget(PageEdit);
    ZoomPanel = new QLabel(StatusBar);
    ZoomPanel->setObjectName(QStringLiteral("ZoomPanel"));
    ZoomPanel->setToolTip(QStringLiteral("Zoom"));
    ZoomPanel->setAlignment(Qt::AlignCenter);
    ZoomPanel->setMinimumWidth(ZoomPanel->fontMetrics().horizontalAdvance(QStringLiteral("  200 % ")));
    StatusBar->addPermanentWidget(ZoomPanel);
}

void TFrmReportPreview::CreatePopupMenu() {
    PopupMenu = new QMenu(this);
    PopupMenu->setObjectName(QStringLiteral("PopupMenu"));
    const auto item = [this](const QString &text, QToolButton *button) {
        QAction *action = PopupMenu->addAction(text);
        connect(action, &QAction::triggered, button, &QToolButton::click);
        return action;
    };
    MnuOpen = item(QStringLiteral("Open Saved Report"), BtnOpen);
    MnuSave = item(QStringLiteral("Save Report"), BtnSave);
    MnuPrint = item(QStringLiteral("Print Report"), BtnPrint);
    PopupMenu->addSeparator();
    MnuFirstPage = item(QStringLiteral("Go to First Page"), BtnFirst);
    MnuPriorPage = item(QStringLiteral("Go to Prior Page"), BtnPrior);
    MnuNextPage = item(QStringLiteral("Go to Next Page"), BtnNext);
    MnuLastPage = item(QStringLiteral("Go to Last Page"), BtnLast);
    PopupMenu->addSeparator();
    MnuZoomIn = item(QStringLiteral("Zoom In"), BtnZoomIn);
    MnuZoomOut = item(QStringLiteral("Zoom Out"), BtnZoomOut);
    MnuFitWidth = item(QStringLiteral("Zoom to Page Width"), BtnFitWidth);
    MnuFitPage = item(QStringLiteral("Zoom to Whole Page"), BtnFitPage);
    PopupMenu->addSeparator();
    MnuExportPDF = item(QStringLiteral("Export to PDF"), BtnExportPDF);
    MnuExportHTML = item(QStringLiteral("Export to HTML"), BtnExportHTML);
    PopupMenu->addSeparator();
    MnuExit = item(QStringLiteral("Exit Preview Screen"), BtnExit);
    connect(PopupMenu, &QMenu::aboutToShow, this, [this] { PopupMenuPopup(); });
}

void TFrmReportPreview::Guarded(void (TFrmReportPreview::*handler)()) {
    RunHandlingExceptions([&] { (this->*handler)(); });
}

QIODevice *TFrmReportPreview::SnapshotStream() const {
    return FPreview->SnapshotStream();
}

bool TFrmReportPreview::AllowPrint() const {
    return ReportSystem && (ReportSystem->SystemOptions & soAllowPrintFromPreview);
}

bool TFrmReportPreview::AllowSave() const {
    return ReportSystem && (ReportSystem->SystemOptions & soAllowSaveFromPreview);
}

// ---- Showing the snapshot ---------------------------------------------------------------------------

void TFrmReportPreview::InitFromReportSystem() {
    if (!FInputFileName.isEmpty()) {
        auto file = std::make_unique<QFile>(FInputFileName);
        if (!file->open(QIODevice::ReadOnly))
            throw CannotOpenFileError(FInputFileName, file->errorString());
        FPreview->SetSnapshotStream(file.get());
        FAlternateSnapshot = std::move(file);
    } else {
        FPreview->SetSnapshotStream(FInputStream);
    }
    FPreview->Render(static_cast<QIODevice *>(nullptr));
    if (ReportSystem && ReportSystem->OnPreviewShow)
        ReportSystem->OnPreviewShow(*ReportSystem);
}

void TFrmReportPreview::OpenFile(const QString &sFileName) {
    auto file = std::make_unique<QFile>(sFileName);
    if (!file->open(QIODevice::ReadOnly))
        throw CannotOpenFileError(sFileName, file->errorString());
    // A file that cannot be shown leaves the window on the snapshot and page it showed.
    QIODevice *const shownStream = FPreview->SnapshotStream();
    const QString shownFileName = FPreview->InputFileName();
    const int shownPage = FPreview->CurrentPage();
    const qint64 shownPosition = shownStream ? shownStream->pos() : 0;
    const int shownHorizontal = ScrollBox1->horizontalScrollBar()->value();
    const int shownVertical = ScrollBox1->verticalScrollBar()->value();
    FPreview->SetInputFileName(sFileName);
    FPreview->SetSnapshotStream(file.get());
    try {
        FPreview->RenderPage(1);
    } catch (...) {
        FPreview->SetInputFileName(shownFileName);
        FPreview->SetSnapshotStream(shownStream);
        if (shownStream) {
            FPreview->RenderPage(shownPage);
            shownStream->seek(shownPosition);
        }
        ScrollBox1->horizontalScrollBar()->setValue(shownHorizontal);
        ScrollBox1->verticalScrollBar()->setValue(shownVertical);
        throw;
    }
    FAlternateSnapshot = std::move(file); // the file opened before, if any, is closed here
    setWindowTitle(QString::fromStdString(ApplicationTitle()) + QStringLiteral(" - ") +
                   QFileInfo(sFileName).fileName());
}

QString TFrmReportPreview::StatusText() const {
    return QStringLiteral(" Page %1 of %2").arg(FPreview->CurrentPage()).arg(FPreview->Pages());
}

QString TFrmReportPreview::ZoomText() const {
    return QStringLiteral("%1 %").arg(std::lround(FPreview->ZoomFactor()));
}

void TFrmReportPreview::PreviewPageChange() {
    FPageNum = FPreview->CurrentPage();
    StatusPanel->setText(StatusText());
    PageEdit->ShowPage(FPreview->CurrentPage(), FPreview->Pages());
}

void TFrmReportPreview::PreviewZoomChange() {
    // Any zoom but a fit's own ends the fit.
    if (!FApplyingFit)
        FFitMode = TFitMode::None;
    UpdateZoomControls();
    if (FPreview->Image())
        FPreview->RedrawPage();
}

void TFrmReportPreview::UpdateZoomControls() {
    ZoomPanel->setText(ZoomText());
    BtnZoomIn->defaultAction()->setEnabled(FPreview->CanZoomIn());
    BtnZoomOut->defaultAction()->setEnabled(FPreview->CanZoomOut());
}

void TFrmReportPreview::ApplyFit() {
    if (FFitMode == TFitMode::None)
        return;
    FApplyingFit = true;
    ScopeExit done([this] { FApplyingFit = false; });
    FPreview->SetZoomFactor(FFitMode == TFitMode::PageWidth ? TFoRenderPreview::kZoomToPageWidth
                                                            : TFoRenderPreview::kZoomToPage);
}

void TFrmReportPreview::showEvent(QShowEvent *event) {
    QDialog::showEvent(event);
    Guarded(&TFrmReportPreview::FormShow);
}

void TFrmReportPreview::FormShow() {
    StatusPanel->setText(StatusText());
    PageEdit->ShowPage(FPreview->CurrentPage(), FPreview->Pages());
    FPreview->SetZoomFactor(85);
    UpdateButtons();
}

void TFrmReportPreview::closeEvent(QCloseEvent *event) {
    fFormClosed = true;
    QDialog::closeEvent(event);
}

void TFrmReportPreview::UpdateButtons() {
    const int page = FPreview->CurrentPage();
    const int pages = FPreview->Pages();
    // Through the actions, so that the overflow menu's entries follow too.
    const auto enable = [](QToolButton *button, bool enabled) {
        button->defaultAction()->setEnabled(enabled);
    };
    enable(BtnFirst, page > 1);
    enable(BtnPrior, page > 1);
    enable(BtnNext, page < pages);
    enable(BtnLast, page < pages);
    enable(BtnSave, AllowSave());
    enable(BtnPrint, AllowPrint());
    enable(BtnExportPDF, AllowPrint());
    enable(BtnExportHTML, AllowPrint());
    UpdateZoomControls();
}

void TFrmReportPreview::PopupMenuPopup() {
    const std::array<std::pair<QAction *, QToolButton *>, 11> items{{{MnuOpen, BtnOpen},
                                                                     {MnuSave, BtnSave},
                                                                     {MnuPrint, BtnPrint},
                                                                     {MnuFirstPage, BtnFirst},
                                                                     {MnuPriorPage, BtnPrior},
                                                                     {MnuNextPage, BtnNext},
                                                                     {MnuLastPage, BtnLast},
                                                                     {MnuZoomIn, BtnZoomIn},
                                                                     {MnuZoomOut, BtnZoomOut},
                                                                     {MnuExportPDF, BtnExportPDF},
                                                                     {MnuExportHTML, BtnExportHTML}}};
    for (const auto &[action, button] : items)
        action->setEnabled(button->isEnabled());
}

void TFrmReportPreview::contextMenuEvent(QContextMenuEvent *event) {
    PopupMenu->popup(event->globalPos());
}

// ---- Commands ---------------------------------------------------------------------------------------

void TFrmReportPreview::BtnOpenClick() {
    ScopeExit update([this] { UpdateButtons(); });
    TFileDialogRequest request;
    request.Kind = TFileDialogRequest::TKind::Open;
    request.DefaultExtension = QStringLiteral("fsn");
    request.Filter = QStringLiteral("Snapshot Files (*.fsn)|*.fsn");
    if (const std::optional<TFileDialogAnswer> answer = AskFileName(this, request))
        OpenFile(answer->FileName);
}

void TFrmReportPreview::BtnSaveClick() {
    if (!AllowSave())
        return;
    ScopeExit update([this] { UpdateButtons(); });
    // Always a snapshot: the formats the report system keeps for its own output are not offered
    // here, whichever filter entry the dialog starts on. Exports have their own commands.
    TFileDialogRequest request;
    request.Kind = TFileDialogRequest::TKind::Save;
    request.Title = QStringLiteral("Save to Snapshot Document");
    request.DefaultExtension = QStringLiteral("fsn");
    request.Filter = QStringLiteral("Snapshot Document (*.fsn)|*.fsn");
    request.FilterIndex = 3;
    const std::optional<TFileDialogAnswer> answer = AskFileName(this, request);
    QIODevice *stream = SnapshotStream();
    if (!answer || !stream)
        return;
    for (const QString &input : {FPreview->InputFileName(), FInputFileName})
        if (!input.isEmpty() && SameFile(answer->FileName, input))
            throw EFolioReport(
                QStringLiteral("Cannot save the report over the file it is shown from: \"%1\".")
                    .arg(answer->FileName));
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    const qint64 position = stream->pos();
    ScopeExit restore([&] {
        stream->seek(position);
        QGuiApplication::restoreOverrideCursor();
    });
    CopySnapshot(*stream, answer->FileName);
}

void TFrmReportPreview::BtnPrintClick() {
    ScopeExit update([this] { UpdateButtons(); });
    if (!AllowPrint())
        return;
    FPrinter->SetSnapshotStream(FPreview->SnapshotStream());
    ScopeExit release([this] { FPrinter->SetSnapshotStream(nullptr); });
    FPrinter->FPages = FPreview->Pages();
    if (ReportSystem->SystemSetups & ssAllowPreviewSetup) {
        TFoSetupForm setup(*ReportSystem, this);
        if (!ReportSystem->TitleSetup.isEmpty())
            setup.setWindowTitle(ReportSystem->TitleSetup);
        setup.PreviewSetup = true;
        setup.FilePrinter = FPrinter.get();
        const bool accepted = RunModal(setup) == QDialog::Accepted;
        // From now on copies, collation and duplex are the dialog's, not the snapshot's.
        FPrinter->FIgnoreFileSettings = true;
        if (!accepted)
            return;
    }
    QIODevice *snapshot = FPrinter->SnapshotStream() ? FPrinter->SnapshotStream() : FInputStream;
    const qint64 position = snapshot ? snapshot->pos() : 0;
    ScopeExit restore([&] {
        if (snapshot)
            snapshot->seek(position);
    });
    PrintWithStatus(*FPrinter, *ReportSystem, this, [&] { PrintSnapshotCopies(*FPrinter, snapshot); });
    if (OnAfterPreviewPrint)
        OnAfterPreviewPrint(*FPrinter);
}

void TFrmReportPreview::BtnExportPDFClick() {
    if (!AllowPrint())
        return;
    TFileDialogRequest request;
    request.Title = QStringLiteral("Save to PDF Document");
    request.DefaultExtension = QStringLiteral("pdf");
    request.Filter = QStringLiteral("Adobe Portable Document (*.pdf)|*.pdf");
    QIODevice *stream = SnapshotStream();
    if (const std::optional<TFileDialogAnswer> answer = AskFileName(this, request); answer && stream) {
        QGuiApplication::setOverrideCursor(Qt::WaitCursor);
        const qint64 position = stream->pos();
        ScopeExit restore([&] {
            stream->seek(position);
            QGuiApplication::restoreOverrideCursor();
        });
        ExportSnapshotToPdf(*stream, answer->FileName);
    }
}

void TFrmReportPreview::BtnExportHTMLClick() {
    if (!AllowPrint())
        return;
    TFileDialogRequest request;
    request.Title = QStringLiteral("Save to HTML Document");
    request.DefaultExtension = QStringLiteral("html");
    request.Filter = QStringLiteral("Web Document (*.html)|*.html");
    QIODevice *stream = SnapshotStream();
    if (const std::optional<TFileDialogAnswer> answer = AskFileName(this, request); answer && stream) {
        QGuiApplication::setOverrideCursor(Qt::WaitCursor);
        ScopeExit restore([] { QGuiApplication::restoreOverrideCursor(); });
        ExportSnapshotToHtml(*stream, answer->FileName); // keeps the stream's position
    }
}

void TFrmReportPreview::BtnFirstClick() {
    FPreview->RenderPage(1);
    UpdateButtons();
}

void TFrmReportPreview::BtnPriorClick() {
    FPreview->PrevPage();
    UpdateButtons();
}

void TFrmReportPreview::BtnNextClick() {
    FPreview->NextPage();
    UpdateButtons();
}

void TFrmReportPreview::BtnLastClick() {
    FPreview->RenderPage(FPreview->Pages());
    UpdateButtons();
}

void TFrmReportPreview::BtnZoomInClick() {
    FPreview->ZoomIn();
    UpdateButtons();
}

void TFrmReportPreview::BtnExitClick() {
    close();
}

void TFrmReportPreview::BtnZoomOutClick() {
    FPreview->ZoomOut();
    UpdateButtons();
}

void TFrmReportPreview::BtnFitWidthClick() {
    FFitMode = TFitMode::PageWidth;
    ApplyFit();
    UpdateButtons();
}

void TFrmReportPreview::BtnFitPageClick() {
    FFitMode = TFitMode::WholePage;
    ApplyFit();
    UpdateButtons();
}

void TFrmReportPreview::GoToPage(int page) {
    FPreview->RenderPage(page);
    UpdateButtons();
    ScrollBox1->verticalScrollBar()->setValue(0);
}

void TFrmReportPreview::ShowFirstPage() {
    if (FPreview->CurrentPage() > 1) {
        FPreview->RenderPage(1);
        UpdateButtons();
    }
    ScrollBox1->verticalScrollBar()->setValue(0);
}

void TFrmReportPreview::ShowLastPage() {
    if (FPreview->CurrentPage() < FPreview->Pages()) {
        FPreview->RenderPage(FPreview->Pages());
        UpdateButtons();
    }
    QScrollBar *bar = ScrollBox1->verticalScrollBar();
    bar->setValue(ScrollRange(*bar) - 1);
}

// ---- Keyboard and mouse wheel -----------------------------------------------------------------------

void TFrmReportPreview::ScrollDown() {
    QScrollBar *bar = ScrollBox1->verticalScrollBar();
    const int wanted = std::min(bar->value() + bar->singleStep(), ScrollRange(*bar) - 1);
    bar->setValue(wanted);
    if (bar->value() < wanted && FPreview->CurrentPage() < FPreview->Pages()) {
        FPreview->NextPage();
        UpdateButtons();
        bar->setValue(0);
    }
}

void TFrmReportPreview::ScrollUp() {
    QScrollBar *bar = ScrollBox1->verticalScrollBar();
    int wanted = bar->value() - bar->singleStep();
    if (wanted < 0) {
        wanted = 0;
        if (FPreview->CurrentPage() > 1) {
            FPreview->PrevPage();
            UpdateButtons();
            wanted = ScrollRange(*bar);
        }
    }
    bar->setValue(wanted);
}

void TFrmReportPreview::ScrollPageUp() {
    QScrollBar *bar = ScrollBox1->verticalScrollBar();
    if (bar->value() == 0 && FPreview->CurrentPage() > 1) {
        FPreview->PrevPage();
        UpdateButtons();
        bar->setValue(bar->maximum());
    } else {
        bar->setValue(std::max(0, bar->value() - ScrollBox1->height()));
    }
}

void TFrmReportPreview::ScrollPageDown() {
    QScrollBar *bar = ScrollBox1->verticalScrollBar();
    const int range = ScrollRange(*bar);
    const int wanted = bar->value() + ScrollBox1->height();
    if (wanted < range) {
        bar->setValue(wanted);
    } else if (FPreview->CurrentPage() < FPreview->Pages()) {
        FPreview->NextPage();
        UpdateButtons();
        bar->setValue(0);
    } else {
        bar->setValue(range - 1);
    }
}

void TFrmReportPreview::ScrollSideways(int delta) {
    QScrollBar *bar = ScrollBox1->horizontalScrollBar();
    const int wanted = bar->value() + delta;
    bar->setValue(delta < 0 ? std::max(0, wanted) : std::min(ScrollRange(*bar) - 1, wanted));
}

bool TFrmReportPreview::FormKeyDown(QKeyEvent &event) {
    if (PageEdit->hasFocus() && IsPageNumberFieldKey(event))
        return false;
    const std::optional<TPreviewKeyCommand> command = PreviewKeyCommand(event);
    if (!command)
        return false;
    // A key that acted is consumed, also when its command fails.
    bool consumed = true;
    RunHandlingExceptions([&] { consumed = RunKeyCommand(*command); });
    return consumed;
}

bool TFrmReportPreview::RunKeyCommand(TPreviewKeyCommand command) {
    // A disabled command's key goes on to the focused control. One that acted does not: a command
    // that opened a dialog has moved the focus, and the key travelling on to the window would act again.
    const auto clickIfEnabled = [](QToolButton *button) {
        if (!button->isEnabled())
            return false;
        button->click();
        return true;
    };
    QScrollBar *horizontal = ScrollBox1->horizontalScrollBar();
    switch (command) {
    case TPreviewKeyCommand::PageUp:
        ScrollPageUp();
        return true;
    case TPreviewKeyCommand::PageDown:
        ScrollPageDown();
        return true;
    case TPreviewKeyCommand::FirstPage:
        ShowFirstPage();
        return true;
    case TPreviewKeyCommand::LastPage:
        ShowLastPage();
        return true;
    case TPreviewKeyCommand::LineUp:
        ScrollUp();
        return true;
    case TPreviewKeyCommand::LineDown:
        ScrollDown();
        return true;
    case TPreviewKeyCommand::LineLeft:
        ScrollSideways(-horizontal->singleStep());
        return true;
    case TPreviewKeyCommand::LineRight:
        ScrollSideways(horizontal->singleStep());
        return true;
    case TPreviewKeyCommand::ScreenLeft:
        ScrollSideways(-ScrollBox1->width());
        return true;
    case TPreviewKeyCommand::ScreenRight:
        ScrollSideways(ScrollBox1->width());
        return true;
    case TPreviewKeyCommand::Close:
        close();
        return true;
    case TPreviewKeyCommand::ZoomIn:
        BtnZoomInClick();
        return true;
    case TPreviewKeyCommand::ZoomOut:
        BtnZoomOutClick();
        return true;
    case TPreviewKeyCommand::Open:
        return clickIfEnabled(BtnOpen);
    case TPreviewKeyCommand::Save:
        return clickIfEnabled(BtnSave);
    case TPreviewKeyCommand::Print:
        return clickIfEnabled(BtnPrint);
    case TPreviewKeyCommand::ExportPDF:
        return clickIfEnabled(BtnExportPDF);
    case TPreviewKeyCommand::ExportHTML:
        return clickIfEnabled(BtnExportHTML);
    case TPreviewKeyCommand::FirstPageButton:
        return clickIfEnabled(BtnFirst);
    case TPreviewKeyCommand::PriorPageButton:
        return clickIfEnabled(BtnPrior);
    case TPreviewKeyCommand::NextPageButton:
        return clickIfEnabled(BtnNext);
    case TPreviewKeyCommand::LastPageButton:
        return clickIfEnabled(BtnLast);
    }
    return false;
}

bool TFrmReportPreview::eventFilter(QObject *watched, QEvent *event) {
    if (watched == ScrollBox1 && event->type() == QEvent::Resize && FFitMode != TFitMode::None) {
        RunHandlingExceptions([&] { ApplyFit(); });
        return false;
    }
    if (watched == ScrollBox1->viewport() && event->type() == QEvent::Wheel) {
        const auto *wheel = static_cast<QWheelEvent *>(event);
        RunHandlingExceptions([&] { wheel->angleDelta().y() < 0 ? ScrollDown() : ScrollUp(); });
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace fiscora
