#include "FoSnapshotTestSupport.h"

#include "report/core/FoErrors.h"
#include "report/playback/FoRenderStream.h"
#include "report/playback/FoSnapshotConverter.h"

#include <QBuffer>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace fiscora;
using namespace fiscora::test;

namespace {

TEST(RendererRegistry, ListsActiveRenderersUnderTheirLatestNames) {
    TFoRender pdf;
    pdf.SetDisplayName("Adobe Acrobat Document");
    pdf.SetFileExtension("*.pdf");
    TFoRender html;
    html.SetDisplayName("Web Document (HTML)");
    html.SetFileExtension("*.html;*.htm");
    TFoRender inactive;
    inactive.SetDisplayName("Hidden");
    inactive.SetActive(false);
    pdf.SetDisplayName("PDF"); // renaming moves it to the end
    std::vector<TFoRendererEntry> entries;
    ListRenderers(entries);
    QStringList names;
    for (const auto &entry : entries)
        if (entry.Renderer == &pdf || entry.Renderer == &html || entry.Renderer == &inactive)
            names << entry.DisplayName;
    EXPECT_EQ(names.join(","), "Web Document (HTML),PDF");
    EXPECT_TRUE(RendererFilter().endsWith("Web Document (HTML)|*.html;*.htm|PDF|*.pdf"));
    {
        TFoRender temporary;
        temporary.SetDisplayName("Gone soon");
    }
    EXPECT_FALSE(RendererFilter().contains("Gone soon"));
}

TEST(RendererBase, SplitsWordsAndSpaces) {
    TFoRender renderer;
    struct Case {
        QString Text;
        QString Word;
        QString Rest;
    };
    for (const Case &c : {Case{"  two words", "  two", " words"}, Case{"one", "one", ""},
                          Case{"   ", "   ", ""}, Case{"a  b", "a", "  b"}}) {
        QString text = c.Text;
        EXPECT_EQ(renderer.TakeWord(text), c.Word) << c.Text.toStdString();
        EXPECT_EQ(text, c.Rest);
    }
    QString spaced = "  x y";
    EXPECT_EQ(renderer.TakeSpaces(spaced), "  ");
    EXPECT_EQ(spaced, "x y");
    EXPECT_EQ(renderer.InnerSpaceCount("  a b  c  "), 3);
    EXPECT_EQ(renderer.InnerSpaceCount("   "), 0);
}

TEST(RendererBase, AppliesAllowModesAndConvertsInches) {
    TFoRender renderer;
    renderer.AllowPreviewOnly();
    EXPECT_EQ(renderer.ValidDestination, 30);
    renderer.AllowPrinterOnly();
    EXPECT_EQ(renderer.ValidDestination, 29);
    renderer.AllowAll();
    EXPECT_EQ(renderer.ValidDestination, 31);
    EXPECT_EQ(renderer.XDPI(), 72);
    EXPECT_EQ(renderer.XI2D(1.5), 108);
    EXPECT_EQ(renderer.YI2D(1e300), 2147483647); // absurd values saturate instead of overflowing
    double x = 1.0;
    double y = 1.0;
    renderer.AdvanceAlongBaseline(x, y, 2.0);
    EXPECT_EQ(x, 3.0);
    EXPECT_EQ(y, 1.0);
}

TEST(RendererBase, AdvancesAlongARotatedBaseline) {
    // 90 degrees: the text runs upwards.
    const QByteArray bytes = [] {
        TSnapshotBuilder builder;
        builder.Header(1);
        builder.Page(1, [](TFoSnapshotOutput &out) {
            out.WriteByte(scFontRotation);
            out.WriteWord(90);
        });
        return builder.Bytes();
    }();
    struct TRotated : TFoSnapshotRecorder {
        double X = 1, Y = 5;
        void PageEnd() override { AdvanceAlongBaseline(X, Y, 2.0); }
    } renderer;
    ASSERT_EQ(Play(bytes, renderer), QString());
    EXPECT_NEAR(renderer.X, 1.0, 1e-12);
    EXPECT_NEAR(renderer.Y, 3.0, 1e-12);
}

TEST(RendererBase, DecodesImagesThroughItsEvent) {
    struct TBitmaps : TFoSnapshotRecorder {
        using TFoSnapshotRecorder::PrintBitmapRect;
        void PrintImageRect(double X1, double Y1, double X2, double Y2, QIODevice &ImageStream,
                            const QString &ImageType) override {
            TFoRender::PrintImageRect(X1, Y1, X2, Y2, ImageStream, ImageType);
        }
    } renderer;
    QString seenType;
    renderer.OnDecodeImage = [&](TFoRender &, QIODevice &stream, const QString &type, QImage &bitmap) {
        seenType = type + ":" + QString::fromLatin1(stream.readAll());
        bitmap = QImage(5, 4, QImage::Format_RGB32);
    };
    const QByteArray bytes = [] {
        TSnapshotBuilder builder;
        builder.Header(1);
        builder.Page(1, [](TFoSnapshotOutput &out) {
            out.WriteByte(scPrintImageRect);
            out.WriteInt(4);
            out.Write("JFIF", 4);
            out.WriteString(QStringLiteral("JPG"));
            for (int i = 0; i < 4; ++i)
                out.WriteFloat(i);
        });
        return builder.Bytes();
    }();
    ASSERT_EQ(Play(bytes, renderer), QString());
    EXPECT_EQ(seenType, "JPG:JFIF");
    const auto bitmaps = renderer.CallsNamed("PrintBitmapRect");
    ASSERT_EQ(bitmaps.size(), 1u);
    EXPECT_EQ(std::get<double>(bitmaps[0].Args[4].Value), 5);
}

TEST(RendererBase, RendersAFileItOpensAndKeepsItUntilClosed) {
    QTemporaryDir folder;
    const QString path = folder.filePath("three.fsn");
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(TSnapshotBuilder::Pages(3));
    }
    TFoSnapshotRecorder renderer;
    renderer.Render(path);
    EXPECT_EQ(LeftTexts(renderer), "page 1|page 2|page 3");
    ASSERT_NE(renderer.SnapshotStream(), nullptr);
    renderer.Calls.clear();
    renderer.RenderPage(2);
    EXPECT_EQ(LeftTexts(renderer), "page 2");
    renderer.CloseSnapshot();
    EXPECT_EQ(renderer.SnapshotStream(), nullptr);
    EXPECT_THROW(renderer.Render(folder.filePath("missing.fsn")), EFolioReport);
    EXPECT_FALSE(renderer.Rendering());
}

