#include "Calculator.h"
#include "CalculatorNumbers.h"
#include "ControlsTestSupport.h"
#include "CurrentCentDigits.h"
#include "ToolBoxExceptions.h"

#include <QLabel>
#include <QToolButton>

namespace fiscora::test {
namespace {

class CalculatorTest : public FormTest {
protected:
    CalculatorTest() {
        CurrentCentDigits = 2;
        calculator.show();
    }

    void Press(const std::string &keys) {
        for (const char key : keys)
            TypeInto(&calculator, key);
    }

    QToolButton *Button(const char *name) { return calculator.findChild<QToolButton *>(name); }

    TCalculator calculator;
};

struct SequenceCase {
    const char *keys;
    const char *display;
    int centDigits = 2;
};

TEST_F(CalculatorTest, KeySequencesGiveTheDisplay) {
    const SequenceCase cases[] = {
        {"12+3=", "15"},
        {"12+3\r", "15"},
        {"1/3=", "0.33"},
        {"2/3=", "0.67"},
        {"1/3=", "0.333", 3},
        {"7/2=", "4", 0},
        {"10-12.5=", "-2.5"},
        {"6*7=", "42"},
        {"2+3*4=", "20"},
        {"200+10%", "220"},
        {"200-10%", "180"},
        {"200*10%", "20"},
        {"50/10%", "500"},
        {"50%3=", "50"},
        {"5+C*3=", "0"},
        {"12=7+1=", "8"},
        {"123456789012345678", "12345678901234567"},
        {".", "0."},
        {".5.", "0.5"},
        {"1.5.2", "1.52"},
        {"5_", "-5"},
        {"5__", "5"},
        {"5_\b", "0"},
        {"5\b", "0"},
        {"123\b", "12"},
        {"2.5r", "3"},
        {"5a", "0"},
        {"5+4c", "0"},
        {"5MC3ML", "8"},
        {"5SAL", "5"},
        {"5SCS7L", "7"},
        {"5+\b", "0"},
        {"Q7x", "7"},
    };
    for (const SequenceCase &c : cases) {
        SCOPED_TRACE(c.keys);
        CurrentCentDigits = c.centDigits;
        TCalculator fresh;
        fresh.show();
        for (const char key : std::string(c.keys))
            TypeInto(&fresh, key);
        EXPECT_EQ(fresh.DisplayText(), c.display);
    }
    EXPECT_TRUE(messages.messages.empty());
}

TEST_F(CalculatorTest, DivisionByZeroKeepsTheFirstOperand) {
    Press("5/0=");
    EXPECT_EQ(calculator.DisplayText(), "5");
    ASSERT_EQ(messages.messages.size(), 1u);
    EXPECT_EQ(messages.messages[0].text, "You cannot divide by zero");
    EXPECT_EQ(messages.messages[0].flags, 16);
    EXPECT_EQ(messages.messages[0].caption, ApplicationTitle());
}

TEST_F(CalculatorTest, OverflowKeepsTheLongTextAndClearsTheMemory) {
    Press("7SC");
    Press("123456789*999999999=");
    EXPECT_EQ(calculator.DisplayText(), "1.23456788876543E17");
    ASSERT_EQ(messages.messages.size(), 1u);
    EXPECT_EQ(messages.messages[0].text, "The calculated result will not fit\rinto the calculator display!");
    EXPECT_EQ(messages.messages[0].flags, 16);
    // The memory is gone; a new calculation starts with the next number.
    Press("L");
    EXPECT_EQ(calculator.DisplayText(), "0");
    Press("2+3=");
    EXPECT_EQ(calculator.DisplayText(), "5");
}

TEST_F(CalculatorTest, RecallIsEnabledOnlyWithSomethingInMemory) {
    QToolButton *recall = Button("BtnRecall");
    ASSERT_NE(recall, nullptr);
    EXPECT_FALSE(recall->isEnabled());
    Press("5S");
    EXPECT_TRUE(recall->isEnabled());
    Press("CS");
    EXPECT_FALSE(recall->isEnabled());
    Press("3L");
    EXPECT_EQ(calculator.DisplayText(), "3");
    Press("C4MC4_M");
    EXPECT_FALSE(recall->isEnabled());
}

TEST_F(CalculatorTest, ButtonsWorkLikeTheirKeys) {
    calculator.FieldText = "42";
    struct ClickCase {
        std::vector<const char *> buttons;
        const char *display;
    };
    const ClickCase cases[] = {
        {{"Btn7", "BtnPlus", "Btn8", "BtnEquals"}, "15"},
        {{"BtnStore", "BtnAllClear", "BtnRecall", "BtnPlusMinus"}, "-15"},
        {{"BtnMultiply", "Btn2", "BtnPerCent"}, "-0.3"},
        {{"Btn2", "BtnDecimal", "Btn5", "BtnBksp", "Btn6", "BtnRound"}, "3"},
        {{"BtnAllClear", "Btn9", "BtnDivide", "Btn4", "BtnMinus", "Btn1", "BtnEquals"}, "1.25"},
        {{"BtnSum", "BtnClearEntry", "Btn3", "Btn0"}, "30"},
        {{"BtnGet"}, "42"},
    };
    for (const ClickCase &c : cases) {
        SCOPED_TRACE(c.display);
        for (const char *name : c.buttons)
            QTest::mouseClick(Button(name), Qt::LeftButton);
        EXPECT_EQ(calculator.DisplayText(), c.display);
    }
    QTest::mouseClick(Button("BtnPut"), Qt::LeftButton);
    EXPECT_TRUE(calculator.PutKey);
    EXPECT_EQ(calculator.result(), QDialog::Accepted);
}

TEST_F(CalculatorTest, GetShowsTheFieldTextAndPutClosesWithPutKey) {
    calculator.FieldText = "1234.5";
    Press("G");
    EXPECT_EQ(calculator.DisplayText(), "1234.5");
    Press("p");
    EXPECT_TRUE(calculator.PutKey);
    EXPECT_FALSE(calculator.isVisible());
}

// A field text that is no number, taken by Get, fails to convert at the next operator, by key or by
// button; the error is shown and the calculator goes on.
TEST_F(CalculatorTest, GetOfAFieldTextThatIsNoNumberShowsTheConversionError) {
    calculator.FieldText = "-";
    Press("G");
    EXPECT_NO_THROW(Press("+"));
    EXPECT_NO_THROW(QTest::mouseClick(Button("BtnEquals"), Qt::LeftButton));
    EXPECT_EQ(MessageTexts(), std::vector<std::string>(2, "'-' is not a valid floating point value."));
    Press("A2+3=");
    EXPECT_EQ(calculator.DisplayText(), "5");
}

TEST_F(CalculatorTest, EscapeClosesWithoutPut) {
    Press("5\x1b");
    EXPECT_FALSE(calculator.PutKey);
    EXPECT_FALSE(calculator.isVisible());
    EXPECT_EQ(calculator.result(), QDialog::Rejected);
}

TEST_F(CalculatorTest, ShowingResetsTheCalculation) {
    Press("5SP");
    calculator.show();
    EXPECT_FALSE(calculator.PutKey);
    Press("L+1=");
    EXPECT_EQ(calculator.DisplayText(), "1");
}

TEST_F(CalculatorTest, HomeMovesTheDialogToTheTopLeftCorner) {
    calculator.move(200, 150);
    QTest::keyClick(&calculator, Qt::Key_Home);
    EXPECT_EQ(calculator.pos(), QPoint(0, 0));
}

TEST_F(CalculatorTest, LayoutCaptionsAndHints) {
    EXPECT_EQ(calculator.windowTitle(), "CALCULATOR");
    struct ButtonCase {
        const char *name;
        const char *caption;
        const char *hint;
    };
    const ButtonCase cases[] = {
        {"BtnClearEntry", "C", "Clears the displayed number"},
        {"BtnAllClear", "AC", "Clears the current calculation"},
        {"BtnMultiply", "*", "Multiplication"},
        {"BtnDivide", "/", "Division"},
        {"BtnPlus", "+", "Addition"},
        {"BtnMinus", "-", "Subtraction"},
        {"BtnDecimal", ".", "Inserts a decimal point"},
        {"BtnPlusMinus", "+/-", "Changes the sign of the displayed number"},
        {"BtnPerCent", "%", "Displays the result of multiplication as a percentage."},
        {"BtnRound", "Rnd", "Rounds to whole number"},
        {"BtnStore", "Sto", "Adds the displayed number to memory"},
        {"BtnSum", "suM", "Adds the displayed number to any number already in memory"},
        {"BtnRecall", "rcL", "Recalls the number stored in memory. The number remains in memory"},
        {"BtnGet", "Get", "Get number from field"},
        {"BtnPut", "Put", "Put number into field"},
        {"BtnBksp", "Backspace", "Deletes the last digit of the displayed number"},
        {"BtnEquals", "=", "Performs any operation on the previous two numbers"},
    };
    for (const ButtonCase &c : cases) {
        SCOPED_TRACE(c.name);
        QToolButton *button = Button(c.name);
        ASSERT_NE(button, nullptr);
        EXPECT_EQ(button->text(), c.caption);
        EXPECT_EQ(button->toolTip(), c.hint);
        EXPECT_EQ(button->focusPolicy(), Qt::NoFocus);
    }
    for (int digit = 0; digit <= 9; ++digit) {
        QToolButton *button = Button(qPrintable(QStringLiteral("Btn%1").arg(digit)));
        ASSERT_NE(button, nullptr);
        EXPECT_EQ(button->text(), QString::number(digit));
        EXPECT_EQ(button->toolTip(), "Puts this number in the calculator display");
    }
    // The grid: five columns 32 pixels apart; Backspace spans two columns and "=" three.
    EXPECT_EQ(Button("BtnAllClear")->x() - Button("Btn7")->x(), 4 * 32);
    EXPECT_EQ(Button("BtnPut")->geometry().right(), Button("BtnEquals")->geometry().right());
    EXPECT_EQ(Button("BtnBksp")->width(), 60);
    EXPECT_EQ(Button("Btn7")->size(), QSize(28, 25));
    EXPECT_EQ(calculator.findChild<QLabel *>("Display")->text(), "0");
    EXPECT_TRUE(calculator.rect().contains(Button("BtnEquals")->geometry()));
}

TEST(CalculatorNumbersTest, GeneralNumberText) {
    const std::pair<double, const char *> cases[] = {
        {0, "0"},
        {15, "15"},
        {-2.5, "-2.5"},
        {0.33, "0.33"},
        {1234.56, "1234.56"},
        {123456789012345.0, "123456789012345"},
        {1234567890123456.0, "1.23456789012346E15"},
        {123456788876543211.0, "1.23456788876543E17"},
        {0.00001, "0.00001"},
        {0.000001, "1E-6"},
        {-0.0000015, "-1.5E-6"},
        {1e20, "1E20"},
    };
    for (const auto &[value, text] : cases)
        EXPECT_EQ(GeneralNumberText(value), text) << value;
}

TEST(CalculatorNumbersTest, DisplayNumber) {
    EXPECT_EQ(DisplayNumber("0."), 0);
    EXPECT_EQ(DisplayNumber("-12.5"), -12.5);
    EXPECT_EQ(DisplayNumber("1.5E3"), 1500);
    EXPECT_THROW(DisplayNumber("1.2.3"), EConvertError);
    EXPECT_THROW(DisplayNumber("$5"), EConvertError);
}

} // namespace
} // namespace fiscora::test
