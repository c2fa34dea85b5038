#include "DollarEdit.h"
#include "Calculator.h"
#include "ControlsTestSupport.h"
#include "CurrentCentDigits.h"
#include "ModalRunner.h"
#include "ToolBoxExceptions.h"

#include <QClipboard>
#include <QLineEdit>
#include <QSignalSpy>

namespace fiscora::test {
namespace {

const QColor kRed(0xff, 0x00, 0x00);
const QColor kYellow(0xff, 0xff, 0x00);

// Lets tests run the exit handling directly, as a focus change would.
struct ExposedDollarEdit : TDollarEdit {
    using TDollarEdit::DoExit;
};

class DollarEditTest : public FormTest {
protected:
    DollarEditTest() {
        field = new ExposedDollarEdit;
        field->setParent(form.get());
        other = new QLineEdit(form.get());
        other->move(0, 40);
    }

    void Enter() {
        ShowForm();
        field->setFocus(Qt::TabFocusReason);
        ASSERT_TRUE(field->hasFocus());
    }

    void Leave() { other->setFocus(Qt::TabFocusReason); }

    ExposedDollarEdit *field = nullptr; // owned by the form
    QLineEdit *other = nullptr;
};

TEST_F(DollarEditTest, NewFieldShowsZeroWithDefaults) {
    EXPECT_EQ(field->text(), "0.00");
    EXPECT_EQ(field->TypingLimit(), 13);
    EXPECT_EQ(field->DollarDigits(), 9);
    EXPECT_EQ(field->CentDigits(), 2);
    EXPECT_TRUE(field->MinusKey());
    EXPECT_FALSE(field->RequiredField());
    EXPECT_FALSE(field->Currency());
    EXPECT_TRUE(field->alignment() & Qt::AlignRight);
    EXPECT_EQ(field->size(), QSize(121, 21));
    EXPECT_EQ(field->MaxValue(), 0);
    EXPECT_EQ(field->MinValue(), 0);
    EXPECT_FALSE(field->testAttribute(Qt::WA_InputMethodEnabled));
}

struct DisplayCase {
    int centDigits;
    bool currency;
    double value;
    const char *shown;
};

TEST_F(DollarEditTest, DisplayFormFollowsCentDigitsAndCurrency) {
    const DisplayCase cases[] = {
        {2, true, 1234.5, "$1,234.50"},
        {2, true, -1234.5, "-$1,234.50"},
        {2, false, 1234.5, "1,234.50"},
        {0, true, 1234.5, "$1,235"},
        {0, false, 999.4, "999"},
        {1, true, 1234.56, "1,234.6"},
        {3, true, 1234.5, "1,234.500"},
        {4, true, 0.12345, "0.1235"},
        {5, false, 1, "1.00000"},
        {6, true, -1.5, "-1.500000"},
        {2, false, 5e12, "999,999,999,999.99"},
        {2, true, 1234567.891, "$1,234,567.89"},
    };
    for (const DisplayCase &c : cases) {
        SCOPED_TRACE(c.shown);
        field->SetCentDigits(c.centDigits);
        field->SetCurrency(c.currency);
        field->SetValue(c.value);
        EXPECT_EQ(field->text(), c.shown);
    }
}

TEST_F(DollarEditTest, NegativeValuesShowInRedAndOthersInTheFontColour) {
    const QColor normal = field->palette().color(QPalette::Text);
    field->SetCurrency(true);
    field->SetValue(-1234.5);
    EXPECT_EQ(field->text(), "-$1,234.50");
    EXPECT_EQ(field->palette().color(QPalette::Text), kRed);
    field->SetValue(12);
    EXPECT_EQ(field->palette().color(QPalette::Text), normal);
    const QColor blue(0, 0, 0xff);
    field->SetFontColor(blue);
    field->SetValue(3);
    EXPECT_EQ(field->palette().color(QPalette::Text), blue);
}

TEST_F(DollarEditTest, DigitLimitsAreClampedAndSetTheTypingLimit) {
    field->SetDollarDigits(20);
    EXPECT_EQ(field->DollarDigits(), 12);
    EXPECT_EQ(field->TypingLimit(), 16);
    field->SetCentDigits(9);
    EXPECT_EQ(field->CentDigits(), 6);
    EXPECT_EQ(field->TypingLimit(), 20);
    EXPECT_EQ(field->text(), "0.000000");
}

TEST_F(DollarEditTest, EnteringShowsTheEditingFormSelectedAndLeavingTheDisplayForm) {
    field->SetCurrency(true);
    field->SetCentDigits(3);
    field->SetValue(1234.567);
    QSignalSpy entered(field, &TDollarEdit::Entered);
    QSignalSpy exited(field, &TDollarEdit::Exited);
    CurrentCentDigits = 0;
    Enter();
    EXPECT_EQ(field->text(), "1234.567");
    EXPECT_EQ(field->selectedText(), "1234.567");
    EXPECT_EQ(CurrentCentDigits, 3);
    EXPECT_EQ(entered.count(), 1);
    Leave();
    EXPECT_EQ(field->text(), "1,234.567");
    EXPECT_EQ(exited.count(), 1);
}

struct KeyCase {
    const char *name;
    double start;
    std::string keys;
    const char *result;
    int maxValue = 0;
    int minValue = 0;
    bool minusKey = true;
};

TEST_F(DollarEditTest, TypedKeysFollowTheKeyRules) {
    const KeyCase cases[] = {
        {"first key replaces the amount", 1234.56, "7", "7"},
        {"first point replaces the amount", 1234.56, ".5", ".5"},
        {"backspace first keeps editing", 1234.56, "\b", ""},
        {"cents full: digits refused", 0, "1234.567", "1234.56"},
        {"cents full: backspace frees a place", 0, "1.23\b4", "1.24"},
        {"dollar digits full: only the point", 0, "1234567890", "123456789"},
        {"dollar digits full: point accepted", 0, "1234567890.5", "123456789.5"},
        {"one point only", 0, "1..5", "1.5"},
        {"minus first", 0, "-12", "-12"},
        {"minus after a digit refused", 0, "1-2", "12"},
        {"second minus refused", 0, "--1", "-1"},
        {"minus key off refuses silently", 0, "-12", "12", 0, 0, false},
        {"letters and blanks refused", 0, "a1 b$2", "12"},
        {"above the maximum empties the field", 0, "501", "", 500},
        {"up to the maximum accepted", 0, "500", "500", 500},
        {"below the minimum empties the field", 0, "-101", "", 0, -100},
        {"typing on after a refusal starts afresh", 0, "5019", "9", 500},
    };
    for (const KeyCase &c : cases) {
        SCOPED_TRACE(c.name);
        auto *edit = new TDollarEdit(form.get());
        edit->SetMaxValue(c.maxValue);
        edit->SetMinValue(c.minValue);
        edit->SetMinusKey(c.minusKey);
        edit->SetValue(c.start);
        edit->show();
        if (!form->isVisible())
            ShowForm();
        edit->setFocus(Qt::TabFocusReason);
        Type(c.keys);
        EXPECT_EQ(edit->text(), c.result);
        delete edit;
    }
}

TEST_F(DollarEditTest, BoundMessagesShowTheBoundInTheDisplayFormat) {
    field->SetCurrency(true);
    field->SetMaxValue(1500);
    Enter();
    Type("2000");
    field->SetMaxValue(0);
    field->SetMinValue(-20);
    Type("-21");
    ASSERT_EQ(messages.messages.size(), 2u);
    EXPECT_EQ(messages.messages[0].text, "This field does not accept amounts greater than $1,500.00");
    EXPECT_EQ(messages.messages[0].flags, 16);
    EXPECT_EQ(messages.messages[0].caption, ApplicationTitle());
    EXPECT_EQ(messages.messages[1].text, "This field does not accept amounts less than -$20.00");
    EXPECT_EQ(messages.messages[1].flags, 16);
}

TEST_F(DollarEditTest, EmptyOrLoneMinusLeavesZero) {
    field->SetCurrency(true);
    field->SetValue(12);
    Enter();
    Type("-");
    EXPECT_EQ(field->text(), "-");
    Leave();
    EXPECT_EQ(field->text(), "$0.00");
    EXPECT_EQ(field->Value(), 0);
}

TEST_F(DollarEditTest, ClipboardKeysDoNothing) {
    QApplication::clipboard()->setText("999");
    field->SetValue(12);
    Enter();
    field->setSelection(0, 2);
    QTest::keyClick(field, Qt::Key_V, Qt::ControlModifier);
    QTest::keyClick(field, Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(field->text(), "12.00");
}

TEST_F(DollarEditTest, RequiredFieldRefusesZeroOnLeavingAndKeepsTheFocus) {
    field->SetRequiredField(true);
    Enter();
    Type("0");
    Leave();
    ASSERT_EQ(messages.messages.size(), 1u);
    EXPECT_EQ(messages.messages[0].text, "This field is required!");
    EXPECT_EQ(messages.messages[0].flags, 48);
    EXPECT_EQ(QApplication::focusWidget(), field);
    EXPECT_EQ(field->text(), "0");
}

TEST_F(DollarEditTest, RefusedEmptyFieldKeepsTheZeroTextOfItsCentDigits) {
    const char *const zeroTexts[] = {"0", "0.0", "0.00", "0.000", "0.0000", "0.00000", "0.000000"};
    ShowForm();
    for (int cents = 0; cents <= 6; ++cents) {
        SCOPED_TRACE(cents);
        const std::unique_ptr<TDollarEdit> edit = std::make_unique<TDollarEdit>(form.get());
        edit->show();
        edit->SetRequiredField(true);
        edit->SetCentDigits(cents);
        edit->setFocus(Qt::TabFocusReason);
        Type("\b");
        Leave();
        EXPECT_EQ(edit->text(), zeroTexts[cents]);
    }
    EXPECT_EQ(messages.messages.size(), 7u);
}

TEST_F(DollarEditTest, RequiredFieldThatCannotTakeTheFocusBackSaysSo) {
    field->SetRequiredField(true);
    Enter();
    field->setEnabled(false);
    ASSERT_EQ(messages.messages.size(), 2u);
    EXPECT_EQ(messages.messages[1].text,
              "A non fatal error has occured in the program.\rClick on OK to continue.");
    EXPECT_EQ(messages.messages[1].flags, 16);
}

// Once raised, the same fault ends the handling silently and the field reads as no amount, until its
// text changes.
TEST_F(DollarEditTest, PastedTextThatIsNoNumberRaisesAConversionErrorOnceAndKeepsTheFilteredText) {
    QSignalSpy exited(field, &TDollarEdit::Exited);
    Enter();
    Type("1");
    field->setText("1.2x.3");
    EXPECT_THROW(field->Value(), EConvertError);
    EXPECT_THROW(field->DoExit(), EConvertError);
    EXPECT_EQ(field->text(), "1.2.3");
    EXPECT_EQ(exited.count(), 0);
    EXPECT_THROW(field->DoExit(), EAbort);
    EXPECT_EQ(field->text(), "1.2.3");
    EXPECT_EQ(field->Value(), 0);
    EXPECT_EQ(exited.count(), 0);
    field->SetMaxValue(100);
    QChar key(u'4');
    EXPECT_THROW(field->KeyPress(key), EConvertError);
    field->setText("4..5");
    EXPECT_THROW(field->Value(), EConvertError);
    EXPECT_THROW(field->DoExit(), EConvertError);
}

// The field's own event handlers hand the conversion error to the general error display; nothing
// unwinds through the toolkit (this program's QApplication would let it reach the test).
TEST_F(DollarEditTest, ConversionErrorsOfTheEventHandlersEndInTheErrorDisplay) {
    const std::string notANumber = "'1.2.3' is not a valid floating point value.";
    field->SetMaxValue(100);
    Enter();
    Type("1");
    field->setText("1.2x.3");
    EXPECT_NO_THROW(Type("4"));
    EXPECT_EQ(field->text(), "1.2x.3");
    EXPECT_NO_THROW(Leave());
    EXPECT_EQ(field->text(), "1.2.3");
    // Entering again finds the fault already reported.
    EXPECT_NO_THROW(Enter());
    EXPECT_EQ(MessageTexts(),
              (std::vector<std::string>{"'1.2.34' is not a valid floating point value.", notANumber}));
    for (const auto &message : messages.messages)
        EXPECT_EQ(message.flags, 16);
}

// Runs the calculator through the modal runner with the given keys, checking that the field is
// yellow while it is open.
class CalculatorHandOffTest : public DollarEditTest {
protected:
    void OpenAndType(const std::string &calculatorKeys) {
        ScopedModalRunner runner(DrivingModalRunner([&](QDialog &dialog) {
            ++opened;
            yellowWhileOpen = field->palette().color(QPalette::Base) == kYellow;
            ASSERT_NE(dynamic_cast<TCalculator *>(&dialog), nullptr);
            for (const char key : calculatorKeys)
                TypeInto(&dialog, key);
        }));
        Type("C");
    }

    int opened = 0;
    bool yellowWhileOpen = false;
};

TEST_F(CalculatorHandOffTest, PutBringsTheDisplayIntoTheFieldAndRestoresTheColour) {
    Enter();
    const QColor before = field->palette().color(QPalette::Base);
    OpenAndType("12+3=P");
    EXPECT_EQ(opened, 1);
    EXPECT_TRUE(yellowWhileOpen);
    EXPECT_EQ(field->text(), "15");
    EXPECT_EQ(field->palette().color(QPalette::Base), before);
    EXPECT_TRUE(messages.messages.empty());
}

TEST_F(CalculatorHandOffTest, GetTakesTheFieldText) {
    field->SetValue(1234.56);
    Enter();
    OpenAndType("G+1=P");
    EXPECT_EQ(field->text(), "1235.56");
}

TEST_F(CalculatorHandOffTest, EscapeLeavesTheFieldAlone) {
    field->SetValue(7);
    Enter();
    OpenAndType("12\x1b");
    EXPECT_EQ(field->text(), "7.00");
}

TEST_F(CalculatorHandOffTest, DisplayLongerThanTheRoomIsRefused) {
    Enter();
    Type("5");
    OpenAndType("123456789.00_P");
    EXPECT_EQ(field->text(), "5");
    ASSERT_EQ(messages.messages.size(), 1u);
    EXPECT_EQ(messages.messages[0].text, "The calculator display will not\rfit into the data entry field!");
    EXPECT_EQ(messages.messages[0].flags, 16);
    // A minus in the field's text makes room for one more character.
    Type("\b-5");
    OpenAndType("123456789.00_P");
    EXPECT_EQ(field->text(), "-123456789.00");
    EXPECT_EQ(messages.messages.size(), 1u);
}

TEST_F(CalculatorHandOffTest, NegativeResultIntoAFieldWithoutMinusKeyBecomesZero) {
    field->SetMinusKey(false);
    field->SetCentDigits(3);
    Enter();
    OpenAndType("5_P");
    EXPECT_EQ(field->text(), "0.00");
    ASSERT_EQ(messages.messages.size(), 1u);
    EXPECT_EQ(messages.messages[0].text, "This field does not accept negative amounts!");
    EXPECT_EQ(messages.messages[0].flags, 16);
}

TEST_F(CalculatorHandOffTest, BoundsApplyToAPutValue) {
    field->SetMaxValue(500);
    Enter();
    OpenAndType("600P");
    EXPECT_EQ(field->text(), "");
    ASSERT_EQ(messages.messages.size(), 1u);
    EXPECT_EQ(messages.messages[0].text, "This field does not accept amounts greater than 500.00");
}

TEST_F(CalculatorHandOffTest, DoubleClickOpensTheCalculator) {
    Enter();
    ScopedModalRunner runner(DrivingModalRunner([&](QDialog &) { ++opened; }));
    QTest::mouseDClick(field, Qt::LeftButton);
    EXPECT_EQ(opened, 1);
}

TEST_F(CalculatorHandOffTest, ReadOnlyFieldIgnoresKeysAndDoubleClicks) {
    field->setReadOnly(true);
    field->setFocusPolicy(Qt::ClickFocus);
    field->SetCurrency(true);
    field->SetValue(250);
    ShowForm();
    field->setFocus(Qt::MouseFocusReason);
    ScopedModalRunner runner(DrivingModalRunner([&](QDialog &) { ++opened; }));
    Type("7C-.");
    QTest::mouseDClick(field, Qt::LeftButton);
    EXPECT_EQ(opened, 0);
    EXPECT_EQ(field->text(), "250.00");
}

} // namespace
} // namespace fiscora::test
