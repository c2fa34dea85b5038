#include "ModalRunner.h"

#include <QDialog>
#include <gtest/gtest.h>

namespace fiscora::test {
namespace {

TEST(ModalRunnerTest, ScopedRunnersNestAndPutThePreviousBack) {
    QDialog dialog;
    std::string ran;
    const ScopedModalRunner outer([&](QDialog &) {
        ran += "outer ";
        return 7;
    });
    {
        const ScopedModalRunner inner([&](QDialog &) {
            ran += "inner ";
            return 8;
        });
        EXPECT_EQ(RunModal(dialog), 8);
    }
    EXPECT_EQ(RunModal(dialog), 7);
    EXPECT_EQ(ran, "inner outer ");
}

TEST(ModalRunnerTest, DrivingRunnerShowsTheDialogAndClosesWhatIsLeftOpen) {
    QDialog dialog;
    bool shownWhileDriven = false;
    {
        const ScopedModalRunner runner(
            DrivingModalRunner([&](QDialog &driven) { shownWhileDriven = driven.isVisible(); }));
        EXPECT_EQ(RunModal(dialog), QDialog::Rejected);
    }
    EXPECT_TRUE(shownWhileDriven);
    EXPECT_FALSE(dialog.isVisible());

    const ScopedModalRunner runner(DrivingModalRunner([](QDialog &driven) { driven.accept(); }));
    EXPECT_EQ(RunModal(dialog), QDialog::Accepted);
    // A dialog used again starts without the previous answer.
    const ScopedModalRunner idle(DrivingModalRunner(nullptr));
    EXPECT_EQ(RunModal(dialog), QDialog::Rejected);
}

} // namespace
} // namespace fiscora::test
