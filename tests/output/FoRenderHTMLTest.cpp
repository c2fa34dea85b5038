#include "output/html/FoRenderHTML.h"
#include "HtmlTestSupport.h"
#include "ToolBoxExceptions.h"
#include "output/html/FoColorGif.h"
#include "output/html/FoHtmlText.h"
#include "report/core/FoErrors.h"

#include <QFileInfo>
#include <QRegularExpression>

#include <algorithm>
#include <cstring>

#include <gtest/gtest.h>

using namespace fiscora;
using namespace fiscora::test;

namespace {

const QString kArial10 = QStringLiteral("font:normal normal 10pt 'Arial';color:#000000");

QString Element(const QString &Position, const QString &Content, const QString &Font = kArial10) {
    return QStringLiteral("<DIV STYLE=\"") + Position + Font + QStringLiteral("\">") + Content +
           QStringLiteral("</DIV>");
}

QString Hex(const QByteArray &Bytes) {
    return QString::fromLatin1(Bytes.toHex(' ')).toUpper();
}

// The one page of a snapshot whose page Body writes, exported; its element lines.
QStringList ElementsOf(const std::function<void(TFoSnapshotOutput &)> &Body) {
    THtmlExportRun run;
    run.Export(HtmlSnapshot(1, [&](TFoSnapshotOutput &out, int) { Body(out); }));
    return run.Elements();
}

TEST(HtmlRenderer, NamesOnePageFilePerPageAfterTheOutputName) {
    struct Case {
        QString Output;
        QStringList Files;
        QString PageURL;
    };
    const Case cases[] = {
        {"report.html", {"report1.html", "report2.html"}, "report{%PAGENO%}.html"},
        {"pages.htm", {"pages1.htm", "pages2.htm"}, "pages{%PAGENO%}.htm"},
        {"report", {"report1.html", "report2.html"}, "report{%PAGENO%}.html"},
        {"report.", {"report1.html", "report2.html"}, "report{%PAGENO%}.html"},
        // The Output Options dialog appends the renderer's whole extension list.
        {"x.html;*.htm", {"x1.html", "x2.html"}, "x{%PAGENO%}.html"},
        // A dot in a folder's name is no extension.
        {"a.b/report", {"a.b/report1.html", "a.b/report2.html"}, "report{%PAGENO%}.html"},
    };
    for (const Case &c : cases) {
        THtmlExportRun run;
        QDir(run.Dir.path()).mkdir("a.b");
        run.Export(HtmlSnapshot(2, {}), c.Output);
        EXPECT_EQ(run.Files(), c.Files) << c.Output.toStdString();
        EXPECT_TRUE(run.Page(c.Files.last()).contains("var GPageURL = \"" + c.PageURL + "\";\r\n"))
            << c.Output.toStdString();
    }
}

TEST(HtmlRenderer, WritesThePageFrameWithCrLfLineEnds) {
    THtmlExportRun run;
    run.Export(HtmlSnapshot(3, {}));
    const QString page = run.Page("report2.html");
    const QString expected =
        "<HTML><HEAD>\r\n<STYLE TYPE=\"text/css\">\r\n<!--\r\nDIV {position:absolute}\r\n-->\r\n</STYLE>\r\n"
        "</HEAD>\r\n<BODY>\r\n"
        "<SCRIPT Language=Javascript>\r\nvar GPageURL = \"report{%PAGENO%}.html\";\r\nvar GPageNo = 2;\r\n"
        "var GPageCount = 3;\r\n\r\nfunction GotoPage(APageNo) {\r\n"
        "  location.href = GPageURL.replace(/{%PAGENO%}/, APageNo);\r\n}\r\n\r\nfunction NextPage() {\r\n"
        "  if (GPageNo < GPageCount)\r\n    {GotoPage(GPageNo + 1);}\r\n  else\r\n"
        "    {window.alert(\"This is the last page.\")}\r\n}\r\n\r\nfunction PrevPage() {\r\n"
        "  if (GPageNo > 1)\r\n    {GotoPage(GPageNo - 1);}\r\n  else\r\n"
        "    {window.alert(\"This is the first page.\")}\r\n}\r\n\r\n</SCRIPT>\r\n</HEAD>\r\n<BODY>\r\n"
        "<DIV style=\"COLOR: #000000; FONT: 10pt 'Arial'; LEFT: 0px; TOP: 96px\">\r\n<HR><P ALIGN=CENTER>\r\n"
        "<A HREF=\"javascript:PrevPage();\">Previous Page</A>\r\n --------- \r\n"
        "<A HREF=\"javascript:NextPage();\">Next Page</A>\r\n</P></DIV></BODY></HTML>\r\n";
    EXPECT_EQ(page, expected);
}

TEST(HtmlRenderer, PlacesTextsAndPutsTheFooterOneInchBelowTheLowestItem) {
    const QStringList elements = ElementsOf([](TFoSnapshotOutput &out) {
        WriteText(out, scLeftText, 1.0, 2.0, "two words");
        WriteText(out, scCenterText, 4.25, 1.0, "Title");
        WriteText(out, scRightText, 7.5, 3.0, "$1.00");
    });
    EXPECT_EQ(elements, QStringList({Element("left:96;top:179;width:864;", "two&nbsp;words"),
                                     Element("text-align:center;left:0;top:82;width:816;", "Title"),
                                     Element("text-align:right;left:0;top:275;width:720;", "$1.00")}));
    THtmlExportRun run;
    run.Export(HtmlSnapshot(1, [](TFoSnapshotOutput &out, int) {
        WriteText(out, scLeftText, 1.0, 3.0, "low");
        WriteText(out, scLeftText, 1.0, 1.0, "high");
    }));
    // The lowest item's top is 3 in - 10 pt: 274.67 px; one inch below gives 371.
    EXPECT_TRUE(run.Page().contains("LEFT: 0px; TOP: 371px\">\r\n<HR>"));
}

TEST(HtmlRenderer, WritesTheFontOfEachText) {
    struct Case {
        std::function<void(TFoSnapshotOutput &)> Font;
        QString Expected;
    };
    const Case cases[] = {
        {[](TFoSnapshotOutput &out) {
             WriteFont(out, "Times New Roman", 10.5, true, true, RGB(255, 0, 0));
             out.WriteByte(scFontUnderline);
             out.WriteByte(1);
         },
         "font:italic bold 10.5pt 'Times New Roman';text-decoration:underline;color:#FF0000"},
        {[](TFoSnapshotOutput &out) { WriteFont(out, "Courier New", 8, false, false, 0x1FFFFFFF); },
         "font:normal normal 8pt 'Courier New'"},
        // A face name cannot end the style attribute or the family name.
        {[](TFoSnapshotOutput &out) { WriteFont(out, "Ar'ial\"><script>", 12); },
         "font:normal normal 12pt 'Arialscript';color:#000000"},
    };
    for (const Case &c : cases) {
        const QStringList elements = ElementsOf([&](TFoSnapshotOutput &out) {
            c.Font(out);
            WriteText(out, scLeftText, 0.0, 1.0, "x");
        });
        ASSERT_EQ(elements.size(), 1);
        EXPECT_TRUE(elements[0].endsWith(c.Expected + "\">x</DIV>")) << elements[0].toStdString();
    }
}

TEST(HtmlRenderer, EscapesEveryReportText) {
    struct Case {
        QString Text;
        QString Content;
    };
    const Case cases[] = {
        {"<script>alert(\"x\")</script>", "&lt;script&gt;alert(&quot;x&quot;)&lt;/script&gt;"},
        {"see <a href=x>", "see&nbsp;&lt;a&nbsp;href=x&gt;"},
        {"A & B", "A&nbsp;&amp;&nbsp;B"},
        {QString::fromUtf8("Жук 😀"), "&#1046;&#1091;&#1082;&nbsp;&#128512;"},
    };
    for (const Case &c : cases) {
        const QStringList elements =
            ElementsOf([&](TFoSnapshotOutput &out) { WriteText(out, scLeftText, 1.0, 2.0, c.Text); });
        ASSERT_EQ(elements.size(), 1);
        // Only a link the renderer writes itself lifts the element above the others.
        EXPECT_EQ(elements[0],
                  Element(QStringLiteral("left:96;top:179;width:%1;").arg(c.Text.size() * 96), c.Content))
            << c.Text.toStdString();
    }
}

TEST(HtmlRenderer, WritesWindows1252TextAsItsBytes) {
    THtmlExportRun run;
    run.Export(HtmlSnapshot(1, [](TFoSnapshotOutput &out, int) {
        WriteText(out, scLeftText, 1, 2, QString::fromUtf8("Café €"));
    }));
    EXPECT_TRUE(run.Bytes("report1.html").contains("\">Caf\xE9&nbsp;\x80</DIV>\r\n"));
}

TEST(HtmlRenderer, LinksTextsToTheirEscapedAddress) {
    struct Case {
        QString Address;
        QString Element;
    };
    const Case cases[] = {
        {"http://example.com/?a=1&b=\"2\"><script>",
         "<DIV STYLE=\"z-index:1;left:96;top:179;width:384;" + kArial10 +
             "\"><a href=\"http://example.com/?a=1&amp;b=&quot;2&quot;&gt;&lt;script&gt;\">Link</a></DIV>"},
        // An address that would run script is no link.
        {" JavaScript:alert(1)", Element("left:96;top:179;width:384;", "Link")},
        {"", Element("left:96;top:179;width:384;", "Link")},
    };
    for (const Case &c : cases) {
        const QStringList elements = ElementsOf([&](TFoSnapshotOutput &out) {
            out.WriteByte(scHyperlink);
            out.WriteString(c.Address);
            WriteText(out, scLeftText, 1.0, 2.0, "Link");
        });
        EXPECT_EQ(elements, QStringList{c.Element}) << c.Address.toStdString();
    }
}

TEST(HtmlText, UsesBreakingSpacesOnlyForLeadingRuns) {
    struct Case {
        QString Text;
        QString Breaking;
        QString NonBreaking;
    };
    const Case cases[] = {
        {"  ab c", "&nbsp;&nbsp;ab c", "&nbsp;&nbsp;ab&nbsp;c"},
        {" ab", " ab", "&nbsp;ab"},
        {"  ", "  ", "&nbsp;&nbsp;"},
        {"a<b", "a&lt;b", "a&lt;b"},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(HtmlTextContent(c.Text, true), c.Breaking) << c.Text.toStdString();
        EXPECT_EQ(HtmlTextContent(c.Text, false), c.NonBreaking) << c.Text.toStdString();
    }
}

TEST(HtmlRenderer, SpreadsJustifiedWordsOverTheWidth) {
    struct Case {
        QString Text;
        QStringList Contents;
    };
    const Case cases[] = {
        {"one two  three", {"one", "&nbsp;two", "&nbsp;&nbsp;three"}},
        {"abc", {"a", "&nbsp;b", "&nbsp;c"}}, // a single word is spread letter by letter
    };
    for (const Case &c : cases) {
        const QStringList elements = ElementsOf([&](TFoSnapshotOutput &out) {
            out.WriteByte(scPrintSpaces);
            out.WriteFloat(2.0);
            out.WriteString(c.Text);
            out.WriteFloat(1.0);
            out.WriteFloat(5.0);
        });
        ASSERT_EQ(elements.size(), c.Contents.size()) << c.Text.toStdString();
        EXPECT_TRUE(elements[0].startsWith("<DIV STYLE=\"left:96;top:179;"));
        for (qsizetype i = 0; i < elements.size(); ++i)
            EXPECT_TRUE(elements[i].endsWith("\">" + c.Contents[i] + "</DIV>")) << elements[i].toStdString();
        // The last word ends at the right edge of the block: 6 in.
        const QRegularExpressionMatch width =
            QRegularExpression("^<DIV STYLE=\"text-align:right;left:0;top:179;"
                               "width:(\\d+);")
                .match(elements.last());
        ASSERT_TRUE(width.hasMatch()) << elements.last().toStdString();
        EXPECT_NEAR(width.captured(1).toInt(), 576, 1) << c.Text.toStdString();
    }
}

TEST(HtmlRenderer, DrawsOnlyHorizontalAndVerticalLines) {
    struct Case {
        QPointF From;
        QPointF To;
        QStringList Elements;
    };
    const QString rule =
        Element("left:96;top:480;width:192;height:1;", "<IMG SRC=\"000000.gif\" WIDTH=192 HEIGHT=1>");
    const Case cases[] = {
        {{1, 5}, {3, 5}, {rule}},
        {{3, 5}, {1, 5}, {rule}}, // leftward over the same span
        {{2, 1},
         {2, 1.5},
         {Element("left:192;top:96;width:1;height:48;", "<IMG SRC=\"000000.gif\" WIDTH=1 HEIGHT=48>")}},
        {{1, 1}, {2, 2}, {}}, // diagonal
    };
    for (const Case &c : cases) {
        const QStringList elements = ElementsOf([&](TFoSnapshotOutput &out) {
            out.WriteByte(scMoveTo);
            WritePoints(out, {c.From.x(), c.From.y()});
            out.WriteByte(scLineTo);
            WritePoints(out, {c.To.x(), c.To.y()});
        });
        EXPECT_EQ(elements, c.Elements) << c.From.x() << "," << c.From.y() << " to " << c.To.x();
    }
}

// Filled whatever the brush style; outlined by the pen as the page shows it: a clear pen and a filled
// area draw no outline.
TEST(HtmlRenderer, FillsRectanglesAndOutlinesThemWithAVisiblePen) {
    const auto box = [](const QString &position, const QString &gif, int w, int h) {
        return Element(position,
                       QStringLiteral("<IMG SRC=\"%1.gif\" WIDTH=%2 HEIGHT=%3>").arg(gif).arg(w).arg(h));
    };
    const QString fill = box("left:96;top:96;width:96;height:48;", "00FF00", 96, 48);
    const QStringList outline = {box("left:96;top:96;width:1;height:48;", "0000FF", 1, 48),
                                 box("left:96;top:144;width:96;height:1;", "0000FF", 96, 1),
                                 box("left:192;top:96;width:1;height:48;", "0000FF", 1, 48),
                                 box("left:96;top:96;width:96;height:1;", "0000FF", 96, 1)};
    struct Case {
        const char *name;
        bool clearPen;
        quint8 record;
        std::vector<double> points;
        QStringList elements;
    };
    const Case cases[] = {
        {"rectangle", false, scRectangle, {2.0, 1.5, 1.0, 1.0}, QStringList{fill} + outline},
        {"rectangle with a clear pen", true, scRectangle, {2.0, 1.5, 1.0, 1.0}, {fill}},
        {"filled area", false, scFillRect, {1.0, 1.0, 2.0, 1.5}, {fill}},
    };
    for (const Case &c : cases) {
        const QStringList elements = ElementsOf([&](TFoSnapshotOutput &out) {
            out.WriteByte(scBrushColor);
            out.WriteInt(RGB(0, 255, 0));
            out.WriteByte(scBrushStyle);
            out.WriteByte(static_cast<quint8>(TBrushStyle::bsClear));
            out.WriteByte(scPenColor);
            out.WriteInt(RGB(0, 0, 255));
            if (c.clearPen) {
                out.WriteByte(scPenStyle);
                out.WriteByte(static_cast<quint8>(TPenStyle::psClear));
            }
            out.WriteByte(c.record);
            for (const double point : c.points)
                out.WriteFloat(point);
        });
        EXPECT_EQ(elements, c.elements) << c.name;
    }
}

TEST(HtmlRenderer, WritesEachColourImageOnceBesideThePages) {
    THtmlExportRun run;
    run.Export(HtmlSnapshot(2, [](TFoSnapshotOutput &out, int) {
        out.WriteByte(scBrushColor);
        out.WriteInt(RGB(0x12, 0x34, 0x56));
        out.WriteByte(scRectangle);
        WritePoints(out, {1.0, 1.0, 2.0, 2.0});
    }));
    EXPECT_EQ(run.Files(), QStringList({"000000.gif", "123456.gif", "report1.html", "report2.html"}));
    EXPECT_EQ(Hex(run.Bytes("123456.gif")), Hex(ColorGifBytes(RGB(0x12, 0x34, 0x56))));
}

TEST(ColorGif, IsTheTwoByTwoImageOfTheColour) {
    const QByteArray gif = ColorGifBytes(RGB(0x12, 0x34, 0x56));
    ASSERT_EQ(gif.size(), 78);
    EXPECT_EQ(Hex(gif), "47 49 46 38 39 61 02 00 02 00 B3 00 00 12 34 56" + QString(" 00").repeated(45) +
                            " 2C 00 00 00 00 02 00 02 00 00 04 03 10 48 10 00 3B");
    EXPECT_EQ(QImage::fromData(gif, "GIF").pixelColor(1, 1), QColor(0x12, 0x34, 0x56));
}

TEST(HtmlRenderer, NumbersPicturesAcrossPagesAndKeepsOlderOnes) {
    QImage red(8, 6, QImage::Format_RGB32);
    red.fill(Qt::red);
    THtmlExportRun run;
    QFile older(run.Path("0000.jpg"));
    ASSERT_TRUE(older.open(QIODevice::WriteOnly));
    older.write("older");
    older.close();
    run.Export(HtmlSnapshot(2, [&](TFoSnapshotOutput &out, int page) {
        WriteBitmapRect(out, red, 1.0, 1.0, 2.0, 1.5);
        if (page == 1)
            WriteBitmapRect(out, red, 3.0, 1.0, 4.0, 1.5);
    }));
    EXPECT_EQ(run.Files(),
              QStringList({"0000.jpg", "0001.jpg", "0002.jpg", "0003.jpg", "report1.html", "report2.html"}));
    EXPECT_EQ(run.Bytes("0000.jpg"), "older");
    EXPECT_EQ(
        run.Elements("report1.html"),
        QStringList(
            {Element("left:96;top:96;width:96;height:48;", "<IMG Src=\"0001.jpg\" width=96 height=48>"),
             Element("left:288;top:96;width:96;height:48;", "<IMG Src=\"0002.jpg\" width=96 height=48>")}));
    EXPECT_TRUE(run.Elements("report2.html")[0].contains("<IMG Src=\"0003.jpg\""));
    const QImage picture = QImage::fromData(run.Bytes("0003.jpg"), "JPEG");
    EXPECT_EQ(picture.size(), red.size());
}

TEST(HtmlRenderer, WritesNothingOutsideTheOutputFolder) {
    QTemporaryDir workingFolder;
    const QString previous = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(workingFolder.path()));
    THtmlExportRun run;
    QImage picture(4, 4, QImage::Format_RGB32);
    picture.fill(Qt::blue);
    run.Export(HtmlSnapshot(1, [&](TFoSnapshotOutput &out, int) {
        out.WriteByte(scRectangle);
        WritePoints(out, {1.0, 1.0, 2.0, 2.0});
        WriteBitmapRect(out, picture, 1.0, 1.0, 2.0, 2.0);
    }));
    QDir::setCurrent(previous);
    EXPECT_TRUE(QDir(workingFolder.path()).isEmpty());
    EXPECT_EQ(run.Files(), QStringList({"0000.jpg", "000000.gif", "FFFFFF.gif", "report1.html"}));
}

