#include "ApplicationFont.h"
#include "FiscoraApplication.h"
#include "output/dialogs/OutputDialogs.h"

#include <gtest/gtest.h>

#include <cstdlib>

// Widget tests run in the application object with the application's fonts and output dialogs, but never
// need a display.
int main(int argc, char **argv) {
    if (std::getenv("QT_QPA_PLATFORM") == nullptr)
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    fiscora::FiscoraApplication app(argc, argv);
    fiscora::SetUpApplicationFont();
    fiscora::InstallOutputDialogs();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
