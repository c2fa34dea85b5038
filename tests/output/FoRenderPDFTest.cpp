// Golden text of the PDF renderer's edge cases, compared line by line.
#include "FoSnapshotTestSupport.h"
#include "PdfTestSupport.h"

#include "output/pdf/FoPdfFormat.h"
#include "report/core/FoErrors.h"
#include "report/core/FoTypes.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QRegularExpression>

#include <clocale>

using namespace fiscora;
using namespace fiscora::test;

namespace {

// Every registered offset points at its object, and startxref at the table.
void ExpectXRefConsistent(const QByteArray &pdf) {
    const qsizetype xref = pdf.lastIndexOf("\r\nxref\r\n") + 2;
    ASSERT_GT(xref, 2);
    const QByteArray tail = pdf.mid(pdf.lastIndexOf("startxref\r\n") + 11);
    EXPECT_EQ(tail.left(tail.indexOf('\r')).toLongLong(), xref);
    const QList<QByteArray> lines = pdf.mid(xref).split('\n');
    const int count = lines.at(1).trimmed().mid(2).toInt();
    for (int k = 1; k < count; ++k) {
        const QByteArray entry = lines.at(2 + k);
        EXPECT_EQ(entry.size(), 19) << "entry " << k; // 20 bytes with the LF
        const qint64 offset = entry.left(10).toLongLong();
        EXPECT_TRUE(pdf.mid(offset).startsWith(QByteArray::number(k) + " 0 obj\r\n")) << "object " << k;
    }
}

} // namespace

TEST(FoRenderPDF, APlaybackThatBeginsNoPageGivesOneLetterPageWithOnlyTheLineCap) {
    QByteArray pdf;
    QBuffer out(&pdf);
    out.open(QIODevice::WriteOnly);
    TFoRenderPDF renderer;
    renderer.CreationDate = FixedDate();
    renderer.SetOutputStream(&out);
    renderer.DocBegin();
    renderer.DocEnd();

    ASSERT_TRUE(pdf.startsWith("%PDF-1.3\r\n%\xC3\xA2\xC3\xA3\xC3\x8F\xC3\x93\r\n\r\n"));
    const QStringList lines = Lines(pdf);
    const qsizetype xref = lines.indexOf(QStringLiteral("xref"));
    ASSERT_GT(xref, 0);
    ExpectLines(lines.mid(3, xref - 3), {"1 0 obj",
                                         "<<",
                                         "/Type /Catalog",
                                         "/Outlines 2 0 R",
                                         "/Pages 3 0 R",
                                         ">>",
                                         "endobj",
                                         "",
                                         "2 0 obj",
                                         "<<",
                                         "/Type /Outlines",
                                         "/Count 0",
                                         ">>",
                                         "endobj",
                                         "",
                                         "3 0 obj",
                                         "<<",
                                         "/Type /Pages",
                                         "/Count 1",
                                         "/Kids [ 4 0 R ] ",
                                         ">>",
                                         "endobj",
                                         "",
                                         "4 0 obj",
                                         "<<",
                                         "/Type /Page",
                                         "/Parent 3 0 R",
                                         "/Resources <<",
                                         "/ProcSet 6 0 R",
                                         ">>",
                                         "/MediaBox [0 0 612 792]",
                                         "/Contents 5 0 R",
                                         ">>",
                                         "endobj",
                                         "",
                                         "5 0 obj",
                                         "<< /Length 5 >>",
                                         "stream",
                                         "2 J",
                                         "endstream",
                                         "endobj",
                                         "",
                                         "6 0 obj",
                                         "[/PDF /Text]",
                                         "endobj",
                                         "",
                                         "7 0 obj",
                                         "<<",
                                         "/CreationDate (D:20260102030405)",
                                         ">>",
                                         "endobj",
                                         ""});
    const QStringList tail = lines.mid(xref);
    ASSERT_EQ(tail.size(), 21);
    EXPECT_EQ(tail[1], "0 8");
    EXPECT_EQ(tail[2], "0000000000 65535 f");
    for (int k = 3; k < 10; ++k)
        EXPECT_TRUE(QRegularExpression("^\\d{10} 00000 n$").match(tail[k]).hasMatch())
            << tail[k].toStdString();
    ExpectLines(tail.mid(10, 8), {"", "trailer", "<<", "/Size 8", "/Root 1 0 R", "/Info 7 0 R", ">>", ""});
    EXPECT_EQ(tail[18], "startxref");
    EXPECT_EQ(tail[19].toLongLong(), pdf.indexOf("\r\nxref\r\n") + 2);
    EXPECT_EQ(tail[20], "%%EOF");
    EXPECT_TRUE(pdf.endsWith("%%EOF\r\n"));
    ExpectXRefConsistent(pdf);
    ExpectQpdfCheckPasses(pdf);
}

