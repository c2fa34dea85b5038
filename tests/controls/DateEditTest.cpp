#include "DateEdit.h"
#include "ControlsTestSupport.h"
#include "FrmCalendar.h"
#include "ModalRunner.h"

#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QToolButton>

namespace fiscora::test {
namespace {

const QColor kYellow(0xff, 0xff, 0x00);

class DateEditTest : public FormTest {
protected:
    DateEditTest() {
        field = new TDateEdit(form.get());
        other = new QLineEdit(form.get());
        other->move(0, 40);
    }

    void Enter(TDateEdit *edit = nullptr) {
        if (!form->isVisible())
            ShowForm();
        edit = edit ? edit : field;
        edit->setFocus(Qt::TabFocusReason);
        ASSERT_TRUE(edit->hasFocus());
    }

    TDateEdit *field = nullptr; // owned by the form
    QLineEdit *other = nullptr;
};

TEST_F(DateEditTest, NewFieldHoldsTheBlankDate) {
    EXPECT_EQ(field->Text(), "  /  /    ");
    EXPECT_EQ(TDateEdit::kBlankDate, "  /  /    ");
    EXPECT_TRUE(field->alignment() & Qt::AlignLeft);
    EXPECT_EQ(field->width(), 75);
    EXPECT_EQ(field->maxLength(), 10);
    EXPECT_FALSE(field->testAttribute(Qt::WA_InputMethodEnabled));
}

struct LetterCase {
    const char *start;
    char key;
    const char *result;
};

TEST_F(DateEditTest, LettersMoveTheDate) {
    // Today is Wednesday 03/06/2024.
    const LetterCase cases[] = {
        {"  /  /    ", '+', "03/07/2024"}, {"  /  /    ", '-', "03/05/2024"},
        {"  /  /    ", 'H', "03/31/2024"}, {"  /  /    ", 't', "03/06/2024"},
        {"  /  /    ", 'w', "03/03/2024"}, {"  /  /    ", 'Y', "01/01/2024"},
        {"03/01/2024", '-', "02/29/2024"}, {"12/31/2024", '+', "01/01/2025"},
        {"01/31/2024", 'H', "02/29/2024"}, {"02/29/2024", 'H', "03/31/2024"},
        {"02/28/2023", 'h', "03/31/2023"}, {"12/31/2024", 'H', "01/31/2025"},
        {"07/31/2024", 'H', "08/31/2024"}, {"10/31/2024", 'H', "11/30/2024"},
        {"12/31/2024", 'R', "12/31/2025"}, {"06/15/2024", 'r', "12/31/2024"},
        {"01/01/2024", 'M', "12/01/2023"}, {"05/15/2024", 'm', "05/01/2024"},
        {"01/01/2024", 'Y', "01/01/2023"}, {"05/15/2024", 'y', "01/01/2024"},
        {"03/03/2024", 'W', "02/25/2024"}, {"03/06/2024", 'W', "03/03/2024"},
        {"03/09/2024", 'K', "03/16/2024"}, {"03/06/2024", 'k', "03/09/2024"},
        {"11/05/2025", 'T', "03/06/2024"}, {"03/06/2024", 'Q', "03/06/2024"},
        {"03/06/2024", ' ', "03/06/2024"}, {"12/  /    ", '+', "12/  /    "},
        {"12/  /    ", 'T', "03/06/2024"},
    };
    Enter();
    for (const LetterCase &c : cases) {
        SCOPED_TRACE(std::string(c.start) + " " + c.key);
        field->SetText(c.start);
        Type(std::string(1, c.key));
        EXPECT_EQ(field->Text(), c.result);
    }
    EXPECT_EQ(MessageTexts(), std::vector<std::string>{});
}

TEST_F(DateEditTest, DigitsFillTheMaskStepOverSlashesAndBackspaceBlanks) {
    Enter();
    Type("1231202");
    EXPECT_EQ(field->Text(), "12/31/202 ");
    Type("6");
    EXPECT_EQ(field->Text(), "12/31/2026");
    Type("\b\b\b");
    EXPECT_EQ(field->Text(), "12/31/2   ");
    EXPECT_TRUE(messages.messages.empty());
}

TEST_F(DateEditTest, TenthCharacterAndLeavingReportAnInvalidDateAndKeepTheFocus) {
    QSignalSpy exited(field, &TDateEdit::Exited);
    Enter();
    Type("1301202");
    EXPECT_TRUE(messages.messages.empty());
    Type("4");
    ASSERT_EQ(messages.messages.size(), 1u);
    EXPECT_EQ(messages.messages[0].text, "13/01/2024 is not a valid date.");
    EXPECT_EQ(messages.messages[0].flags, 16);
    EXPECT_EQ(messages.messages[0].caption, ApplicationTitle());
    other->setFocus(Qt::TabFocusReason);
    ASSERT_EQ(messages.messages.size(), 2u);
    EXPECT_EQ(messages.messages[1].text, "13/01/2024 is not a valid date.");
    EXPECT_EQ(exited.count(), 1);
    EXPECT_EQ(QApplication::focusWidget(), field);
}

TEST_F(DateEditTest, LeavingABlankOrValidDateIsAccepted) {
    Enter();
    other->setFocus(Qt::TabFocusReason);
    field->SetText("02/29/2028");
    Enter();
    other->setFocus(Qt::TabFocusReason);
    EXPECT_TRUE(messages.messages.empty());
    EXPECT_EQ(QApplication::focusWidget(), other);
}

TEST_F(DateEditTest, PartlyTypedDateIsReportedOnLeavingOnly) {
    Enter();
    Type("0315");
    other->setFocus(Qt::TabFocusReason);
    EXPECT_EQ(MessageTexts(), std::vector<std::string>{"03/15/     is not a valid date."});
    EXPECT_EQ(QApplication::focusWidget(), field);
}

TEST_F(DateEditTest, TwoInvalidFieldsDoNotPassTheFocusBackAndForth) {
    auto *second = new TDateEdit(form.get());
    second->move(0, 80);
    field->SetText("13/01/2024");
    second->SetText("02/30/2024");
    messages.messages.clear();
    Enter();
    second->setFocus(Qt::TabFocusReason);
    EXPECT_EQ(MessageTexts(), std::vector<std::string>{"13/01/2024 is not a valid date."});
    EXPECT_EQ(QApplication::focusWidget(), field);
}

TEST_F(DateEditTest, MessageBoxTakingTheFocusIsNoExit) {
    auto *second = new TDateEdit(form.get());
    second->move(0, 80);
    second->SetText("02/30/2024");
    Enter();
    // As a real message box does: another window takes the keyboard while the message is shown.
    MsgBoxRecorder boxes;
    MsgBoxPresenter recorder =
        InstallMsgBoxPresenter([&](const std::string &text, const std::string &caption, int flags) {
            QWidget box;
            box.show();
            box.activateWindow();
            EXPECT_TRUE(QTest::qWaitForWindowActive(&box));
            box.close();
            form->activateWindow();
            EXPECT_TRUE(QTest::qWaitForWindowActive(form.get()));
            return recorder(text, caption, flags);
        });
    Type("13012024");
    second->setFocus(Qt::TabFocusReason);
    InstallMsgBoxPresenter(std::move(recorder));
    EXPECT_EQ(boxes.messages.size(), 2u);
    for (const auto &message : boxes.messages)
        EXPECT_EQ(message.text, "13/01/2024 is not a valid date.");
    EXPECT_EQ(QApplication::focusWidget(), field);
}

TEST_F(DateEditTest, FieldThatCannotTakeTheFocusBackSaysSo) {
    field->SetText("13/01/2024");
    messages.messages.clear();
    Enter();
    field->setEnabled(false);
    EXPECT_EQ(MessageTexts(),
              (std::vector<std::string>{
                  "13/01/2024 is not a valid date.",
                  "A non fatal error has occured in the program.\rClick on OK to continue."}));
}

class CalendarHandOffTest : public DateEditTest {
protected:
    // Opens the calendar with the key C; `drive` acts on it while it is open.
    void OpenCalendar(const std::function<void(TFrmCalendar &)> &drive, const char *key = "C") {
        ScopedModalRunner runner(DrivingModalRunner([&](QDialog &dialog) {
            ++opened;
            yellowWhileOpen = field->palette().color(QPalette::Base) == kYellow;
            auto *calendar = dynamic_cast<TFrmCalendar *>(&dialog);
            ASSERT_NE(calendar, nullptr);
            ASSERT_TRUE(QTest::qWaitForWindowActive(calendar));
            drive(*calendar);
        }));
        Type(key);
        // A window manager would give the keyboard back to the form.
        form->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    }

