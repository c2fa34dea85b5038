// Texts of every script in the PDF: shown as the preview draws them, extractable with their spaces, in
// embedded font subsets that other readers accept.
#include "PdfTestSupport.h"

#include "ReportFixtures.h"
#include "ScheduleRecorder.h"
#include "output/pdf/FoPdfCff.h"
#include "output/screen/FoRenderPreview.h"

#include <QCoreApplication>
#include <QFontDatabase>
#include <QImage>
#include <QRawFont>
#include <QRegularExpression>
#include <QScrollArea>

#include <iostream>

using namespace fiscora;
using namespace fiscora::test;

namespace {

const QString kMixed = QStringLiteral("Zażółć gęślą jaźń Γειά σου 日本語の車");
const QString kPolish = QStringLiteral("Zażółć gęślą jaźń");
const QString kJapanese = QStringLiteral("減価償却資産の償却率");

// The page as the preview draws it at 150 dpi (zoom 156.25 % of the 96 dpi screen).
QImage PreviewPicture(const QByteArray &snapshot) {
    QScrollArea box;
    box.resize(900, 700);
    QByteArray bytes = snapshot;
    QBuffer stream(&bytes);
    stream.open(QIODevice::ReadOnly);
    TFoRenderPreview preview;
    preview.SetScrollBox(&box);
    preview.SetSnapshotStream(&stream);
    preview.SetZoomFactor(150.0 / 96.0 * 100.0);
    preview.RenderPage(1);
    return preview.Bitmap().convertToFormat(QImage::Format_Grayscale8);
}

// Page 1 of the PDF as pdftoppm rasterises it at 150 dpi.
QImage PdfPicture(const QByteArray &pdf) {
    QTemporaryDir dir;
    QFile file(dir.filePath(QStringLiteral("page.pdf")));
    if (!file.open(QIODevice::WriteOnly))
        return {};
    file.write(pdf);
    file.close();
    const QString prefix = dir.filePath(QStringLiteral("page"));
    const ToolResult result = RunTool(QStringLiteral("pdftoppm"),
                                      {QStringLiteral("-r"), QStringLiteral("150"), QStringLiteral("-png"),
                                       QStringLiteral("-singlefile"), file.fileName(), prefix});
    if (result.exitCode != 0)
        return {};
    return QImage(prefix + QStringLiteral(".png")).convertToFormat(QImage::Format_Grayscale8);
}

// The share of ink in A (dark pixels, the preview's paper border left out) that has no ink of B within
// one pixel: antialiasing differs between renderers, misplaced glyphs do not.
double InkMissing(const QImage &a, const QImage &b) {
    const auto ink = [](const QImage &image, int x, int y) {
        return x >= 0 && y >= 0 && x < image.width() && y < image.height() && qGray(image.pixel(x, y)) < 140;
    };
    long total = 0, missing = 0;
    for (int y = 3; y < a.height() - 3; ++y)
        for (int x = 3; x < a.width() - 3; ++x) {
            if (!ink(a, x, y))
                continue;
            ++total;
            bool near = false;
            for (int dy = -1; dy <= 1 && !near; ++dy)
                for (int dx = -1; dx <= 1 && !near; ++dx)
                    near = ink(b, x + dx, y + dy);
            if (!near)
                ++missing;
        }
    return total ? double(missing) / double(total) : 1.0;
}

// The fonts shaped text is shown in.
std::vector<FontLine> CidFonts(const QByteArray &pdf) {
    std::vector<FontLine> fonts = PdfFonts(pdf);
    std::erase_if(fonts, [](const FontLine &font) { return !font.type.startsWith(QLatin1String("CID ")); });
    return fonts;
}

// Every kind of text placement the playback knows, in mixed scripts.
void MixedScriptPage(TBaseReport &report) {
    report.SetFont(QStringLiteral("Arial"), 12);
    report.PrintXY(1, 1, QStringLiteral("Plain Latin text, Windows-1252 only"));
    report.PrintXY(1, 1.5, kMixed);
    report.SetFont(QStringLiteral("Arial"), 10);
    report.PrintRight(kPolish, 7.5);
    report.GotoXY(1, 2.5);
    report.PrintCenter(QStringLiteral("Ελληνικά και 日本語 στο κέντρο"), 4.25);
    report.SetBold(true);
    report.PrintXY(1, 3, QStringLiteral("Pogrubiony: Łódź, Kraków, Gdańsk"));
    report.SetBold(false);
    report.SetFont(QStringLiteral("Times New Roman"), 14);
    report.PrintXY(1, 3.6, QStringLiteral("Příliš žluťoučký kůň úpěl ďábelské ódy"));
    report.SetFont(QStringLiteral("Arial"), 11);
    report.PrintXY(1, 4.2, kJapanese);
    report.GotoXY(1, 5);
    report.PrintBlock(QStringLiteral("Wyjustowany tekst z polskimi znakami ąęś i słowami"), 1, 6.5);
    report.SetFontRotation(90);
    report.PrintXY(1, 9.5, QStringLiteral("Obrócony tekst ŻÓŁW"));
    report.SetFontRotation(0);
}

} // namespace