TEST(HtmlRenderer, PutsPicturesIntoTheCacheFolderOrRefersToTheServer) {
    QImage picture(4, 4, QImage::Format_RGB32);
    picture.fill(Qt::blue);
    const QByteArray snapshot = HtmlSnapshot(1, [&](TFoSnapshotOutput &out, int) {
        out.WriteByte(scRectangle);
        WritePoints(out, {1.0, 1.0, 2.0, 2.0});
        WriteBitmapRect(out, picture, 1.0, 1.0, 2.0, 2.0);
    });
    struct Case {
        QString CacheDir;
        bool ServerMode;
        QStringList Files;
        QString Gif;
        QString Jpeg;
    };
    const Case cases[] = {
        {"images",
         false,
         {"report1.html", "images/0000.jpg", "images/000000.gif", "images/FFFFFF.gif"},
         "SRC=\"images/FFFFFF.gif\"",
         "Src=\"images/0000.jpg\""},
        {"", true, {"0000.jpg", "report1.html"}, "SRC=\"/Color/FFFFFF.gif\"", "Src=\"/Cache/0000.jpg\""},
    };
    for (const Case &c : cases) {
        THtmlExportRun run;
        QDir(run.Dir.path()).mkdir("images");
        QByteArray bytes = snapshot;
        QBuffer stream(&bytes);
        stream.open(QIODevice::ReadOnly);
        TFoRenderHTML renderer;
        renderer.SetCacheDir(c.CacheDir);
        renderer.SetServerMode(c.ServerMode);
        renderer.PrintRender(&stream, run.Path("report.html"));
        EXPECT_EQ(run.Files(), c.Files) << c.CacheDir.toStdString();
        const QString page = run.Page();
        EXPECT_TRUE(page.contains(c.Gif)) << c.CacheDir.toStdString();
        EXPECT_TRUE(page.contains(c.Jpeg)) << c.CacheDir.toStdString();
    }
}

