// Snapshot generation and playback of a synthetic 1,000-page letter report.
#include "SnapshotFixtures.h"
#include "report/playback/FoRender.h"
#include "report/snapshot/FoFiler.h"

#include <QBuffer>

#include <benchmark/benchmark.h>

using namespace fiscora;

namespace {

constexpr int ReportPages = 1000;
constexpr int LinesPerPage = 60;

// Each page: 60 lines of left, right and justified text, a boxed row of tab cells and a few rules.
void PrintSyntheticPage(TBaseReport &report, int page) {
    report.SetFont(QStringLiteral("Arial"), 8);
    report.ClearTabs();
    report.SetTab(0.5, TPrintJustify::pjLeft, 2.5, 5, 15, 0);
    report.SetTab(-1, TPrintJustify::pjCenter, 2.5, 5, 15, 10);
    report.SetTab(-1, TPrintJustify::pjRight, 2.5, 5, 15, 0);
    report.GotoXY(0.5, 0.6);
    for (int line = 0; line < LinesPerPage; ++line) {
        report.PrintLeft(QStringLiteral("Line %1 of page %2: asset cost").arg(line + 1).arg(page), 0.5);
        report.PrintRight(QStringLiteral("$%1.00").arg(1000 + line * 37), 8.0);
        report.PrintBlock(QStringLiteral("depreciation for the year with convention"), 3.0, 3.5);
        report.NewLine();
    }
    report.PrintTab(QStringLiteral("Year"));
    report.PrintTab(QStringLiteral("Depreciation"));
    report.PrintTab(QStringLiteral("Balance"));
    report.NewLine();
    for (int rule = 0; rule < 4; ++rule) {
        report.MoveTo(0.5, 0.5 + rule * 3.0);
        report.LineTo(8.0, 0.5 + rule * 3.0);
    }
}

QByteArray GenerateReport() {
    return test::GenerateSnapshot([](TBaseReport &report) {
        for (int page = 1; page <= ReportPages; ++page) {
            if (page > 1)
                report.NewPage();
            PrintSyntheticPage(report, page);
        }
    });
}

void SetRates(benchmark::State &state, qint64 snapshotBytes) {
    state.counters["pages/s"] =
        benchmark::Counter(double(ReportPages) * double(state.iterations()), benchmark::Counter::kIsRate);
    state.counters["MB/s"] = benchmark::Counter(double(snapshotBytes) * double(state.iterations()) / 1.0e6,
                                                benchmark::Counter::kIsRate);
    state.counters["snapshot MB"] = double(snapshotBytes) / 1.0e6;
}

void BM_SnapshotGenerate(benchmark::State &state) {
    qint64 size = 0;
    for (auto _ : state) {
        const QByteArray bytes = GenerateReport();
        size = bytes.size();
        benchmark::DoNotOptimize(bytes.constData());
    }
    SetRates(state, size);
}
BENCHMARK(BM_SnapshotGenerate)->Unit(benchmark::kMillisecond)->MinTime(2.0);

// A renderer that does nothing but count pages: what is measured is reading and decoding the stream.
class TNullRender : public TFoRender {
public:
    int Pages = 0;
    void PageBegin() override { ++Pages; }
};

void BM_SnapshotPlayback(benchmark::State &state) {
    QByteArray bytes = GenerateReport();
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    TNullRender renderer;
    renderer.SetSnapshotStream(&buffer);
    for (auto _ : state) {
        renderer.Pages = 0;
        renderer.RenderPage(0);
    }
    if (renderer.Pages != ReportPages)
        state.SkipWithError("the snapshot did not play back all its pages");
    SetRates(state, bytes.size());
}
BENCHMARK(BM_SnapshotPlayback)->Unit(benchmark::kMillisecond)->MinTime(2.0);

} // namespace
