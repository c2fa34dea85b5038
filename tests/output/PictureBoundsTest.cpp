// Pictures in hostile or huge snapshots: what the exports and the preview rasterise stays bounded,
// a repeated picture is written once, and memory that cannot be had is an error.
#include "HtmlTestSupport.h"
#include "PdfTestSupport.h"
#include "output/files/FoPictureRaster.h"
#include "output/screen/FoRenderPreview.h"
#include "report/core/FoErrors.h"

#include <QDir>
#include <QImageReader>
#include <QRegularExpression>
#include <QScrollArea>

#include <gtest/gtest.h>

using namespace fiscora;
using namespace fiscora::test;

namespace {

QByteArray BmpOf(const QImage &image) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "BMP");
    return bytes;
}

QImage Filled(int width, int height, Qt::GlobalColor colour) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

// One page of the paper size holding one stretched picture from (x1, y1) to (x2, y2).
QByteArray StretchedPicture(QSizeF paper, QPointF from, QPointF to) {
    TSnapshotBuilder builder;
    builder.PaperSize = paper;
    builder.Header(1);
    builder.Page(1, [&](TFoSnapshotOutput &out) {
        out.WriteByte(scStretchDraw);
        WriteGraphicBlock(out, gkBitmap, BmpOf(Filled(4, 4, Qt::blue)));
        WritePoints(out, {from.x(), from.y(), to.x(), to.y()});
    });
    return builder.Bytes();
}

// The sizes of the PDF's image objects, in order.
QList<QSize> PdfImageSizes(const QByteArray &pdf) {
    QList<QSize> sizes;
    static const QRegularExpression size(QStringLiteral("^/Width (\\d+) /Height (\\d+) $"));
    for (const QString &line : Lines(pdf))
        if (const auto match = size.match(line); match.hasMatch())
            sizes << QSize(match.captured(1).toInt(), match.captured(2).toInt());
    return sizes;
}

// The sizes of the JPEG files an HTML export wrote, by name.
QList<QSize> HtmlPictureSizes(const THtmlExportRun &run) {
    QList<QSize> sizes;
    for (const QString &name : run.Files())
        if (name.endsWith(QLatin1String(".jpg")))
            sizes << QImageReader(run.Path(name)).size();
    return sizes;
}

TEST(PictureBounds, StretchedPicturesAreRasterisedOnlyWhereThePageShowsThemAndWithinTheCap) {
    struct Case {
        const char *Name;
        QSizeF Paper;
        QPointF From, To;
        QList<QSize> Rasters; // at 300 pixels per inch, in the PDF and in the HTML pages
    };
    const Case cases[] = {
        {"one inch on the page", {8.5, 11}, {1, 1}, {2, 2}, {{300, 300}}},
        // The whole picture would be 6000 x 6000 pixels; the page shows 8.5 x 11 inches of it.
        {"twenty inches over a letter page", {8.5, 11}, {-5, -5}, {15, 15}, {{2550, 3300}}},
        {"mirrored, half off the page", {8.5, 11}, {10, 1}, {6, 2}, {{750, 300}}},
        {"beside the page", {8.5, 11}, {9, 12}, {10, 13}, {}},
        // A whole page of 30 x 20 inches would be 54 million pixels: drawn at a lower resolution.
        {"a page larger than the cap", {30, 20}, {0, 0}, {30, 20}, {{5016, 3344}}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.Name);
        const QByteArray snapshot = StretchedPicture(c.Paper, c.From, c.To);
        const QByteArray pdf = RenderPdf(snapshot);
        EXPECT_EQ(PdfImageSizes(pdf), c.Rasters);
        THtmlExportRun run;
        run.Export(snapshot);
        EXPECT_EQ(HtmlPictureSizes(run), c.Rasters);
    }
}

TEST(PictureBounds, ThePartOfAPictureOnThePageIsTheOneDrawn) {
    // Left half red, right half blue, stretched so that its left half lies left of the page.
    QImage picture = Filled(8, 2, Qt::red);
    for (int x = 4; x < 8; ++x)
        for (int y = 0; y < 2; ++y)
            picture.setPixel(x, y, qRgb(0, 0, 255));
    struct Case {
        const char *Name;
        QPointF From, To;
        QPointF ShownFrom, ShownTo;
        QRgb Colour; // of the whole raster
    };
    const Case cases[] = {
        {"left half off the page", {-1, 1}, {1, 2}, {0, 1}, {1, 2}, qRgb(0, 0, 255)},
        // Mirrored: the picture's left half lies on the page, from x = 1 back to the edge.
        {"mirrored, right end off the page", {1, 1}, {-1, 2}, {1, 1}, {0, 2}, qRgb(255, 0, 0)},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.Name);
        const TFoStretchRaster plan = PlanStretchRaster(c.From, c.To, {8.5, 11}, picture.size(), 10);
        EXPECT_EQ(plan.From, c.ShownFrom);
        EXPECT_EQ(plan.To, c.ShownTo);
        ASSERT_EQ(plan.Size, QSize(10, 10));
        const QImage raster = DrawStretchRaster(picture, plan, QImage::Format_RGB32);
        EXPECT_EQ(raster.pixel(1, 5) & 0xFFFFFF, c.Colour & 0xFFFFFF);
        EXPECT_EQ(raster.pixel(8, 5) & 0xFFFFFF, c.Colour & 0xFFFFFF);
    }
}

