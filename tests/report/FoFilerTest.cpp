#include "FoSnapshotTestSupport.h"
#include "SnapshotFixtures.h"

#include "report/core/FoErrors.h"
#include "report/snapshot/FoFiler.h"
#include "report/snapshot/FoSnapshotWalker.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtEndian>

#include <gtest/gtest.h>

using namespace fiscora;
using namespace fiscora::test;

namespace {

using PrintBody = std::function<void(TFoSnapshotWriter &)>;

// Runs a report on a printer-less writer into a memory stream and returns the snapshot.
QByteArray Generate(const PrintBody &print, const PrintBody &setup = {}) {
    return GenerateSnapshot([&](TBaseReport &report) { print(static_cast<TFoSnapshotWriter &>(report)); },
                            setup);
}

std::vector<TSnapshotPage> Pages(const QByteArray &bytes, TFoReportHeader *header = nullptr) {
    QByteArray copy = bytes;
    QBuffer buffer(&copy);
    buffer.open(QIODevice::ReadOnly);
    TFoSnapshotWalker walker(buffer);
    const TFoReportHeader read = walker.ReadHeader();
    if (header)
        *header = read;
    std::vector<TSnapshotPage> pages;
    TSnapshotPage page;
    while (walker.ReadPage(page))
        pages.push_back(page);
    return pages;
}

// The codes of a page's records after its initial state, which ends with the background colour.
QString DrawingCodes(const TSnapshotPage &page) {
    QStringList codes;
    bool started = false;
    for (const auto &record : page.Records) {
        if (started)
            codes << QString::number(record.Code);
        started = started || record.Code == scBKColor;
    }
    return codes.join(' ');
}

QVariant Field(const TSnapshotRecord &record, const char *name) {
    for (const auto &[fieldName, value] : record.Fields)
        if (fieldName == QLatin1String(name))
            return value;
    return {};
}

const QByteArray HeaderHex = "5a1027"
                             "0c46006f006c0069006f0020005200650070006f0072007400" // "Folio Report"
                             "01000000"                                           // page count, patched
                             "010000000f270000"                                   // first 1, last 9999
                             "0000084100003041"                                   // 8.5 by 11 inches
                             "00000000000000000000000000000000"                   // no waste
                             "00"                                                 // portrait
                             "0901"                                               // bin 265
                             "0000"                                               // collate, duplex
                             "0100010000000000"                                   // copies, paper
                             "00";                                                // output name

const QByteArray PageStartHex = "50"
                                "00000000"
                                "00000000"
                                "01000000"
                                "0000084100003041"
                                "00"
                                "0002"
                                "2900000000"
                                "2a01"
                                "2b00" // brush black, clear, no pattern
                                "3305"
                                "41007200690061006c00" // Arial
                                "3400000000"
                                "3500"
                                "3f01"
                                "3700"
                                "3900"
                                "3800"
                                "3a00"
                                "3b00"
                                "3c00"
                                "3d0000"
                                "3e00"
                                "36"
                                "e4380e3e"; // 10 points; reference width next

const QByteArray PageRestHex = "4700000000"
                               "4804"
                               "4900"
                               "4a"
                               "0e74da3a" // pen black, copy, solid, 1 pixel
                               "1c0000c842"
                               "1d0000c842"
                               "1a00"
                               "1bffffff00";

TEST(SnapshotWriter, WritesTheHeaderAndAPageByteForByte) {
    float sampleWidth = 0;
    const QByteArray bytes = Generate([&](TFoSnapshotWriter &writer) {
        sampleWidth = float(writer.TextWidth(QStringLiteral("abcdefg hijklmnop qrstuv wxyz ABCDEFG HIJKLMNOP "
                                                            "QRSTUV WXYZ 0123456789")) *
                            100.0 / writer.ScaleX());
        writer.GotoXY(1.0, 2.0);
        writer.PrintLeft(QStringLiteral("Hi"), 1.5);
        writer.SetPen(0x0000FF, TPenStyle::psSolid, 1, TPenMode::pmCopy);
        writer.Rectangle(1, 1, 2, 2);
    });
    const QByteArray hex = bytes.toHex();
    ASSERT_TRUE(hex.startsWith(HeaderHex + PageStartHex)) << hex.toStdString();
    const qsizetype afterWidth = HeaderHex.size() + PageStartHex.size() + 8;
    float referenceWidth = 0;
    std::memcpy(&referenceWidth, bytes.constData() + afterWidth / 2 - 4, 4);
    EXPECT_GT(referenceWidth, 3.0f); // the 77-character sample at 10 points
    EXPECT_EQ(referenceWidth, sampleWidth);
    const QByteArray rest = hex.mid(afterWidth);
    EXPECT_EQ(rest.left(PageRestHex.size()), PageRestHex);
    EXPECT_EQ(rest.mid(PageRestHex.size()),
              "18"
              "00000040"
              "0248006900"
              "0000c03f"   // LeftText at y 2: "Hi" at x 1.5
              "47ff000000" // pen colour only
              "12"
              "0000803f0000803f"
              "0000004000000040" // rectangle
              "52")              // page end
        << rest.toStdString();
}

TEST(SnapshotWriter, RecordsOnlySelectedPagesAndChainsThem) {
    TFoReportHeader header;
    QByteArray bytes = Generate(
        [](TFoSnapshotWriter &writer) {
            for (int page = 1; page <= 3; ++page) {
                if (page > 1)
                    writer.NewPage();
                writer.PrintLeft(QStringLiteral("page%1").arg(page), 1);
            }
        },
        [](TFoSnapshotWriter &writer) { writer.SetSelection(QStringLiteral("1,3")); });
    const auto pages = Pages(bytes, &header);
    ASSERT_EQ(pages.size(), 2u);
    EXPECT_EQ(header.PageCount, 2);
    EXPECT_EQ(pages[0].Header.PrevPagePos, 0);
    EXPECT_EQ(pages[0].Header.NextPagePos, pages[1].Position);
    EXPECT_EQ(pages[1].Header.PrevPagePos, pages[0].Position);
    EXPECT_EQ(pages[1].Header.NextPagePos, 0);
    EXPECT_EQ(pages[1].Header.PageNo, 2); // the job's page 3
    TFoSnapshotRecorder recorder;
    ASSERT_EQ(Play(bytes, recorder, 2), QString());
    EXPECT_EQ(LeftTexts(recorder), "page3");
}

// A run to the end (pages 1 to 9999, as snapshots record it) may have no more pages than that: the
// pages after 9999 would be left out without a word. A range or a selection past page 9999 is kept.
TEST(SnapshotWriter, ARunToTheEndFailsOnItsPageAfterPage9999) {
    const QString tooLong = QStringLiteral(
        "The report has more than 9999 pages. Choose a page range to output the pages after page 9999.");
    const struct {
        const char *name;
        int sheets;
        int first;
        int last;
        QString selection;
        size_t recorded;
        QString message;
    } cases[] = {
        {"9999 sheets", 9999, 1, 9999, "", 9999, ""},
        {"10000 sheets", 10000, 1, 9999, "", 0, tooLong},
        {"from page 2 to the end", 10000, 2, 9999, "", 0, tooLong},
        {"a range past page 9999", 10000, 9990, 10005, "", 11, ""},
        {"a selection past page 9999", 10000, 1, 9999, "9998-", 3, ""},
    };
    for (const auto &c : cases) {
        QString message;
        QByteArray bytes;
        try {
            bytes = Generate(
                [&](TFoSnapshotWriter &writer) {
                    for (int sheet = 1; sheet <= c.sheets; ++sheet) {
                        if (sheet > 1)
                            writer.NewPage();
                        writer.PrintLeft(QStringLiteral("x"), 1);
                    }
                },
                [&](TFoSnapshotWriter &writer) {
                    writer.SetFirstPage(c.first);
                    writer.SetLastPage(c.last);
                    writer.SetSelection(c.selection);
                });
        } catch (const EFolioReport &error) {
            message = QString::fromUtf8(error.what());
        }
        EXPECT_EQ(message, c.message) << c.name;
        if (c.message.isEmpty()) {
            EXPECT_EQ(Pages(bytes).size(), c.recorded) << c.name;
        }
    }
}

TEST(SnapshotWriter, AbortedPageIsOverwrittenByTheNextOne) {
    TFoReportHeader header;
    const QByteArray bytes = Generate([](TFoSnapshotWriter &writer) {
        writer.PrintLeft(QStringLiteral("one"), 1);
        writer.NewPage();
        writer.PrintLeft(QStringLiteral("dropped text that is longer than the page that replaces it"), 1);
        writer.AbortPage();
        writer.NewPage();
        writer.PrintLeft(QStringLiteral("two"), 1);
    });
    const auto pages = Pages(bytes, &header);
    EXPECT_EQ(header.PageCount, 2);
    TFoSnapshotRecorder recorder;
    ASSERT_EQ(Play(bytes, recorder), QString());
    EXPECT_EQ(LeftTexts(recorder), "one|two");
    TFoSnapshotRecorder second;
    ASSERT_EQ(Play(bytes, second, 2), QString());
    EXPECT_EQ(LeftTexts(second), "two");
}

TEST(SnapshotWriter, AbortedJobStillEndsItsPageAndCountsIt) {
    const QByteArray bytes = Generate([](TFoSnapshotWriter &writer) {
        writer.PrintLeft(QStringLiteral("before"), 1);
        writer.Abort();
    });
    TFoReportHeader header;
    const auto pages = Pages(bytes, &header);
    ASSERT_EQ(pages.size(), 1u);
    EXPECT_EQ(header.PageCount, 1);
}

TEST(SnapshotWriter, StoresARegisteredGraphicOnceAndRefersToIt) {
    QImage image(4, 3, QImage::Format_RGB32);
    image.fill(Qt::blue);
    const QByteArray bytes = Generate([&](TFoSnapshotWriter &writer) {
        writer.PrintBitmap(1, 1, 1, 1, image);
        writer.RegisterGraphic(1);
        writer.ReuseGraphic(1);
        writer.PrintBitmap(2, 2, 1, 1, image);
        writer.PrintBitmap(3, 3, 1, 1, image.copy()); // the request is used once
    });
    const auto pages = Pages(bytes);
    std::vector<QVariantMap> graphics;
    qint64 firstRecord = 0;
    for (const auto &record : pages[0].Records)
        if (record.Code == scPrintBitmap) {
            if (graphics.empty())
                firstRecord = record.Position;
            graphics.push_back(Field(record, "Graphic").toMap());
        }
    ASSERT_EQ(graphics.size(), 3u);
    EXPECT_TRUE(graphics[0].contains("Length"));
    EXPECT_EQ(graphics[1].value("Reference").toLongLong(), firstRecord + 2); // code, kind, then the length
    EXPECT_EQ(graphics[1].value("Kind").toInt(), 1);
    EXPECT_TRUE(graphics[2].contains("Length"));
    TFoSnapshotRecorder recorder;
    ASSERT_EQ(Play(bytes, recorder), QString());
    ASSERT_EQ(recorder.CallsNamed("PrintBitmap").size(), 3u);
    EXPECT_EQ(std::get<double>(recorder.CallsNamed("PrintBitmap")[1].Args[4].Value), 4);
}

// Kinds of the picture records of every page, "F" for a picture in full and "R" for a reference.
std::string PictureForms(const QByteArray &bytes) {
    std::string forms;
    for (const auto &page : Pages(bytes)) {
        forms += '|';
        for (const auto &record : page.Records)
            if (record.Code == scPrintBitmapRect)
                forms += Field(record, "Graphic").toMap().contains("Reference") ? 'R' : 'F';
    }
    return forms;
}

TEST(SnapshotWriter, APictureDrawnAgainIsStoredOncePerJob) {
    QImage logo(64, 64, QImage::Format_RGB32);
    logo.fill(Qt::darkGreen);
    struct Case {
        const char *name;
        int firstPage;
        bool abortSecond;
        std::string forms;
    };
    for (const Case &c : {Case{"all pages", 1, false, "||FRR|RR"},
                          // a page outside the selection holds nothing a later page could refer to
                          Case{"from page 3", 3, false, "|FR"},
                          // nor does an aborted page
                          Case{"second page aborted", 1, true, "||FR"}}) {
        const QByteArray bytes = Generate(
            [&](TFoSnapshotWriter &writer) {
                writer.PrintLeft(QStringLiteral("Title"), 1);
                writer.NewPage();
                for (int row = 0; row < 3; ++row)
                    writer.PrintBitmapRect(1, 1 + row, 2, 2 + row, logo);
                if (c.abortSecond)
                    writer.AbortPage();
                writer.NewPage();
                for (int row = 0; row < 2; ++row)
                    writer.PrintBitmapRect(1, 1 + row, 2, 2 + row, logo);
            },
            [&](TFoSnapshotWriter &writer) { writer.SetFirstPage(c.firstPage); });
        SCOPED_TRACE(c.name);
        EXPECT_EQ(PictureForms(bytes), c.forms) << c.name;
        TFoSnapshotRecorder recorder;
        ASSERT_EQ(Play(bytes, recorder), QString()) << c.name;
        for (const auto &call : recorder.CallsNamed("PrintBitmapRect"))
            EXPECT_EQ(std::get<double>(call.Args.back().Value), 64) << c.name;
    }
}

TEST(SnapshotWriter, PatchesAVariablePlaceholderInPlace) {
    const QByteArray bytes = Generate([&](TFoSnapshotWriter &writer) {
        writer.PrintLeft(QStringLiteral("Total ") + writer.PIVar(QStringLiteral("Total")), 1);
        writer.NewPage();
        writer.PrintLeft(writer.PIVar(QStringLiteral("total")), 1);
        writer.SetPIVar(QStringLiteral("TOTAL"), QStringLiteral("17"));
    });
    const auto pages = Pages(bytes);
    ASSERT_EQ(pages.size(), 2u);
    const auto &placeholder = pages[0].Records[std::size(pages[0].Records) - 2];
    ASSERT_EQ(placeholder.Code, scVariableData);
    const QVariantMap block = Field(placeholder, "Value").toMap();
    EXPECT_EQ(block.value("C").toInt(), 128);
    EXPECT_EQ(block.value("B").toInt(), 2);
    EXPECT_EQ(block.value("Value").toString(), "17");
    // Page 2 starts with a reference to the placeholder and adds no placeholder of its own.
    int references = 0;
    for (const auto &record : pages[1].Records)
        if (record.Code == scVariableData) {
            ++references;
            EXPECT_EQ(Field(record, "Value").toMap().value("B").toInt(), 254);
        }
    EXPECT_EQ(references, 1);
    TFoSnapshotRecorder recorder;
    ASSERT_EQ(Play(bytes, recorder), QString());
    EXPECT_EQ(LeftTexts(recorder), "Total 17|17");
    TFoSnapshotRecorder pageTwo;
    ASSERT_EQ(Play(bytes, pageTwo, 2), QString());
    EXPECT_EQ(LeftTexts(pageTwo), "17");
}

TEST(SnapshotWriter, KeepsAVariableSetOnAPageOutsideTheSelection) {
    const QByteArray bytes = Generate(
        [](TFoSnapshotWriter &writer) {
            writer.SetPIVar(QStringLiteral("Company"), QStringLiteral("Acme"));
            writer.NewPage();
            writer.PrintLeft(writer.PIVar(QStringLiteral("company")), 1);
            writer.NewPage();
            writer.PrintLeft(writer.PIVar(QStringLiteral("Company")), 1);
        },
        [](TFoSnapshotWriter &writer) { writer.SetSelection(QStringLiteral("2-3")); });
    ASSERT_EQ(Pages(bytes).size(), 2u);
    TFoSnapshotRecorder recorder;
    ASSERT_EQ(Play(bytes, recorder), QString());
    EXPECT_EQ(LeftTexts(recorder), "Acme|Acme");
    TFoSnapshotRecorder second;
    ASSERT_EQ(Play(bytes, second, 2), QString());
    EXPECT_EQ(LeftTexts(second), "Acme");
}

TEST(SnapshotWriter, WritesOnlyTheFontAttributesThatChanged) {
    const QByteArray bytes = Generate([](TFoSnapshotWriter &writer) {
        writer.SetBold(true);
        writer.SetFontColor(0x00FF00);
        writer.SetFontSize(12);
    });
    EXPECT_EQ(DrawingCodes(Pages(bytes)[0]), "55 54 52 54");
}

TEST(SnapshotWriter, WritesABrushPatternRecordOnlyWhenAPatternIsOrWasActive) {
    QImage pattern(8, 8, QImage::Format_RGB32);
    pattern.fill(Qt::black);
    const QByteArray bytes = Generate([&](TFoSnapshotWriter &writer) {
        writer.SetBrush(0x0000FF, TBrushStyle::bsSolid, nullptr);
        writer.SetBrush(0x0000FF, TBrushStyle::bsSolid, &pattern);
        writer.SetBrush(0x00FF00, TBrushStyle::bsSolid, nullptr);
    });
    // The canvas reports the pattern's removal before the new colour.
    EXPECT_EQ(DrawingCodes(Pages(bytes)[0]), "41 42 43 43 41");
}

TEST(SnapshotWriter, PlaysBackEveryKindOfRecord) {
    QImage image(2, 2, QImage::Format_RGB32);
    image.fill(Qt::green);
    QByteArray rawData("\x01\x02\x03", 3);
    QByteArray jpeg("JPEGDATA");
    const QByteArray bytes = Generate([&](TFoSnapshotWriter &writer) {
        writer.Arc(1, 1, 2, 2, 1, 1, 2, 2);
        writer.Chord(1, 1, 2, 2, 1, 1, 2, 2);
        writer.Pie(1, 1, 2, 2, 1, 1, 2, 2);
        writer.Ellipse(1, 1, 2, 2);
        writer.RoundRect(1, 1, 2, 2, 0.25, 0.25);
        writer.TabRectangle(1, 1, 2, 2);
        writer.MoveTo(1, 1);
        writer.LineTo(2, 3);
        const QPoint points[] = {QPoint(600, 600), QPoint(1200, 600), QPoint(900, 1200)};
        writer.Polygon(points);
        writer.Polyline(points);
        writer.FillRect(QRect(600, 600, 600, 600));
        writer.FrameRect(QRect(600, 600, 600, 600));
        writer.DrawFocusRect(QRect(600, 600, 600, 600));
        writer.FloodFill(1, 1, 0xFF, TFillStyle::fsBorder);
        writer.BrushCopy(QRect(0, 0, 600, 600), image, QRect(0, 0, 2, 2), 0xFF);
        TFoGraphic graphic;
        graphic.Image = image;
        writer.Draw(1, 1, graphic);
        writer.StretchDraw(QRect(600, 600, 600, 600), graphic);
        writer.PrintBitmapRect(1, 1, 2, 2, image);
        QBuffer imageStream(&jpeg);
        imageStream.open(QIODevice::ReadOnly);
        writer.PrintImageRect(1, 1, 2, 2, imageStream, QStringLiteral("JPG"));
        writer.TextRect(QRect(600, 600, 600, 600), 1, 1, QStringLiteral("clipped"));
        writer.PrintData(QStringLiteral("raw"));
        QBuffer dataStream(&rawData);
        dataStream.open(QIODevice::ReadOnly);
        writer.PrintDataStream(dataStream, 0);
        writer.PrintCenter(QStringLiteral("centre"), 4);
        writer.PrintRight(QStringLiteral("right"), 4);
        writer.PrintBlock(QStringLiteral("block of words"), 1, 3);
        writer.SetTextBKMode(TBKMode::bkOpaque);
        writer.SetBKColor(0x00FFFF);
        writer.SetFrameMode(TFrameMode::fmSplit);
        writer.StartLink(QStringLiteral("https://example.com"));
        writer.SelectBin(QStringLiteral("Tray 2"));
        writer.AllowPreviewOnly();
        writer.AllowAll();
    });
    TFoSnapshotRecorder recorder;
    ASSERT_EQ(Play(bytes, recorder), QString());
    for (const char *name : {"Arc",
                             "Chord",
                             "Pie",
                             "Ellipse",
                             "RoundRect",
                             "Rectangle",
                             "MoveTo",
                             "LineTo",
                             "Polygon",
                             "Polyline",
                             "FillRect",
                             "FrameRect",
                             "DrawFocusRect",
                             "FloodFill",
                             "BrushCopy",
                             "Draw",
                             "StretchDraw",
                             "PrintBitmapRect",
                             "PrintImageRect",
                             "TextRect",
                             "PrintData",
                             "PrintDataStream",
                             "CenterText",
                             "RightText",
                             "PrintSpaces",
                             "BKColorChanged",
                             "SetHyperlink",
                             "SetBin",
                             "AllowPreviewOnly",
                             "AllowAll"})
        EXPECT_FALSE(recorder.CallsNamed(name).empty()) << name;
    const auto ellipse = recorder.CallsNamed("Ellipse").at(0);
    EXPECT_EQ(std::get<double>(ellipse.Args[2].Value), 2.0);
    const auto line = recorder.CallsNamed("LineTo").at(0);
    EXPECT_EQ(std::get<double>(line.Args[1].Value), 3.0);
    const auto fill = recorder.CallsNamed("FillRect").at(0); // 600 pixels = 1 inch = 72 points
    EXPECT_EQ(std::get<double>(fill.Args[0].Value), 72.0);
    EXPECT_EQ(std::get<double>(fill.Args[2].Value), 144.0);
    EXPECT_EQ(std::get<QString>(recorder.CallsNamed("PrintDataStream").at(0).Args[1].Value), "010203");
    EXPECT_EQ(std::get<QString>(recorder.CallsNamed("SetHyperlink").at(0).Args[0].Value),
              "https://example.com");
    EXPECT_EQ(recorder.FTextBKMode, TBKMode::bkOpaque);
    EXPECT_EQ(recorder.snFrameMode, TFrameMode::fmSplit);
    EXPECT_EQ(std::get<QString>(recorder.CallsNamed("PrintSpaces").at(0).Args[0].Value), "block of words");
}

TEST(SnapshotWriter, PositioningModeSpreadsPlainTextWithSpacesOverItsMeasuredWidth) {
    const QByteArray bytes = Generate(
        [](TFoSnapshotWriter &writer) {
            writer.PrintLeft(QStringLiteral("two words"), 1);
            writer.PrintLeft(QStringLiteral("oneword"), 1);
        },
        [](TFoSnapshotWriter &writer) { writer.SetAccuracyMethod(TAccuracyMethod::amPositioning); });
    EXPECT_EQ(DrawingCodes(Pages(bytes)[0]), "33 24");
}

TEST(SnapshotWriter, PositioningModePlacesTheBlockByTheAlignment) {
    double width = 0;
    const QString text = QStringLiteral("two words");
    const QByteArray bytes = Generate(
        [&](TFoSnapshotWriter &writer) {
            width = writer.XU2I(writer.TextWidth(text));
            writer.PrintLeft(text, 1);
            writer.PrintCenter(text, 4);
            writer.PrintRight(text, 7);
        },
        [](TFoSnapshotWriter &writer) { writer.SetAccuracyMethod(TAccuracyMethod::amPositioning); });
    std::vector<std::pair<double, double>> blocks;
    const auto pages = Pages(bytes);
    for (const auto &record : pages[0].Records)
        if (record.Code == scBlockText) {
            EXPECT_EQ(Field(record, "Text").toString(), text);
            blocks.emplace_back(Field(record, "X").toDouble(), Field(record, "Width").toDouble());
        }
    ASSERT_EQ(blocks.size(), 3u);
    ASSERT_GT(width, 0.0);
    const double expectedX[] = {1.0, 4.0 - width / 2, 7.0 - width};
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_FLOAT_EQ(blocks[i].first, float(expectedX[i])) << i;
        EXPECT_FLOAT_EQ(blocks[i].second, float(width)) << i;
    }
}