namespace {

QByteArray PagesPdf(int count) {
    return PdfOf([count](TBaseReport &report) {
        for (int page = 1; page <= count; ++page) {
            if (page > 1)
                report.NewPage();
            report.PrintXY(1, 1, QStringLiteral("Page %1").arg(page));
        }
    });
}

} // namespace

// The page tree lists its pages (objects 4, 6, ...) as "n 0 R " with a CR LF after the references of
// index 25, 50, ... (from 0), then drops the text's last character: the space of the last reference,
// or the LF of a break that came last.
TEST(FoRenderPDF, PageReferencesBreakAfterIndex25AndLoseTheirLastCharacter) {
    const struct {
        int pages;
        const char *kids;
    } cases[] = {
        {1, "/Count 1\r\n/Kids [ 4 0 R ] \r\n"},
        {26, "/Count 26\r\n/Kids [ 4 0 R 6 0 R 8 0 R 10 0 R 12 0 R 14 0 R 16 0 R 18 0 R 20 0 R 22 0 R 24 0 R "
             "26 0 R 28 0 R 30 0 R 32 0 R 34 0 R 36 0 R 38 0 R 40 0 R 42 0 R 44 0 R 46 0 R 48 0 R 50 0 R "
             "52 0 R 54 0 R \r ] \r\n"},
        {27, "/Count 27\r\n/Kids [ 4 0 R 6 0 R 8 0 R 10 0 R 12 0 R 14 0 R 16 0 R 18 0 R 20 0 R 22 0 R 24 0 R "
             "26 0 R 28 0 R 30 0 R 32 0 R 34 0 R 36 0 R 38 0 R 40 0 R 42 0 R 44 0 R 46 0 R 48 0 R 50 0 R "
             "52 0 R 54 0 R \r\n56 0 R ] \r\n"},
    };
    for (const auto &c : cases) {
        const QByteArray pdf = PagesPdf(c.pages);
        EXPECT_TRUE(pdf.contains(c.kids))
            << c.pages << " pages: " << pdf.mid(pdf.indexOf("/Count"), 220).toStdString();
        ExpectXRefConsistent(pdf);
        ExpectQpdfCheckPasses(pdf);
    }
}

TEST(FoRenderPDF, ParenthesesAndBackslashesAreEscapedInTextInformationAndLinks) {
    const QByteArray pdf = PdfOf(
        [](TBaseReport &report) {
            report.PrintXY(1, 1, QStringLiteral("a(b)c\\d"));
            report.StartLink(QStringLiteral("https://example.com/x(1)\\y"));
            report.PrintXY(1, 2, QStringLiteral("link"));
            report.EndLink();
        },
        [](TFoRenderPDF &renderer) {
            renderer.DocInfo.Title = QStringLiteral("T(1)");
            renderer.DocInfo.Author = QStringLiteral("A\\B");
        });
    EXPECT_TRUE(Lines(pdf).contains(QStringLiteral("(a\\(b\\)c\\\\d)Tj")));
    EXPECT_TRUE(Lines(pdf).contains(QStringLiteral("/Title (T\\(1\\))")));
    EXPECT_TRUE(Lines(pdf).contains(QStringLiteral("/Author (A\\\\B)")));
    EXPECT_TRUE(
        Lines(pdf).contains(QStringLiteral("/A << /S /URI /URI (https://example.com/x\\(1\\)\\\\y) >>")));
    ExpectQpdfCheckPasses(pdf);
}

TEST(FoRenderPDF, InformationLinesAppearOnlyForFieldsThatAreSet) {
    const QByteArray pdf = PdfOf([](TBaseReport &) {},
                                 [](TFoRenderPDF &renderer) {
                                     renderer.DocInfo.Subject = QStringLiteral("S");
                                     renderer.DocInfo.Producer = QStringLiteral("P");
                                 });
    const QStringList lines = Lines(pdf);
    const qsizetype info = lines.indexOf(QStringLiteral("/Subject (S)"));
    ASSERT_GT(info, 0);
    ExpectLines(lines.mid(info - 1, 5),
                {"<<", "/Subject (S)", "/Producer (P)", "/CreationDate (D:20260102030405)", ">>"});
}

TEST(FoRenderPDF, TextLinksCoverTheTextAndDisableHyperlinksDropsThem) {
    const auto body = [](TBaseReport &report) { report.PrintXY(1, 2, QStringLiteral("HTTP://example.com")); };
    const QByteArray linked = PdfOf(body);
    EXPECT_TRUE(linked.contains("/Annots ["));
    EXPECT_TRUE(Lines(linked).contains(QStringLiteral("/A << /S /URI /URI (HTTP://example.com) >>")));
    ExpectQpdfCheckPasses(linked);
    const QByteArray plain = PdfOf(body, [](TFoRenderPDF &renderer) { renderer.DisableHyperlinks = true; });
    EXPECT_FALSE(plain.contains("/Annots"));
    EXPECT_FALSE(plain.contains("/Link"));
}

