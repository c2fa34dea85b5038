#pragma once

#include "BookFigures.h"

#include <QMainWindow>

#include <memory>
#include <optional>
#include <vector>

class QAction;
class QComboBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QTableView;

namespace fiscora {

class Book;
class BookAssetSortProxy;
class BookAssetTableModel;
class BookChart;
class Form4562Table;
class TFrmAmortix;
class TReportJob;

// The asset book window: the register of a book for a tax year, the commands that move assets
// between the book and the main window's fields, CSV import and export, and the book reports. Every
// change is saved at once, in its own transaction.
class BookWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit BookWindow(TFrmAmortix &mainWindow);
    ~BookWindow() override;

    // Opens the book at the location (a file or a connection string); raises EBookError and keeps
    // the book open before when it cannot.
    void OpenBook(const QString &location);
    Book *CurrentBook() const { return FBook.get(); }
    const std::vector<DepreciatedAsset> &Assets() const { return FAssets; }
    std::optional<int> TaxYear() const;
    void SetTaxYear(int taxYear);

    // Commands.
    void NewBookClick();
    void OpenBookClick();
    void OpenSharedBookClick();
    void ImportCsvClick();
    void ExportCsvClick();
    void AddClick();
    void UpdateClick();
    void LoadClick();
    void RemoveClick();
    void BookReportClick();
    void Form4562Click();
    // Reads the book again, keeping the selection.
    void Reload();

    // The selected asset, as loaded; nothing when none (or the totals row) is selected.
    const AssetRecord *SelectedAsset() const;
    void SelectAsset(std::int64_t assetId);

    QMenu *FileMenu;
    QMenu *RecentMenu;
    QMenu *ReportMenu;
    QAction *ActNewBook;
    QAction *ActOpenBook;
    QAction *ActOpenSharedBook;
    QAction *ActImportCsv;
    QAction *ActExportCsv;
    QAction *ActClose;
    QAction *ActBookReport;
    QAction *ActForm4562;
    QComboBox *CbxTaxYear;
    QLineEdit *EdtFilter;
    QTableView *GrdAssets;
    QPushButton *BtnAdd;
    QPushButton *BtnUpdate;
    QPushButton *BtnLoad;
    QPushButton *BtnRemove;
    QLabel *LblStatus;
    BookChart *ChtYears;
    Form4562Table *GrdForm4562;
    BookAssetTableModel *AssetModel;
    BookAssetSortProxy *AssetProxy;

private:
    void CreateMenus();
    void CreateControls();
    void SizeRegisterColumns();
    void FitDefaultSize();
    void FillRecentMenu();
    void ShowBook();
    void FillTaxYears();
    void ShowRegister();
    void UpdateCommands();
    void RunReport(const char *reportName);
    // A save refused because someone else changed the asset: says so and shows the book as it is now.
    template <typename Change> void SaveChange(Change &&change);
    AssetRecord RecordFromMainWindow() const;

    TFrmAmortix &FMain;
    std::unique_ptr<Book> FBook;
    std::vector<DepreciatedAsset> FAssets;
    std::unique_ptr<TReportJob> FReportJob;
};

} // namespace fiscora