TEST(SnapshotWriter, HoldsOutputAndRaisesOnRenderPageFromTheSecondPage) {
    std::vector<qint64> positions;
    const QByteArray bytes = Generate(
        [](TFoSnapshotWriter &writer) {
            writer.SetHoldOutput(true);
            writer.PrintLeft(QStringLiteral("held"), 1);
            writer.SetHoldOutput(false);
            writer.PrintLeft(QStringLiteral("kept"), 1);
            writer.NewPage();
            writer.NewPage();
        },
        [&](TFoSnapshotWriter &writer) {
            writer.OnRenderPage = [&](TBaseReport &) { positions.push_back(writer.Stream()->pos()); };
        });
    EXPECT_EQ(positions, (std::vector<qint64>{0, 0}));
    TFoSnapshotRecorder recorder;
    ASSERT_EQ(Play(bytes, recorder), QString());
    EXPECT_EQ(LeftTexts(recorder), "kept");
    EXPECT_EQ(recorder.CallsNamed("PageBegin").size(), 3u);
}

TEST(SnapshotWriter, RaisesItsErrors) {
    auto message = [](const std::function<void()> &action) {
        try {
            action();
        } catch (const EFolioReport &error) {
            return QString::fromStdString(error.what());
        }
        return QString();
    };
    TFoSnapshotWriter idle;
    EXPECT_EQ(message([&] { idle.RegisterGraphic(0); }), "RegisterGraphic: Index must be between 1 and 10");
    EXPECT_EQ(message([&] { idle.ReuseGraphic(11); }), "ReuseGraphic: Index must be between 1 and 10");
    EXPECT_EQ(message([&] { idle.UnregisterGraphic(-1); }),
              "UnregisterGraphic: Index must be between 1 and 10");
    EXPECT_EQ(message([&] { idle.RegisterGraphic(10); }), QString());

    TFoSnapshotWriter user;
    user.SetPrinterDevice(nullptr);
    user.SetStreamMode(TStreamMode::smUser);
    EXPECT_EQ(message([&] { user.Execute(); }), "StreamMode is smUser but Stream is nil");
    EXPECT_FALSE(user.Printing());

    EXPECT_EQ(message([&] {
                  Generate([](TFoSnapshotWriter &writer) {
                      TFoCanvas canvas;
                      writer.CopyRect(QRect(0, 0, 1, 1), canvas, QRect(0, 0, 1, 1));
                  });
              }),
              "CopyRect() not supported in file mode.");
}

