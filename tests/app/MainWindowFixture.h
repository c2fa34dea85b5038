#pragma once

#include "AmortixMain.h"
#include "Clock.h"
#include "DateEdit.h"
#include "DollarEdit.h"
#include "MsgBoxRecorder.h"
#include "QStringPrinter.h"
#include "SchedulePane.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

#include <memory>
#include <ostream>

namespace fiscora {

// A shown, active main window on 03/15/2026, with every message recorded instead of shown.
class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        previousToday = InstallTodaySource([] { return std::string("03/15/2026"); });
        window = std::make_unique<TFrmAmortix>();
        window->show();
        QApplication::setActiveWindow(window.get());
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    }

    void TearDown() override {
        window.reset();
        InstallTodaySource(std::move(previousToday));
    }

    // Enters the field, types the text and leaves it with Tab, as the user would.
    void TypeAndLeave(QWidget *field, const QString &text) {
        field->setFocus(Qt::TabFocusReason);
        QTest::keyClicks(field, text);
        QTest::keyClick(field, Qt::Key_Tab);
    }

    void EnterDate(TDateEdit *field, const QString &date) {
        field->setFocus(Qt::TabFocusReason);
        field->SetText(date);
        QTest::keyClick(field, Qt::Key_Tab);
    }

    void ChooseItem(QComboBox *combo, int index) {
        combo->setFocus(Qt::TabFocusReason);
        combo->setCurrentIndex(index);
    }

    void ClickButton(QToolButton *button) { QTest::mouseClick(button, Qt::LeftButton); }

    QWidget *Focused() const { return QApplication::focusWidget(); }

    MsgBoxRecorder messages;
    TodaySource previousToday;
    std::unique_ptr<TFrmAmortix> window;
};

} // namespace fiscora
