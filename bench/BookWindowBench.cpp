// A 1,000-asset book in the asset book window and its reports: the window opening on it and
// painting, a column sorted, and each book report of 2026 written to a PDF as `fiscora-cli book
// report` writes it.
#include "AmortixMain.h"
#include "AssetCsvImport.h"
#include "BenchBookCsv.h"
#include "Book.h"
#include "BookAssetTableModel.h"
#include "BookFigures.h"
#include "BookReportData.h"
#include "BookWindow.h"
#include "ReportJob.h"
#include "output/pdf/PdfExport.h"
#include "report/system/FoSystem.h"

#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QHeaderView>
#include <QTableView>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

using namespace fiscora;

namespace {

constexpr int kWindowAssets = 1000;

const QString &WindowBookFile() {
    static QTemporaryDir folder;
    static const QString path = [] {
        const QString file = folder.filePath(QStringLiteral("window.fbook"));
        ImportAssetCsv(*Book::Create(file.toStdString(), "Bench", 12), BenchAssetsCsv(kWindowAssets));
        return file;
    }();
    return path;
}

void BM_BookWindowOpen1000(benchmark::State &state) {
    const QString &book = WindowBookFile();
    TFrmAmortix main;
    for (auto _ : state) {
        BookWindow window(main);
        window.OpenBook(book);
        window.SetTaxYear(2026);
        window.show();
        window.repaint();
        QApplication::processEvents();
        benchmark::DoNotOptimize(window.AssetModel->rowCount());
    }
}
BENCHMARK(BM_BookWindowOpen1000)->Unit(benchmark::kMillisecond);

// Cost, then description (natural order of texts), each way round.
void BM_BookWindowSort1000(benchmark::State &state) {
    TFrmAmortix main;
    BookWindow window(main);
    window.OpenBook(WindowBookFile());
    window.SetTaxYear(2026);
    window.show();
    QApplication::processEvents();
    const int columns[] = {BookAssetTableModel::Cost, BookAssetTableModel::Description};
    int run = 0;
    for (auto _ : state) {
        const int column = columns[(run / 2) % 2];
        window.GrdAssets->sortByColumn(column, run % 2 == 0 ? Qt::DescendingOrder : Qt::AscendingOrder);
        window.GrdAssets->viewport()->repaint();
        ++run;
    }
}
BENCHMARK(BM_BookWindowSort1000)->Unit(benchmark::kMillisecond);

void BookReportToPdf(benchmark::State &state, const char *reportName) {
    const auto book = Book::Open(WindowBookFile().toStdString(), BookAccess::Read);
    const std::vector<DepreciatedAsset> assets = DepreciateBookAssets(book->Assets(), book->YearEndMonth());
    const BookReportSource source{book->Name(), book->YearEndMonth(), assets};
    const QString name = QLatin1String(reportName);
    QTemporaryDir folder;
    const QString output = folder.filePath(name + QStringLiteral(".pdf"));
    for (auto _ : state) {
        TReportJob job;
        job.OpenTemplate(QCoreApplication::applicationDirPath() + QStringLiteral("/Amortix.fol"), name);
        TFoSystem &system = job.System();
        system.SystemSetups = 0;
        system.SystemOptions = 0;
        system.DefaultDest = TReportDest::rdPreview;
        system.OverridePreview = [&](TFoSystem &s, TOverrideMode mode, std::unique_ptr<QObject> &) {
            if (mode != TOverrideMode::omShow || !s.Stream())
                return;
            s.Stream()->seek(0);
            QFile pdf(output);
            if (!pdf.open(QIODevice::WriteOnly | QIODevice::Truncate))
                return;
            WriteSnapshotPdf(*s.Stream(), pdf);
        };
        job.PrintData([&](TFoProject &project) { SetBookReportData(project, name, source, 2026); });
    }
    state.counters["PDF KB"] = double(QFileInfo(output).size()) / 1000.0;
}
BENCHMARK_CAPTURE(BookReportToPdf, DeprBook1000, "DeprBook")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BookReportToPdf, Form4562_1000, "Form4562")->Unit(benchmark::kMillisecond);

} // namespace
