// An exported page as a browser sees it: headless Chromium loads it and prints the document it built.

#include "HtmlTestSupport.h"
#include "ReportFixtures.h"
#include "ScheduleRecorder.h"
#include "output/screen/FoRenderPreview.h"

#include <QBuffer>
#include <QImage>
#include <QScrollArea>

#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QUrl>

#include <gtest/gtest.h>

using namespace fiscora;
using namespace fiscora::test;

namespace {

// Runs headless Chromium on a page with the extra arguments; its standard output, or empty with a
// failure when it cannot run.
QByteArray RunChromium(const QString &page, const QStringList &arguments) {
    const QString chromium = QStandardPaths::findExecutable("chromium");
    if (chromium.isEmpty()) {
        ADD_FAILURE() << "chromium is not installed (tools/ensure-deps installs it)";
        return {};
    }
    QTemporaryDir profile;
    QProcess browser;
    browser.start(chromium, QStringList{"--headless", "--no-sandbox", "--disable-gpu", "--disable-quic",
                                        "--no-first-run", "--disable-background-networking",
                                        "--disable-component-update", "--disable-sync",
                                        "--user-data-dir=" + profile.path()} +
                                arguments + QStringList{QUrl::fromLocalFile(page).toString()});
    if (!browser.waitForFinished(90000)) {
        browser.kill();
        browser.waitForFinished();
        ADD_FAILURE() << "chromium did not finish";
        return {};
    }
    EXPECT_EQ(browser.exitCode(), 0) << browser.readAllStandardError().toStdString();
    return browser.readAllStandardOutput();
}

// The DOM Chromium builds from the page, serialised.
QString ChromiumDom(const QString &page) {
    return QString::fromUtf8(RunChromium(page, {"--dump-dom"}));
}

// The page as Chromium shows it at 96 pixels per inch.
QImage ChromiumScreenshot(const QString &page, QSize size) {
    const QString picture = page + QStringLiteral(".png");
    RunChromium(page, {"--hide-scrollbars",
                       QStringLiteral("--window-size=%1,%2").arg(size.width()).arg(size.height()),
                       "--screenshot=" + picture});
    return QImage(picture);
}

// Dark pixels: text, rules and outlines, whatever the anti-aliasing around them.
std::vector<bool> InkOf(const QImage &image) {
    const QImage grey = image.convertToFormat(QImage::Format_Grayscale8);
    std::vector<bool> ink(std::size_t(grey.width()) * grey.height());
    for (int y = 0; y < grey.height(); ++y)
        for (int x = 0; x < grey.width(); ++x)
            ink[std::size_t(y) * grey.width() + x] = grey.constScanLine(y)[x] < 128;
    return ink;
}

// The ink pixels of `from` with no ink of `to` within `radius` pixels.
std::vector<bool> UnmatchedInk(const std::vector<bool> &from, const std::vector<bool> &to, QSize size,
                               int radius) {
    std::vector<bool> unmatched(from.size());
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x) {
            if (!from[std::size_t(y) * size.width() + x])
                continue;
            bool found = false;
            for (int ny = std::max(0, y - radius); ny <= std::min(size.height() - 1, y + radius) && !found;
                 ++ny)
                for (int nx = std::max(0, x - radius); nx <= std::min(size.width() - 1, x + radius) && !found;
                     ++nx)
                    found = to[std::size_t(ny) * size.width() + nx];
            unmatched[std::size_t(y) * size.width() + x] = !found;
        }
    return unmatched;
}

// The longest horizontal or vertical run of set pixels: a rule or an outline, never a glyph's edge.
int LongestRun(const std::vector<bool> &pixels, QSize size) {
    int longest = 0;
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0, run = 0; x < size.width(); ++x)
            longest = std::max(longest, run = pixels[std::size_t(y) * size.width() + x] ? run + 1 : 0);
    for (int x = 0; x < size.width(); ++x)
        for (int y = 0, run = 0; y < size.height(); ++y)
            longest = std::max(longest, run = pixels[std::size_t(y) * size.width() + x] ? run + 1 : 0);
    return longest;
}

// The texts of the DIV elements whose whole content is one text node, with references resolved.
QStringList DivTexts(const QString &dom) {
    QStringList texts;
    static const QRegularExpression div("<div[^>]*>([^<]*)</div>");
    for (const QRegularExpressionMatch &match : div.globalMatch(dom)) {
        QString text = match.captured(1);
        text.replace("&nbsp;", " ").replace("&lt;", "<").replace("&gt;", ">").replace("&quot;", "\"");
        texts << text.replace("&amp;", "&");
    }
    return texts;
}

// Grey: ink both have; red: ink only the preview has; blue: ink only the browser has.
QImage InkDifference(const std::vector<bool> &previewOnly, const std::vector<bool> &browserOnly,
                     const std::vector<bool> &previewInk, QSize size) {
    QImage picture(size, QImage::Format_RGB32);
    picture.fill(Qt::white);
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x) {
            const std::size_t at = std::size_t(y) * size.width() + x;
            if (previewOnly[at])
                picture.setPixel(x, y, qRgb(255, 0, 0));
            else if (browserOnly[at])
                picture.setPixel(x, y, qRgb(0, 0, 255));
            else if (previewInk[at])
                picture.setPixel(x, y, qRgb(200, 200, 200));
        }
    return picture;
}

