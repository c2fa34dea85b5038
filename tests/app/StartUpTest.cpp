#include "HelpWindow.h"
#include "MessageBoxPresenter.h"
#include "MsgBoxRecorder.h"
#include "ScreenCheck.h"
#include "VisualStyle.h"

#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QMessageBox>
#include <QTest>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTimer>
#include <QUrl>
#include <gtest/gtest.h>

#include <functional>

namespace fiscora {
namespace {

// Answers the modal message box once it is shown. Polling, not a single shot, so that a box that comes
// late is still answered; when none comes within five seconds the test fails instead of hanging, and a
// box the answer left open is closed.
class MessageBoxAnswer {
public:
    explicit MessageBoxAnswer(std::function<void(QMessageBox &)> answer) : FAnswer(std::move(answer)) {
        FClock.start();
        QObject::connect(&FPoll, &QTimer::timeout, [this] { Poll(); });
        FPoll.start(5);
    }
    ~MessageBoxAnswer() { EXPECT_TRUE(FAnswered) << "no message box appeared"; }

private:
    void Poll() {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (box && !FAnswered) {
            FAnswered = true;
            FAnswer(*box);
            if (box->isVisible())
                box->done(0);
        }
        if (FAnswered || FClock.elapsed() > 5000)
            FPoll.stop();
    }

    std::function<void(QMessageBox &)> FAnswer;
    QTimer FPoll;
    QElapsedTimer FClock;
    bool FAnswered = false;
};

bool HasAnchor(const QTextDocument &document, const QString &anchor) {
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next())
        for (auto fragment = block.begin(); !fragment.atEnd(); ++fragment)
            if (fragment.fragment().charFormat().anchorNames().contains(anchor))
                return true;
    return false;
}

TEST(ScreenCheckTest, RefusesOnlyScreensBothNarrowAndLow) {
    struct Case {
        QSize size;
        bool refused;
    };
    for (const Case &c : {Case{{1024, 500}, false}, Case{{640, 768}, false}, Case{{800, 600}, false},
                          Case{{799, 599}, true}, Case{{800, 599}, false}, Case{{799, 600}, false}})
        EXPECT_EQ(IsScreenTooSmall(c.size), c.refused) << c.size.width() << "x" << c.size.height();
    EXPECT_EQ(ScreenTooSmallMessage(),
              "Unable to run Fiscora!\r\n\r\nThis program will not run under screen\r\n"
              "resolutions of less than 800 X 600.");
}

TEST(VisualStyleTest, CyanNightIsCompiledInAndApplied) {
    MsgBoxRecorder recorder;
    ASSERT_TRUE(ApplyVisualStyle(*qApp));
    QFile sheet(CyanNightResource);
    ASSERT_TRUE(sheet.open(QIODevice::ReadOnly));
    EXPECT_EQ(qApp->styleSheet(), QString::fromUtf8(sheet.readAll()));
    EXPECT_FALSE(qApp->styleSheet().isEmpty());
    EXPECT_TRUE(recorder.messages.empty());
}

TEST(VisualStyleTest, MissingStyleWarnsOnceAndKeepsTheCurrentLook) {
    const QString before = qApp->styleSheet();
    MsgBoxRecorder recorder;
    EXPECT_FALSE(ApplyVisualStyle(*qApp, QStringLiteral(":/NO_SUCH_STYLE")));
    ASSERT_EQ(recorder.messages.size(), 1u);
    EXPECT_EQ(recorder.messages[0].flags, 48);
    EXPECT_EQ(recorder.messages[0].caption, "Fiscora 2025");
    EXPECT_EQ(qApp->styleSheet(), before);
}

TEST(MessageBoxPresenterTest, ShowsTheCaptionTextAndIconOfTheFlags) {
    struct Case {
        int flags;
        QMessageBox::Icon icon;
    };
    for (const Case &c : {Case{16, QMessageBox::Critical}, Case{48, QMessageBox::Warning},
                          Case{64, QMessageBox::Information}}) {
        QString caption, text;
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        MessageBoxAnswer answer([&](QMessageBox &box) {
            caption = box.windowTitle();
            text = box.text();
            icon = box.icon();
            box.accept();
        });
        EXPECT_EQ(PresentMessageBox("Line one\rLine two\r\nLine three", "Fiscora 2025", c.flags), 1);
        EXPECT_EQ(caption, "Fiscora 2025");
        EXPECT_EQ(text, "Line one\nLine two\nLine three");
        EXPECT_EQ(icon, c.icon);
    }
}

TEST(MessageBoxPresenterTest, QuestionsOfferTheirButtonsAndReturnThePressedOne) {
    struct Case {
        int flags;
        QMessageBox::StandardButton press;
        int result;
    };
    for (const Case &c : {Case{4 | 32, QMessageBox::Yes, 6}, Case{4 | 32, QMessageBox::No, 7},
                          Case{3 | 32, QMessageBox::Cancel, 2}, Case{1, QMessageBox::Cancel, 2}}) {
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        MessageBoxAnswer answer([&](QMessageBox &box) {
            icon = box.icon();
            box.button(c.press)->click();
        });
        EXPECT_EQ(PresentMessageBox("Use the newer file?", "Fiscora 2025", c.flags), c.result);
        if (c.flags & 32) {
            EXPECT_EQ(icon, QMessageBox::Question);
        }
    }
}

TEST(HelpWindowTest, OpensTheHelpFileAtTheAnchorOfTheContext) {
    HelpWindow::SetHelpFile(QStringLiteral(FISCORA_BIN_DIR "/Amortix.html"));
    HelpWindow window(nullptr);
    ASSERT_TRUE(window.ShowContext(1));
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(window.Browser()->source().fragment(), "context1");
    EXPECT_TRUE(HasAnchor(*window.Browser()->document(), HelpWindow::ContextAnchor(1)));
    EXPECT_TRUE(window.Browser()->toPlainText().contains("Fiscora for 2026"));
}

TEST(HelpWindowTest, OpensCentredOnItsWindowAndEscClosesIt) {
    HelpWindow::SetHelpFile(QStringLiteral(FISCORA_BIN_DIR "/Amortix.html"));
    QWidget host;
    host.setGeometry(300, 200, 615, 450);
    host.show();
    HelpWindow *window = new HelpWindow(&host);
    ASSERT_TRUE(window->ShowContext(1));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
    EXPECT_LE((window->frameGeometry().center() - host.frameGeometry().center()).manhattanLength(), 8);

    QTest::keyClick(window->Browser(), Qt::Key_Escape);
    EXPECT_FALSE(window->isVisible());
}

TEST(HelpWindowTest, MissingHelpFileIsReported) {
    HelpWindow::SetHelpFile(QStringLiteral(FISCORA_BIN_DIR "/NoSuchHelp.html"));
    MsgBoxRecorder recorder;
    HelpWindow window(nullptr);
    EXPECT_FALSE(window.ShowContext(1));
    EXPECT_FALSE(window.isVisible());
    ASSERT_EQ(recorder.messages.size(), 1u);
    EXPECT_NE(recorder.messages[0].text.find("NoSuchHelp.html could not be found."), std::string::npos);
    HelpWindow::SetHelpFile(QStringLiteral(FISCORA_BIN_DIR "/Amortix.html"));
}

} // namespace
} // namespace fiscora
