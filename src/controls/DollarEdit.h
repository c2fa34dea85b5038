#pragma once

#include "ToolDialogField.h"

#include <QColor>

namespace fiscora {

class TCalculator;

// Entry field for money amounts. Without the focus it shows the display form ("$1,234.50", red when
// negative); with the focus the bare editing form ("1234.50"). Every typed character is checked
// against the digit limits, the bounds and the sign rule; the key C or a double-click opens the
// calculator, whose Put brings its result into the field.
//
// Use Value()/SetValue() for the amount. The main window's two fields:
//   cost:  SetCurrency(true); SetMinusKey(false); connect Exited to the field-exit check.
//   bonus: SetCurrency(true); setReadOnly(true); setFocusPolicy(Qt::ClickFocus) (not a tab stop).
// Alignment is QLineEdit's own (right by default). All messages go through ShowMsgBox.
class TDollarEdit : public TToolDialogField {
    Q_OBJECT
public:
    explicit TDollarEdit(QWidget *parent = nullptr);
    ~TDollarEdit() override;

    // The current text read by StrToAmount, whichever form it is in ("$1,234.56" reads 1234.56).
    // Pasted text that leaves no number ("1.2.3") raises EConvertError until the field has reported
    // it on entering or leaving; from then on, until the text changes, it reads as 0 (no amount), so
    // that the fault is not reported again by everything that reads the field.
    double Value() const;
    // Stores the value (above 999999999999.99 it is clamped) and shows the display form.
    void SetValue(double value);

    int DollarDigits() const { return FDollarDigits; }
    void SetDollarDigits(int digits); // at most 12
    int CentDigits() const { return FCentDigits; }
    void SetCentDigits(int digits); // at most 6
    bool Currency() const { return FCurrency; }
    void SetCurrency(bool currency); // the "$" shows with 0 or 2 cent digits only
    bool MinusKey() const { return FMinuskey; }
    void SetMinusKey(bool minusKey) { FMinuskey = minusKey; }
    bool RequiredField() const { return FRequired; }
    void SetRequiredField(bool required) { FRequired = required; }
    double MaxValue() const { return FMaxValue; } // 0: no bound
    void SetMaxValue(double value) { FMaxValue = value; }
    double MinValue() const { return FMinValue; } // 0: no bound
    void SetMinValue(double value) { FMinValue = value; }
    // Most characters that can be typed: DollarDigits + CentDigits + 2.
    int TypingLimit() const { return FTypingLimit; }
    QColor FontColor() const { return FontClr; }
    void SetFontColor(const QColor &color) { FontClr = color; } // shown from the next display form

    // Runs the calculator hand-off for "C" and "c".
    void KeyPress(QChar &key) override;

    // The display text of an amount in this field's format.
    QString FormatAmountText(double value) const;

protected:
    // Entered follows the change to the editing form, Exited the change to the display form.
    void DoEnter() override;
    void DoExit() override;
    bool IsRefusedByEditBox(QChar key) const override;

private:
    void FormatValue();
    void UnformatText();
    void UpdateTypingLimit();
    bool IsAtTypingLimit() const;
    void CalculatorHandOff();
    void RefuseAmount(const char *messageStart, double bound);

    bool FRequired = false;
    bool FMinuskey = true;
    int FDollarDigits = 9;
    int FCentDigits = 2;
    TCalculator *FCalculator = nullptr; // set only while the calculator is open
    double FMaxValue = 0;
    double FMinValue = 0;
    bool FirstTime = false;
    double FieldValue = 0;
    bool FCurrency = false;
    QColor FontClr;
    int FTypingLimit = 0;
    bool FFaultReported = false; // the text is no number and the user has been told
};

} // namespace fiscora