TEST(FoRenderPDF, ADocumentOfLinesOnlyHasNoFontsAndTheTextProcedureSet) {
    const QByteArray pdf = PdfOf([](TBaseReport &report) {
        report.MoveTo(1, 1);
        report.LineTo(2, 2);
    });
    EXPECT_FALSE(pdf.contains("/Font"));
    EXPECT_TRUE(Lines(pdf).contains(QStringLiteral("[/PDF /Text]")));
    ExpectQpdfCheckPasses(pdf);
}

TEST(FoRenderPDF, TwoTextsOfOneColourWriteRgOnceAndATextColourMakesTheNextShapeWriteRgAgain) {
    const QByteArray pdf = PdfOf([](TBaseReport &report) {
        report.SetFont(QStringLiteral("Arial"), 10);
        report.SetPen(clBlack, TPenStyle::psSolid, 1, TPenMode::pmCopy);
        report.SetBrush(clWhite, TBrushStyle::bsClear);
        report.Rectangle(1, 0.25, 2, 0.5);
        report.SetFontColor(RGB(255, 0, 0));
        report.PrintXY(1, 1, QStringLiteral("one"));
        report.PrintXY(1, 2, QStringLiteral("two"));
        report.Rectangle(1, 3, 2, 3.5);
    });
    const QStringList content = PageContent(pdf);
    EXPECT_EQ(content.count(QStringLiteral("1 0 0 rg")), 1) << content.join('|').toStdString();
    // The pen colour did not change, but the text's "rg" makes the next shape write it again.
    EXPECT_EQ(content.count(QStringLiteral("0 0 0 RG")), 2) << content.join('|').toStdString();
    const qsizetype two = content.indexOf(QStringLiteral("(two)Tj"));
    ASSERT_GT(two, 0);
    ExpectLines(content.mid(two - 3, 6),
                {"BT", "/F1 10.00 Tf", "72.0000 648.0000 Td", "(two)Tj", "ET", "0 0 0 RG"});
    ExpectQpdfCheckPasses(pdf);
}

TEST(FoRenderPDF, TwoCrossHatchedBrushesOfTwoColoursAreTwoPatterns) {
    const QByteArray pdf = PdfOf([](TBaseReport &report) {
        report.SetPen(clBlack, TPenStyle::psSolid, 1, TPenMode::pmCopy);
        report.SetBrush(RGB(255, 0, 0), TBrushStyle::bsCross);
        report.Rectangle(1, 1, 2, 2);
        report.SetBrush(RGB(0, 0, 255), TBrushStyle::bsCross);
        report.Rectangle(3, 1, 4, 2);
        report.SetBrush(RGB(255, 0, 0), TBrushStyle::bsCross);
        report.Rectangle(5, 1, 6, 2);
    });
    const QStringList content = PageContent(pdf);
    EXPECT_EQ(content.count(QStringLiteral("/P1 scn")), 2) << content.join('|').toStdString();
    EXPECT_EQ(content.count(QStringLiteral("/P2 scn")), 1);
    EXPECT_EQ(content.count(QStringLiteral("/Pattern cs")), 3);
    const QStringList lines = Lines(pdf);
    EXPECT_TRUE(lines.contains(QStringLiteral("/Pattern <<")));
    const qsizetype pattern = lines.indexOf(QStringLiteral("/Type /Pattern"));
    ASSERT_GT(pattern, 0);
    ExpectLines(lines.mid(pattern - 2, 25), {lines[pattern - 2],
                                             "<<",
                                             "/Type /Pattern",
                                             "/PatternType 1",
                                             "/PaintType 1",
                                             "/TilingType 1",
                                             "/BBox [0 0 8 8]",
                                             "/XStep 8",
                                             "/YStep 8",
                                             lines[pattern + 7],
                                             "/Length 92",
                                             ">>",
                                             "stream",
                                             "q",
                                             "1 0 0 RG",
                                             "1 i",
                                             "0 0 8 8 re",
                                             "W n",
                                             "1 J 0 j 0.5 w 10 M []0 d",
                                             "0 4 m",
                                             "8 4 l",
                                             "4 0 m",
                                             "4 8 l",
                                             "S Q",
                                             "endstream"});
    EXPECT_TRUE(lines.contains(QStringLiteral("0 0 1 RG")));
    ExpectQpdfCheckPasses(pdf);
}

