// An exported page as a browser sees it: headless Chromium loads it and prints the document it built.

#include "HtmlTestSupport.h"

#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QUrl>

#include <gtest/gtest.h>

using namespace fiscora;
using namespace fiscora::test;

namespace {

// The DOM Chromium builds from the page, serialised; empty with a failure when Chromium cannot run.
QString ChromiumDom(const QString &page) {
    const QString chromium = QStandardPaths::findExecutable("chromium");
    if (chromium.isEmpty()) {
        ADD_FAILURE() << "chromium is not installed (tools/ensure-deps installs it)";
        return {};
    }
    QTemporaryDir profile;
    QProcess browser;
    browser.start(chromium,
                  {"--headless", "--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run",
                   "--disable-background-networking", "--disable-component-update", "--disable-sync",
                   "--user-data-dir=" + profile.path(), "--dump-dom", QUrl::fromLocalFile(page).toString()});
    if (!browser.waitForFinished(90000)) {
        browser.kill();
        browser.waitForFinished();
        ADD_FAILURE() << "chromium did not finish";
        return {};
    }
    EXPECT_EQ(browser.exitCode(), 0) << browser.readAllStandardError().toStdString();
    return QString::fromUtf8(browser.readAllStandardOutput());
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
