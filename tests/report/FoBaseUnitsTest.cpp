#include "FoBaseRecorderTest.h"
#include "report/core/FoErrors.h"

#include <gtest/gtest.h>

using namespace fiscora;
using fiscora::test_support::TRecordingReport;

namespace {

struct FactorCase {
    double factor;
    double expectedFactor;
    TPrintUnits expectedUnits;
};

class FoBaseUnitsFactorTest : public ::testing::TestWithParam<FactorCase> {};

TEST_P(FoBaseUnitsFactorTest, FactorSelectsUnitsOrIsIgnored) {
    TRecordingReport report;
    report.SetUnits(TPrintUnits::unCM);
    report.SetUnitsFactor(GetParam().factor);
    EXPECT_DOUBLE_EQ(report.UnitsFactor(), GetParam().expectedFactor);
    EXPECT_EQ(report.Units(), GetParam().expectedUnits);
}

INSTANTIATE_TEST_SUITE_P(Factors, FoBaseUnitsFactorTest,
                         ::testing::Values(FactorCase{25.4, 25.4, TPrintUnits::unMM},
                                           FactorCase{25.41, 25.41, TPrintUnits::unUser},
                                           FactorCase{1.0, 1.0, TPrintUnits::unInch},
                                           FactorCase{72.0, 72.0, TPrintUnits::unPoint},
                                           FactorCase{0.0, 2.54, TPrintUnits::unCM},
                                           FactorCase{-3.0, 2.54, TPrintUnits::unCM}));

TEST(FoBaseUnitsTest, UnitsSetTheFactorAndUserKeepsIt) {
    TRecordingReport report;
    report.SetUnits(TPrintUnits::unPoint);
    EXPECT_DOUBLE_EQ(report.UnitsFactor(), 72.0);
    report.SetUnits(TPrintUnits::unUser);
    EXPECT_DOUBLE_EQ(report.UnitsFactor(), 72.0);
    report.SetUnits(TPrintUnits::unMM);
    EXPECT_DOUBLE_EQ(report.XU2I(25.4), 1.0);
    EXPECT_DOUBLE_EQ(report.YI2U(2.0), 50.8);
}

TEST(FoBaseUnitsTest, DeviceConversionsAreInverse) {
    TRecordingReport report;
    report.Start();
    report.SetScaleX(50);
    report.SetZoom(200);
    report.SetOriginX(0.25);
    report.SetAddX(7);
    // ((1 + 0.25) * (50 * 200 / 10000) - 0) * 600 + 7
    EXPECT_EQ(report.XI2D(1.0), 757);
    EXPECT_NEAR(report.XD2I(757), 1.0, 1e-12);
    report.SetUnits(TPrintUnits::unMM);
    EXPECT_NEAR(report.XD2U(report.XU2D(12.7)), 12.7, 0.05);
    report.Finish();
}

TEST(FoBaseUnitsTest, LandscapeSwapsTheNoPrinterPage) {
    TRecordingReport report;
    EXPECT_TRUE(report.NoPrinters());
    report.SetMarginRight(1.0);
    EXPECT_DOUBLE_EQ(report.SectionRight(), 7.5);
    report.SetOrientation(TOrientation::poLandScape);
    EXPECT_DOUBLE_EQ(report.PageWidth(), 11.0);
    EXPECT_DOUBLE_EQ(report.PageHeight(), 8.5);
    EXPECT_DOUBLE_EQ(report.SectionRight(), 10.0);
    report.SetOrientation(TOrientation::poPortrait);
    EXPECT_DOUBLE_EQ(report.PageWidth(), 8.5);
}

TEST(FoBaseUnitsTest, OrientationWaitsForTheNextPageWhilePrinting) {
    TRecordingReport report;
    report.Start();
    report.SetOrientation(TOrientation::poLandScape);
    EXPECT_DOUBLE_EQ(report.PageWidth(), 8.5);
    report.NewPage();
    EXPECT_DOUBLE_EQ(report.PageWidth(), 11.0);
    report.Finish();
}

TEST(FoBaseUnitsTest, SectionsPullTheCursorInside) {
    TRecordingReport report;
    report.GotoXY(0.5, 10.8);
    report.SetSectionLeft(1.0);
    report.SetSectionBottom(10.0);
    EXPECT_DOUBLE_EQ(report.XPos(), 1.0);
    EXPECT_DOUBLE_EQ(report.YPos(), 10.0);
}

} // namespace
