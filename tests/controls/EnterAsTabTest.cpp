#include "EnterAsTab.h"
#include "ControlsTestSupport.h"
#include "DateEdit.h"
#include "DollarEdit.h"

#include <QKeyEvent>
#include <QLineEdit>

namespace fiscora::test {
namespace {

// Records the typed characters that reach it.
class KeyRecorder : public QLineEdit {
public:
    using QLineEdit::QLineEdit;
    std::string received;

protected:
    void keyPressEvent(QKeyEvent *event) override {
        received += event->text().toStdString();
        QLineEdit::keyPressEvent(event);
    }
};

class EnterAsTabTest : public FormTest {
protected:
    EnterAsTabTest() {
        first = new KeyRecorder(form.get());
        skipped = new QLineEdit(form.get());
        skipped->setFocusPolicy(Qt::ClickFocus);
        last = new KeyRecorder(form.get());
        skipped->move(0, 30);
        last->move(0, 60);
        helper.SetParentForm(form.get());
    }

    KeyRecorder *first = nullptr;
    QLineEdit *skipped = nullptr;
    KeyRecorder *last = nullptr;
    TEnterAsTab helper;
};

TEST_F(EnterAsTabTest, EnterStepsThroughTabStopsAndWraps) {
    EXPECT_TRUE(helper.EnterAsTabKey());
    EXPECT_FALSE(helper.EscapeAsClose());
    EXPECT_EQ(helper.ParentForm(), form.get());
    ShowForm();
    first->setFocus(Qt::TabFocusReason);
    Type("\r");
    EXPECT_EQ(QApplication::focusWidget(), last);
    Type("\r");
    EXPECT_EQ(QApplication::focusWidget(), first);
    EXPECT_EQ(first->received + last->received, "");
}

TEST_F(EnterAsTabTest, SettingTheSameFormAgainChangesNothing) {
    helper.SetParentForm(form.get());
    ShowForm();
    first->setFocus(Qt::TabFocusReason);
    Type("\r");
    EXPECT_EQ(QApplication::focusWidget(), last);
}

TEST_F(EnterAsTabTest, OtherKeysReachTheControl) {
    ShowForm();
    first->setFocus(Qt::TabFocusReason);
    Type("a\x1b");
    EXPECT_EQ(first->received, "a\x1b");
    EXPECT_TRUE(form->isVisible());
}

TEST_F(EnterAsTabTest, SwitchedOffEnterReachesTheControl) {
    helper.SetEnterAsTabKey(false);
    ShowForm();
    first->setFocus(Qt::TabFocusReason);
    Type("\r");
    EXPECT_EQ(QApplication::focusWidget(), first);
    EXPECT_EQ(first->received, "\r");
}

TEST_F(EnterAsTabTest, EscapeClosesTheFormWhenAsked) {
    helper.SetEscapeAsClose(true);
    ShowForm();
    last->setFocus(Qt::TabFocusReason);
    Type("\x1b");
    EXPECT_FALSE(form->isVisible());
    EXPECT_EQ(last->received, "");
}

TEST_F(EnterAsTabTest, KeysOfOtherWindowsAreLeftAlone) {
    QWidget otherWindow;
    auto *edit = new KeyRecorder(&otherWindow);
    otherWindow.show();
    otherWindow.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&otherWindow));
    edit->setFocus(Qt::TabFocusReason);
    Type("\r");
    EXPECT_EQ(edit->received, "\r");
}

TEST_F(EnterAsTabTest, EnterLeavesTheFieldsOfTheMainWindowLikeTab) {
    auto *cost = new TDollarEdit(form.get());
    auto *bonus = new TDollarEdit(form.get());
    auto *fiscalYear = new TDateEdit(form.get());
    cost->SetCurrency(true);
    bonus->setReadOnly(true);
    bonus->setFocusPolicy(Qt::ClickFocus);
    QWidget::setTabOrder(last, cost);
    QWidget::setTabOrder(cost, bonus);
    QWidget::setTabOrder(bonus, fiscalYear);
    ShowForm();
    cost->setFocus(Qt::TabFocusReason);
    Type("1234.5\r");
    EXPECT_EQ(QApplication::focusWidget(), fiscalYear);
    EXPECT_EQ(cost->text(), "$1,234.50");
    Type("t\r");
    EXPECT_EQ(fiscalYear->Text(), "03/06/2024");
    EXPECT_EQ(QApplication::focusWidget(), first);
}

} // namespace
} // namespace fiscora::test
