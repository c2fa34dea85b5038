#pragma once

#include "Clock.h"
#include "ModalRunner.h"
#include "MsgBoxRecorder.h"
#include "QStringPrinter.h"

#include <QApplication>
#include <QDialog>
#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>

#include <memory>
#include <ostream>
#include <string>
#include <vector>

namespace fiscora::test {

// A shown, active form to place fields on, with messages recorded and today's date fixed.
class FormTest : public ::testing::Test {
protected:
    FormTest() : previousToday_(InstallTodaySource([this] { return today; })) {}
    ~FormTest() override { InstallTodaySource(std::move(previousToday_)); }

    void ShowForm() {
        form->resize(400, 200);
        form->show();
        form->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    }

    // Sends the keys one by one to the widget with the focus: "\b" is backspace, "\r" Enter,
    // "\x1b" Esc, any other character is typed as itself.
    static void Type(const std::string &keys) {
        for (const char key : keys) {
            QWidget *target = QApplication::focusWidget();
            ASSERT_NE(target, nullptr);
            TypeInto(target, key);
        }
    }

    static void TypeInto(QWidget *target, char key) {
        switch (key) {
        case '\b':
            QTest::keyClick(target, Qt::Key_Backspace);
            break;
        case '\r':
            QTest::keyClick(target, Qt::Key_Return);
            break;
        case '\x1b':
            QTest::keyClick(target, Qt::Key_Escape);
            break;
        default:
            QTest::keyClick(target, key);
            break;
        }
    }

    std::vector<std::string> MessageTexts() const {
        std::vector<std::string> texts;
        for (const auto &message : messages.messages)
            texts.push_back(message.text);
        return texts;
    }

    std::string today = "03/06/2024"; // a Wednesday
    // A dialog no test expected is closed at once instead of blocking the run.
    ScopedModalRunner unexpectedDialogs{DrivingModalRunner([](QDialog &dialog) {
        ADD_FAILURE() << "unexpected dialog " << dialog.windowTitle().toStdString();
    })};
    std::unique_ptr<QWidget> form = std::make_unique<QWidget>();
    MsgBoxRecorder messages;

private:
    TodaySource previousToday_;
};

} // namespace fiscora::test