TEST(HtmlRenderer, KeepsItsTemplateAndSubstitutesItsTags) {
    THtmlExportRun run;
    QByteArray bytes =
        HtmlSnapshot(3, [](TFoSnapshotOutput &out, int) { WriteText(out, scLeftText, 1, 2, "x"); });
    QBuffer stream(&bytes);
    stream.open(QIODevice::ReadOnly);
    TFoRenderHTML renderer;
    renderer.SetTemplate(
        "<HTML><HEAD><TITLE>Page {%pageno%}</TITLE><FOLIO OffsetX=10 OffsetY=-5></HEAD><BODY>"
        "{%Report%}<A HREF=\"{%LastPageURL%}\">Last</A> {%PageNo%}/{%TotalPages%} "
        "{%FirstPageURL%} {%MaxY%}</BODY></HTML>");
    renderer.PrintRender(&stream, run.Path("report.html"));
    const QString page = run.Page("report2.html");
    EXPECT_TRUE(page.startsWith("<HTML><HEAD><TITLE>Page 2</TITLE><FOLIO OffsetX=10 OffsetY=-5>\r\n"
                                "<SCRIPT Language=Javascript>\r\n"));
    EXPECT_TRUE(page.contains("</SCRIPT>\r\n</HEAD><BODY><DIV STYLE=\"left:106;top:174;width:96;"));
    // The footer's top: (1.86 in + 1 in) x 96 - 5.
    EXPECT_TRUE(page.endsWith("<A HREF=\"javascript:GotoPage(3);\">Last</A> 2/3 javascript:GotoPage(1); 270"
                              "</BODY></HTML>"));
}