TEST(PdfScripts, AMixedScriptPageLooksAsThePreviewDrawsItAt150Dpi) {
    const QByteArray snapshot = GenerateSnapshot(MixedScriptPage);
    const QImage preview = PreviewPicture(snapshot);
    const QImage pdf = PdfPicture(RenderPdf(snapshot));
    ASSERT_FALSE(pdf.isNull());
    ASSERT_EQ(preview.size(), pdf.size());
    EXPECT_LT(InkMissing(preview, pdf), 0.03);
    EXPECT_LT(InkMissing(pdf, preview), 0.03);

    // The measure tells a wrong page: the same texts as question marks in the standard font.
    const QImage unshaped =
        PdfPicture(RenderPdf(snapshot, [](TFoRenderPDF &renderer) { renderer.UnicodeFallback = false; }));
    EXPECT_GT(InkMissing(preview, unshaped), 0.2);
}

TEST(PdfScripts, TextOfEveryScriptExtractsWithItsSpaces) {
    const QByteArray pdf = PdfOf(MixedScriptPage);
    ExpectQpdfCheckPasses(pdf);
    const QString text = PdfToText(pdf);
    for (const QString &expected :
         {kMixed, kPolish, kJapanese, QStringLiteral("Ελληνικά και 日本語 στο κέντρο"),
          QStringLiteral("Pogrubiony: Łódź, Kraków, Gdańsk"),
          QStringLiteral("Příliš žluťoučký kůň úpěl ďábelské ódy")})
        EXPECT_TRUE(text.contains(expected)) << expected.toStdString() << " in\n" << text.toStdString();
}

// One case per kind of font program: TrueType, name-keyed CFF and CID-keyed CFF. Each page is also
// compared with the preview's, which tells a glyph addressed wrongly.
TEST(PdfScripts, EachKindOfFontProgramIsEmbeddedAsASubset) {
    struct Case {
        const char *face;
        QString text;
        const char *type; // as pdffonts names it
        bool installed;   // by tools/ensure-deps; the large Noto CJK fonts are only used where present
    };
    const Case cases[] = {
        {"Liberation Sans", kPolish, "CID TrueType", true},
        {"IPAGothic", kJapanese, "CID TrueType", true},
        {"C059", kPolish, "CID Type 0C", true},
        {"Noto Sans CJK JP", kJapanese, "CID Type 0C", false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.face);
        if (!QFontDatabase::hasFamily(QLatin1String(c.face))) {
            if (c.installed)
                ADD_FAILURE() << c.face << " is not installed (tools/ensure-deps installs it)";
            else
                std::cout << c.face << " is not installed: case left out\n";
            continue;
        }
        const QByteArray snapshot = GenerateSnapshot([&](TBaseReport &report) {
            report.SetFont(QLatin1String(c.face), 14);
            report.PrintXY(1, 1, c.text);
        });
        const QByteArray pdf = RenderPdf(snapshot);
        ExpectQpdfCheckPasses(pdf);
        const std::vector<FontLine> fonts = CidFonts(pdf);
        ASSERT_EQ(fonts.size(), 1u);
        EXPECT_EQ(fonts[0].type, QLatin1String(c.type));
        EXPECT_TRUE(fonts[0].name.contains(QString(QLatin1String(c.face)).remove(QLatin1Char(' '))))
            << fonts[0].name.toStdString();
        EXPECT_TRUE(PdfToText(pdf).contains(c.text));
        // A subset of a dozen glyphs, not the whole font.
        EXPECT_LT(pdf.size(), 40000);
        const QImage preview = PreviewPicture(snapshot);
        const QImage page = PdfPicture(pdf);
        ASSERT_EQ(preview.size(), page.size());
        EXPECT_LT(InkMissing(preview, page), 0.03);
        EXPECT_LT(InkMissing(page, preview), 0.03);
    }
}

TEST(PdfScripts, AFaceWithoutAnEmbeddableProgramIsDrawnFromItsOutlines) {
    QFont helvetica(QStringLiteral("Helvetica"));
    helvetica.setPixelSize(1000);
    const QRawFont drawn = QRawFont::fromFont(helvetica);
    if (!drawn.fontTable("glyf").isEmpty() || !drawn.fontTable("CFF ").isEmpty())
        GTEST_SKIP() << "Helvetica is drawn from " << drawn.familyName().toStdString()
                     << ", whose program can be embedded";
    const QByteArray snapshot = GenerateSnapshot([](TBaseReport &report) {
        report.SetFont(QStringLiteral("Helvetica"), 16);
        report.PrintXY(1, 1, kPolish);
        report.PrintXY(1, 1.5, QStringLiteral("Łódź, Kraków, Gdańsk"));
    });
    const QByteArray pdf = RenderPdf(snapshot);
    ExpectQpdfCheckPasses(pdf);
    const std::vector<FontLine> fonts = PdfFonts(pdf);
    EXPECT_TRUE(std::any_of(fonts.begin(), fonts.end(), [](const FontLine &font) {
        return font.type == QLatin1String("Type 3") && font.embedded;
    }));
    const QString text = PdfToText(pdf);
    EXPECT_TRUE(text.contains(kPolish)) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("Łódź, Kraków, Gdańsk"))) << text.toStdString();
    // A streamed document numbers the glyph procedures at its end.
    const QByteArray streamed =
        RenderPdf(snapshot, [](TFoRenderPDF &renderer) { renderer.BufferDocument = false; });
    ExpectQpdfCheckPasses(streamed);
    EXPECT_EQ(PdfToText(streamed), text);
    const QImage preview = PreviewPicture(snapshot);
    const QImage page = PdfPicture(pdf);
    ASSERT_EQ(preview.size(), page.size());
    EXPECT_LT(InkMissing(preview, page), 0.03);
    EXPECT_LT(InkMissing(page, preview), 0.03);
}

