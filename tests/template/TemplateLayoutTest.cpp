#include "TemplateLayout.h"
#include "SnapshotFixtures.h"
#include "TemplateProjectManager.h"
#include "TemplateReader.h"
#include "TemplateRunSupport.h"
#include "report/playback/FoRender.h"
#include "report/system/FoProject.h"
#include "report/system/FoSystem.h"

#include <QBuffer>
#include <QDir>
#include <QImage>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <ctime>
#include <set>

using namespace fiscora;

namespace {

std::unique_ptr<TFoProject> LoadProject(const QString &path) {
    auto project = CreateTemplateProject();
    project->SetProjectFile(path);
    project->Open();
    return project;
}

int CountRows(const QStringList &texts) {
    return static_cast<int>(std::count_if(texts.begin(), texts.end(), [](const QString &text) {
        return text.startsWith(QLatin1String("12/31/"));
    }));
}

} // namespace

TEST(TemplateLayout, LongestScheduleBreaksOntoPagesWithHeaderAndFooterOnEach) {
    auto project = LoadProject(QStringLiteral(FISCORA_SOURCE_DIR "/data/Amortix.fol"));
    ASSERT_TRUE(project->SelectReport(QStringLiteral("DeprReport"), false));
    for (int row = 1; row <= 75; ++row) {
        project->SetParam(QStringLiteral("YearEnd%1").arg(row), QStringLiteral("12/31/%1").arg(2016 + row));
        project->SetParam(QStringLiteral("PerDepr%1").arg(row), QStringLiteral("%1.00").arg(row));
        project->SetParam(QStringLiteral("AccumDepr%1").arg(row), QStringLiteral("%1.50").arg(row * 1000));
    }
    project->SetParam(QStringLiteral("PropDesc"), QStringLiteral("Company car"));
    project->SetParam(QStringLiteral("Cost"), QStringLiteral("$145,000.00"));

    const auto pages = RunReport(*project);
    ASSERT_EQ(pages.size(), 3u);
    const int expectedRows[] = {26, 38, 11};
    int nextYear = 2017;
    for (std::size_t page = 0; page < pages.size(); ++page) {
        const QStringList &texts = pages[page].texts;
        EXPECT_EQ(CountRows(texts), expectedRows[page]) << "page " << page + 1;
        EXPECT_EQ(texts.count(QStringLiteral("Period Depreciation")), 1) << "page " << page + 1;
        EXPECT_TRUE(texts.contains(QStringLiteral("Page %1 of 3").arg(page + 1)))
            << texts.join(u'|').toStdString();
        for (const QString &text : texts) {
            if (text.startsWith(QLatin1String("12/31/"))) {
                EXPECT_EQ(text, QStringLiteral("12/31/%1").arg(nextYear++));
            }
        }
    }
    EXPECT_EQ(nextYear, 2017 + 75);
    EXPECT_TRUE(pages[0].texts.contains(QStringLiteral("$145,000.00")));
    EXPECT_FALSE(pages[1].texts.contains(QStringLiteral("Asset Information")));
    EXPECT_TRUE(pages[2].texts.contains(QStringLiteral("Total depreciation over 75 fiscal years")));
    // The closing line carries the last row's accumulated depreciation.
    EXPECT_EQ(pages[2].texts.count(QStringLiteral("75000.50")), 2);
}

TEST(TemplateLayout, ParameterValuesPrintAsTheirTextAndNeverAsMarkup) {
    const QString joiner(QChar(0x2060));
    struct Case {
        const char *name;
        QString value;
        QString printed; // as played back, the invisible word joiner taken out
    };
    const Case cases[] = {
        {"hyperlink command",
         QStringLiteral("\x01"
                        "Ahttps://evil.example/pay\x04"
                        "Fleet car"),
         QStringLiteral("Ahttps://evil.example/pay Fleet car")}, // memos drop a leading space
        {"rich-text bold",
         QStringLiteral("\x01"
                        "B1\x02"
                        "C255\x04"
                        "Loud"),
         QStringLiteral("B1 C255 Loud")},
        {"page-count macro", QStringLiteral("Villa \u00FD$FOLM10 name"),
         QStringLiteral("Villa \u00FD$FOLM10 name")},
        {"variable marker", QStringLiteral("\u00FD$FOLV\u00FCTotal\u00FB"),
         QStringLiteral("\u00FD$FOLV\u00FCTotal\u00FB")},
        {"tab and line feed", QStringLiteral("a\tb\nc"), QStringLiteral("a b c")},
        {"accented letters stay", QStringLiteral("Caf\u00E9 \u00FD\u00FC\u00FB"),
         QStringLiteral("Caf\u00E9 \u00FD\u00FC\u00FB")},
    };
    for (const Case &c : cases) {
        auto project = LoadProject(QStringLiteral(FISCORA_SOURCE_DIR "/data/Amortix.fol"));
        ASSERT_TRUE(project->SelectReport(QStringLiteral("DeprReport"), false));
        project->SetParam(QStringLiteral("YearEnd1"), QStringLiteral("12/31/2026"));
        project->SetParam(QStringLiteral("PropDesc"), c.value);
        QStringList hyperlinks;
        const auto pages = RunReport(*project, &hyperlinks);
        ASSERT_EQ(pages.size(), 1u) << c.name;
        QStringList printed = pages[0].texts;
        printed.replaceInStrings(joiner, QString());
        EXPECT_GE(printed.count(c.printed), 1) << c.name << ": " << printed.join(u'|').toStdString();
        EXPECT_TRUE(hyperlinks.isEmpty()) << c.name;
        // The template's own markup still works: its page macros expand.
        EXPECT_TRUE(printed.contains(QStringLiteral("Page 1 of 1"))) << c.name;
    }
}