TEST(HtmlTemplate, RefusesTemplatesWithoutTheirTags) {
    struct Case {
        QString Template;
        QString Message;
    };
    const Case cases[] = {
        {"<HTML><HEAD></HEAD><BODY></BODY></HTML>", "{%Report%} tag not found."},
        {"<HTML><BODY>{%report%}</BODY></HTML>", "</HEAD> tag not found."},
        {"<HEAD></HEAD><FOLIO OffsetX=abc OffsetY=2>{%Report%}", "'abc' is not a valid integer value"},
        {"<HEAD></HEAD><FOLIO OffsetY=2>{%Report%}", "'' is not a valid integer value"},
    };
    for (const Case &c : cases) {
        TFoRenderHTML renderer;
        try {
            renderer.SetTemplate(c.Template);
            ADD_FAILURE() << "accepted " << c.Template.toStdString();
        } catch (const std::exception &error) {
            EXPECT_EQ(QString::fromUtf8(error.what()), c.Message);
        }
    }
    TFoRenderHTML renderer;
    const QString defaultTemplate = renderer.Template();
    renderer.SetTemplate("A</head>B{%REPORT%}C");
    EXPECT_EQ(renderer.Template(), "A</head>B{%Report%}C");
    renderer.SetTemplate("");
    EXPECT_EQ(renderer.Template(), defaultTemplate);
}

