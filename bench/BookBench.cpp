// An asset book of 10,000 assets: import from CSV, opening, the register and Form 4562 of a year,
// and the totals per tax year. The PostgreSQL cases run when FISCORA_BENCH_POSTGRES names a server
// ("host=SOCKET-FOLDER port=N user=NAME"); each import goes into a new database on it.
#include "AssetCsvImport.h"
#include "BenchBookCsv.h"
#include "Book.h"
#include "BookCsvExport.h"
#include "BookFigures.h"
#include "Form4562.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <optional>
#include <string>
#include <unistd.h>

using namespace fiscora;

namespace {

constexpr int kAssets = 10000;

std::optional<std::string> PostgresServer() {
    const char *server = std::getenv("FISCORA_BENCH_POSTGRES");
    return server && *server ? std::optional<std::string>(server) : std::nullopt;
}

std::string NewPostgresBook() {
    static int counter = 0;
    const std::string database =
        "fiscora_bench_" + std::to_string(::getpid()) + "_" + std::to_string(++counter);
    {
        QSqlDatabase admin =
            QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), QStringLiteral("bench-admin"));
        admin.setConnectOptions(QString::fromStdString(*PostgresServer() + " dbname=postgres"));
        admin.open();
        QSqlQuery(admin).exec(QString::fromStdString("CREATE DATABASE " + database));
        admin.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("bench-admin"));
    return *PostgresServer() + " dbname=" + database;
}

// A 10,000-asset book file, made once.
const std::string &FullBookFile() {
    static QTemporaryDir folder;
    static const std::string path = [] {
        const std::string file = folder.filePath(QStringLiteral("full.fbook")).toStdString();
        ImportAssetCsv(*Book::Create(file, "Bench", 12), BenchAssetsCsv(kAssets));
        return file;
    }();
    return path;
}

const std::string &FullPostgresBook() {
    static const std::string location = [] {
        const std::string book = NewPostgresBook();
        ImportAssetCsv(*Book::Create(book, "Bench", 12), BenchAssetsCsv(kAssets));
        return book;
    }();
    return location;
}

void Import(benchmark::State &state, bool postgres) {
    if (postgres && !PostgresServer()) {
        state.SkipWithError("FISCORA_BENCH_POSTGRES is not set");
        return;
    }
    const std::string csv = BenchAssetsCsv(kAssets);
    QTemporaryDir folder;
    int run = 0;
    for (auto _ : state) {
        state.PauseTiming();
        const std::string location =
            postgres ? NewPostgresBook()
                     : folder.filePath(QStringLiteral("book%1.fbook").arg(++run)).toStdString();
        const auto book = Book::Create(location, "Bench", 12);
        state.ResumeTiming();
        benchmark::DoNotOptimize(ImportAssetCsv(*book, csv));
    }
}

void BM_BookImportCsv10000_Sqlite(benchmark::State &state) {
    Import(state, false);
}

void BM_BookImportCsv10000_Postgres(benchmark::State &state) {
    Import(state, true);
}

// Open, or the figures of a year straight from the book, as the command line computes them.
template <typename Work> void FromBook(benchmark::State &state, bool postgres, Work work) {
    if (postgres && !PostgresServer()) {
        state.SkipWithError("FISCORA_BENCH_POSTGRES is not set");
        return;
    }
    const std::string &location = postgres ? FullPostgresBook() : FullBookFile();
    for (auto _ : state) {
        const auto book = Book::Open(location, BookAccess::Read);
        work(*book);
    }
}

void OpenOnly(Book &book) {
    benchmark::DoNotOptimize(book.Name());
}

void RegisterOf2026(Book &book) {
    const std::vector<DepreciatedAsset> assets = DepreciateBookAssets(book.Assets(), book.YearEndMonth());
    benchmark::DoNotOptimize(RegisterCsv(MakeAssetRegister(assets, 2026)));
}

void Form4562Of2026(Book &book) {
    const std::vector<DepreciatedAsset> assets = DepreciateBookAssets(book.Assets(), book.YearEndMonth());
    benchmark::DoNotOptimize(Form4562Csv(MakeForm4562(assets, 2026)));
}

void TotalsPerYear(Book &book) {
    const std::vector<DepreciatedAsset> assets = DepreciateBookAssets(book.Assets(), book.YearEndMonth());
    benchmark::DoNotOptimize(TaxYearTotalsCsv(TotalsByTaxYear(assets)));
}

} // namespace

BENCHMARK(BM_BookImportCsv10000_Sqlite)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_BookImportCsv10000_Postgres)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK_CAPTURE(FromBook, Open10000_Sqlite, false, OpenOnly)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(FromBook, Open10000_Postgres, true, OpenOnly)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(FromBook, Register2026_Sqlite, false, RegisterOf2026)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(FromBook, Register2026_Postgres, true, RegisterOf2026)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(FromBook, Form4562_2026_Sqlite, false, Form4562Of2026)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(FromBook, Form4562_2026_Postgres, true, Form4562Of2026)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(FromBook, TotalsPerYear_Sqlite, false, TotalsPerYear)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(FromBook, TotalsPerYear_Postgres, true, TotalsPerYear)->Unit(benchmark::kMillisecond);
