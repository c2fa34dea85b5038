#include "DollarEdit.h"

#include "AmountFormat.h"
#include "Calculator.h"
#include "CurrentCentDigits.h"
#include "FieldColors.h"
#include "ModalRunner.h"
#include "MsgBox.h"
#include "ToolBox.h"
#include "TypedChar.h"

#include <QScopedValueRollback>

#include <algorithm>
#include <memory>

namespace fiscora {

namespace {

constexpr double kLargestValue = 999999999999.99;
constexpr int kMostDollarDigits = 12;
constexpr int kMostCentDigits = 6;

bool IsDigit(QChar key) {
    return key >= u'0' && key <= u'9';
}

bool IsAcceptedKey(QChar key) {
    return key == QChar(kKeyBackspace) || key == QChar(kKeyEnter) || key == u'-' || key == u'.' ||
           IsDigit(key) || key == u'C' || key == u'c';
}

// "0", "0.0", "0.00", ... for 0 to 6 decimals.
std::string ZeroText(int centDigits) {
    return centDigits > 0 ? "0." + std::string(static_cast<size_t>(centDigits), '0') : "0";
}

double AmountOf(const QString &text) {
    return StrToAmount(text.toStdString());
}

} // namespace

TDollarEdit::TDollarEdit(QWidget *parent) : TToolDialogField(parent) {
    setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    resize(121, 21);
    FontClr = FontColorOf(*this);
    UpdateTypingLimit();
    FormatValue();
    connect(this, &QLineEdit::textChanged, this, [this] { FFaultReported = false; });
}

TDollarEdit::~TDollarEdit() = default;

double TDollarEdit::Value() const {
    return FFaultReported ? 0 : AmountOf(text());
}

void TDollarEdit::SetValue(double value) {
    FieldValue = std::min(value, kLargestValue);
    FormatValue();
}

void TDollarEdit::SetDollarDigits(int digits) {
    FDollarDigits = std::min(digits, kMostDollarDigits);
    UpdateTypingLimit();
    FormatValue();
}

void TDollarEdit::SetCentDigits(int digits) {
    FCentDigits = std::min(digits, kMostCentDigits);
    UpdateTypingLimit();
    FormatValue();
}

void TDollarEdit::SetCurrency(bool currency) {
    if (currency == FCurrency)
        return;
    FCurrency = currency;
    FormatValue();
}

QString TDollarEdit::FormatAmountText(double value) const {
    const bool dollarSign = FCurrency && (FCentDigits == 0 || FCentDigits == 2);
    return QString::fromStdString(FormatAmount(value, FCentDigits, true, dollarSign));
}

// Not QLineEdit's maxLength: that would also cut the longer display form ("$123,456,789.00").
void TDollarEdit::UpdateTypingLimit() {
    FTypingLimit = FDollarDigits + FCentDigits + 2;
}

bool TDollarEdit::IsAtTypingLimit() const {
    const qsizetype kept = text().size() - (hasSelectedText() ? selectedText().size() : 0);
    return kept >= FTypingLimit;
}

void TDollarEdit::FormatValue() {
    setText(FormatAmountText(FieldValue));
    SetFontColorOf(*this, FieldValue < 0 ? kNegativeAmountColor : FontClr);
}

void TDollarEdit::UnformatText() {
    static const CharSet kAmountChars = MakeCharSet("-.0123456789");
    std::string filtered = FilterChars(text().toStdString(), kAmountChars);
    if (filtered.empty() || filtered == "-")
        filtered = ZeroText(FCentDigits);
    // The filtered text stays even when it is no number (pasted "1.2.3"): the conversion error then
    // ends the entry or exit handling. The user hears of it once; entering or leaving again, or being
    // entered again when the message box gives the window back, ends the handling silently.
    if (const QString shown = QString::fromStdString(filtered); shown != text())
        setText(shown);
    try {
        FieldValue = RoundAmount(StrToAmount(filtered), FCentDigits);
    } catch (const EConvertError &) {
        if (FFaultReported)
            throw EAbort();
        FFaultReported = true;
        throw;
    }
}

void TDollarEdit::DoEnter() {
    UnformatText();
    CurrentCentDigits = FCentDigits;
    SaveDefaultColor();
    FirstTime = true;
    selectAll();
    emit Entered();
}

void TDollarEdit::DoExit() {
    UnformatText();
    if (FRequired && FieldValue == 0 && !IsFocusBeingReclaimed()) {
        ShowMsgBox("This field is required!", ApplicationTitle(), kMsgIconWarning);
        ReclaimFocus(*this);
    } else {
        FormatValue();
    }
    emit Exited();
}

bool TDollarEdit::IsRefusedByEditBox(QChar key) const {
    return key.isPrint() && IsAtTypingLimit();
}

void TDollarEdit::KeyPress(QChar &key) {
    if (isReadOnly())
        return;
    const QChar discarded;
    if (FirstTime && (key == u'.' || IsDigit(key) || (FMinuskey && key == u'-')))
        clear();
    if (!IsAcceptedKey(key))
        key = discarded;
    if ((key == u'-' || key == u'.') && text().contains(key))
        key = discarded;
    if (key == u'-' && !FMinuskey)
        key = discarded;
    if (key == u'-' && !text().isEmpty())
        key = discarded;
    if (key == u'C' || key == u'c') {
        CalculatorHandOff();
        key = discarded;
    }
    const QString current = text();
    if (current.size() == FDollarDigits && !current.contains(u'.') && key != QChar(kKeyBackspace) &&
        key != u'.')
        key = discarded;
    const qsizetype point = current.indexOf(u'.');
    if (point >= 0 && current.size() - point - 1 == FCentDigits && key != QChar(kKeyBackspace))
        key = discarded;
    if (FMaxValue > 0 && AmountOf(current + key) > FMaxValue) {
        key = discarded;
        RefuseAmount("This field does not accept amounts greater than ", FMaxValue);
    }
    if (FMinValue != 0 && AmountOf(text() + key) < FMinValue) {
        key = discarded;
        RefuseAmount("This field does not accept amounts less than ", FMinValue);
    }
    if (key == QChar(kKeyBackspace) || key == u'-' || key == u'.' || IsDigit(key))
        FirstTime = false;
}

void TDollarEdit::RefuseAmount(const char *messageStart, double bound) {
    const QString message = (QString::fromLatin1(messageStart) + FormatAmountText(bound)).trimmed();
    ShowMsgBox(message.toStdString(), ApplicationTitle(), kMsgIconError);
    clear();
}

void TDollarEdit::CalculatorHandOff() {
    const ToolDialogHighlight highlight(*this, FDefaultColor);
    const auto calculator = std::make_unique<TCalculator>();
    calculator->FieldText = text();
    const QScopedValueRollback<TCalculator *> openCalculator(FCalculator, calculator.get());

    RunModal(*calculator);
    if (!calculator->PutKey)
        return;
    const int room = FDollarDigits + FCentDigits + 1 + (text().contains(u'-') ? 1 : 0);
    const QString display = calculator->DisplayText();
    if (display.size() > room) {
        ShowMsgBox("The calculator display will not~fit into the data entry field!", ApplicationTitle(),
                   kMsgIconError);
    } else {
        qsizetype firstNonBlank = 0;
        while (firstNonBlank < display.size() && display[firstNonBlank] == u' ')
            ++firstNonBlank;
        setText(display.mid(firstNonBlank));
    }
    if (!FMinuskey && text().contains(u'-')) {
        setText(QStringLiteral("0.00"));
        ShowMsgBox("This field does not accept negative amounts!", ApplicationTitle(), kMsgIconError);
    }
    calculator->PutKey = false;
}

} // namespace fiscora
