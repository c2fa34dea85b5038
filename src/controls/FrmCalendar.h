#pragma once

#include <QDialog>
#include <QString>

class QCalendarWidget;
class QDate;
class QLabel;
class QPushButton;
class QToolButton;

namespace fiscora {

class FormKeyPreview;

// Month calendar opened from a date field, created for one use and shown through RunModal. The
// field calls PutDate with its text, shows the dialog, and when Paste is set takes GetDate().
// Page Up/Down step a month, Alt+Page Up/Down go to January 1 of the previous/next year.
class TFrmCalendar : public QDialog {
    Q_OBJECT
public:
    explicit TFrmCalendar(QWidget *parent = nullptr);
    ~TFrmCalendar() override;

    // Shows the date of a valid "mm/dd/yyyy" text; any other text changes nothing.
    void PutDate(const QString &sDate);
    // The selected date as "mm/dd/yyyy".
    QString GetDate() const;
    // The caption text of the selected month, e.g. "March, 2024".
    QString GetMonthYear() const;

    bool Paste = false; // the user chose Paste Date; reset by the field

    QCalendarWidget *Calendar = nullptr;
    QToolButton *BtnNext = nullptr;
    QToolButton *BtnPrior = nullptr;
    QLabel *Panel = nullptr;
    QPushButton *BtnPasteDate = nullptr;
    QPushButton *BtnCancel = nullptr;

protected:
    void showEvent(QShowEvent *event) override;

private:
    void FormShow();
    void BtnNextClick();
    void BtnPriorClick();
    void BtnPasteDateClick();
    bool FormKeyDown(const QKeyEvent &event);
    void MoveMonths(int months);
    void SetCalendarDate(const QDate &date);
    void UpdateCaption();

    FormKeyPreview *FKeyPreview = nullptr;
};

} // namespace fiscora