TEST(FoRenderPDF, ASystemColourIsWrittenBlack) {
    EXPECT_EQ(pdf::ColorText(0x80000005u), QByteArray("0 0 0"));
    EXPECT_EQ(pdf::ColorText(RGB(255, 255, 255)), QByteArray("1 1 1"));
    EXPECT_EQ(pdf::ColorText(RGB(128, 64, 0)), QByteArray("0.502 0.251 0"));
    const QByteArray pdf = PdfOf([](TBaseReport &report) {
        report.SetPen(0x80000008u, TPenStyle::psSolid, 1, TPenMode::pmCopy);
        report.MoveTo(1, 1);
        report.LineTo(2, 1);
    });
    EXPECT_TRUE(PageContent(pdf).contains(QStringLiteral("0 0 0 RG")));
}

TEST(FoRenderPDF, ANinetyDegreeTextWritesTdThenTmAndNoUnderline) {
    const QByteArray pdf = PdfOf([](TBaseReport &report) {
        report.SetFont(QStringLiteral("Arial"), 12);
        report.SetUnderline(true);
        report.SetFontRotation(90);
        report.PrintXY(2, 5, QStringLiteral("Up"));
    });
    const QStringList content = PageContent(pdf);
    const qsizetype shown = content.indexOf(QStringLiteral("(Up)Tj"));
    ASSERT_GT(shown, 1) << content.join('|').toStdString();
    EXPECT_TRUE(content[shown - 2].endsWith(QLatin1String(" Td")));
    const QStringList tm = content[shown - 1].split(' ');
    ASSERT_EQ(tm.size(), 7);
    EXPECT_EQ(tm.mid(0, 4), QStringList({"0.0000", "1.0000", "-1.0000", "0.0000"}));
    EXPECT_EQ(tm[6], "Tm");
    EXPECT_EQ(content[shown - 2].split(' ').mid(0, 2), tm.mid(4, 2));
    EXPECT_EQ(content.last(), "ET"); // no underline line after the text
    ExpectQpdfCheckPasses(pdf);
}

TEST(FoRenderPDF, AnUnderlinedTextDrawsALineInTheTextColour) {
    const QByteArray pdf = PdfOf([](TBaseReport &report) {
        report.SetFont(QStringLiteral("Arial"), 12);
        report.SetFontColor(RGB(0, 0, 255));
        report.SetUnderline(true);
        report.PrintXY(1, 1, QStringLiteral("Under"));
    });
    const QStringList content = PageContent(pdf);
    const qsizetype et = content.indexOf(QStringLiteral("ET"));
    ASSERT_GT(et, 0);
    EXPECT_TRUE(content.mid(et).contains(QStringLiteral("0 0 1 RG"))) << content.join('|').toStdString();
    EXPECT_TRUE(content.mid(et).contains(QStringLiteral("1.3104 w ")));
    EXPECT_TRUE(content.last().endsWith(QLatin1String(" l S")));
}

TEST(FoRenderPDF, PlainAndBoldArialAreHelveticaAndHelveticaBoldInOrderOfFirstUse) {
    const QByteArray pdf = PdfOf([](TBaseReport &report) {
        report.SetFont(QStringLiteral("Arial"), 10);
        report.PrintXY(1, 1, QStringLiteral("plain"));
        report.SetBold(true);
        report.PrintXY(1, 2, QStringLiteral("bold"));
        report.SetBold(false);
        report.SetUnderline(true);
        report.PrintXY(1, 3, QStringLiteral("plain again"));
    });
    const QStringList lines = Lines(pdf);
    ExpectLines(LinesFrom(pdf, QStringLiteral("/Font <<"), 4),
                {"/Font <<", "/F1 7 0 R ", "/F2 8 0 R ", ">>"});
    const qsizetype first = lines.indexOf(QStringLiteral("7 0 obj"));
    ASSERT_GT(first, 0);
    ExpectLines(lines.mid(first, 18), {"7 0 obj", "<<", "/Type /Font", "/Subtype /Type1", "/Name /F1",
                                       "/BaseFont /Helvetica", "/Encoding /WinAnsiEncoding", ">>", "endobj",
                                       "", "8 0 obj", "<<", "/Type /Font", "/Subtype /Type1", "/Name /F2",
                                       "/BaseFont /Helvetica-Bold", "/Encoding /WinAnsiEncoding", ">>"});
    ExpectQpdfCheckPasses(pdf);
}