TEST(TemplateLayout, ConditionalComponentsBandsAndPictures) {
    QTemporaryDir dir;
    QImage logo(8, 8, QImage::Format_RGB32);
    logo.fill(Qt::darkBlue);
    ASSERT_TRUE(logo.save(dir.filePath(QStringLiteral("logo.png"))));
    const QString path = dir.filePath(QStringLiteral("t.fol"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("<folio-project version=\"1\"><report name=\"R\"><page>"
               "<title height=\"1\">"
               "<picture x=\"0\" y=\"0\" width=\"1\" height=\"1\" file=\"logo.png\"/>"
               "<text x=\"0\" y=\"0.2\">Always</text>"
               "<data x=\"0\" y=\"0.4\" when=\"bonusamount\">Bonus {BonusAmount}</data>"
               "</title>"
               "<title height=\"0.5\" when=\"Extra\"><text x=\"0\" y=\"0.2\">Extra band</text></title>"
               "<detailHeader height=\"0.3\"><text x=\"0\" y=\"0.2\">Rows header</text></detailHeader>"
               "<detail height=\"0.2\" repeat=\"Row{i}\"><data x=\"0\" y=\"0.1\">{i}:{Row{i}}</data>"
               "<data x=\"3\" y=\"0.1\" when=\"Note{i}\">note {Note{i}}</data></detail>"
               "</page></report></folio-project>");
    file.close();
    auto project = LoadProject(path);
    ASSERT_TRUE(project->SelectReport(QStringLiteral("r"), false));

    auto pages = RunReport(*project);
    ASSERT_EQ(pages.size(), 1u);
    EXPECT_EQ(pages[0].texts, QStringList({QStringLiteral("Always")}));
    EXPECT_EQ(pages[0].pictures, 1);

    project->SetParam(QStringLiteral("BonusAmount"), QStringLiteral("$10.00"));
    project->SetParam(QStringLiteral("Extra"), QStringLiteral("yes"));
    project->SetParam(QStringLiteral("Row1"), QStringLiteral("a"));
    project->SetParam(QStringLiteral("Row2"), QStringLiteral("b"));
    project->SetParam(QStringLiteral("Note2"), QStringLiteral("n"));
    project->SetParam(QStringLiteral("Row4"), QStringLiteral("not reached"));
    pages = RunReport(*project);
    ASSERT_EQ(pages.size(), 1u);
    EXPECT_EQ(pages[0].texts,
              QStringList({QStringLiteral("Always"), QStringLiteral("Bonus $10.00"),
                           QStringLiteral("Extra band"), QStringLiteral("Rows header"), QStringLiteral("1:a"),
                           QStringLiteral("2:b"), QStringLiteral("note n")}));
}

TEST(TemplateLayout, BandTallerThanThePageTakesOnePageEach) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("tall.fol"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("<folio-project version=\"1\"><report name=\"R\"><page>"
               "<detailHeader height=\"0.5\"><text x=\"0\" y=\"0.2\">Head</text></detailHeader>"
               "<detail height=\"20\" repeat=\"Row{i}\"><data x=\"0\" y=\"0.2\">{Row{i}}</data></detail>"
               "</page></report></folio-project>");
    file.close();
    auto project = LoadProject(path);
    ASSERT_TRUE(project->SelectReport(QStringLiteral("R"), false));
    for (int row = 1; row <= 3; ++row)
        project->SetParam(QStringLiteral("Row%1").arg(row), QStringLiteral("r%1").arg(row));
    const auto pages = RunReport(*project);
    ASSERT_EQ(pages.size(), 3u);
    for (int page = 0; page < 3; ++page)
        EXPECT_EQ(pages[page].texts,
                  QStringList({QStringLiteral("Head"), QStringLiteral("r%1").arg(page + 1)}));
}

TEST(TemplateLayout, EveryPageTemplateStartsASheetWithItsOwnPaper) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("pages.fol"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("<folio-project version=\"1\"><report name=\"R\">"
               "<page><title height=\"1\"><text x=\"0\" y=\"0.5\">Cover</text></title></page>"
               "<page orientation=\"landscape\" marginLeft=\"1\">"
               "<pageFooter height=\"0.3\"><data x=\"0\" y=\"0.2\">{@Page}/{@Pages}</data></pageFooter>"
               "<title height=\"1\"><text x=\"0\" y=\"0.5\">Wide</text></title></page>"
               "</report></folio-project>");
    file.close();
    auto project = LoadProject(path);
    ASSERT_TRUE(project->SelectReport(QStringLiteral("R"), false));
    const auto pages = RunReport(*project);
    ASSERT_EQ(pages.size(), 2u);
    EXPECT_EQ(pages[0].texts, QStringList({QStringLiteral("Cover")}));
    EXPECT_EQ(pages[1].texts, QStringList({QStringLiteral("Wide"), QStringLiteral("2/2")}));
    EXPECT_DOUBLE_EQ(pages[0].paperWidth, 8.5);
    EXPECT_DOUBLE_EQ(pages[1].paperWidth, 11);
}

TEST(TemplateLayout, PicturesOfOneFileAreDecodedOnceAndStoredOnce) {
    struct Case {
        const char *Name;
        QStringList Files; // the pictures' file attributes, in order
        int Copies;        // distinct pictures, decoded and in the snapshot
    };
    const Case cases[] = {
        {"one file named three times", {"logo.png", "logo.png", "logo.png"}, 1},
        {"one file named three ways", {"logo.png", "./logo.png", "sub/../logo.png"}, 1},
        {"two files", {"logo.png", "other.png", "logo.png"}, 2},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.Name);
        QTemporaryDir dir;
        ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("sub")));
        QImage picture(64, 64, QImage::Format_RGB32);
        picture.fill(Qt::darkBlue);
        ASSERT_TRUE(picture.save(dir.filePath(QStringLiteral("logo.png"))));
        picture.fill(Qt::darkRed);
        ASSERT_TRUE(picture.save(dir.filePath(QStringLiteral("other.png"))));
        QByteArray xml = "<folio-project version=\"1\"><report name=\"R\"><page><title height=\"3\">";
        for (const QString &name : c.Files)
            xml += "<picture x=\"0\" y=\"0\" width=\"1\" height=\"1\" file=\"" + name.toUtf8() + "\"/>";
        xml += "</title></page></report></folio-project>";
        QBuffer source(&xml);
        source.open(QIODevice::ReadOnly);
        const TemplateProject project = ReadTemplate(source, dir.filePath(QStringLiteral("t.fol")));
        const TemplateReport &report = project.reports.at(0);
        std::set<qint64> decoded;
        for (const TemplateComponent &component : report.pages.at(0).bands.at(0).components)
            decoded.insert(component.image.cacheKey());
        EXPECT_EQ(decoded.size(), std::size_t(c.Copies));

        const TFoParams params;
        const QByteArray snapshot = test::GenerateSnapshot([&](TBaseReport &canvas) {
            TemplateLayout layout(report, params);
            layout.Print(canvas);
        });
        // Each copy is a 24-bit bitmap file of 64 x 64 pixels; the rest of the page is far smaller.
        EXPECT_EQ(snapshot.size() / (64 * 64 * 3), c.Copies);
    }
}