TEST(RendererBase, IgnoresRenderWhileRendering) {
    struct TReentrant : TFoSnapshotRecorder {
        QIODevice *Stream = nullptr;
        void PageBegin() override {
            TFoSnapshotRecorder::PageBegin();
            Render(Stream); // ignored: a converter is already running
        }
    } renderer;
    QByteArray bytes = TSnapshotBuilder::Pages(2);
    QBuffer stream(&bytes);
    stream.open(QIODevice::ReadOnly);
    renderer.Stream = &stream;
    renderer.Render(&stream);
    EXPECT_EQ(renderer.CallsNamed("DocBegin").size(), 1u);
    EXPECT_EQ(renderer.CallsNamed("PageBegin").size(), 2u);
}

TEST(RenderStream, WritesAnsiTextWithCrLf) {
    TFoRenderStream renderer;
    QByteArray bytes;
    QBuffer output(&bytes);
    output.open(QIODevice::WriteOnly);
    renderer.SetOutputStream(&output);
    renderer.Print(QStringLiteral("Caf\u00E9 \u20AC \u4E2D"));
    renderer.Print(QString());
    renderer.PrintLn();
    renderer.PrintF("%s %.2f", "x", 1.5);
    renderer.PrintLnF("/%d", 7);
    EXPECT_EQ(bytes, QByteArray("Caf\xE9 \x80 ?\r\nx 1.50/7\r\n"));
}

TEST(RenderStream, OwnsTheFileItCreates) {
    QTemporaryDir folder;
    TFoRenderStream renderer;
    renderer.InitFileStream(folder.filePath("out.txt"));
    ASSERT_NE(renderer.OwnedStream(), nullptr);
    EXPECT_EQ(renderer.OutputStream(), renderer.OwnedStream());
    renderer.PrintLn("line");
    renderer.CloseOutput();
    EXPECT_EQ(renderer.OutputStream(), nullptr);
    QFile file(folder.filePath("out.txt"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), QByteArray("line\r\n"));
    try {
        renderer.InitFileStream(folder.filePath("no/such/folder/out.txt"));
        FAIL() << "no error";
    } catch (const EFolioReport &error) {
        EXPECT_TRUE(QString::fromStdString(error.what()).startsWith("Cannot create file"));
    }
}

} // namespace