TEST(FoRenderPDF, StandardFaceNamesFollowTheBaseNameRules) {
    const QByteArray pdf = PdfOf([](TBaseReport &report) {
        const auto show = [&](const char *face, bool bold, bool italic, double y) {
            report.SetFont(QString::fromLatin1(face), 10);
            report.SetBold(bold);
            report.SetItalic(italic);
            report.PrintXY(1, y, QStringLiteral("x"));
        };
        show("Arial", true, true, 1);
        show("Courier New", false, true, 2);
        show("Times New Roman", false, false, 3);
        show("Times New Roman", true, true, 4);
    });
    for (const char *name : {"/BaseFont /Helvetica-BoldOblique", "/BaseFont /Courier-Oblique",
                             "/BaseFont /Times-Roman", "/BaseFont /Times-BoldItalic"})
        EXPECT_TRUE(Lines(pdf).contains(QString::fromLatin1(name))) << name;
    ExpectQpdfCheckPasses(pdf);
}

TEST(FoRenderPDF, ATrueTypeFaceWithSpacesInBoldIsATrueTypeFontWithWidthsTenPerLine) {
    const QByteArray pdf = PdfOf([](TBaseReport &report) {
        report.SetFont(QStringLiteral("DejaVu Sans"), 10);
        report.SetBold(true);
        report.PrintXY(1, 1, QStringLiteral("TrueType"));
    });
    const QStringList lines = Lines(pdf);
    EXPECT_TRUE(lines.contains(QStringLiteral("/Subtype /TrueType")));
    EXPECT_TRUE(lines.contains(QStringLiteral("/BaseFont /DejaVuSans,Bold")));
    const qsizetype first = lines.indexOf(QStringLiteral("/FirstChar 32"));
    ASSERT_GT(first, 0);
    EXPECT_EQ(lines[first + 1], "/LastChar 255");
    EXPECT_TRUE(lines[first + 2].startsWith(QLatin1String("/Widths [")));
    // Codes 32..39 on the first line, then ten per line.
    EXPECT_EQ(lines[first + 2].mid(9).split(' ', Qt::SkipEmptyParts).size(), 8);
    EXPECT_EQ(lines[first + 3].split(' ', Qt::SkipEmptyParts).size(), 10);
    EXPECT_TRUE(lines.contains(QStringLiteral("/Type /FontDescriptor")));
    EXPECT_TRUE(lines.contains(QStringLiteral("/FontName /DejaVuSans,Bold")));
    EXPECT_FALSE(pdf.contains("/FontFile2"));
    ExpectQpdfCheckPasses(pdf);
}

TEST(FoRenderPDF, EmbedFontsEmbedsTheTrueTypeFontFile) {
    const QByteArray pdf = PdfOf(
        [](TBaseReport &report) {
            report.SetFont(QStringLiteral("DejaVu Sans"), 10);
            report.PrintXY(1, 1, QStringLiteral("Embedded"));
        },
        [](TFoRenderPDF &renderer) { renderer.EmbedFonts = true; });
    EXPECT_TRUE(pdf.contains("/FontFile2 "));
    EXPECT_TRUE(pdf.contains("/Length1 "));
    // A subset of the glyphs shown, not the 700 KB font file.
    EXPECT_LT(pdf.size(), 60000);
    ExpectQpdfCheckPasses(pdf);
    EXPECT_TRUE(PdfToText(pdf).contains(QLatin1String("Embedded")));
}

TEST(FoRenderPDF, ABitmapOf144By72PixelsAtScaleOneCoversTwoByOneInches) {
    QImage bitmap(144, 72, QImage::Format_RGB32);
    bitmap.fill(Qt::red);
    const QByteArray pdf = PdfOf([&](TBaseReport &report) {
        report.PrintBitmap(1, 1, 1, 1, bitmap);
        report.PrintBitmap(1, 4, 1, 1, bitmap);
    });
    const QStringList content = PageContent(pdf);
    const qsizetype q = content.indexOf(QStringLiteral("q"));
    ASSERT_GE(q, 0) << content.join('|').toStdString();
    ExpectLines(content.mid(q, 4), {"q", "144.0000 0 0 72.0000 72.0000 648.0000 cm", "/G1 Do", "Q"});
    // The same picture again reuses its image.
    EXPECT_EQ(content.count(QStringLiteral("/G1 Do")), 2);
    EXPECT_FALSE(pdf.contains("/G2"));
    const QStringList lines = Lines(pdf);
    EXPECT_TRUE(lines.contains(QStringLiteral("/Width 144 /Height 72 ")));
    EXPECT_TRUE(lines.contains(QStringLiteral("[/PDF /Text /ImageB /ImageC /ImageI]")));
    EXPECT_TRUE(lines.contains(QStringLiteral("/G1 ") +
                               lines[lines.indexOf(QStringLiteral("/XObject <<")) + 1].mid(4)));
    ExpectQpdfCheckPasses(pdf);
}

