// PDF export: a synthetic 1,000-page report through TFoRenderPDF (from its snapshot) and through
// QPdfWriter (drawing the same content directly), side by side; the 75-row automobile report from its
// snapshot to a PDF file, in Latin and in mixed scripts; and the size of a one-page report whose
// description needs embedded fonts.

#include "AssetInputs.h"
#include "ReportFixtures.h"
#include "ReportJob.h"
#include "ScheduleRecorder.h"
#include "SnapshotFixtures.h"
#include "output/pdf/FoRenderPDF.h"
#include "output/pdf/PdfExport.h"
#include "report/snapshot/FoFiler.h"
#include "report/system/FoSystem.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QFileInfo>
#include <QPainter>
#include <QPdfWriter>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

using namespace fiscora;

namespace {

constexpr int Pages = 1000;
constexpr int Lines = 60;

QString LineText(int page, int line) {
    return QStringLiteral("Line %1 of page %2: asset cost $%3.00")
        .arg(line + 1)
        .arg(page)
        .arg(1000 + line * 37);
}

// Each page: 60 lines of text, a box and two rules.
QByteArray SyntheticSnapshot() {
    return test::GenerateSnapshot([](TBaseReport &report) {
        for (int page = 1; page <= Pages; ++page) {
            if (page > 1)
                report.NewPage();
            report.SetFont(QStringLiteral("Arial"), 9);
            for (int line = 0; line < Lines; ++line)
                report.PrintXY(0.75, 0.9 + line * 0.16, LineText(page, line));
            report.Rectangle(0.5, 0.5, 8.0, 10.5);
            report.MoveTo(0.5, 0.75);
            report.LineTo(8.0, 0.75);
            report.MoveTo(0.5, 10.25);
            report.LineTo(8.0, 10.25);
        }
    });
}

void PagesPerSecond(benchmark::State &state, qint64 bytes) {
    state.counters["pages/s"] =
        benchmark::Counter(double(Pages) * double(state.iterations()), benchmark::Counter::kIsRate);
    state.counters["PDF MB"] = double(bytes) / 1.0e6;
}

void BM_Pdf1000Pages_TFoRenderPDF(benchmark::State &state) {
    QByteArray snapshot = SyntheticSnapshot();
    QBuffer input(&snapshot);
    input.open(QIODevice::ReadOnly);
    qint64 size = 0;
    for (auto _ : state) {
        QByteArray pdf;
        QBuffer output(&pdf);
        output.open(QIODevice::WriteOnly);
        WriteSnapshotPdf(input, output);
        size = pdf.size();
        benchmark::DoNotOptimize(pdf.constData());
    }
    PagesPerSecond(state, size);
}
BENCHMARK(BM_Pdf1000Pages_TFoRenderPDF)->Unit(benchmark::kMillisecond)->MinTime(2.0);

void BM_Pdf1000Pages_QPdfWriter(benchmark::State &state) {
    qint64 size = 0;
    for (auto _ : state) {
        QByteArray pdf;
        QBuffer output(&pdf);
        output.open(QIODevice::WriteOnly);
        {
            QPdfWriter writer(&output);
            writer.setPageSize(QPageSize(QPageSize::Letter));
            writer.setPageMargins(QMarginsF(0, 0, 0, 0));
            writer.setResolution(72);
            writer.setTitle(QStringLiteral("Fiscora 2025"));
            writer.setCreator(QStringLiteral("Veltrano"));
            QPainter painter(&writer);
            QFont font(QStringLiteral("Arial"));
            font.setPointSizeF(9);
            painter.setFont(font);
            for (int page = 1; page <= Pages; ++page) {
                if (page > 1)
                    writer.newPage();
                for (int line = 0; line < Lines; ++line)
                    painter.drawText(QPointF(0.75 * 72, (0.9 + line * 0.16) * 72), LineText(page, line));
                painter.drawRect(QRectF(0.5 * 72, 0.5 * 72, 7.5 * 72, 10 * 72));
                painter.drawLine(QPointF(0.5 * 72, 0.75 * 72), QPointF(8.0 * 72, 0.75 * 72));
                painter.drawLine(QPointF(0.5 * 72, 10.25 * 72), QPointF(8.0 * 72, 10.25 * 72));
            }
        }
        size = pdf.size();
        benchmark::DoNotOptimize(pdf.constData());
    }
    PagesPerSecond(state, size);
}
BENCHMARK(BM_Pdf1000Pages_QPdfWriter)->Unit(benchmark::kMillisecond)->MinTime(2.0);

// The longest schedule's report (75 rows, 3 pages) from its memory snapshot to a PDF file, as the
// preview's PDF Export and `fiscora-cli export` write it.
void BM_Pdf75RowReportToFile(benchmark::State &state) {
    ScheduleRecorder pane;
    QByteArray snapshot =
        test::ReportSnapshot(QCoreApplication::applicationDirPath() + QStringLiteral("/Amortix.fol"),
                             test::LongestSchedule(), pane);
    QBuffer input(&snapshot);
    input.open(QIODevice::ReadOnly);
    QTemporaryDir dir;
    const QString name = dir.filePath(QStringLiteral("car.pdf"));
    for (auto _ : state)
        ExportSnapshotToPdf(input, name);
    state.counters["PDF KB"] = double(QFileInfo(name).size()) / 1000.0;
}
BENCHMARK(BM_Pdf75RowReportToFile)->Unit(benchmark::kMillisecond)->MinTime(1.0);

const char *const kMixedDescription = "Zażółć gęślą jaźń Γειά σου 日本語の車";

// The same report with a description in Polish, Greek and Japanese: shaped text in three fonts.
void BM_Pdf75RowMixedScriptReportToFile(benchmark::State &state) {
    ScheduleRecorder pane;
    AssetInputs inputs = test::LongestSchedule();
    inputs.description = kMixedDescription;
    QByteArray snapshot = test::ReportSnapshot(
        QCoreApplication::applicationDirPath() + QStringLiteral("/Amortix.fol"), inputs, pane);
    QBuffer input(&snapshot);
    input.open(QIODevice::ReadOnly);
    QTemporaryDir dir;
    const QString name = dir.filePath(QStringLiteral("car.pdf"));
    for (auto _ : state)
        ExportSnapshotToPdf(input, name);
    state.counters["PDF KB"] = double(QFileInfo(name).size()) / 1000.0;
}
BENCHMARK(BM_Pdf75RowMixedScriptReportToFile)->Unit(benchmark::kMillisecond)->MinTime(1.0);

// A one-page report (a car placed in service in the tax year) whose description needs embedded fonts.
void BM_PdfOnePageReportSize(benchmark::State &state, const char *description) {
    ScheduleRecorder pane;
    AssetInputs inputs;
    inputs.description = description;
    inputs.propertyType = PropertyType::Automobile;
    inputs.placedInService = "01/15/2024";
    inputs.cost = 20000;
    inputs.fiscalYearEnd = "12/31/2024";
    QByteArray snapshot = test::ReportSnapshot(
        QCoreApplication::applicationDirPath() + QStringLiteral("/Amortix.fol"), inputs, pane);
    QBuffer input(&snapshot);
    input.open(QIODevice::ReadOnly);
    qint64 size = 0;
    for (auto _ : state) {
        QByteArray pdf;
        QBuffer output(&pdf);
        output.open(QIODevice::WriteOnly);
        WriteSnapshotPdf(input, output);
        size = pdf.size();
        benchmark::DoNotOptimize(pdf.constData());
    }
    state.counters["PDF KB"] = double(size) / 1000.0;
}
BENCHMARK_CAPTURE(BM_PdfOnePageReportSize, Latin, "Company car - sales department")
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_PdfOnePageReportSize, Polish, "Samochód służbowy – dział sprzedaży, Łódź")
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_PdfOnePageReportSize, Japanese, "営業部の社用車（東京本社）")
    ->Unit(benchmark::kMillisecond);

} // namespace