TEST(HtmlExport, LeavesNoFileBehindWhenItFails) {
    struct Case {
        QString Name;
        QByteArray Snapshot;
        QString Output;
        QString Message;
    };
    const Case cases[] = {
        {"bad record on page 2",
         HtmlSnapshot(2,
                      [](TFoSnapshotOutput &out, int page) {
                          WriteText(out, scLeftText, 1, 2, "x");
                          if (page == 2)
                              out.WriteByte(39);
                      }),
         "report.html", "Unexpected code [39] found in report file."},
        {"pages missing", HtmlSnapshot(2, {}, 3), "report.html",
         "Page 3 of 3 is missing from the report file."},
        {"no such folder", HtmlSnapshot(1, {}), "missing/report.html", "Cannot create file"},
    };
    for (const Case &c : cases) {
        THtmlExportRun run;
        QFile older(run.Path("report1.html"));
        ASSERT_TRUE(older.open(QIODevice::WriteOnly));
        older.write("older");
        older.close();
        try {
            run.Export(c.Snapshot, c.Output);
            ADD_FAILURE() << c.Name.toStdString() << ": no error";
        } catch (const EFolioReport &error) {
            EXPECT_TRUE(QString::fromUtf8(error.what()).startsWith(c.Message)) << error.what();
        }
        EXPECT_EQ(run.Files(), QStringList{"report1.html"}) << c.Name.toStdString();
        EXPECT_EQ(run.Bytes("report1.html"), "older") << c.Name.toStdString();
    }
}