TEST(FoRenderPDF, AGraphicStretchedIntoOneInchBecomes300By300Pixels) {
    QImage graphic(40, 20, QImage::Format_ARGB32);
    graphic.fill(Qt::blue);
    TFoGraphic picture;
    picture.Kind = TGraphicKind::gkBitmap;
    picture.Image = graphic;
    const QByteArray pdf = PdfOf([&](TBaseReport &report) {
        report.StretchDraw(QRect(report.XI2D(1), report.YI2D(1), report.XI2D(1), report.YI2D(1)), picture);
    });
    EXPECT_TRUE(Lines(pdf).contains(QStringLiteral("/Width 300 /Height 300 ")))
        << pdf.left(3000).toStdString();
    EXPECT_TRUE(PageContent(pdf).contains(QStringLiteral("72.0000 0 0 72.0000 72.0000 648.0000 cm")));
    ExpectQpdfCheckPasses(pdf);
}

TEST(FoRenderPDF, ShapesAreValidPaths) {
    const QByteArray pdf = PdfOf([](TBaseReport &report) {
        report.SetPen(clBlack, TPenStyle::psDash, 1, TPenMode::pmCopy);
        report.SetBrush(RGB(200, 200, 0), TBrushStyle::bsSolid);
        report.Ellipse(1, 1, 2, 2);
        report.RoundRect(3, 1, 5, 2, 0.5, 0.5);
        report.Arc(1, 3, 2, 4, 2, 3.5, 1.5, 3);
        report.Pie(3, 3, 4, 4, 4, 3.5, 3.5, 3);
        report.Chord(5, 3, 6, 4, 6, 3.5, 5, 3.5);
        const std::vector<QPoint> points{{72, 400}, {144, 450}, {100, 500}};
        report.Polygon(points);
        report.SetBrush(RGB(200, 200, 0), TBrushStyle::bsDiagCross);
        report.Rectangle(1, 6, 2, 7);
        report.SetBrush(RGB(200, 200, 0), TBrushStyle::bsSolid);
        report.Rectangle(3, 6, 4, 7);
    });
    const QStringList content = PageContent(pdf);
    EXPECT_TRUE(content.contains(QStringLiteral("[13 6] 0 d")));
    EXPECT_TRUE(content.contains(QStringLiteral("% arc code")));
    EXPECT_TRUE(content.contains(QStringLiteral("/DeviceRGB cs")));
    ExpectQpdfCheckPasses(pdf);
}

TEST(FoRenderPDF, NumbersUseAPointUnderACommaLocale) {
    const char *saved = std::setlocale(LC_ALL, nullptr);
    const std::string previous = saved ? saved : "C";
    if (!std::setlocale(LC_ALL, "de_DE.UTF-8"))
        GTEST_SKIP() << "de_DE.UTF-8 is not installed";
    const QByteArray pdf = PdfOf([](TBaseReport &report) { report.PrintXY(1.25, 1.5, QStringLiteral("x")); });
    std::setlocale(LC_ALL, previous.c_str());
    EXPECT_TRUE(PageContent(pdf).contains(QStringLiteral("90.0000 684.0000 Td")));
}

TEST(FoRenderPDF, AnOutputNameWithoutADotGetsThePdfExtension) {
    TFoRenderPDF renderer;
    EXPECT_EQ(renderer.OutputNameFor(QStringLiteral("/tmp/report")), "/tmp/report.pdf");
    EXPECT_EQ(renderer.OutputNameFor(QStringLiteral("/tmp/a.b/report")), "/tmp/a.b/report");
}

// A render that fails part-way leaves no file of a new name, and an earlier file of the name as it was.
TEST(FoRenderPDF, AFailedRenderLeavesNoFileOrTheEarlierOneAsItWas) {
    QTemporaryDir dir;
    const QString target = dir.filePath(QStringLiteral("report.pdf"));
    const QByteArray whole = TSnapshotBuilder::Pages(2);
    const auto render = [&](QByteArray snapshot) {
        QBuffer in(&snapshot);
        in.open(QIODevice::ReadOnly);
        TFoRenderPDF renderer;
        renderer.CreationDate = FixedDate();
        renderer.PrintRender(&in, target);
    };
    const auto files = [&] { return QDir(dir.path()).entryList(QDir::Files | QDir::Hidden); };
    const QByteArray cut = whole.left(whole.size() - 3);
    EXPECT_THROW(render(cut), EFolioReport);
    EXPECT_EQ(files(), QStringList());

    render(whole);
    QFile written(target);
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    const QByteArray first = written.readAll();
    written.close();
    EXPECT_TRUE(first.startsWith("%PDF-1.3"));
    EXPECT_THROW(render(cut), EFolioReport);
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    EXPECT_EQ(written.readAll(), first);
    EXPECT_EQ(files(), QStringList{"report.pdf"});
}

