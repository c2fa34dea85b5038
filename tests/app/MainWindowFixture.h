#pragma once

#include "AmortixMain.h"
#include "Clock.h"
#include "DateEdit.h"
#include "DollarEdit.h"
#include "MessageBoxPresenter.h"
#include "MsgBoxRecorder.h"
#include "QStringPrinter.h"
#include "SchedulePane.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <ostream>
#include <vector>

namespace fiscora {

// While it lives, messages are shown in the application's own message boxes, which take the keyboard
// from the window as they do for the user. Each box is answered with OK soon after it is up (first
// `onShown` sees it); when no window has the keyboard, the main window gets it back, as a window
// manager would give it.
class AnsweredMessageBoxes {
public:
    explicit AnsweredMessageBoxes(QWidget &window, std::function<void(QMessageBox &)> onShown = {})
        : previous_(InstallMsgBoxPresenter(PresentMessageBox)) {
        QObject::connect(&poll_, &QTimer::timeout, [this, &window, onShown = std::move(onShown)] {
            if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
                shown.push_back(box->text());
                if (onShown)
                    onShown(*box);
                box->accept();
            } else if (QApplication::activeWindow() == nullptr) {
                // Not from inside this timer's slot: a box that the activation brings up must still
                // be answered by the next tick.
                QTimer::singleShot(0, &window, [&window] { QApplication::setActiveWindow(&window); });
            }
        });
        poll_.start(10);
    }
    ~AnsweredMessageBoxes() { InstallMsgBoxPresenter(std::move(previous_)); }

    // Waits until every box that came up was answered and the window has the keyboard again.
    static bool Settled(QWidget &window) {
        QCoreApplication::sendPostedEvents();
        return QTest::qWaitFor([&window] {
            return !QApplication::activeModalWidget() && QApplication::activeWindow() == &window;
        });
    }
    AnsweredMessageBoxes(const AnsweredMessageBoxes &) = delete;
    AnsweredMessageBoxes &operator=(const AnsweredMessageBoxes &) = delete;

    std::vector<QString> shown; // the texts of the boxes, in order

private:
    MsgBoxPresenter previous_;
    QTimer poll_;
};

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