TEST(SnapshotWriter, WritesFilesInEveryStreamMode) {
    QTemporaryDir folder;
    const QString target = folder.filePath("out.fsn");
    const QByteArray expected = Generate([](TFoSnapshotWriter &writer) { writer.PrintLeft("x", 1); });
    for (TStreamMode mode : {TStreamMode::smFile, TStreamMode::smMemory, TStreamMode::smTempFile}) {
        TFoSnapshotWriter writer;
        writer.SetPrinterDevice(nullptr);
        writer.SetStreamMode(mode);
        writer.SetFileName(mode == TStreamMode::smTempFile ? QString() : target);
        writer.OnPrint = [](TBaseReport &canvas) { canvas.PrintLeft("x", 1); };
        writer.Execute();
        if (mode == TStreamMode::smTempFile) {
            EXPECT_TRUE(QFileInfo(writer.FileName()).fileName().startsWith("FO"));
        }
        QFile file(writer.FileName());
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        EXPECT_EQ(file.readAll().size(), expected.size());
        file.remove();
    }
}

} // namespace

namespace {

// The first page's records after its initial state, as hex.
QByteArray FirstPageDrawingHex(const QByteArray &bytes) {
    const QByteArray hex = bytes.toHex();
    const qsizetype start = HeaderHex.size() + PageStartHex.size() + 8 + PageRestHex.size();
    return hex.mid(start);
}

QByteArray IntHex(qint32 value) {
    QByteArray bytes(4, '\0');
    qToLittleEndian<qint32>(value, bytes.data());
    return bytes.toHex();
}

} // namespace