TEST(TemplateLayout, LaysOutManyBandsInTimeLinearInTheirNumber) {
    // One title band a sheet between a page header and footer: forty thousand pages. Looking the
    // header and footer up again for every band made this take seconds; it takes milliseconds.
    TemplatePage page;
    TemplateBand header;
    header.kind = BandKind::PageHeader;
    header.height = 0.4;
    TemplateComponent caption;
    caption.text = QStringLiteral("Bands");
    caption.y = 0.2;
    header.components.push_back(caption);
    page.bands.push_back(header);
    TemplateBand band;
    band.kind = BandKind::Title;
    band.height = 8.5;
    band.components.push_back(caption);
    page.bands.insert(page.bands.end(), 40000, band);
    TemplateBand footer = header;
    footer.kind = BandKind::PageFooter;
    page.bands.push_back(footer);
    TemplateReport report;
    report.pages.push_back(page);
    const TFoParams params;
    int pages = 0;
    const std::clock_t start = std::clock();
    test::GenerateSnapshot(
        [&](TBaseReport &canvas) {
            TemplateLayout layout(report, params);
            layout.Print(canvas);
            pages = canvas.JobPages();
        },
        [](TFoSnapshotWriter &writer) { writer.SetLastPage(99999); });
    const double seconds = double(std::clock() - start) / CLOCKS_PER_SEC;
    EXPECT_EQ(pages, 40000);
    EXPECT_LT(seconds, 1.5);
}
