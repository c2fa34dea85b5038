#include "TemplateProjectManager.h"
#include "report/playback/FoRender.h"
#include "report/system/FoProject.h"
#include "report/system/FoSystem.h"

#include <QBuffer>
#include <QImage>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace fiscora;

namespace {

// Keeps the texts and pictures of every page played back, in order.
class PageRecorder : public TFoRender {
public:
    struct Page {
        QStringList texts;
        int pictures = 0;
        double paperWidth = 0;
    };
    std::vector<Page> pages;
    QStringList hyperlinks;

    void PageBegin() override {
        pages.emplace_back();
        pages.back().paperWidth = PaperWidth();
    }
    void LeftText(const QString &text, double, double) override { pages.back().texts << text; }
    void CenterText(const QString &text, double, double) override { pages.back().texts << text; }
    void RightText(const QString &text, double, double) override { pages.back().texts << text; }
    void PrintSpaces(const QString &text, double, double, double) override { pages.back().texts << text; }
    void PrintBitmapRect(double, double, double, double, const QImage &) override { ++pages.back().pictures; }
    void SetHyperlink(const QString &text) override { hyperlinks << text; }
};

// Runs the selected report headless and plays its snapshot back.
std::vector<PageRecorder::Page> RunReport(TFoProject &project, QStringList *hyperlinks = nullptr) {
    TFoSystem system;
    system.SystemSetups = 0;
    system.SystemOptions = 0;
    PageRecorder recorder;
    system.OverridePreview = [&](TFoSystem &s, TOverrideMode mode, std::unique_ptr<QObject> &) {
        if (mode == TOverrideMode::omShow) {
            s.Stream()->seek(0);
            recorder.Render(s.Stream());
        }
    };
    project.SetEngine(&system);
    project.Execute();
    if (hyperlinks)
        *hyperlinks = recorder.hyperlinks;
    return recorder.pages;
}

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
