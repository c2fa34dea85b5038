#pragma once

#include <QDialog>

#include <functional>

class QLabel;
class QPushButton;

namespace fiscora {

class TFoSystem;

// The Report Status window: the running output's status text, and Cancel to abort the report.
class TFoStatusForm : public QDialog {
    Q_OBJECT
public:
    explicit TFoStatusForm(TFoSystem &ReportSystem, QWidget *parent = nullptr);
    ~TFoStatusForm() override;

    TFoSystem &ReportSystem;
    QLabel *StatusLabel;
    QPushButton *CancelButton;
    // What Cancel stops while pages are printed; without it Cancel aborts the report being generated.
    std::function<void()> OnCancel;

    void CancelButtonClick();
    // Shows the window and has `statusText` (a report's or a printer's StatusLabel) write into it;
    // the text is dropped once the window is gone.
    void ShowStatusOf(std::function<void(const QString &)> &statusText);
};

} // namespace fiscora