TEST(HtmlExport, AFailedExportLeavesEveryOlderFileAsItWas) {
    struct Case {
        QString Name;
        int Pages;
        QString Base; // of the page files
        QString Message;
        std::function<void(const THtmlExportRun &)> Prepare;
    };
    const QString longBase =
        QString(235, QLatin1Char('b')); // "b…b9.html" fits a name, "b…b10.html.….part" not
    const Case cases[] = {
        {"a later page is a folder", 3, "report", "Is a directory",
         [](const THtmlExportRun &run) { ASSERT_TRUE(QDir(run.Dir.path()).mkdir("report3.html")); }},
        {"a later page is a symbolic link", 3, "report", "It is a symbolic link",
         [](const THtmlExportRun &run) {
             QFile target(run.Path("target.txt"));
             ASSERT_TRUE(target.open(QIODevice::WriteOnly) && target.write("target") == 6);
             target.close();
             ASSERT_TRUE(QFile::link("target.txt", run.Path("report3.html")));
         }},
        {"a later page cannot be written", 10, longBase, "Cannot create file", {}},
    };
    for (const Case &c : cases) {
        THtmlExportRun run;
        for (const QString &older : {c.Base + "1.html", c.Base + "2.html", QStringLiteral("000000.gif")}) {
            QFile file(run.Path(older));
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
            file.write("older " + older.toUtf8());
        }
        if (c.Prepare)
            c.Prepare(run);
        const QStringList before = run.Files();
        try {
            run.Export(HtmlSnapshot(c.Pages,
                                    [](TFoSnapshotOutput &out, int) {
                                        out.WriteByte(scRectangle);
                                        WritePoints(out, {1.0, 1.0, 2.0, 2.0});
                                    }),
                       c.Base + ".html");
            ADD_FAILURE() << c.Name.toStdString() << ": no error";
        } catch (const EFolioReport &error) {
            EXPECT_TRUE(QString::fromUtf8(error.what()).contains(c.Message)) << error.what();
        }
        EXPECT_EQ(run.Files(), before) << c.Name.toStdString();
        for (const QString &older : {c.Base + "1.html", c.Base + "2.html", QStringLiteral("000000.gif")})
            EXPECT_EQ(run.Bytes(older), "older " + older.toUtf8()) << c.Name.toStdString();
        if (c.Name.contains("link")) {
            EXPECT_TRUE(QFileInfo(run.Path("report3.html")).isSymLink());
            EXPECT_EQ(run.Bytes("target.txt"), "target");
        }
    }
}

