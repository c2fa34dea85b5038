#include "FrmCalendar.h"
#include "ControlsTestSupport.h"

#include <QAbstractItemView>
#include <QCalendarWidget>
#include <QLabel>
#include <QPushButton>
#include <QToolButton>

namespace fiscora::test {
namespace {

class FrmCalendarTest : public FormTest {
protected:
    FrmCalendarTest() {
        calendar.show();
        calendar.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&calendar));
    }

    // Keys go to the grid, which holds the focus; the dialog sees them first.
    void PressOnGrid(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QWidget *grid = QApplication::focusWidget();
        ASSERT_NE(grid, nullptr);
        ASSERT_TRUE(calendar.Calendar->isAncestorOf(grid));
        QTest::keyClick(grid, key, modifiers);
    }

    void ExpectShown(const char *date, const char *caption) {
        EXPECT_EQ(calendar.GetDate(), date);
        EXPECT_EQ(calendar.GetMonthYear(), caption);
        EXPECT_EQ(calendar.Panel->text(), caption);
    }

    TFrmCalendar calendar;
};

TEST_F(FrmCalendarTest, StartsOnTodayWithItsCaption) {
    ExpectShown("03/06/2024", "March, 2024");
    EXPECT_FALSE(calendar.Paste);
}

TEST_F(FrmCalendarTest, NextAndPriorStepAMonthKeepingTheDayWhereTheMonthAllows) {
    calendar.PutDate("01/31/2024");
    calendar.BtnNext->click();
    ExpectShown("02/29/2024", "February, 2024");
    calendar.BtnNext->click();
    ExpectShown("03/29/2024", "March, 2024");
    calendar.PutDate("01/15/2024");
    calendar.BtnPrior->click();
    ExpectShown("12/15/2023", "December, 2023");
}

TEST_F(FrmCalendarTest, PageKeysStepOneMonthAndWithAltGoToJanuaryFirst) {
    calendar.PutDate("01/20/2024");
    PressOnGrid(Qt::Key_PageUp);
    ExpectShown("12/20/2023", "December, 2023");
    PressOnGrid(Qt::Key_PageDown);
    PressOnGrid(Qt::Key_PageDown);
    ExpectShown("02/20/2024", "February, 2024");
    PressOnGrid(Qt::Key_PageDown, Qt::AltModifier);
    ExpectShown("01/01/2025", "January, 2025");
    calendar.PutDate("08/17/2024");
    PressOnGrid(Qt::Key_PageUp, Qt::AltModifier);
    ExpectShown("01/01/2023", "January, 2023");
    // Any other modifier set steps a month.
    PressOnGrid(Qt::Key_PageDown, Qt::ShiftModifier | Qt::AltModifier);
    ExpectShown("02/01/2023", "February, 2023");
}

TEST_F(FrmCalendarTest, PutDateTakesValidDatesOnly) {
    calendar.PutDate("03/31/2024");
    calendar.PutDate("04/15/2024");
    ExpectShown("04/15/2024", "April, 2024");
    calendar.PutDate("02/30/2024");
    calendar.PutDate("  /  /    ");
    ExpectShown("04/15/2024", "April, 2024");
}

TEST_F(FrmCalendarTest, ArrowKeysAcrossAMonthEndFollowTheCaption) {
    calendar.PutDate("04/30/2024");
    PressOnGrid(Qt::Key_Right);
    ExpectShown("05/01/2024", "May, 2024");
}

TEST_F(FrmCalendarTest, EnterAndPasteDateChooseTheDate) {
    PressOnGrid(Qt::Key_Return);
    EXPECT_TRUE(calendar.Paste);
    EXPECT_FALSE(calendar.isVisible());
    calendar.show();
    EXPECT_FALSE(calendar.Paste);
    calendar.BtnPasteDate->click();
    EXPECT_TRUE(calendar.Paste);
    EXPECT_EQ(calendar.result(), QDialog::Accepted);
}

TEST_F(FrmCalendarTest, DoubleClickOnADayChoosesIt) {
    calendar.PutDate("05/10/2024");
    auto *grid = calendar.Calendar->findChild<QAbstractItemView *>();
    ASSERT_NE(grid, nullptr);
    // The middle of the grid is a day of the month shown.
    const QPoint middle = grid->viewport()->rect().center();
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, Qt::NoModifier, middle);
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, Qt::NoModifier, middle);
    EXPECT_TRUE(calendar.Paste);
    EXPECT_EQ(calendar.GetDate().left(3), "05/");
    EXPECT_EQ(calendar.result(), QDialog::Accepted);
}

TEST_F(FrmCalendarTest, EscapeAndCancelCloseWithoutPaste) {
    PressOnGrid(Qt::Key_Escape);
    EXPECT_FALSE(calendar.Paste);
    EXPECT_FALSE(calendar.isVisible());
    calendar.show();
    calendar.BtnCancel->click();
    EXPECT_FALSE(calendar.Paste);
    EXPECT_EQ(calendar.result(), QDialog::Rejected);
}

TEST_F(FrmCalendarTest, MonthNamesEndWithACommaAndASpace) {
    const char *const names[] = {"January, ",   "February, ", "March, ",    "April, ",
                                 "May, ",       "June, ",     "July, ",     "August, ",
                                 "September, ", "October, ",  "November, ", "December, "};
    for (int month = 1; month <= 12; ++month) {
        calendar.PutDate(QStringLiteral("%1/10/2026").arg(month, 2, 10, QLatin1Char('0')));
        EXPECT_EQ(calendar.GetMonthYear(), QString::fromLatin1(names[month - 1]) + "2026");
    }
}

TEST_F(FrmCalendarTest, LayoutCaptionsAndHints) {
    EXPECT_EQ(calendar.windowTitle(), "CALENDAR");
    EXPECT_EQ(calendar.BtnPrior->toolTip(), "Prior Month (Alt+P)");
    EXPECT_EQ(calendar.BtnNext->toolTip(), "Next Month (Alt+N)");
    EXPECT_EQ(calendar.BtnPasteDate->text(), "Paste &Date");
    EXPECT_TRUE(calendar.BtnPasteDate->isDefault());
    EXPECT_EQ(calendar.BtnCancel->text(), "Cancel");
    EXPECT_EQ(calendar.Calendar->firstDayOfWeek(), Qt::Sunday);
    EXPECT_EQ(calendar.Calendar->size(), QSize(200, 116));
    EXPECT_EQ(calendar.Panel->size(), QSize(158, 21));
    for (QWidget *part : std::initializer_list<QWidget *>{calendar.Calendar, calendar.Panel, calendar.BtnNext,
                                                          calendar.BtnPasteDate, calendar.BtnCancel})
        EXPECT_TRUE(calendar.rect().contains(part->geometry()));
}

} // namespace
} // namespace fiscora::test
