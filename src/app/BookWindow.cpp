#include "BookWindow.h"

#include "AmortixMain.h"
#include "AssetCsvImport.h"
#include "Book.h"
#include "BookAssetEntry.h"
#include "BookAssetSortProxy.h"
#include "BookAssetTableModel.h"
#include "BookChart.h"
#include "BookCsvExport.h"
#include "BookError.h"
#include "BookReportData.h"
#include "Clock.h"
#include "DataFileLocation.h"
#include "Form4562Table.h"
#include "GeneralErrorDisplay.h"
#include "ModalRunner.h"
#include "MsgBox.h"
#include "NewBookDialog.h"
#include "PreviewWindowSetup.h"
#include "RecentBooks.h"
#include "ReportJob.h"
#include "SharedBookDialog.h"
#include "Utf8Text.h"
#include "output/dialogs/FileDialogs.h"
#include "report/system/FoProject.h"

#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QSaveFile>
#include <QScreen>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QSplitter>
#include <QStatusBar>
#include <QTableView>
#include <QVBoxLayout>

#include <algorithm>

namespace fiscora {

namespace {

const char *const kWindowTitle = "Fiscora Asset Book";
const char *const kBookFilter = "Asset Books (*.fbook)|*.fbook";
const char *const kCsvFilter = "CSV Files (*.csv)|*.csv";

// The number after the highest all-digit asset number in the book: "1" in an empty book.
std::string NextAssetNumber(const std::vector<std::string> &numbers) {
    long long highest = 0;
    for (const std::string &number : numbers)
        if (!number.empty() && number.size() < 18 && std::all_of(number.begin(), number.end(), ::isdigit))
            highest = std::max(highest, std::stoll(number));
    return std::to_string(highest + 1);
}

int TaxYearOfDate(const std::string &date, int yearEndMonth) {
    const std::string yearEnd = FiscalYearEndFor(date, yearEndMonth);
    return yearEnd.size() == 10 ? std::stoi(yearEnd.substr(6)) : 0;
}

// The location as the book list keeps it: files by their absolute name.
QString KeptLocation(const QString &location) {
    if (ParseBookLocation(location.toStdString()).backEnd == BookBackEnd::Sqlite)
        return QFileInfo(location).absoluteFilePath();
    return location;
}

} // namespace

BookWindow::BookWindow(TFrmAmortix &mainWindow)
    : QMainWindow(&mainWindow, Qt::Window), FMain(mainWindow), FReportJob(std::make_unique<TReportJob>()) {
    setObjectName(QStringLiteral("BookWindow"));
    setAttribute(Qt::WA_DeleteOnClose, false);
    FReportJob->System().OverridePreview = [this](TFoSystem &system, TOverrideMode mode,
                                                  std::unique_ptr<QObject> &form) {
        OverridePreviewInWindow(system, mode, form, this);
    };
    CreateMenus();
    CreateControls();
    ShowBook();
    FitDefaultSize();
}

void BookWindow::SizeRegisterColumns() {
    // Wide enough for the longest type, a date, and amounts up to $9,999,999.99 (wider ones elide).
    const QFontMetrics metrics(GrdAssets->font());
    const int padding = 2 * metrics.averageCharWidth() + 4;
    const int amount = metrics.horizontalAdvance(QStringLiteral("9,999,999.99")) + padding;
    int longestType = 0;
    for (const std::string_view type : kPropertyTypeTexts)
        longestType =
            std::max(longestType, metrics.horizontalAdvance(QLatin1String(type.data(), type.size())));
    const int widths[BookAssetTableModel::kColumnCount] = {
        metrics.horizontalAdvance(QStringLiteral("Asset No.")) + padding + 20, // room for the sort mark
        metrics.horizontalAdvance(QStringLiteral("Furniture, main office")),
        longestType + padding,
        metrics.horizontalAdvance(QStringLiteral("Placed in")) + padding + 20,
        amount,
        amount,
        amount,
        amount,
        amount,
        amount,
        metrics.horizontalAdvance(QStringLiteral("Depreciated")) + padding};
    for (int column = 0; column < BookAssetTableModel::kColumnCount; ++column)
        GrdAssets->setColumnWidth(column, widths[column]);
}

void BookWindow::FitDefaultSize() {
    // The whole register's width when the screen has room for it, and never more than the screen.
    const int registerWidth =
        GrdAssets->horizontalHeader()->length() + GrdAssets->verticalScrollBar()->sizeHint().width() +
        2 * GrdAssets->frameWidth() + centralWidget()->layout()->contentsMargins().left() +
        centralWidget()->layout()->contentsMargins().right();
    QSize wanted(registerWidth, 760);
    if (const QScreen *shown = screen()) {
        const QRect room = shown->availableGeometry();
        // Leaves room for the window manager's frame.
        wanted = wanted.boundedTo(QSize(room.width() - 24, room.height() - 48));
    }
    resize(wanted);
}

BookWindow::~BookWindow() = default;

void BookWindow::CreateMenus() {
    const auto guarded = [this](void (BookWindow::*handler)()) {
        return [this, handler] { RunHandlingExceptions([&] { (this->*handler)(); }); };
    };
    FileMenu = menuBar()->addMenu(QStringLiteral("&File"));
    ActNewBook =
        FileMenu->addAction(QStringLiteral("&New Book..."), this, guarded(&BookWindow::NewBookClick));
    ActOpenBook =
        FileMenu->addAction(QStringLiteral("&Open Book..."), this, guarded(&BookWindow::OpenBookClick));
    ActOpenSharedBook = FileMenu->addAction(QStringLiteral("Open &Shared Book..."), this,
                                            guarded(&BookWindow::OpenSharedBookClick));
    RecentMenu = FileMenu->addMenu(QStringLiteral("&Recent Books"));
    connect(RecentMenu, &QMenu::aboutToShow, this, &BookWindow::FillRecentMenu);
    FileMenu->addSeparator();
    ActImportCsv =
        FileMenu->addAction(QStringLiteral("&Import CSV..."), this, guarded(&BookWindow::ImportCsvClick));
    ActExportCsv =
        FileMenu->addAction(QStringLiteral("&Export CSV..."), this, guarded(&BookWindow::ExportCsvClick));
    FileMenu->addSeparator();
    ActClose = FileMenu->addAction(QStringLiteral("&Close"), this, &QWidget::close);

    ReportMenu = menuBar()->addMenu(QStringLiteral("&Report"));
    ActBookReport =
        ReportMenu->addAction(QStringLiteral("&Book Report..."), this, guarded(&BookWindow::BookReportClick));
    ActForm4562 = ReportMenu->addAction(QStringLiteral("&Form 4562 Worksheet..."), this,
                                        guarded(&BookWindow::Form4562Click));
    FillRecentMenu();
}

void BookWindow::FillRecentMenu() {
    RecentMenu->clear();
    const QStringList books = RecentBooks();
    for (int index = 0; index < books.size(); ++index) {
        const QString location = books[index];
        // "&" in a file name is text, not a mnemonic.
        QString shown = location;
        shown.replace(u'&', QStringLiteral("&&"));
        RecentMenu->addAction(QStringLiteral("&%1 %2").arg(index + 1).arg(shown), this,
                              [this, location] { RunHandlingExceptions([&] { OpenBook(location); }); });
    }
    RecentMenu->setEnabled(!books.isEmpty());
}

void BookWindow::CreateControls() {
    auto *client = new QWidget(this);
    setCentralWidget(client);

    CbxTaxYear = new QComboBox(client);
    CbxTaxYear->setObjectName(QStringLiteral("CbxTaxYear"));
    EdtFilter = new QLineEdit(client);
    EdtFilter->setObjectName(QStringLiteral("EdtFilter"));
    EdtFilter->setPlaceholderText(QStringLiteral("Filter by number, description or type"));
    EdtFilter->setClearButtonEnabled(true);
    auto *yearLabel = new QLabel(QStringLiteral("&Tax year:"), client);
    yearLabel->setBuddy(CbxTaxYear);
    auto *filterLabel = new QLabel(QStringLiteral("F&ilter:"), client);
    filterLabel->setBuddy(EdtFilter);

    AssetModel = new BookAssetTableModel(this);
    AssetProxy = new BookAssetSortProxy(*AssetModel, this);
    GrdAssets = new QTableView(client);
    GrdAssets->setObjectName(QStringLiteral("GrdAssets"));
    GrdAssets->setModel(AssetProxy);
    GrdAssets->setSortingEnabled(true);
    GrdAssets->sortByColumn(BookAssetTableModel::Number, Qt::AscendingOrder);
    GrdAssets->setSelectionBehavior(QAbstractItemView::SelectRows);
    GrdAssets->setSelectionMode(QAbstractItemView::SingleSelection);
    GrdAssets->setEditTriggers(QAbstractItemView::NoEditTriggers);
    GrdAssets->setAlternatingRowColors(true);
    GrdAssets->verticalHeader()->hide();
    GrdAssets->verticalHeader()->setDefaultSectionSize(GrdAssets->fontMetrics().height() + 6);
    GrdAssets->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    GrdAssets->horizontalHeader()->setStretchLastSection(false);
    GrdAssets->setWordWrap(false);
    // Two-line headers keep the amount columns as narrow as their amounts.
    GrdAssets->horizontalHeader()->setDefaultAlignment(Qt::Alignment(Qt::AlignCenter) |
                                                       Qt::Alignment(Qt::TextWordWrap));
    GrdAssets->horizontalHeader()->setMinimumHeight(2 * GrdAssets->fontMetrics().height() + 8);
    SizeRegisterColumns();

    BtnAdd = new QPushButton(QStringLiteral("&Add"), client);
    BtnUpdate = new QPushButton(QStringLiteral("&Update"), client);
    BtnLoad = new QPushButton(QStringLiteral("&Load"), client);
    BtnRemove = new QPushButton(QStringLiteral("Re&move"), client);
    BtnAdd->setToolTip(QStringLiteral("Adds the asset in the main window's fields to the book"));
    BtnUpdate->setToolTip(QStringLiteral("Saves the main window's fields as the selected asset"));
    BtnLoad->setToolTip(QStringLiteral("Puts the selected asset into the main window and depreciates it"));
    BtnRemove->setToolTip(QStringLiteral("Removes the selected asset from the book"));
    LblStatus = new QLabel(client);
    LblStatus->setObjectName(QStringLiteral("LblStatus"));

    auto *top = new QHBoxLayout;
    top->addWidget(yearLabel);
    top->addWidget(CbxTaxYear);
    top->addSpacing(16);
    top->addWidget(filterLabel);
    top->addWidget(EdtFilter, 1);
    auto *commands = new QHBoxLayout;
    for (QPushButton *button : {BtnAdd, BtnUpdate, BtnLoad, BtnRemove})
        commands->addWidget(button);
    commands->addStretch(1);
    commands->addWidget(LblStatus);
    ChtYears = new BookChart(client);
    GrdForm4562 = new Form4562Table(client);
    // The register needs the width; the chart and the form's lines share the strip below it.
    auto *below = new QSplitter(Qt::Horizontal, client);
    below->addWidget(ChtYears);
    below->addWidget(GrdForm4562);
    below->setStretchFactor(0, 1);
    below->setStretchFactor(1, 1);
    auto *split = new QSplitter(Qt::Vertical, client);
    split->addWidget(GrdAssets);
    split->addWidget(below);
    split->setStretchFactor(0, 3);
    split->setStretchFactor(1, 2);
    auto *layout = new QVBoxLayout(client);
    layout->addLayout(top);
    layout->addWidget(split, 1);
    layout->addLayout(commands);

    const auto guarded = [this](void (BookWindow::*handler)()) {
        return [this, handler] { RunHandlingExceptions([&] { (this->*handler)(); }); };
    };
    connect(BtnAdd, &QPushButton::clicked, this, guarded(&BookWindow::AddClick));
    connect(BtnUpdate, &QPushButton::clicked, this, guarded(&BookWindow::UpdateClick));
    connect(BtnLoad, &QPushButton::clicked, this, guarded(&BookWindow::LoadClick));
    connect(BtnRemove, &QPushButton::clicked, this, guarded(&BookWindow::RemoveClick));
    connect(GrdAssets, &QTableView::doubleClicked, this, guarded(&BookWindow::LoadClick));
    connect(CbxTaxYear, &QComboBox::currentIndexChanged, this, guarded(&BookWindow::ShowRegister));
    connect(EdtFilter, &QLineEdit::textChanged, this, [this](const QString &text) {
        AssetProxy->SetFilterText(text);
        UpdateCommands();
    });
    connect(GrdAssets->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &BookWindow::UpdateCommands);
}

std::optional<int> BookWindow::TaxYear() const {
    if (CbxTaxYear->currentIndex() < 0)
        return std::nullopt;
    return CbxTaxYear->currentData().toInt();
}

void BookWindow::SetTaxYear(int taxYear) {
    const int index = CbxTaxYear->findData(taxYear);
    if (index >= 0)
        CbxTaxYear->setCurrentIndex(index);
}

void BookWindow::OpenBook(const QString &location) {
    const std::string text = location.toStdString();
    std::unique_ptr<Book> book;
    try {
        book = Book::Open(text, BookAccess::Write);
    } catch (const EBookReadOnly &) {
        book = Book::Open(text, BookAccess::Read);
    } catch (const EBookError &) {
        ForgetBook(KeptLocation(location));
        throw;
    }
    FBook = std::move(book);
    RememberBook(KeptLocation(location));
    FillRecentMenu();
    ShowBook();
}

void BookWindow::ShowBook() {
    setWindowTitle(FBook ? ToQString(FBook->Name()) + QStringLiteral(" - ") + ToQString(FBook->Shown()) +
                               QStringLiteral(" - ") + QLatin1String(kWindowTitle)
                         : QString::fromLatin1(kWindowTitle));
    FAssets = FBook ? DepreciateBookAssets(FBook->Assets(), FBook->YearEndMonth())
                    : std::vector<DepreciatedAsset>();
    FillTaxYears();
    ShowRegister();
}

void BookWindow::FillTaxYears() {
    const std::optional<int> shown = TaxYear();
    const QSignalBlocker quiet(CbxTaxYear);
    CbxTaxYear->clear();
    if (!FBook)
        return;
    const int current = TaxYearOfDate(TodayDateStr(), FBook->YearEndMonth());
    int first = current, last = current;
    for (const DepreciatedAsset &asset : FAssets) {
        first = std::min(first, asset.firstTaxYear);
        last = std::max(last, asset.LastTaxYear());
    }
    for (int year = first; year <= last; ++year)
        CbxTaxYear->addItem(QString::number(year), year);
    const int index = CbxTaxYear->findData(shown.value_or(current));
    CbxTaxYear->setCurrentIndex(index >= 0 ? index : CbxTaxYear->findData(current));
}

void BookWindow::ShowRegister() {
    const AssetRecord *selected = SelectedAsset();
    const std::int64_t selectedId = selected ? selected->id : 0;
    AssetModel->SetRegister(FAssets, TaxYear());
    AssetProxy->SetFilterText(EdtFilter->text());
    if (selectedId != 0)
        SelectAsset(selectedId);
    ChtYears->ShowYears(TotalsByTaxYear(FAssets), TaxYear());
    GrdForm4562->ShowForm(MakeForm4562(FAssets, TaxYear().value_or(0)));
    LblStatus->setText(
        FBook ? QStringLiteral("%1 of %2 assets").arg(AssetModel->rowCount() - 1).arg(FAssets.size())
              : QStringLiteral("No book is open."));
    UpdateCommands();
}

void BookWindow::UpdateCommands() {
    const bool open = FBook != nullptr;
    const bool writable = open && FBook->Access() == BookAccess::Write;
    const bool selected = SelectedAsset() != nullptr;
    BtnAdd->setEnabled(writable);
    BtnUpdate->setEnabled(writable && selected);
    BtnRemove->setEnabled(writable && selected);
    BtnLoad->setEnabled(selected);
    ActImportCsv->setEnabled(writable);
    ActExportCsv->setEnabled(open);
    ActBookReport->setEnabled(open);
    ActForm4562->setEnabled(open);
}

void BookWindow::Reload() {
    ShowBook();
}

const AssetRecord *BookWindow::SelectedAsset() const {
    const QModelIndexList rows = GrdAssets->selectionModel()->selectedRows();
    if (rows.isEmpty())
        return nullptr;
    return AssetModel->RecordAt(AssetProxy->mapToSource(rows.front()).row());
}

void BookWindow::SelectAsset(std::int64_t assetId) {
    const int row = AssetModel->RowOf(assetId);
    const QModelIndex index = AssetProxy->mapFromSource(AssetModel->index(row, 0));
    if (row < 0 || !index.isValid()) {
        GrdAssets->clearSelection();
        return;
    }
    GrdAssets->selectionModel()->select(index,
                                        QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    GrdAssets->setCurrentIndex(index);
    GrdAssets->scrollTo(index);
}

void BookWindow::NewBookClick() {
    TFileDialogRequest request;
    request.Kind = TFileDialogRequest::TKind::Save;
    request.Title = QStringLiteral("New Book");
    request.Filter = QLatin1String(kBookFilter);
    request.DefaultExtension = QStringLiteral("fbook");
    const std::optional<TFileDialogAnswer> answer = AskFileName(this, request);
    if (!answer)
        return;
    NewBookDialog details(QFileInfo(answer->FileName).completeBaseName(), this);
    if (RunModal(details) != QDialog::Accepted)
        return;
    // A book is never made over another file: the file dialog's overwrite question is not enough.
    if (QFileInfo::exists(answer->FileName))
        throw EBookError("\"" + answer->FileName.toStdString() +
                         "\" already exists; a new book needs a file name of its own.");
    Book::Create(answer->FileName.toStdString(), details.BookName().toStdString(), details.YearEndMonth());
    OpenBook(answer->FileName);
}

void BookWindow::OpenBookClick() {
    TFileDialogRequest request;
    request.Kind = TFileDialogRequest::TKind::Open;
    request.Title = QStringLiteral("Open Book");
    request.Filter = QLatin1String(kBookFilter);
    request.DefaultExtension = QStringLiteral("fbook");
    if (const std::optional<TFileDialogAnswer> answer = AskFileName(this, request))
        OpenBook(answer->FileName);
}

void BookWindow::OpenSharedBookClick() {
    SharedBookDialog dialog(this);
    if (RunModal(dialog) != QDialog::Accepted)
        return;
    const QString location = dialog.ConnectionString();
    // A file name typed here would open as a file: this command opens shared books only.
    if (ParseBookLocation(location.toStdString()).backEnd != BookBackEnd::Postgres)
        throw EBookError("\"" + location.toStdString() +
                         "\" is no connection string; use Open Book for a book file.");
    OpenBook(location);
}

void BookWindow::ImportCsvClick() {
    if (!FBook)
        return;
    TFileDialogRequest request;
    request.Kind = TFileDialogRequest::TKind::Open;
    request.Title = QStringLiteral("Import CSV");
    request.Filter = QLatin1String(kCsvFilter);
    request.DefaultExtension = QStringLiteral("csv");
    const std::optional<TFileDialogAnswer> answer = AskFileName(this, request);
    if (!answer)
        return;
    QFile file(answer->FileName);
    if (!file.open(QIODevice::ReadOnly))
        throw EBookError("Cannot read \"" + answer->FileName.toStdString() +
                         "\": " + file.errorString().toStdString());
    const QByteArray text = file.readAll();
    std::size_t count = 0;
    try {
        count =
            ImportAssetCsv(*FBook, std::string_view(text.constData(), static_cast<std::size_t>(text.size())));
    } catch (const EImportRefused &refused) {
        std::string message = std::string(refused.what()) + ":";
        const std::size_t shown = std::min<std::size_t>(refused.problems.size(), 10);
        for (std::size_t index = 0; index < shown; ++index)
            message += "~" + refused.problems[index].Text();
        if (refused.problems.size() > shown)
            message += "~and " + std::to_string(refused.problems.size() - shown) + " more.";
        ShowMsgBox(message, ApplicationTitle(), kMsgIconError);
        return;
    }
    Reload();
    ShowMsgBox("Imported " + std::to_string(count) + (count == 1 ? " asset." : " assets."),
               ApplicationTitle(), kMsgIconInformation);
}

void BookWindow::ExportCsvClick() {
    if (!FBook)
        return;
    TFileDialogRequest request;
    request.Kind = TFileDialogRequest::TKind::Save;
    request.Title = QStringLiteral("Export CSV");
    request.Filter = QLatin1String(kCsvFilter);
    request.DefaultExtension = QStringLiteral("csv");
    const std::optional<TFileDialogAnswer> answer = AskFileName(this, request);
    if (!answer)
        return;
    if (FBook->BackEnd() == BookBackEnd::Sqlite &&
        QFileInfo(answer->FileName).absoluteFilePath() ==
            QFileInfo(ToQString(FBook->Shown())).absoluteFilePath())
        throw EBookError("The export cannot be written over the book itself.");
    const std::string csv = RegisterCsv(MakeAssetRegister(FAssets, TaxYear()));
    QSaveFile file(answer->FileName);
    if (!file.open(QIODevice::WriteOnly) || file.write(csv.data(), static_cast<qint64>(csv.size())) < 0 ||
        !file.commit())
        throw EBookError("Cannot write \"" + answer->FileName.toStdString() +
                         "\": " + file.errorString().toStdString());
}

AssetRecord BookWindow::RecordFromMainWindow() const {
    const int yearEndMonth = FBook->YearEndMonth();
    AssetInputs inputs = FMain.ReadInputs();
    // A book's assets end their fiscal years with the book; the rest is checked as Depreciate checks it.
    inputs.fiscalYearEnd = FiscalYearEndFor(inputs.placedInService, yearEndMonth);
    ValidateInputs(inputs, [this](AssetField field) {
        FMain.activateWindow();
        FMain.FocusField(field);
    });
    return EnterBookAsset(RequestForInputs(inputs), yearEndMonth, TodayDateStr());
}

template <typename Change> void BookWindow::SaveChange(Change &&change) {
    try {
        change();
    } catch (const EBookConflict &conflict) {
        Reload();
        ShowMsgBox(conflict.what(), ApplicationTitle(), kMsgIconWarning);
    }
}

void BookWindow::AddClick() {
    if (!FBook)
        return;
    AssetRecord record = RecordFromMainWindow();
    record.assetNumber = NextAssetNumber(FBook->AssetNumbers());
    const std::int64_t id = FBook->AddAsset(record);
    Reload();
    // An asset placed in service after the tax year shown is in the register of its own year.
    if (AssetModel->RowOf(id) < 0)
        SetTaxYear(TaxYearOfDate(record.placedInService, FBook->YearEndMonth()));
    SelectAsset(id);
}

void BookWindow::UpdateClick() {
    const AssetRecord *selected = SelectedAsset();
    if (!FBook || !selected)
        return;
    const AssetRecord loaded = *selected;
    AssetRecord record = RecordFromMainWindow();
    record.id = loaded.id;
    record.assetNumber = loaded.assetNumber;
    record.note = loaded.note;
    record.rowVersion = loaded.rowVersion;
    SaveChange([&] {
        FBook->SaveAsset(record);
        Reload();
        SelectAsset(record.id);
    });
}

void BookWindow::LoadClick() {
    const AssetRecord *selected = SelectedAsset();
    if (!FBook || !selected)
        return;
    FMain.WriteInputs(BookAssetInputs(*selected, FBook->YearEndMonth()));
    FMain.BtnDepreciateClick();
    FMain.raise();
    FMain.activateWindow();
}

void BookWindow::RemoveClick() {
    const AssetRecord *selected = SelectedAsset();
    if (!FBook || !selected)
        return;
    const AssetRecord loaded = *selected;
    const std::string named = loaded.assetNumber.empty() ? "the asset" : "asset " + loaded.assetNumber;
    const std::string question = "Remove " + named + " \"" + loaded.description + "\" from the book?";
    if (ShowMsgBox(question, ApplicationTitle(), kMsgYesNo | kMsgIconQuestion) != kMsgResultYes)
        return;
    SaveChange([&] {
        FBook->RemoveAsset(loaded.id, loaded.rowVersion);
        Reload();
    });
}

void BookWindow::BookReportClick() {
    RunReport(DeprBookReportName);
}

void BookWindow::Form4562Click() {
    RunReport(Form4562ReportName);
}

void BookWindow::RunReport(const char *reportName) {
    const std::optional<int> taxYear = TaxYear();
    if (!FBook || !taxYear)
        return;
    const QString name = QLatin1String(reportName);
    TFoProject &project = FReportJob->Project();
    if (project.ProjectFile().isEmpty()) {
        FReportJob->HomeFolder = FMain.ExeDir();
        FReportJob->OpenTemplate(FindDataFile(QStringLiteral("Amortix.fol")), name);
    } else if (!project.SelectReport(name, false)) {
        throw EBookError("The report template has no report \"" + name.toStdString() + "\".");
    }
    const BookReportSource source{FBook->Name(), FBook->YearEndMonth(), FAssets};
    FReportJob->PrintData([&](TFoProject &target) { SetBookReportData(target, name, source, *taxYear); });
}

} // namespace fiscora