TEST(HtmlExport, NeverReplacesTheSnapshotFileItReads) {
    THtmlExportRun run;
    const QByteArray snapshot = HtmlSnapshot(1, {});
    QFile input(run.Path("report1.html"));
    ASSERT_TRUE(input.open(QIODevice::WriteOnly));
    input.write(snapshot);
    input.close();
    ASSERT_TRUE(input.open(QIODevice::ReadOnly));
    EXPECT_THROW(ExportSnapshotToHtml(input, run.Path("report.html")), EFolioReport);
    input.close();
    EXPECT_EQ(run.Bytes("report1.html"), snapshot);
}

TEST(HtmlExport, UsesThePreviewSettingsAndKeepsTheSnapshotPosition) {
    {
        TFoRenderHTML renderer;
        EXPECT_TRUE(RendererFilter().contains("Web Page (HTML)|*.html;*.htm"));
        ApplyHtmlExportSettings(renderer);
        EXPECT_TRUE(RendererFilter().contains("Web Document (HTML)|*.html;*.htm"));
        EXPECT_FALSE(RendererFilter().contains("Web Page (HTML)"));
    }
    EXPECT_FALSE(RendererFilter().contains("(HTML)"));
    THtmlExportRun run;
    QByteArray bytes = HtmlSnapshot(1, {});
    QBuffer stream(&bytes);
    stream.open(QIODevice::ReadOnly);
    stream.seek(7);
    ExportSnapshotToHtml(stream, run.Path("report.html"));
    EXPECT_EQ(stream.pos(), 7);
    EXPECT_EQ(run.Files(), QStringList{"report1.html"});
}