TEST(PdfScripts, AOnePageReportWithAForeignDescriptionStaysSmall) {
    struct Case {
        QString description;
        qsizetype limit;
    };
    const Case cases[] = {{QStringLiteral("Samochód służbowy – dział sprzedaży, Łódź"), 60000},
                          {QStringLiteral("営業部の社用車（東京本社）"), 200000},
                          {kMixed, 200000}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.description.toStdString());
        AssetInputs inputs;
        inputs.description = c.description.toStdString();
        inputs.propertyType = PropertyType::Automobile;
        inputs.placedInService = "01/15/2024";
        inputs.cost = 20000;
        inputs.fiscalYearEnd = "12/31/2024";
        ScheduleRecorder pane;
        const QByteArray snapshot = ReportSnapshot(
            QCoreApplication::applicationDirPath() + QStringLiteral("/Amortix.fol"), inputs, pane);
        ASSERT_FALSE(snapshot.isEmpty());
        const QByteArray pdf = RenderPdf(snapshot);
        EXPECT_LT(pdf.size(), c.limit);
        ExpectQpdfCheckPasses(pdf);
        EXPECT_TRUE(PdfToText(pdf).contains(c.description)) << PdfToText(pdf).toStdString();
    }
}

TEST(PdfScripts, ACffCharsetGivesTheCidOfEveryGlyph) {
    // A CID-keyed program of four glyphs: header, Name INDEX, Top DICT INDEX (ROS, charset, CharStrings),
    // then the charset and a CharStrings INDEX of four one-byte glyphs.
    const auto program = [](QByteArray charset, bool cidKeyed) {
        QByteArray dict;
        if (cidKeyed)
            dict += QByteArray("\x8b\x8b\x8b\x0c\x1e", 5); // 0 0 0 ROS
        QByteArray cff("\x01\x00\x04\x01", 4);
        cff += QByteArray("\x00\x01\x01\x01\x02", 5) + 'A'; // Name INDEX: "A"
        const int topDictSize = int(dict.size()) + 8;       // + charset and CharStrings entries
        const int charsetOffset = 4 + 6 + 5 + topDictSize;
        const int charStringsOffset = charsetOffset + int(charset.size());
        dict += char(28) + QByteArray(1, char(charsetOffset >> 8)) + char(charsetOffset & 0xFF) + char(15);
        dict += char(28) + QByteArray(1, char(charStringsOffset >> 8)) + char(charStringsOffset & 0xFF) +
                char(17);
        cff += QByteArray("\x00\x01\x01\x01", 4) + char(1 + dict.size()) + dict; // Top DICT INDEX
        cff += charset;
        cff += QByteArray("\x00\x04\x01\x01\x02\x03\x04\x05\x0e\x0e\x0e\x0e", 12); // CharStrings INDEX
        return cff;
    };
    struct Case {
        const char *name;
        QByteArray charset;
        std::vector<std::uint16_t> cids;
    };
    const Case cases[] = {
        {"format 0", QByteArray("\x00\x00\x07\x00\x09\x01\x00", 7), {0, 7, 9, 256}},
        {"format 1", QByteArray("\x01\x00\x0a\x01\x01\x00\x00", 7), {0, 10, 11, 256}},
        {"format 2", QByteArray("\x02\x00\x14\x00\x02", 5), {0, 20, 21, 22}},
    };
    for (const Case &c : cases) {
        const auto charset = ReadCffCharset(program(c.charset, true));
        ASSERT_TRUE(charset) << c.name;
        EXPECT_TRUE(charset->CIDKeyed) << c.name;
        EXPECT_EQ(charset->CIDs, c.cids) << c.name;
    }
    const auto nameKeyed = ReadCffCharset(program(cases[0].charset, false));
    ASSERT_TRUE(nameKeyed);
    EXPECT_FALSE(nameKeyed->CIDKeyed);
    // Damaged programs are refused, whatever byte they end at.
    const QByteArray whole = program(cases[1].charset, true);
    for (qsizetype size = 0; size < whole.size(); ++size)
        EXPECT_FALSE(ReadCffCharset(whole.left(size))) << size;
}
