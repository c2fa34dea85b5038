#include "report/devices/FoDevice.h"
#include "report/devices/FoFontManager.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>

using namespace fiscora;

namespace {

TEST(FoDeviceRenderTest, PaperTableHasTheWindowsPaperNumbersInOrder) {
    const auto table = TFoBaseDevice::PaperTable();
    ASSERT_EQ(table.size(), 43u);
    std::vector<int> numbers;
    for (const TFoPaperInfo &paper : table)
        numbers.push_back(paper.Number);
    const std::vector<int> expected = {-1, 256, 1,  5,  9,  24, 25, 26, 2,  3,  4,  6,  7,  8,  10,
                                       11, 12,  13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 27, 28,
                                       29, 30,  31, 32, 33, 34, 35, 36, 37, 38, 39, 40, 41};
    EXPECT_EQ(numbers, expected);
    std::map<int, std::string> names;
    for (const TFoPaperInfo &paper : table)
        names[paper.Number] = paper.Name;
    EXPECT_EQ(names[1], "Letter, 8 1/2- by 11-inches");
    EXPECT_EQ(names[9], "A4 Sheet, 210- by 297-millimeters");
    EXPECT_EQ(names[20], "#10 Envelope, 4 1/8- by 9 1/2-inches");
    EXPECT_EQ(names[39], "US Std Fanfold, 14 7/8- by 11-inches");
    EXPECT_EQ(names[-1], "Default");
    EXPECT_EQ(names[256], "Custom");
}

struct PaperCase {
    int number;
    double width;
    double height;
};

class FoDevicePaperSizeTest : public ::testing::TestWithParam<PaperCase> {};

TEST_P(FoDevicePaperSizeTest, SizeInInches) {
    double width = 0, height = 0;
    TFoBaseDevice::PaperSizeInches(GetParam().number, width, height);
    EXPECT_NEAR(width, GetParam().width, 1e-9);
    EXPECT_NEAR(height, GetParam().height, 1e-9);
}

INSTANTIATE_TEST_SUITE_P(Papers, FoDevicePaperSizeTest,
                         ::testing::Values(PaperCase{1, 8.5, 11}, PaperCase{9, 210 / 25.4, 297 / 25.4},
                                           PaperCase{20, 4.125, 9.5}, PaperCase{39, 14.875, 11},
                                           PaperCase{35, 176 / 25.4, 125 / 25.4}, PaperCase{4, 17, 11},
                                           PaperCase{-1, 8.5, 11}, PaperCase{256, 8.5, 11},
                                           PaperCase{999, 8.5, 11}));

TEST(FoDeviceRenderTest, PageSizeAt600DpiWithLandscapeSwap) {
    TFoRenderDevice device;
    EXPECT_EQ(device.XDPI(), 600);
    EXPECT_TRUE(device.Printing());
    EXPECT_EQ(device.PageWidth(), 5100);
    EXPECT_EQ(device.PageHeight(), 6600);
    EXPECT_TRUE(device.SetPaperSize(5, 0, 0));
    device.SetOrientation(TOrientation::poLandScape);
    EXPECT_EQ(device.PageWidth(), 8400);
    EXPECT_EQ(device.PageHeight(), 5100);
    device.SetOrientation(TOrientation::poDefault); // keeps landscape
    EXPECT_EQ(device.Orientation(), TOrientation::poLandScape);
    device.SetOrientation(TOrientation::poPortrait);
    // A custom size in tenths of a millimetre: 2540 x 1270 is 10 x 5 inches.
    EXPECT_TRUE(device.SetPaperSize(256, 2540, 1270));
    EXPECT_EQ(device.PageWidth(), 6000);
    EXPECT_EQ(device.PageHeight(), 3000);
    EXPECT_EQ(device.Papers().size(), 43u);
    EXPECT_EQ(device.WasteMargins().Left, 0);
}

TEST(FoDeviceRenderTest, TextWidthComesFromTheFontManagersWidthTable) {
    TFoRenderDevice device;
    TFoFont &font = device.Canvas().Font();
    font.SetName("Arial");
    font.SetSize(10);
    EXPECT_EQ(font.Height(), -83);
    const auto &handler =
        dynamic_cast<const TFoTrueTypeFontHandler &>(TFoFontManager::Instance().Handler(font));
    const QString text = QStringLiteral("Depreciation 2026");
    double units = 0;
    for (const QChar ch : text)
        units += handler.CharWidth(ch.unicode());
    EXPECT_EQ(device.TextWidth(text), int(std::lround(units * 83 / 600.0)));
    // Characters above 255 measure as they print: "ł" as wide as "l", "Ω" close to "O", "€" not as a
    // control character.
    EXPECT_EQ(handler.CharWidth(u'\u0142'), handler.CharWidth(u'l'));
    EXPECT_NEAR(handler.CharWidth(u'\u03A9'), handler.CharWidth(u'O'), handler.CharWidth(u'O') / 5);
    EXPECT_NE(handler.WidthUnits(QStringLiteral("\u20ac")), handler.CharWidth(1));
    EXPECT_GT(handler.WidthUnits(QStringLiteral("\u20ac")), 0);
    EXPECT_EQ(device.TextWidth(""), 1);
    // The width scales with the height, from the same table.
    font.SetHeight(-166);
    EXPECT_EQ(device.TextWidth(text), int(std::lround(units * 166 / 600.0)));
}

TEST(FoDeviceRenderTest, FixedPitchFontsUseTheWidthOfA) {
    TFoFont font;
    font.SetName("Courier New");
    font.SetHeight(-100);
    const TFoFontHandler &handler = TFoFontManager::Instance().Handler(font);
    ASSERT_NE(dynamic_cast<const TFoNonProportionalFontHandler *>(&handler), nullptr);
    EXPECT_EQ(handler.TextWidth("iiii", -100, 600), handler.TextWidth("MMMM", 100, 600));
    EXPECT_EQ(handler.TextWidth("MMMM", -100, 600), 240); // 0.6 em each
}

TEST(FoDeviceRenderTest, HandlersAreKeyedByFaceCharsetStyleAndPitchNotSize) {
    TFoFont font;
    font.SetName("Arial");
    font.SetBold(true);
    font.SetItalic(true);
    font.SetPitch(TFontPitch::fpVariable);
    EXPECT_EQ(TFoFontManager::Key(font), "Arial|1|B|I|V");
    font.SetPitch(TFontPitch::fpFixed);
    font.SetBold(false);
    EXPECT_EQ(TFoFontManager::Key(font), "Arial|1|I|F");
    const TFoFontHandler *first = &TFoFontManager::Instance().Handler(font);
    font.SetHeight(-300);
    EXPECT_EQ(&TFoFontManager::Instance().Handler(font), first);
}

} // namespace
