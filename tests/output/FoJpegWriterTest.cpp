#include "output/files/FoJpegWriter.h"
#include "report/core/FoErrors.h"

#include <QImage>

#include <gtest/gtest.h>

using namespace fiscora;

namespace {

// The first value of the file's first quantisation table: libjpeg scales the standard luminance
// table's 16 by the quality (50 keeps it, 90 gives 3).
int FirstQuantizer(const QByteArray &jpeg) {
    const qsizetype table = jpeg.indexOf("\xFF\xDB");
    return table < 0 || table + 5 >= jpeg.size() ? -1 : static_cast<unsigned char>(jpeg[table + 5]);
}

TEST(JpegWriter, EncodesThePictureAtTheQualityAsked) {
    QImage picture(40, 30, QImage::Format_RGB32);
    picture.fill(QColor(200, 30, 40));
    const QByteArray jpeg = JpegFromImage(picture, 90);
    ASSERT_TRUE(jpeg.startsWith("\xFF\xD8"));
    EXPECT_EQ(FirstQuantizer(jpeg), 3);
    EXPECT_EQ(FirstQuantizer(JpegFromImage(picture, 50)), 16);
    const QImage decoded = QImage::fromData(jpeg, "JPEG");
    ASSERT_EQ(decoded.size(), picture.size());
    const QColor centre = decoded.pixelColor(20, 15);
    EXPECT_NEAR(centre.red(), 200, 4);
    EXPECT_NEAR(centre.green(), 30, 4);
    EXPECT_NEAR(centre.blue(), 40, 4);
}

TEST(JpegWriter, LaysTransparentPartsOnWhite) {
    QImage picture(8, 8, QImage::Format_ARGB32);
    picture.fill(Qt::transparent);
    const QImage decoded = QImage::fromData(JpegFromImage(picture, 90), "JPEG");
    EXPECT_GE(decoded.pixelColor(4, 4).lightness(), 250);
}

TEST(JpegWriter, RefusesPicturesItCannotEncode) {
    EXPECT_THROW(JpegFromImage(QImage(), 90), EFolioReport);
    // libjpeg's limit is 65500 pixels a side; its error must come back as an exception.
    QImage tooWide(70000, 1, QImage::Format_RGB32);
    tooWide.fill(Qt::black);
    EXPECT_THROW(JpegFromImage(tooWide, 90), EFolioReport);
}

} // namespace
