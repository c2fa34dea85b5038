#pragma once

#include <QDialog>

#include <functional>
#include <memory>

class QFile;
class QIODevice;
class QKeyEvent;
class QLabel;
class QMenu;
class QAction;
class QScrollArea;
class QStatusBar;
class QToolBar;
class QToolButton;

namespace fiscora {

class FormKeyPreview;
enum class TPreviewKeyCommand;
class TPageNumberEdit;
class TFoRenderPreview;
class TFoRenderPrinter;
class TFoSystem;

// The report preview window: shows a finished report page by page, pages and zooms, saves the
// snapshot and reopens saved ones, prints it and exports it to PDF or HTML.
class TFrmReportPreview : public QDialog {
    Q_OBJECT
public:
    explicit TFrmReportPreview(QWidget *parent = nullptr);
    ~TFrmReportPreview() override;

    TFoSystem *ReportSystem = nullptr;
    QString FInputFileName;
    QIODevice *FInputStream = nullptr;
    int PageNum() const { return FPageNum; }

    TFoRenderPreview &FoRenderPreview() { return *FPreview; }
    TFoRenderPrinter &FoRenderPrinter() { return *FPrinter; }
    // Raised after printing from the window, with the printer renderer.
    std::function<void(TFoRenderPrinter &)> OnAfterPreviewPrint;
    QIODevice *SnapshotStream() const;

    // Takes the snapshot the report system gave and shows its first page.
    void InitFromReportSystem();
    // Shows a saved snapshot file instead.
    void OpenFile(const QString &sFileName);
    void UpdateButtons();
    // " Page N of M".
    QString StatusText() const;
    // "85 %".
    QString ZoomText() const;

    QToolBar *ToolBar;
    QToolButton *BtnOpen;
    QToolButton *BtnSave;
    QToolButton *BtnPrint;
    QToolButton *BtnFirst;
    QToolButton *BtnPrior;
    QToolButton *BtnNext;
    QToolButton *BtnLast;
    QToolButton *BtnZoomIn;
    QToolButton *BtnZoomOut;
    QToolButton *BtnFitWidth;
    QToolButton *BtnFitPage;
    QToolButton *BtnExportPDF;
    QToolButton *BtnExportHTML;
    QToolButton *BtnExit;
    QScrollArea *ScrollBox1;
    QStatusBar *StatusBar;
    QLabel *StatusPanel;
    TPageNumberEdit *PageEdit; // the page to go to, typed
    QLabel *ZoomPanel;
    QMenu *PopupMenu;
    QAction *MnuOpen, *MnuSave, *MnuPrint, *MnuFirstPage, *MnuPriorPage, *MnuNextPage, *MnuLastPage,
        *MnuZoomIn, *MnuZoomOut, *MnuFitWidth, *MnuFitPage, *MnuExportPDF, *MnuExportHTML, *MnuExit;

    // Event handlers.
    void FormShow();
    void BtnOpenClick();
    void BtnSaveClick();
    void BtnPrintClick();
    void BtnFirstClick();
    void BtnPriorClick();
    void BtnNextClick();
    void BtnLastClick();
    void BtnZoomInClick();
    void BtnZoomOutClick();
    void BtnFitWidthClick();
    void BtnFitPageClick();
    void BtnExportPDFClick();
    void BtnExportHTMLClick();
    void BtnExitClick();
    void PopupMenuPopup();
    bool FormKeyDown(QKeyEvent &event);

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // Which fit, if any, the zoom keeps while the window changes size.
    enum class TFitMode { None, PageWidth, WholePage };

    void CreateControls();
    void CreateStatusBar();
    void CreatePopupMenu();
    // A tool bar command: its button in the bar, or its entry in the bar's overflow menu when the
    // window is too narrow for the button.
    QToolButton *AddButton(const char *name, const QString &caption, const QString &hint,
                           void (TFrmReportPreview::*handler)());
    bool AllowPrint() const;
    bool AllowSave() const;
    void PreviewPageChange();
    void PreviewZoomChange();
    void UpdateZoomControls();
    void ApplyFit();
    void GoToPage(int page);
    // Shows the first or the last page, scrolled to its top or its end.
    void ShowFirstPage();
    void ShowLastPage();
    void ScrollDown();
    void ScrollUp();
    void ScrollPageDown();
    void ScrollPageUp();
    // Scrolls left (less than 0) or right, no further than the page's edge.
    void ScrollSideways(int delta);
    // Returns whether the key acted.
    bool RunKeyCommand(TPreviewKeyCommand command);
    // Runs a command at the window's edge: its error goes to the general error display.
    void Guarded(void (TFrmReportPreview::*handler)());

    int FPageNum = 1;
    bool fFormClosed = false;
    TFitMode FFitMode = TFitMode::None;
    bool FApplyingFit = false;
    std::unique_ptr<TFoRenderPreview> FPreview;
    std::unique_ptr<TFoRenderPrinter> FPrinter;
    std::unique_ptr<QFile> FAlternateSnapshot; // a snapshot file this window opened
    std::unique_ptr<FormKeyPreview> FKeyPreview;
};

} // namespace fiscora