    int opened = 0;
    bool yellowWhileOpen = false;
};

TEST_F(CalendarHandOffTest, PasteDatePutsThePickedDateAndRestoresTheColour) {
    field->SetText("01/31/2024");
    Enter();
    const QColor before = field->palette().color(QPalette::Base);
    OpenCalendar([](TFrmCalendar &calendar) {
        EXPECT_EQ(calendar.GetMonthYear(), "January, 2024");
        calendar.BtnNext->click();
        calendar.BtnPasteDate->click();
    });
    EXPECT_EQ(opened, 1);
    EXPECT_TRUE(yellowWhileOpen);
    EXPECT_EQ(field->Text(), "02/29/2024");
    EXPECT_EQ(field->palette().color(QPalette::Base), before);
}

TEST_F(CalendarHandOffTest, BlankFieldOpensOnTodayAndPastesIt) {
    Enter();
    OpenCalendar([](TFrmCalendar &) { Type("\r"); }, "c");
    EXPECT_EQ(field->Text(), "03/06/2024");
}

TEST_F(CalendarHandOffTest, CancelAndEscapeLeaveTheFieldUntouched) {
    field->SetText("05/15/2024");
    Enter();
    OpenCalendar([](TFrmCalendar &calendar) {
        calendar.BtnNext->click();
        calendar.BtnCancel->click();
    });
    OpenCalendar([](TFrmCalendar &calendar) {
        calendar.BtnNext->click();
        Type("\x1b");
    });
    EXPECT_EQ(opened, 2);
    EXPECT_EQ(field->Text(), "05/15/2024");
}

TEST_F(CalendarHandOffTest, DoubleClickOpensTheCalendar) {
    Enter();
    ScopedModalRunner runner(DrivingModalRunner([&](QDialog &) { ++opened; }));
    QTest::mouseDClick(field, Qt::LeftButton);
    EXPECT_EQ(opened, 1);
    EXPECT_EQ(field->Text(), "  /  /    ");
}

} // namespace
} // namespace fiscora::test