TEST(FoRenderPDF, SourceDateEpochSetsTheCreationDate) {
    qputenv("SOURCE_DATE_EPOCH", "1767225600"); // 2026-01-01 00:00:00 UTC
    QByteArray pdf;
    QBuffer out(&pdf);
    out.open(QIODevice::WriteOnly);
    TFoRenderPDF renderer;
    renderer.SetOutputStream(&out);
    renderer.DocBegin();
    renderer.DocEnd();
    qunsetenv("SOURCE_DATE_EPOCH");
    EXPECT_TRUE(pdf.contains("/CreationDate (D:20260101000000)"));
}

TEST(FoRenderPDF, TextsOutsideWindows1252PrintThroughAnEmbeddedUnicodeFont) {
    const QString polish = QStringLiteral("Zażółć gęślą jaźń");
    const QString czech = QStringLiteral("Příliš žluťoučký kůň");
    const QString greek = QStringLiteral("Αποσβέσεις παγίων");
    const QString japanese = QStringLiteral("減価償却");
    const QByteArray pdf = PdfOf([&](TBaseReport &report) {
        report.SetFont(QStringLiteral("Arial"), 12);
        report.PrintXY(1, 1, QStringLiteral("Plain text"));
        report.PrintXY(1, 2, polish);
        report.PrintXY(1, 3, czech);
        report.PrintXY(1, 4, greek);
        report.PrintXY(1, 5, japanese);
        report.PrintRight(polish, 7);
    });
    const QStringList lines = Lines(pdf);
    EXPECT_TRUE(lines.contains(QStringLiteral("/BaseFont /Helvetica")));
    EXPECT_TRUE(lines.contains(QStringLiteral("/Subtype /Type0")));
    EXPECT_TRUE(lines.contains(QStringLiteral("/Encoding /Identity-H")));
    EXPECT_TRUE(lines.contains(QStringLiteral("/Subtype /CIDFontType2")));
    EXPECT_TRUE(pdf.contains("/FontFile2 "));
    EXPECT_TRUE(pdf.contains("beginbfchar"));
    EXPECT_TRUE(PageContent(pdf).contains(QStringLiteral("(Plain text)Tj")));
    ExpectQpdfCheckPasses(pdf);
    const QString text = PdfToText(pdf);
    for (const QString &expected : {QStringLiteral("Plain text"), polish, czech, greek, japanese})
        EXPECT_TRUE(text.contains(expected)) << expected.toStdString() << " in\n" << text.toStdString();
}

TEST(FoRenderPDF, ACharacterNoFontHasLeavesItsSpaceAndTheTextAroundIt) {
    // A private-use character of the last plane, which no font installed for the tests has.
    const QString text = QStringLiteral("Lathe ") + QString::fromUcs4(U"\U0010FFFD") + QStringLiteral(" Zaż");
    const QByteArray pdf = PdfOf([&](TBaseReport &report) {
        report.SetFont(QStringLiteral("Arial"), 12);
        report.PrintXY(1, 1, text);
    });
    ExpectQpdfCheckPasses(pdf);
    const QString extracted = PdfToText(pdf);
    EXPECT_TRUE(extracted.contains(QStringLiteral("Lathe"))) << extracted.toStdString();
    EXPECT_TRUE(extracted.contains(QStringLiteral("Zaż"))) << extracted.toStdString();
}

TEST(FoRenderPDF, ADocumentWhoseTextsFitWindows1252HasNoCompositeFont) {
    const QByteArray pdf = PdfOf([](TBaseReport &report) {
        report.SetFont(QStringLiteral("Arial"), 12);
        report.PrintXY(1, 1, QStringLiteral("Café – 5 € “quoted”"));
    });
    EXPECT_FALSE(pdf.contains("Type0"));
    EXPECT_TRUE(pdf.contains("(Caf\xE9 \x96 5 \x80 \x93quoted\x94)Tj"));
    EXPECT_TRUE(PdfToText(pdf).contains(QStringLiteral("Café – 5 € “quoted”")));
}

TEST(FoRenderPDF, ArialUnicodeMsIsASoundCompositeFont) {
    const QByteArray pdf = PdfOf([](TBaseReport &report) {
        report.SetFont(QStringLiteral("Arial Unicode MS"), 12);
        report.PrintXY(1, 1, QStringLiteral("Unicode ĄĘ"));
    });
    // The hex-escaped name, marked as a subset.
    EXPECT_TRUE(QString::fromLatin1(pdf).contains(QRegularExpression(
        QStringLiteral("/BaseFont /[A-Z]{6}\\+#41#72#69#61#6C#55#6E#69#63#6F#64#65#4D#53\r\n"))));
    EXPECT_TRUE(pdf.contains("/Encoding /Identity-H"));
    ExpectQpdfCheckPasses(pdf);
    EXPECT_TRUE(PdfToText(pdf).contains(QStringLiteral("Unicode ĄĘ")));
}

