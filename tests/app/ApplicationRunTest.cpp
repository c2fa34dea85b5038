#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace fiscora {
namespace {

// The whole program, from start-up to the end of its event loop: it applies its style, opens the main
// window, depreciates a 2026 automobile with bonus, pictures the window and its tool dialogs, and quits.
TEST(ApplicationRunTest, StartsDepreciatesAndEndsWithoutAnyMessage) {
    QTemporaryDir pictures;
    ASSERT_TRUE(pictures.isValid());
    QProcess fiscora;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("QT_QPA_PLATFORM", "offscreen");
    environment.insert("FISCORA_SCREENSHOT_DIR", pictures.path());
    fiscora.setProcessEnvironment(environment);
    fiscora.start(QStringLiteral(FISCORA_BIN_DIR "/fiscora"), {});
    ASSERT_TRUE(fiscora.waitForFinished(60000));
    EXPECT_EQ(fiscora.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(fiscora.exitCode(), 0);
    // Messages go to the console during the run: the title caption marks each one.
    EXPECT_FALSE(fiscora.readAllStandardError().contains("Fiscora 2025:"));

    const QImage window(pictures.filePath("main-window.png"));
    EXPECT_EQ(window.size(), QSize(596, 524));
    EXPECT_FALSE(QImage(pictures.filePath("calculator.png")).isNull());
    EXPECT_FALSE(QImage(pictures.filePath("calendar.png")).isNull());
}

} // namespace
} // namespace fiscora
