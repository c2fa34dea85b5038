#include "FiscoraApplication.h"
#include "MainWindowFixture.h"
#include "MessageBoxPresenter.h"
#include "ModalRunner.h"

#include <QClipboard>
#include <QMessageBox>
#include <QTimer>

#include <QDialog>

namespace fiscora {
namespace {

struct Enabled {
    bool method, convention, life, bonus;
    bool operator==(const Enabled &) const = default;
};

Enabled EnabledControls(const TFrmAmortix &w) {
    EXPECT_EQ(w.LblBonusDepr->isEnabled(), w.ChkBonusDepr->isEnabled());
    return {w.CbxDepreciation_Method->isEnabled(), w.CbxConvention->isEnabled(),
            w.CbxDepreciable_Life->isEnabled(), w.ChkBonusDepr->isEnabled()};
}

TEST_F(MainWindowTest, PropertyTypeForcesChoicesAndLocksControls) {
    struct Case {
        int type;
        const char *method, *convention, *life;
        Enabled enabled;
    };
    const Case cases[] = {
        {1, "MACRS", "Half-Year", "5-Years", {true, true, false, true}},
        {2, "MACRS", "Half-Year", "5-Years", {true, true, false, true}},
        {3, "MACRS", "Half-Year", "3-Years", {true, true, false, true}},
        {4, "Staright-Line", "Mid-Month", "27.5-Years", {false, false, false, false}},
        {5, "Staright-Line", "Mid-Month", "39-Years", {false, false, false, false}},
        {0, "MACRS", "Half-Year", "5-Years", {true, true, true, true}},
    };
    TypeAndLeave(window->EdtCost_or_Basis, "35000");
    window->ChkBonusDepr->click();
    for (const Case &c : cases) {
        // Leave the forced choices somewhere else first, so that the type change has to reset them.
        if (window->CbxConvention->isEnabled())
            ChooseItem(window->CbxConvention, 1);
        ChooseItem(window->CbxProperty_Type, c.type);
        EXPECT_EQ(window->CbxDepreciation_Method->currentText(), c.method) << c.type;
        EXPECT_EQ(window->CbxConvention->currentText(), c.convention) << c.type;
        EXPECT_EQ(window->CbxDepreciable_Life->currentText(), c.life) << c.type;
        EXPECT_EQ(EnabledControls(*window), c.enabled) << c.type;
    }
    // Real property unchecked the bonus on the way; furniture makes the box available again, unchecked.
    EXPECT_FALSE(window->ChkBonusDepr->isChecked());
    EXPECT_EQ(window->EdtBonusDepr->text(), "$0.00");
}

TEST_F(MainWindowTest, FifteenAndTwentyYearLivesForceStraightLine) {
    TFrmAmortix &w = *window;
    for (const int longLife : {4, 5}) {
        ChooseItem(w.CbxDepreciation_Method, 0);
        ChooseItem(w.CbxDepreciable_Life, longLife);
        EXPECT_EQ(w.CbxDepreciation_Method->currentText(), "Staright-Line");
        EXPECT_FALSE(w.CbxDepreciation_Method->isEnabled());
        ChooseItem(w.CbxDepreciable_Life, 2);
        EXPECT_TRUE(w.CbxDepreciation_Method->isEnabled());
        EXPECT_EQ(w.CbxDepreciation_Method->currentText(), "Staright-Line");
    }
}

TEST_F(MainWindowTest, BonusFollowsTheDateAndCostWhenAFieldIsLeft) {
    TFrmAmortix &w = *window;
    TypeAndLeave(w.EdtCost_or_Basis, "35000");
    EXPECT_TRUE(w.ChkBonusDepr->isEnabled());
    EXPECT_TRUE(w.LblBonusDepr->isEnabled());

    QTest::mouseClick(w.ChkBonusDepr, Qt::LeftButton, {}, QPoint(6, w.ChkBonusDepr->height() / 2));
    EXPECT_TRUE(w.ChkBonusDepr->isChecked());
    EXPECT_EQ(w.EdtBonusDepr->text(), "$35,000.00");

    // The type change runs the bonus rule again, with the automobile limit.
    ChooseItem(w.CbxProperty_Type, 1);
    EXPECT_EQ(w.EdtBonusDepr->text(), "$20,300.00");

    // A new date typed but not yet left changes nothing.
    w.EdtDate_Placed_in_Service->setFocus(Qt::TabFocusReason);
    w.EdtDate_Placed_in_Service->SetText("12/31/2025");
    EXPECT_TRUE(w.ChkBonusDepr->isEnabled());
    EXPECT_TRUE(w.ChkBonusDepr->isChecked());

    QTest::keyClick(w.EdtDate_Placed_in_Service, Qt::Key_Tab);
    EXPECT_FALSE(w.ChkBonusDepr->isEnabled());
    EXPECT_FALSE(w.LblBonusDepr->isEnabled());
    EXPECT_FALSE(w.ChkBonusDepr->isChecked());
    EXPECT_EQ(w.EdtBonusDepr->text(), "$0.00");
    EXPECT_TRUE(messages.messages.empty());
}

TEST_F(MainWindowTest, ACalculatorResultPutIntoTheCostCountsWhenTheFieldIsLeft) {
    const ScopedModalRunner calculator(DrivingModalRunner([](QDialog &dialog) {
        QTest::keyClicks(&dialog, "35000");
        QTest::keyClick(&dialog, Qt::Key_P);
    }));
    TFrmAmortix &w = *window;
    w.EdtCost_or_Basis->setFocus(Qt::TabFocusReason);
    QTest::keyClick(w.EdtCost_or_Basis, Qt::Key_C);
    EXPECT_FALSE(w.ChkBonusDepr->isEnabled());
    QTest::keyClick(w.EdtCost_or_Basis, Qt::Key_Tab);
    EXPECT_EQ(w.EdtCost_or_Basis->text(), "$35,000.00");
    EXPECT_TRUE(w.ChkBonusDepr->isEnabled());
    EXPECT_TRUE(messages.messages.empty());
}

TEST_F(MainWindowTest, ACostBelowOneDollarEnablesTheBonusOnExitButNotOnATypeChange) {
    TFrmAmortix &w = *window;
    TypeAndLeave(w.EdtCost_or_Basis, ".50");
    EXPECT_TRUE(w.ChkBonusDepr->isEnabled());
    ChooseItem(w.CbxProperty_Type, 4);
    EXPECT_FALSE(w.ChkBonusDepr->isEnabled());
    ChooseItem(w.CbxProperty_Type, 0);
    EXPECT_FALSE(w.ChkBonusDepr->isEnabled());
    // Leaving the type list is a field exit again.
    QTest::keyClick(w.CbxProperty_Type, Qt::Key_Tab);
    EXPECT_TRUE(w.ChkBonusDepr->isEnabled());
}

// Text pasted from the context menu can hold two points; leaving the field then fails to convert it,
// and the error reaches the general error display of the application object instead of Qt.
TEST_F(MainWindowTest, PastedTextThatIsNoNumberEndsInTheGeneralErrorDisplay) {
    TFrmAmortix &w = *window;
    ASSERT_NE(qobject_cast<FiscoraApplication *>(QCoreApplication::instance()), nullptr);
    w.EdtCost_or_Basis->setFocus(Qt::TabFocusReason);
    QApplication::clipboard()->setText(QStringLiteral("1.2.3"));
    w.EdtCost_or_Basis->paste();
    QTest::keyClick(w.EdtCost_or_Basis, Qt::Key_Tab);
    ASSERT_EQ(messages.messages.size(), 1u);
    EXPECT_EQ(messages.messages[0].text, "'1.2.3' is not a valid floating point value.");
    EXPECT_EQ(messages.messages[0].caption, "Fiscora 2025");
    EXPECT_EQ(messages.messages[0].flags, 16);
    EXPECT_EQ(w.EdtCost_or_Basis->text(), "1.2.3");
    EXPECT_EQ(Focused(), w.CbxDepreciation_Method);
    EXPECT_FALSE(w.ChkBonusDepr->isEnabled());

    // A handler run by a list's own signal catches as well, even outside any event.
    EXPECT_NO_THROW(w.CbxProperty_Type->setCurrentIndex(1));
    ASSERT_EQ(messages.messages.size(), 2u);
    EXPECT_EQ(messages.messages[1].text, "'1.2.3' is not a valid floating point value.");
    messages.messages.clear();

    // The program goes on: the field can be mended and left as usual.
    w.EdtCost_or_Basis->setFocus(Qt::TabFocusReason);
    // Leaving the method list reads the cost for the bonus check, entering the cost converts it again.
    EXPECT_EQ(messages.messages.size(), 2u);
    for (const auto &message : messages.messages)
        EXPECT_EQ(message.text, "'1.2.3' is not a valid floating point value.");
    w.EdtCost_or_Basis->setText(QStringLiteral("35000"));
    QTest::keyClick(w.EdtCost_or_Basis, Qt::Key_Tab);
    EXPECT_EQ(w.EdtCost_or_Basis->text(), "$35,000.00");
    EXPECT_TRUE(w.ChkBonusDepr->isEnabled());
}

// Real message boxes take the keyboard from the main window while they are shown; that is no exit.
// An invalid date left for another invalid date field reports itself once and keeps the focus.
TEST_F(MainWindowTest, InvalidDatesLeftWithRealMessageBoxesReportOnceAndKeepTheFocus) {
    TFrmAmortix &w = *window;
    w.EdtFiscal_Year->SetText(QStringLiteral("02/30/2026"));
    const MsgBoxPresenter recorder = InstallMsgBoxPresenter(PresentMessageBox);
    std::vector<QString> shown;
    QTimer closer;
    // Closes each box as the user would; the window manager then gives the keyboard back to the window.
    QObject::connect(&closer, &QTimer::timeout, [&] {
        if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
            shown.push_back(box->text());
            box->accept();
        } else if (!w.isActiveWindow()) {
            QApplication::setActiveWindow(&w);
        }
    });
    closer.start(10);
    w.EdtDate_Placed_in_Service->setFocus(Qt::TabFocusReason);
    w.EdtDate_Placed_in_Service->selectAll();
    QTest::keyClicks(w.EdtDate_Placed_in_Service, "13012026");
    QTest::qWait(50);
    ASSERT_EQ(Focused(), w.EdtDate_Placed_in_Service);
    QTest::mouseClick(w.EdtFiscal_Year, Qt::LeftButton);
    QTest::qWait(50);
    closer.stop();
    InstallMsgBoxPresenter(recorder);
    EXPECT_EQ(shown, std::vector<QString>(2, QStringLiteral("13/01/2026 is not a valid date.")));
    EXPECT_EQ(Focused(), w.EdtDate_Placed_in_Service);
}

// Closing the window is no exit of the field that holds the focus: an invalid date there says nothing.
TEST_F(MainWindowTest, ClosingTheWindowLeavesAnInvalidDateUnchecked) {
    TFrmAmortix &w = *window;
    w.EdtFiscal_Year->setFocus(Qt::TabFocusReason);
    w.EdtFiscal_Year->SetText(QStringLiteral("02/30/2026"));
    messages.messages.clear();
    EXPECT_TRUE(w.close());
    EXPECT_FALSE(w.isVisible());
    EXPECT_TRUE(messages.messages.empty());
}

} // namespace
} // namespace fiscora