TEST(FoRenderPDF, FontNamesAreWrittenAsEscapedPdfNames) {
    struct Case {
        QString Face;
        std::uint8_t Charset;
        QStringList Names;
    };
    const Case cases[] = {
        // A plain name is written as it is.
        {"DejaVu Sans", DEFAULT_CHARSET, {"/BaseFont /DejaVuSans", "/FontName /DejaVuSans"}},
        // Delimiters, "#", control characters and the UTF-8 bytes of other letters become #XX.
        {"Evil)/Type/Foo <x>#1\tÉ",
         DEFAULT_CHARSET,
         {"/BaseFont /Evil#29#2FType#2FFoo#3Cx#3E#231#09#C3#89",
          "/FontName /Evil#29#2FType#2FFoo#3Cx#3E#231#09#C3#89"}},
        // A composite font's name has every byte escaped.
        {"Aé(", 128, {"/BaseFont /#41#C3#A9#28", "/FontName /#41#C3#A9#28"}},
    };
    for (const Case &c : cases) {
        const QByteArray pdf = PdfOf([&](TBaseReport &report) {
            report.SetFont(c.Face, 10);
            report.SetFontCharset(c.Charset);
            report.PrintXY(1, 1, QStringLiteral("Name"));
        });
        const QStringList lines = Lines(pdf);
        for (const QString &name : c.Names) {
            // An embedded subset's name carries its six-letter tag.
            const qsizetype key = name.indexOf(u' ') + 2;
            const QRegularExpression line(QStringLiteral("^%1([A-Z]{6}\\+)?%2$")
                                              .arg(QRegularExpression::escape(name.left(key)),
                                                   QRegularExpression::escape(name.mid(key))));
            EXPECT_FALSE(lines.filter(line).isEmpty())
                << c.Face.toStdString() << ": no line " << name.toStdString();
        }
        ExpectQpdfCheckPasses(pdf);
    }
}

TEST(FoRenderPDF, JustifiedAndClippedTextAndCentredText) {
    const QByteArray pdf = PdfOf([](TBaseReport &report) {
        report.SetFont(QStringLiteral("Arial"), 10);
        report.PrintBlock(QStringLiteral("one two three"), 1, 4);
        report.NewLine();
        report.PrintCenter(QStringLiteral("centre"), 4.25);
        report.TextRect(QRect(72, 300, 100, 20), 1, 4.3, QStringLiteral("clipped text"));
    });
    const QStringList content = PageContent(pdf);
    EXPECT_TRUE(content.contains(QStringLiteral("(one)Tj")));
    EXPECT_TRUE(content.contains(QStringLiteral("( two)Tj")));
    EXPECT_TRUE(content.contains(QStringLiteral("( three)Tj")));
    EXPECT_TRUE(content.contains(QStringLiteral(" q ")));
    EXPECT_TRUE(content.contains(QStringLiteral(" Q ")));
    ExpectQpdfCheckPasses(pdf);
    const QString text = PdfToText(pdf);
    EXPECT_TRUE(text.contains(QLatin1String("centre")));
    EXPECT_TRUE(text.contains(QLatin1String("clipped text")));
}

TEST(FoRenderPDF, StreamingModeWritesAValidDocumentWithTheSameContent) {
    QImage bitmap(16, 8, QImage::Format_RGB32);
    bitmap.fill(Qt::green);
    const auto body = [&](TBaseReport &report) {
        for (int page = 1; page <= 3; ++page) {
            if (page > 1)
                report.NewPage();
            report.SetFont(QStringLiteral("Arial"), 10);
            report.PrintXY(1, 1, QStringLiteral("Page %1 http://example.com").arg(page));
            report.SetFont(QStringLiteral("DejaVu Sans"), 10);
            report.PrintXY(1, 2, QStringLiteral("Ελληνικά %1").arg(page));
            report.SetBrush(RGB(0, 0, 255), TBrushStyle::bsHorizontal);
            report.Rectangle(1, 3, 2, 4);
            report.PrintBitmap(1, 5, 1, 1, bitmap);
        }
    };
    const QByteArray streamed = PdfOf(body, [](TFoRenderPDF &renderer) { renderer.BufferDocument = false; });
    const QByteArray buffered = PdfOf(body);
    ExpectQpdfCheckPasses(streamed);
    EXPECT_EQ(PdfToText(streamed), PdfToText(buffered));
    for (int page = 0; page < 3; ++page)
        EXPECT_EQ(PageContent(streamed, page), PageContent(buffered, page)) << "page " << page + 1;
    EXPECT_EQ(Lines(streamed).count(QStringLiteral("/Type /XObject")), 1);
}
