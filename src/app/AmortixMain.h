#pragma once

#include "AssetRules.h"
#include "InputValidation.h"
#include "report/system/FoProjectParams.h"

#include "report/system/FoSystem.h"

#include <QPointer>
#include <QString>
#include <QWidget>

#include <memory>

class QCheckBox;
class QComboBox;
class QHeaderView;
class QLabel;
class QLineEdit;
class QToolButton;

namespace fiscora {

class BookWindow;
class HelpWindow;
class SchedulePane;
class TDateEdit;
class TDollarEdit;
class TEnterAsTab;
class TFoProject;
class TFoRenderHTML;
class TFoRenderPDF;
class TReportJob;

// The main window: the asset's input fields, the schedule pane and the Depreciate, Print and Help
// buttons. Its handlers apply the engine's choice rules to the fields and run the Depreciate command.
// The components are public, named as on the form, so that commands and tests can reach them.
class TFrmAmortix : public QWidget {
    Q_OBJECT
public:
    static constexpr int kClientWidth = 580;
    static constexpr int kClientHeight = 508;
    static constexpr int kBorderWidth = 8;
    static constexpr int kHelpContext = 1;

    explicit TFrmAmortix(QWidget *parent = nullptr);
    ~TFrmAmortix() override;

    // The executable's folder with a trailing delimiter, and the report project file (in it, or in the
    // installed data folder, FindDataFile); both set when the window is first shown.
    const QString &ExeDir() const { return FExeDir; }
    const QString &ReportProjectFile() const { return FReportProjectFile; }

    // The named texts the report prints: the schedule sets its row parameters here.
    TFoParams &ReportParams() { return FReportParams; }
    const TFoParams &ReportParams() const { return FReportParams; }

    // The report template project and the report system that runs its reports.
    TFoProject &FolioProject();
    TFoSystem &ReportSystem();

    // The asset as the fields hold it now.
    AssetInputs ReadInputs() const;
    // Puts an asset into the fields, with the enabled states the rules give it, as if entered.
    void WriteInputs(const AssetInputs &inputs);
    // Gives the keyboard focus to the field of a failed check.
    void FocusField(AssetField field);

    // The asset book window, one per process: opened on first use, on the book file when one is given.
    BookWindow &ShowBookWindow();
    BookWindow &OpenBookWindow(const QString &location);

    // Event handlers.
    void FormShow();
    void FormClose();
    void CbxProperty_TypeChange();
    void CbxDepreciable_LifeChange();
    void ChkBonusDeprClick();
    void FieldExit();
    void BtnDepreciateClick();
    void BtnPrintClick();
    void BtnBookClick();
    void BtnHelpClick();
    // Shows the report in the preview window, for the report system.
    void ReportSystemOverridePreview(TFoSystem &ReportSystem, TOverrideMode OverrideMode,
                                     std::unique_ptr<QObject> &OverrideForm);

    QWidget *ClientArea;
    QLabel *LblProperty_Description;
    QLineEdit *EdtProperty_Description;
    QLabel *LblProperty_Type;
    QComboBox *CbxProperty_Type;
    QLabel *LblDate_Placed_in_Service;
    TDateEdit *EdtDate_Placed_in_Service;
    QLabel *LblCost_or_Basis;
    TDollarEdit *EdtCost_or_Basis;
    QLabel *LblDepreciation_Method;
    QComboBox *CbxDepreciation_Method;
    QLabel *LblConvention;
    QComboBox *CbxConvention;
    QLabel *LblDepreciable_Life;
    QComboBox *CbxDepreciable_Life;
    QCheckBox *ChkBonusDepr;
    QLabel *LblBonusDepr;
    TDollarEdit *EdtBonusDepr;
    QLabel *LblFiscal_Year;
    TDateEdit *EdtFiscal_Year;
    SchedulePane *RichEdit;
    QHeaderView *HdrDepreciation_Report;
    QToolButton *BtnDepreciate;
    QToolButton *BtnPrint;
    QToolButton *BtnBook;
    QToolButton *BtnHelp;
    TEnterAsTab *EnterAsTab;

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void CreateControls();
    void SetTabOrder();
    void ConnectHandlers();
    void CentreOnScreen();
    AssetEntry ReadEntry() const;
    // Writes back what the rules decide (method, convention, life, bonus and the enabled states)
    // without running the change handlers again.
    void WriteRuleResults(const AssetEntry &entry);

    TFoParams FReportParams;
    std::unique_ptr<TReportJob> FReportJob;
    // Offered as file formats in the Output Options dialog while the window lives.
    std::unique_ptr<TFoRenderPDF> FPdfFormat;
    std::unique_ptr<TFoRenderHTML> FHtmlFormat;
    QString FExeDir;
    QString FReportProjectFile;
    bool FShown = false;
    QPointer<HelpWindow> FHelpWindow;
    QPointer<BookWindow> FBookWindow;
};

} // namespace fiscora
