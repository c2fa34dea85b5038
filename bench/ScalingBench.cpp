// Work that must grow linearly with the size of a report: laying out a template of many bands, and
// exporting a snapshot of many pages as HTML. Both run at 1,000 and 10,000 pages.

#include "SnapshotFixtures.h"
#include "TemplateLayout.h"
#include "TemplateModel.h"
#include "output/html/FoHtmlExport.h"
#include "report/snapshot/FoFiler.h"

#include <QBuffer>
#include <QFileInfo>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

using namespace fiscora;

namespace {

// The canvas records pages 1 to 9999 unless told otherwise.
void AllPages(TFoSnapshotWriter &writer) {
    writer.SetLastPage(99999);
}

// A page header, a page footer and one title band per sheet: every band is one page of the report.
TemplateReport ReportOfBands(int bands) {
    TemplatePage page;
    TemplateBand header;
    header.kind = BandKind::PageHeader;
    header.height = 0.4;
    TemplateComponent caption;
    caption.text = QStringLiteral("Band listing");
    caption.y = 0.2;
    header.components.push_back(caption);
    page.bands.push_back(header);
    for (int i = 0; i < bands; ++i) {
        TemplateBand band;
        band.kind = BandKind::Title;
        band.height = 8.5;
        TemplateComponent text;
        text.text = QStringLiteral("Band %1").arg(i + 1);
        text.y = 0.5;
        band.components.push_back(text);
        TemplateComponent rule;
        rule.kind = ComponentKind::Line;
        rule.y = rule.y2 = 1.0;
        rule.x2 = 7.0;
        band.components.push_back(rule);
        page.bands.push_back(band);
    }
    TemplateBand footer;
    footer.kind = BandKind::PageFooter;
    footer.height = 0.4;
    footer.components.push_back(caption);
    page.bands.push_back(footer);
    TemplateReport report;
    report.name = QStringLiteral("Bands");
    report.pages.push_back(page);
    return report;
}

void BM_TemplateLayoutPages(benchmark::State &state) {
    const int pages = int(state.range(0));
    const TemplateReport report = ReportOfBands(pages);
    const TFoParams params;
    int written = 0;
    for (auto _ : state) {
        const QByteArray snapshot = test::GenerateSnapshot(
            [&](TBaseReport &canvas) {
                TemplateLayout layout(report, params);
                layout.Print(canvas);
                written = canvas.JobPages();
            },
            AllPages);
        benchmark::DoNotOptimize(snapshot.constData());
    }
    if (written != pages)
        state.SkipWithError("the layout did not put one band on each page");
    state.SetComplexityN(pages);
}
BENCHMARK(BM_TemplateLayoutPages)
    ->Arg(1000)
    ->Arg(10000)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->Complexity(benchmark::oN);

// Each page: a heading, ten lines of text and a framed box, as a report page of rows would hold.
QByteArray SnapshotOfPages(int pages) {
    return test::GenerateSnapshot(
        [pages](TBaseReport &report) {
            for (int page = 1; page <= pages; ++page) {
                if (page > 1)
                    report.NewPage();
                report.SetFont(QStringLiteral("Arial"), 9);
                report.PrintXY(0.75, 0.75, QStringLiteral("Page %1").arg(page));
                for (int line = 0; line < 10; ++line)
                    report.PrintXY(0.75, 1.2 + line * 0.2,
                                   QStringLiteral("Row %1 of page %2").arg(line + 1).arg(page));
                report.Rectangle(0.5, 0.5, 8.0, 10.5);
            }
        },
        AllPages);
}

void BM_HtmlExportPages(benchmark::State &state) {
    const int pages = int(state.range(0));
    QByteArray snapshot = SnapshotOfPages(pages);
    QBuffer input(&snapshot);
    input.open(QIODevice::ReadOnly);
    QTemporaryDir folder;
    const QString output = folder.filePath(QStringLiteral("pages.html"));
    for (auto _ : state)
        ExportSnapshotToHtml(input, output);
    if (!QFileInfo::exists(folder.filePath(QStringLiteral("pages%1.html").arg(pages))))
        state.SkipWithError("the export did not write every page");
    state.SetComplexityN(pages);
}
BENCHMARK(BM_HtmlExportPages)
    ->Arg(1000)
    ->Arg(10000)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->Complexity(benchmark::oN);

} // namespace