TEST(HtmlExport, WritesAPageNameThatCannotBreakItsScript) {
    THtmlExportRun run;
    run.Export(HtmlSnapshot(1, {}), "x\"+alert(1)+\".html");
    EXPECT_EQ(run.Files(), QStringList{"x\"+alert(1)+\"1.html"});
    EXPECT_TRUE(run.Page("x\"+alert(1)+\"1.html")
                    .contains("var GPageURL = \"x%22%2Balert%281%29%2B%22{%PAGENO%}.html\";\r\n"));
}

// A read-only snapshot device that is no QBuffer (so playback reads it through its window, as a file)
// and counts the reads.
class TCountingDevice : public QIODevice {
public:
    explicit TCountingDevice(const QByteArray &bytes) : FBytes(bytes) { open(QIODevice::ReadOnly); }
    int Reads = 0;
    qint64 size() const override { return FBytes.size(); }

protected:
    qint64 readData(char *data, qint64 maxSize) override {
        ++Reads;
        const qint64 count = std::min(maxSize, FBytes.size() - pos());
        std::memcpy(data, FBytes.constData() + pos(), std::size_t(std::max<qint64>(count, 0)));
        return std::max<qint64>(count, 0);
    }
    qint64 writeData(const char *, qint64) override { return -1; }

private:
    QByteArray FBytes;
};

TEST(HtmlRenderer, FindsEachPageFromThePageBeforeWithoutWalkingFromTheFirst) {
    // Pages larger than the reader's window: every page header walked past costs a read.
    const QByteArray padding(70 * 1024, 'x');
    for (const int pages : {10, 40}) {
        SCOPED_TRACE(pages);
        TCountingDevice snapshot(HtmlSnapshot(pages, [&](TFoSnapshotOutput &out, int page) {
            WriteText(out, scLeftText, 1.0, 1.0, QStringLiteral("page %1").arg(page));
            out.WriteByte(scPrintDataStream);
            out.WriteInt(static_cast<qint32>(padding.size()));
            out.Write(padding.constData(), padding.size());
        }));
        THtmlExportRun run;
        ExportSnapshotToHtml(snapshot, run.Path(QStringLiteral("report.html")));
        EXPECT_TRUE(run.Page(QStringLiteral("report%1.html").arg(pages))
                        .contains(QStringLiteral("page&nbsp;%1").arg(pages)));
        // Walking the chain from page 1 for every page reads about pages * pages / 2 times.
        EXPECT_LE(snapshot.Reads, 6 * pages);
    }
}

} // namespace