TEST(PictureBounds, ARasterThatCannotBeHadIsAnErrorNotAMissingPicture) {
    TFoStretchRaster plan;
    plan.Size = QSize(200000, 200000); // 160 GB
    plan.Source = QRectF(0, 0, 4, 4);
    try {
        DrawStretchRaster(Filled(4, 4, Qt::blue), plan, QImage::Format_RGB32);
        ADD_FAILURE() << "no error";
    } catch (const EFolioReport &error) {
        EXPECT_STREQ(error.what(), "Not enough memory for a picture of 200000 x 200000 pixels.");
    }
}

TEST(PictureBounds, APreviewOfAHugePageDrawsABitmapOfBoundedSize) {
    for (const QSizeF paper : {QSizeF(8.5, 11), QSizeF(2000, 2000), QSizeF(99999, 5)}) {
        SCOPED_TRACE(paper.width());
        TSnapshotBuilder builder;
        builder.PaperSize = paper;
        builder.Header(1);
        builder.Page(1);
        QByteArray bytes = builder.Bytes();
        QBuffer stream(&bytes);
        stream.open(QIODevice::ReadOnly);
        QScrollArea box;
        box.resize(900, 700);
        TFoRenderPreview preview;
        preview.SetScrollBox(&box);
        preview.SetSnapshotStream(&stream);
        preview.SetZoomFactor(100);
        preview.RenderPage(1);
        const QImage &bitmap = preview.Bitmap();
        ASSERT_FALSE(bitmap.isNull());
        EXPECT_LE(qint64(bitmap.width()) * bitmap.height(), 32LL * 1024 * 1024);
    }
}

TEST(PictureBounds, APictureDrawnAgainAndAgainIsWrittenOnce) {
    // As the snapshot writer stores a picture drawn twenty times: once in full, then by reference.
    TSnapshotBuilder builder;
    builder.Header(2);
    qint64 first = 0;
    for (int page = 1; page <= 2; ++page)
        builder.Page(page, [&](TFoSnapshotOutput &out) {
            for (int i = 0; i < 10; ++i) {
                out.WriteByte(scPrintBitmapRect);
                if (first == 0)
                    first = WriteGraphicBlock(out, gkBitmap, BmpOf(Filled(64, 64, Qt::darkGreen)));
                else
                    WriteGraphicReference(out, gkBitmap, first);
                WritePoints(out, {1.0, 1.0 + i * 0.5, 2.0, 1.4 + i * 0.5});
            }
        });
    const QByteArray snapshot = builder.Bytes();

    const QByteArray pdf = RenderPdf(snapshot);
    EXPECT_EQ(PdfImageSizes(pdf), QList<QSize>({{64, 64}}));
    EXPECT_EQ(PageContent(pdf, 0).count(QStringLiteral("/G1 Do")), 10);
    EXPECT_EQ(PageContent(pdf, 1).count(QStringLiteral("/G1 Do")), 10);

    THtmlExportRun run;
    run.Export(snapshot);
    EXPECT_EQ(run.Files(), QStringList({"0000.jpg", "report1.html", "report2.html"}));
    EXPECT_EQ(run.Page(QStringLiteral("report2.html")).count(QStringLiteral("<IMG Src=\"0000.jpg\"")), 10);
}

// Inputs that once broke playback (found by fuzzing) must export to PDF and HTML, and show in the
// preview, or end with a clear error.
TEST(PictureBounds, EveryRegressionInputExportsOrFailsCleanly) {
    const QDir data(QStringLiteral(FISCORA_SOURCE_DIR "/tests/report/data"));
    const QStringList names = data.entryList({"*.fsn"}, QDir::Files);
    ASSERT_FALSE(names.isEmpty());
    for (const QString &name : names) {
        SCOPED_TRACE(name.toStdString());
        QFile file(data.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const QByteArray snapshot = file.readAll();
        const auto cleanly = [](const std::function<void()> &step) {
            try {
                step();
            } catch (const EFolioReport &) {
                // A clear error is a fine end for a bad stream.
            }
        };
        cleanly([&] { RenderPdf(snapshot); });
        cleanly([&] {
            THtmlExportRun run;
            run.Export(snapshot);
        });
        cleanly([&] {
            QByteArray bytes = snapshot;
            QBuffer stream(&bytes);
            stream.open(QIODevice::ReadOnly);
            QScrollArea box;
            TFoRenderPreview preview;
            preview.SetScrollBox(&box);
            preview.SetSnapshotStream(&stream);
            preview.RenderPage(1);
            EXPECT_LE(qint64(preview.Bitmap().width()) * preview.Bitmap().height(), 32LL * 1024 * 1024);
        });
    }
}

} // namespace