TEST(SnapshotWriter, LaysOutShapeDataAndImageRecordsFieldByField) {
    QByteArray data("\x01\x02\x03", 3);
    QByteArray image("AB");
    const QByteArray bytes = Generate([&](TFoSnapshotWriter &writer) {
        writer.RoundRect(1, 1, 2, 2, 0.25, 0.5);
        writer.FloodFill(1, 2, 0x0000FF, TFillStyle::fsBorder);
        QBuffer dataStream(&data);
        dataStream.open(QIODevice::ReadOnly);
        writer.PrintDataStream(dataStream, 0);
        writer.PrintData(QStringLiteral("r"));
        QBuffer imageStream(&image);
        imageStream.open(QIODevice::ReadOnly);
        writer.PrintImageRect(1, 1, 2, 2, imageStream, QStringLiteral("JPG"));
    });
    EXPECT_EQ(FirstPageDrawingHex(bytes),
              "14"
              "0000803f0000803f00000040000000400000803e0000003f" // round rect, corners 0.25 by 0.5
              "09"
              "0000803f00000040ff00000001000000" // flood fill at 1,2: red, fsBorder
              "1f"
              "03000000010203" // raw data stream
              "1e"
              "017200" // raw data "r"
              "2200"   // bitmaps not transparent
              "24"
              "020000004142"
              "034a0050004700"
              "0000803f0000803f0000004000000040" // image "AB" of type JPG from 1,1 to 2,2
              "52");
}

