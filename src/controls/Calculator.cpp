#include "Calculator.h"

#include "CalculatorNumbers.h"
#include "CaptionFit.h"
#include "CurrentCentDigits.h"
#include "GeneralErrorDisplay.h"
#include "MsgBox.h"
#include "TitleBarFit.h"
#include "ToolBox.h"
#include "TypedChar.h"

#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QToolButton>

#include <algorithm>

namespace fiscora {

namespace {

constexpr int kBorder = 8;
constexpr int kClientWidth = 156;
constexpr int kClientHeight = 197;
constexpr int kDisplayHeight = 24;
constexpr int kButtonWidth = 28;
constexpr int kButtonHeight = 25;
constexpr int kColumnPitch = 32;
constexpr int kRowPitch = 28;
constexpr int kFirstRowTop = 28;
constexpr int kCaptionMargin = 8;

const QString kDigitHint = QStringLiteral("Puts this number in the calculator display");

} // namespace

TCalculator::TCalculator(QWidget *parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("CALCULATOR"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    // Wider than the layout where the title bar needs it for the caption; the layout stays centred.
    const int width = std::max(kClientWidth + 2 * kBorder, TitleBarMinimumWidth(windowTitle()));
    FClientLeft = (width - kClientWidth) / 2;
    setFixedSize(width, kClientHeight + 2 * kBorder);

    Panel1 = new QFrame(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    Panel1->setAutoFillBackground(true);
    Panel1->setBackgroundRole(QPalette::Base);
    Panel1->setGeometry(FClientLeft, kBorder, kClientWidth, kDisplayHeight);
    Display = new QLabel(QStringLiteral("0"), Panel1);
    Display->setObjectName(QStringLiteral("Display"));
    Display->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    Display->setForegroundRole(QPalette::Text);
    QFont bold = Display->font();
    bold.setBold(true);
    Display->setFont(bold);
    FDisplayFont = bold;
    Display->setGeometry(Panel1->contentsRect().adjusted(2, 0, -3, 0));

    static const int kDigitRow[10] = {4, 3, 3, 3, 2, 2, 2, 1, 1, 1};
    static const int kDigitColumn[10] = {1, 1, 2, 3, 1, 2, 3, 1, 2, 3};
    for (int digit = 0; digit <= 9; ++digit) {
        const QString caption = QString::number(digit);
        Btn[digit] = AddButton(qPrintable(QStringLiteral("Btn") + caption), caption, kDigitHint,
                               kDigitRow[digit], kDigitColumn[digit]);
        OnClick(Btn[digit], [this, digit] { NumberClick(Btn[digit]); });
    }
    BtnClearEntry = AddButton("BtnClearEntry", "C", "Clears the displayed number", 1, 4);
    BtnAllClear = AddButton("BtnAllClear", "AC", "Clears the current calculation", 1, 5);
    BtnMultiply = AddButton("BtnMultiply", "*", "Multiplication", 2, 4);
    BtnDivide = AddButton("BtnDivide", "/", "Division", 2, 5);
    BtnPlus = AddButton("BtnPlus", "+", "Addition", 3, 4);
    BtnMinus = AddButton("BtnMinus", "-", "Subtraction", 3, 5);
    BtnDecimal = AddButton("BtnDecimal", ".", "Inserts a decimal point", 4, 2);
    BtnPlusMinus = AddButton("BtnPlusMinus", "+/-", "Changes the sign of the displayed number", 4, 3);
    BtnPerCent = AddButton("BtnPerCent", "%", "Displays the result of multiplication as a percentage.", 4, 4);
    BtnRound = AddButton("BtnRound", "Rnd", "Rounds to whole number", 4, 5);
    BtnStore = AddButton("BtnStore", "Sto", "Adds the displayed number to memory", 5, 1);
    BtnSum = AddButton("BtnSum", "suM", "Adds the displayed number to any number already in memory", 5, 2);
    BtnRecall = AddButton("BtnRecall", "rcL",
                          "Recalls the number stored in memory. The number remains in memory", 5, 3);
    BtnGet = AddButton("BtnGet", "Get", "Get number from field", 5, 4);
    BtnPut = AddButton("BtnPut", "Put", "Put number into field", 5, 5);
    BtnBksp = AddButton("BtnBksp", "Backspace", "Deletes the last digit of the displayed number", 6, 1, 2);
    BtnEquals = AddButton("BtnEquals", "=", "Performs any operation on the previous two numbers", 6, 3, 3);
    BtnRecall->setEnabled(false);

    for (QToolButton *op : {BtnMultiply, BtnDivide, BtnPlus, BtnMinus, BtnPerCent, BtnEquals})
        OnClick(op, [this, op] { OperatorClick(op); });
    OnClick(BtnDecimal, [this] { BtnDecimalClick(); });
    OnClick(BtnAllClear, [this] { BtnAllClearClick(); });
    OnClick(BtnClearEntry, [this] { BtnClearEntryClick(); });
    OnClick(BtnPlusMinus, [this] { BtnPlusMinusClick(); });
    OnClick(BtnBksp, [this] { BtnBkspClick(); });
    OnClick(BtnRound, [this] { BtnRoundClick(); });
    OnClick(BtnStore, [this] { BtnStoreClick(); });
    OnClick(BtnSum, [this] { BtnSumClick(); });
    OnClick(BtnRecall, [this] { BtnRecallClick(); });
    OnClick(BtnGet, [this] { BtnGetClick(); });
    OnClick(BtnPut, [this] { BtnPutClick(); });
}

TCalculator::~TCalculator() = default;

// A display that is no number (Get of a field holding "-") fails to convert; the error is shown and
// the calculator goes on, without unwinding through the toolkit's code.
void TCalculator::OnClick(QToolButton *button, std::function<void()> handler) {
    connect(button, &QToolButton::clicked, this,
            [handler = std::move(handler)] { RunHandlingExceptions(handler); });
}

QToolButton *TCalculator::AddButton(const char *name, const QString &caption, const QString &hint, int row,
                                    int column, int columnSpan) {
    auto *button = new QToolButton(this);
    button->setObjectName(QString::fromLatin1(name));
    button->setText(caption);
    button->setToolTip(hint);
    button->setAutoRaise(true);
    // The dialog takes every key itself; no button may hold the focus.
    button->setFocusPolicy(Qt::NoFocus);
    const int width = kButtonWidth + (columnSpan - 1) * kColumnPitch;
    button->setGeometry(FClientLeft + (column - 1) * kColumnPitch,
                        kBorder + kFirstRowTop + (row - 1) * kRowPitch, width, kButtonHeight);
    const QFont fitted = FontFittingWidth(button->font(), {caption}, width - kCaptionMargin);
    if (fitted != button->font())
        button->setFont(fitted);
    return button;
}

QString TCalculator::DisplayText() const {
    return Display->text();
}

void TCalculator::SetDisplay(const QString &text) {
    // The overflow text may be longer than the 17 characters the display is laid out for.
    const QFont fitted = FontFittingWidth(FDisplayFont, {text}, Display->width());
    if (fitted != Display->font())
        Display->setFont(fitted);
    Display->setText(text);
}

void TCalculator::ShowNumber(double value) {
    SetDisplay(GeneralNumberText(value));
}

double TCalculator::DisplayValue() const {
    return DisplayNumber(DisplayText());
}

void TCalculator::UpdateRecallButton() {
    BtnRecall->setEnabled(Stored != 0);
}

void TCalculator::showEvent(QShowEvent *event) {
    QDialog::showEvent(event);
    FormShow();
}

void TCalculator::FormShow() {
    Oper1 = Oper2 = Stored = 0;
    NumOper = LastInput = 0;
    OperFlag = u' ';
    DecFlag = PutKey = false;
    iDigit = 1;
    iClear = 3;
    iOper = 4;
    iGetRcl = 5;
    iMaxChars = 17;
}

void TCalculator::NumberClick(QAbstractButton *sender) {
    if (LastInput != iDigit) {
        SetDisplay(QString());
        DecFlag = false;
    }
    if (DisplayText().size() >= iMaxChars)
        return;
    SetDisplay(DisplayText() + sender->text());
    LastInput = iDigit;
}

void TCalculator::BtnDecimalClick() {
    if (LastInput != iDigit)
        SetDisplay(QStringLiteral("0."));
    else if (!DecFlag && DisplayText().size() < iMaxChars)
        SetDisplay(DisplayText() + u'.');
    DecFlag = true;
    LastInput = iDigit;
}

void TCalculator::OperatorClick(QAbstractButton *sender) {
    QChar op = sender->text().at(0);
    if (LastInput == iDigit || LastInput == iGetRcl)
        ++NumOper;
    if (NumOper == 1) {
        Oper1 = DisplayValue();
    } else if (NumOper == 2) {
        Oper2 = DisplayValue();
        if (op == u'%') {
            if (OperFlag == u'*' || OperFlag == u'/')
                Oper2 = Oper2 / 100;
            else if (OperFlag == u'+' || OperFlag == u'-')
                Oper2 = Oper2 * Oper1 / 100;
            op = u'=';
        }
        switch (OperFlag.unicode()) {
        case u'*':
            Oper1 = Oper1 * Oper2;
            break;
        case u'+':
            Oper1 = Oper1 + Oper2;
            break;
        case u'-':
            Oper1 = Oper1 - Oper2;
            break;
        case u'/':
            if (Oper2 != 0)
                Oper1 = Oper1 / Oper2;
            else
                ShowMsgBox("You cannot divide by zero", ApplicationTitle(), kMsgIconError);
            break;
        case u'=':
            Oper1 = Oper2;
            break;
        default: // blank or "%": nothing pending
            break;
        }
        Oper1 = RoundAmount(Oper1, CurrentCentDigits);
        ShowNumber(Oper1);
        NumOper = 1;
        if (DisplayText().size() > iMaxChars) {
            ShowMsgBox("The calculated result will not fit~into the calculator display!", ApplicationTitle(),
                       kMsgIconError);
            FormShow();
        }
    }
    LastInput = iOper;
    OperFlag = op;
}

void TCalculator::BtnAllClearClick() {
    SetDisplay(QStringLiteral("0"));
    Oper1 = Oper2 = 0;
    NumOper = LastInput = 0;
    OperFlag = u' ';
    DecFlag = false;
}

void TCalculator::BtnClearEntryClick() {
    SetDisplay(QStringLiteral("0"));
    LastInput = iClear;
    DecFlag = false;
}

void TCalculator::BtnPlusMinusClick() {
    // Only a leading minus is the sign: "1E-6" turns into "-1E-6", not "E-6".
    const QString display = DisplayText();
    SetDisplay(display.startsWith(u'-') ? display.mid(1) : u'-' + display);
}

void TCalculator::BtnBkspClick() {
    QString display = DisplayText();
    if (display.size() <= 1) {
        display = QStringLiteral("0");
        LastInput = iClear;
        DecFlag = false;
    } else {
        display.chop(1);
        LastInput = iDigit;
        if (!display.contains(u'.'))
            DecFlag = false;
    }
    if (display == u"-") {
        display = QStringLiteral("0");
        LastInput = iClear;
        DecFlag = false;
    }
    SetDisplay(display);
}

void TCalculator::BtnRoundClick() {
    ShowNumber(RoundAmount(DisplayValue(), 0));
    DecFlag = false;
}

void TCalculator::BtnStoreClick() {
    Stored = StrToAmount(DisplayText().toStdString());
    UpdateRecallButton();
}

void TCalculator::BtnSumClick() {
    Stored = Stored + StrToAmount(DisplayText().toStdString());
    UpdateRecallButton();
}

void TCalculator::BtnRecallClick() {
    ShowNumber(Stored);
    LastInput = iGetRcl;
}

void TCalculator::BtnGetClick() {
    SetDisplay(FieldText);
    LastInput = iGetRcl;
    if (DisplayText().contains(u'.'))
        DecFlag = true;
}

void TCalculator::BtnPutClick() {
    PutKey = true;
    accept();
}

void TCalculator::keyPressEvent(QKeyEvent *event) {
    if (event->key() == Qt::Key_Home) {
        move(0, 0);
        return;
    }
    const std::optional<QChar> typed = TypedChar(*event);
    if (!typed || !RunHandlingExceptions([&] { return FormKeyPress(*typed); }, true))
        event->ignore();
}

bool TCalculator::FormKeyPress(QChar key) {
    const QChar upper = key.toUpper();
    if (upper >= u'0' && upper <= u'9') {
        NumberClick(Btn[upper.unicode() - u'0']);
        return true;
    }
    switch (upper.unicode()) {
    case u'.':
        BtnDecimalClick();
        break;
    case u'+':
        OperatorClick(BtnPlus);
        break;
    case u'-':
        OperatorClick(BtnMinus);
        break;
    case u'*':
        OperatorClick(BtnMultiply);
        break;
    case u'/':
        OperatorClick(BtnDivide);
        break;
    case u'%':
        OperatorClick(BtnPerCent);
        break;
    case u'=':
    case kKeyEnter:
        OperatorClick(BtnEquals);
        break;
    case kKeyBackspace:
        BtnBkspClick();
        break;
    case kKeyEscape:
        reject();
        break;
    case u'A':
        BtnAllClearClick();
        break;
    case u'C':
        BtnClearEntryClick();
        break;
    case u'G':
        BtnGetClick();
        break;
    case u'P':
        BtnPutClick();
        break;
    case u'R':
        BtnRoundClick();
        break;
    case u'S':
        BtnStoreClick();
        break;
    case u'M':
        BtnSumClick();
        break;
    case u'L':
        if (BtnRecall->isEnabled())
            BtnRecallClick();
        break;
    case u'_':
        BtnPlusMinusClick();
        break;
    default:
        return false;
    }
    return true;
}

} // namespace fiscora