// Page 1 of the 75-row report: what the browser draws is what the preview draws, to a few pixels (the
// two draw glyphs with their own anti-aliasing and hinting).
TEST(HtmlInChromium, LooksLikeThePreview) {
    ScheduleRecorder pane;
    QByteArray snapshot =
        ReportSnapshot(QStringLiteral(FISCORA_SOURCE_DIR "/data/Amortix.fol"), LongestSchedule(), pane);
    ASSERT_FALSE(snapshot.isEmpty());
    THtmlExportRun run;
    run.Export(snapshot);

    QBuffer stream(&snapshot);
    stream.open(QIODevice::ReadOnly);
    QScrollArea box;
    TFoRenderPreview preview;
    preview.SetScrollBox(&box);
    ASSERT_EQ(preview.XDPI(), 96) << "the test expects a 96 dpi screen";
    preview.SetShadowDepth(0);
    preview.SetSnapshotStream(&stream);
    preview.RenderPage(1);
    QImage page = preview.Bitmap();
    page.setDevicePixelRatio(1);
    const QSize size(816, 1056); // a letter page at 96 dpi
    ASSERT_GE(page.width(), size.width());
    ASSERT_GE(page.height(), size.height());
    page = page.copy(QRect(QPoint(0, 0), size));

    QImage browser = ChromiumScreenshot(run.Path("report1.html"), size);
    ASSERT_EQ(browser.size(), size);
    // The preview frames its page; the frame is no part of the report.
    const QRect inside = QRect(QPoint(0, 0), size).adjusted(3, 3, -3, -3);
    page = page.copy(inside);
    browser = browser.copy(inside);

    const std::vector<bool> previewInk = InkOf(page);
    const std::vector<bool> browserInk = InkOf(browser);
    const auto inkCount = [](const std::vector<bool> &ink) {
        return int(std::count(ink.begin(), ink.end(), true));
    };
    ASSERT_GT(inkCount(previewInk), 5000) << "the preview page has no text";
    // Both ways: no rule or outline in one that the other lacks, and the texts where the other has them.
    const int radius = 2;
    const std::vector<bool> previewOnly = UnmatchedInk(previewInk, browserInk, inside.size(), radius);
    const std::vector<bool> browserOnly = UnmatchedInk(browserInk, previewInk, inside.size(), radius);
    const int longestRun =
        std::max(LongestRun(previewOnly, inside.size()), LongestRun(browserOnly, inside.size()));
    const int previewOnlyCount = inkCount(previewOnly);
    const int browserOnlyCount = inkCount(browserOnly);
    EXPECT_LT(longestRun, 12);
    EXPECT_LT(previewOnlyCount, inkCount(previewInk) / 12);
    EXPECT_LT(browserOnlyCount, inkCount(browserInk) / 12);
    if (HasFailure()) {
        page.save(run.Path("preview.png"));
        browser.save(run.Path("browser.png"));
        InkDifference(previewOnly, browserOnly, previewInk, inside.size()).save(run.Path("difference.png"));
        ADD_FAILURE() << "pictures in " << run.Dir.path().toStdString();
        run.Dir.setAutoRemove(false);
    }
}

TEST(HtmlInChromium, ShowsReportTextsAsTextAndRunsOnlyItsOwnScript) {
    const QStringList texts = {
        QString::fromUtf8("Café – “Ünïcödé” € Œuvre"),
        "<script>document.title=\"pwned\"</script>",
        "<img src=x onerror=\"document.body.setAttribute('data-pwned','1')\">",
        QString::fromUtf8("Жук 😀 中文"),
        "Bad link",
    };
    THtmlExportRun run;
    run.Export(HtmlSnapshot(1, [&](TFoSnapshotOutput &out, int) {
        double y = 1.0;
        for (const QString &text : texts) {
            if (text == "Bad link") {
                out.WriteByte(scHyperlink);
                out.WriteString(QStringLiteral("javascript:document.title='pwned'"));
            }
            WriteText(out, scLeftText, 1.0, y += 0.5, text);
        }
        out.WriteByte(scHyperlink);
        out.WriteString(QStringLiteral("http://example.com/?a=1&b=\"2\""));
        WriteText(out, scLeftText, 1.0, y += 0.5, "Link");
    }));
    const QString dom = ChromiumDom(run.Path("report1.html"));
    ASSERT_FALSE(dom.isEmpty());

    // Windows-1252 bytes, references and hostile markup all come back as the texts written.
    const QStringList shown = DivTexts(dom);
    for (const QString &text : texts)
        EXPECT_TRUE(shown.contains(text)) << text.toStdString() << "\n" << dom.toStdString();
    EXPECT_TRUE(dom.contains("<a href=\"http://example.com/?a=1&amp;b=&quot;2&quot;\">Link</a>"));

    EXPECT_EQ(dom.count("<script", Qt::CaseInsensitive), 1);
    EXPECT_TRUE(dom.contains("var GPageURL = \"report{%PAGENO%}.html\";"));
    EXPECT_FALSE(dom.contains("<img", Qt::CaseInsensitive));
    EXPECT_FALSE(dom.contains("<title>"));
    EXPECT_FALSE(dom.contains("data-pwned=\""));
    EXPECT_FALSE(dom.contains("href=\"javascript:document"));
}

} // namespace