TEST(SnapshotWriter, WritesVariableValueBlocksInTheirFourForms) {
    const QByteArray bytes = Generate([](TFoSnapshotWriter &writer) {
        writer.PrintLeft(writer.PIVar(QStringLiteral("T")), 1);
        writer.SetPIVar(QStringLiteral("T"), QStringLiteral("ab"));
        writer.SetPIVar(QStringLiteral("U"), QStringLiteral("xyz"));
        writer.NewPage();
        writer.PrintLeft(writer.PIVar(QStringLiteral("U")), 1);
    });
    const QByteArray hex = bytes.toHex();
    // Patched placeholder: C stays 128, B is the length, the value over the start of the 128-byte area.
    const QByteArray patched = "25015400"
                               "8002"
                               "61006200" +
                               QByteArray(248, '0') + "18";
    EXPECT_TRUE(FirstPageDrawingHex(bytes).startsWith(patched)) << hex.toStdString();
    // Defined value: C = B = length, then the characters.
    const QByteArray defined = "250155000303780079007a00";
    const qsizetype definedAt = hex.indexOf(defined);
    ASSERT_GT(definedAt, 0);
    const qint32 valueBlock = qint32(definedAt / 2 + 4); // after code, name length and name
    // Page 2 starts with a reference to the final value (negative), then PIVar writes a placeholder
    // that points back to it; T was patched and forgotten, so it has no reference.
    const QByteArray reference = "25015500"
                                 "04fe" +
                                 IntHex(-valueBlock);
    const qsizetype referenceAt = hex.indexOf(reference, definedAt);
    ASSERT_GT(referenceAt, 0) << hex.toStdString();
    EXPECT_EQ(hex.indexOf("25015400", definedAt), -1);
    const QByteArray placeholder = hex.mid(referenceAt + reference.size(), 8 + 4 + 8 + 248);
    EXPECT_EQ(placeholder.left(12), "2501550080ff");
    qint32 back = 0;
    const QByteArray backBytes = QByteArray::fromHex(placeholder.mid(12, 8));
    std::memcpy(&back, backBytes.constData(), 4);
    EXPECT_EQ(std::abs(back), valueBlock);
    EXPECT_EQ(placeholder.mid(20), QByteArray(248, '0'));
    TFoSnapshotRecorder recorder;
    ASSERT_EQ(Play(bytes, recorder), QString());
    EXPECT_EQ(LeftTexts(recorder), "ab|xyz");
}
