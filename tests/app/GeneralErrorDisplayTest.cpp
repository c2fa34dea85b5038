#include "MsgBoxRecorder.h"
#include "ToolBoxExceptions.h"

#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>

namespace fiscora {
namespace {

// A widget whose mouse handler runs a test action; the action may throw.
class ThrowingWidget : public QWidget {
public:
    std::function<void()> onPress;
    int presses = 0;

protected:
    void mousePressEvent(QMouseEvent *) override {
        ++presses;
        onPress();
    }
};

void ThrowNested() {
    try {
        throw std::runtime_error("Cost or Basis requires an amount of at least $1.00");
    } catch (...) {
        std::throw_with_nested(ECustomException("Depreciation failed"));
    }
}

TEST(GeneralErrorDisplayTest, ErrorLeavingAnEventHandlerIsShownOnceAndTheProgramGoesOn) {
    struct Case {
        const char *name;
        std::function<void()> raise;
        std::vector<std::string> shown;
    };
    const std::vector<Case> cases = {
        {"field error",
         [] { throw EFieldException("Cost or Basis requires an amount of at least $1.00"); },
         {"Cost or Basis requires an amount of at least $1.00."}},
        {"ends in a period", [] { throw EInOutError("Disk full."); }, {"Disk full."}},
        {"nested", ThrowNested, {"Cost or Basis requires an amount of at least $1.00."}},
        {"silent abort", [] { throw EAbort(); }, {}},
    };
    for (const Case &c : cases) {
        MsgBoxRecorder recorder;
        ThrowingWidget widget;
        widget.resize(50, 50);
        widget.show();
        widget.onPress = c.raise;
        QTest::mousePress(&widget, Qt::LeftButton);
        std::vector<std::string> shown;
        for (const auto &message : recorder.messages) {
            shown.push_back(message.text);
            EXPECT_EQ(message.caption, "Fiscora 2025") << c.name;
            EXPECT_EQ(message.flags, 16) << c.name;
        }
        EXPECT_EQ(shown, c.shown) << c.name;

        widget.onPress = [] {};
        QTest::mousePress(&widget, Qt::LeftButton);
        EXPECT_EQ(widget.presses, 2) << c.name;
        EXPECT_EQ(recorder.messages.size(), c.shown.size()) << c.name;
    }
}

TEST(GeneralErrorDisplayTest, MouseCaptureIsReleased) {
    MsgBoxRecorder recorder;
    ThrowingWidget widget;
    widget.show();
    widget.onPress = [&] {
        widget.grabMouse();
        throw EFieldException("Boom");
    };
    QTest::mousePress(&widget, Qt::LeftButton);
    EXPECT_EQ(QWidget::mouseGrabber(), nullptr);
    ASSERT_EQ(recorder.messages.size(), 1u);
    EXPECT_EQ(recorder.messages[0].text, "Boom.");
}

} // namespace
} // namespace fiscora
