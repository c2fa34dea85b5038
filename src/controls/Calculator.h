#pragma once

#include <QDialog>
#include <QFont>
#include <QString>

#include <functional>

class QAbstractButton;
class QFrame;
class QLabel;
class QToolButton;

namespace fiscora {

// Four-function calculator opened from a currency field, created for one use and shown through
// RunModal. The field sets FieldText before showing it, then reads PutKey and DisplayText().
// Results are rounded to CurrentCentDigits decimals. Buttons carry the names of their roles
// (objectName "Btn7", "BtnPlus", "BtnRecall", ...); the display is the label "Display".
class TCalculator : public QDialog {
    Q_OBJECT
public:
    explicit TCalculator(QWidget *parent = nullptr);
    ~TCalculator() override;

    // The text in the calculator display.
    QString DisplayText() const;

    bool PutKey = false; // the user pressed Put; reset by the field
    QString FieldText;   // the field's text, shown by Get

protected:
    void showEvent(QShowEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void FormShow();
    void NumberClick(QAbstractButton *sender);
    void BtnDecimalClick();
    void OperatorClick(QAbstractButton *sender);
    void BtnAllClearClick();
    void BtnClearEntryClick();
    void BtnPlusMinusClick();
    void BtnBkspClick();
    void BtnRoundClick();
    void BtnStoreClick();
    void BtnSumClick();
    void BtnRecallClick();
    void BtnGetClick();
    void BtnPutClick();
    bool FormKeyPress(QChar key);

    // Runs the handler on a click; its errors go to the general error display from here.
    void OnClick(QToolButton *button, std::function<void()> handler);
    QToolButton *AddButton(const char *name, const QString &caption, const QString &hint, int row, int column,
                           int columnSpan = 1);
    void SetDisplay(const QString &text);
    void ShowNumber(double value);
    double DisplayValue() const;
    void UpdateRecallButton();

    double Oper1 = 0;
    double Oper2 = 0;
    double Stored = 0;
    int NumOper = 0;
    int LastInput = 0;
    QChar OperFlag = u' ';
    bool DecFlag = false;
    int iDigit = 1;
    int iClear = 3;
    int iOper = 4;
    int iGetRcl = 5;
    int iMaxChars = 17;

    int FClientLeft = 0; // the layout's left edge in a dialog widened for its title
    QFont FDisplayFont;
    QFrame *Panel1 = nullptr;
    QLabel *Display = nullptr;
    QToolButton *Btn[10] = {};
    QToolButton *BtnClearEntry = nullptr;
    QToolButton *BtnAllClear = nullptr;
    QToolButton *BtnMultiply = nullptr;
    QToolButton *BtnDivide = nullptr;
    QToolButton *BtnPlus = nullptr;
    QToolButton *BtnMinus = nullptr;
    QToolButton *BtnDecimal = nullptr;
    QToolButton *BtnPlusMinus = nullptr;
    QToolButton *BtnPerCent = nullptr;
    QToolButton *BtnRound = nullptr;
    QToolButton *BtnStore = nullptr;
    QToolButton *BtnSum = nullptr;
    QToolButton *BtnRecall = nullptr;
    QToolButton *BtnGet = nullptr;
    QToolButton *BtnPut = nullptr;
    QToolButton *BtnBksp = nullptr;
    QToolButton *BtnEquals = nullptr;
};

} // namespace fiscora
