// fiscora-cli book report: the book report and the Form 4562 worksheet of a small book, read back
// from the PDF, every amount computed by hand.

#include "CliRunner.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// A December book for 2026: a desk (5-year MACRS, half-year: 20 % in its first year), a computer
// whose bonus is its whole cost, a van of 2025 (listed property, 32 % in its second year) and a
// printer of 2027, outside the register of 2026.
const char *const kAssetsCsv = "asset_number,description,type,placed,cost,bonus\n"
                               "A-1,\"Desk, oak\",0,03/01/2026,10000,no\n"
                               "A-2,Computer,0,06/15/2026,4000,yes\n"
                               "A-4,Delivery van,2,03/15/2025,40000,no\n"
                               "A-5,Printer,0,02/01/2027,1000,no\n";

class CliBookReportTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(folder.isValid());
        book = folder.filePath(QStringLiteral("firm.fbook")).toStdString();
        ASSERT_EQ(RunCli({"book", "create", book, "--name", "Acme Tools LLC"}).exitCode, 0);
        QFile csv(folder.filePath(QStringLiteral("assets.csv")));
        ASSERT_TRUE(csv.open(QIODevice::WriteOnly));
        csv.write(kAssetsCsv);
        csv.close();
        const CliResult imported = RunCli({"book", "import", book, csv.fileName().toStdString()});
        ASSERT_EQ(imported.exitCode, 0) << imported.err;
    }

    // The report's pages as pdftotext lays them out.
    QStringList ReportPages(const std::string &report) {
        const QString pdf = folder.filePath(QString::fromStdString(report) + QStringLiteral(".pdf"));
        const CliResult result = RunCli({"book", "report", book, "--report", report, "--tax-year", "2026",
                                         "--output", pdf.toStdString()});
        EXPECT_EQ(result.exitCode, 0) << result.err;
        QProcess tool;
        tool.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
        EXPECT_EQ(WaitForExit(tool, 60), 0);
        QStringList pages = QString::fromUtf8(tool.readAllStandardOutput()).split(u'\f');
        if (!pages.isEmpty() && pages.back().trimmed().isEmpty())
            pages.removeLast();
        return pages;
    }

    QTemporaryDir folder;
    std::string book;
};

// The line of the page holding `key`, or empty.
QString LineWith(const QString &page, const QString &key) {
    for (const QString &line : page.split(u'\n'))
        if (line.contains(key))
            return line;
    return QString();
}

// Whether the texts appear in the line in that order, each in a column of its own.
::testing::AssertionResult InOrder(const QString &line, const QStringList &texts) {
    qsizetype at = 0;
    for (const QString &text : texts) {
        const qsizetype found = line.indexOf(text, at);
        if (found < 0)
            return ::testing::AssertionFailure() << "\"" << text.toStdString() << "\" not after column " << at
                                                 << " in \"" << line.toStdString() << "\"";
        at = found + text.size();
    }
    return ::testing::AssertionSuccess();
}

} // namespace

TEST_F(CliBookReportTest, BookReportHasTheRegisterTheTaxYearsAndEveryAssetsSchedule) {
    const QStringList pages = ReportPages("DeprBook");
    // The register and the tax years, then one sheet for each of the three assets of 2026.
    ASSERT_EQ(pages.size(), 4);
    const QString &front = pages[0];
    EXPECT_TRUE(front.contains(QLatin1String("Acme Tools LLC")));
    EXPECT_TRUE(front.contains(QLatin1String("Tax year 2026: the fiscal year ending 12/31/2026")));
    const struct {
        const char *key;
        QStringList amounts; // cost, bonus, before, in year, accumulated, basis left
    } registerRows[] = {
        // 10,000 × 20 % = 2,000 in 2026; 10,000 − 2,000 left
        {"Desk, oak", {"$10,000.00", "$0.00", "$0.00", "$2,000.00", "$2,000.00", "$8,000.00"}},
        // the bonus takes the whole cost: nothing left to depreciate
        {"Computer", {"$4,000.00", "$4,000.00", "$0.00", "$0.00", "$0.00", "$0.00"}},
        // 40,000 × 20 % = 8,000 in 2025, × 32 % = 12,800 in 2026; 40,000 − 20,800 = 19,200 left
        {"Delivery van", {"$40,000.00", "$0.00", "$8,000.00", "$12,800.00", "$20,800.00", "$19,200.00"}},
        // 10,000 + 4,000 + 40,000; 8,000; 2,000 + 12,800; 2,000 + 20,800; 8,000 + 19,200
        {"Totals of 3 assets",
         {"$54,000.00", "$4,000.00", "$8,000.00", "$14,800.00", "$22,800.00", "$27,200.00"}},
    };
    for (const auto &row : registerRows)
        EXPECT_TRUE(InOrder(LineWith(front, QLatin1String(row.key)), row.amounts)) << row.key;
    EXPECT_FALSE(front.contains(QLatin1String("Printer"))); // placed in service in 2027
    const struct {
        const char *year;
        QStringList amounts; // bonus, depreciation, total, accumulated
    } years[] = {
        {"2025", {"$0.00", "$8,000.00", "$8,000.00", "$8,000.00"}},
        // the computer's bonus; 2,000 + 12,800; 8,000 + 18,800
        {"2026", {"$4,000.00", "$14,800.00", "$18,800.00", "$26,800.00"}},
        // desk 3,200 + van 40,000 × 19.2 % = 7,680 + printer 1,000 × 20 % = 200
        {"2027", {"$0.00", "$11,080.00", "$11,080.00", "$37,880.00"}},
        // every cost: 10,000 + 4,000 + 40,000 + 1,000, of it 4,000 bonus
        {"Totals", {"$4,000.00", "$51,000.00", "$55,000.00"}},
    };
    for (const auto &year : years)
        EXPECT_TRUE(InOrder(LineWith(front.mid(front.indexOf(QLatin1String("Depreciation per Tax Year"))),
                                     QLatin1String(year.year)),
                            year.amounts))
            << year.year;

    const struct {
        const char *number;
        const char *description;
        QStringList rows; // year end, period, accumulated of the first rows
        const char *total;
    } schedules[] = {
        // 20 %, 32 %, 19.2 % of 10,000
        {"A-1",
         "Desk, oak",
         {"12/31/2026", "2,000.00", "2,000.00", "12/31/2027", "3,200.00", "5,200.00", "12/31/2028",
          "1,920.00", "7,120.00"},
         "10,000.00"},
        {"A-2", "Computer", {"12/31/2026", "0.00", "0.00"}, "0.00"},
        {"A-4",
         "Delivery van",
         {"12/31/2025", "8,000.00", "8,000.00", "12/31/2026", "12,800.00", "20,800.00"},
         "40,000.00"},
    };
    for (int index = 0; index < 3; ++index) {
        const auto &schedule = schedules[index];
        const QString &page = pages[index + 1];
        SCOPED_TRACE(schedule.number);
        EXPECT_TRUE(page.contains(QStringLiteral("Asset No. %1").arg(QLatin1String(schedule.number))));
        EXPECT_TRUE(page.contains(QLatin1String(schedule.description)));
        QString rows;
        for (const QString &line : page.split(u'\n'))
            if (line.contains(QLatin1String("12/31/20")))
                rows += line + u' ';
        EXPECT_TRUE(InOrder(rows, schedule.rows));
        EXPECT_TRUE(InOrder(LineWith(page, QLatin1String("Total depreciation over")), {schedule.total}));
    }
    EXPECT_TRUE(pages[2].contains(QLatin1String("1st Year Bonus Depreciation")));
    EXPECT_TRUE(InOrder(LineWith(pages[2], QLatin1String("1st Year Bonus Depreciation")), {"$4,000.00"}));
}

TEST_F(CliBookReportTest, Form4562WorksheetHasEveryLineOfTheForm) {
    const QStringList pages = ReportPages("Form4562");
    ASSERT_EQ(pages.size(), 1);
    const QString &page = pages[0];
    EXPECT_TRUE(page.contains(QLatin1String("This is a worksheet, not the form")));
    const struct {
        const char *key;
        QStringList amounts;
    } lines[] = {
        {"Special depreciation allowance (other", {"14", "4,000.00"}}, // the computer's bonus
        {"MACRS deductions", {"17", "0.00"}},                          // nothing of before 2026 but the van
        // the desk: basis 10,000, 20 % in its first year
        {"19b", {"5-year property", "10,000.00", "5 yrs", "HY", "200DB", "2,000.00"}},
        {"Listed property", {"21", "12,800.00"}},      // line 28
        {"Total (lines 14", {"22", "18,800.00"}},      // 4,000 + 0 + 2,000 + 12,800
        {"qualified listed property", {"25", "0.00"}}, // no bonus on the van
        {"Delivery van", {"03/15/2025", "100%", "40,000.00", "40,000.00", "5 yrs", "200DB/HY", "12,800.00"}},
        {"Add amounts in column (h)", {"28", "12,800.00"}}, // 0 + 12,800
    };
    for (const auto &line : lines)
        EXPECT_TRUE(InOrder(LineWith(page, QLatin1String(line.key)), line.amounts)) << line.key;
}

TEST_F(CliBookReportTest, RefusesBadRequestsAndNeverWritesOverTheBook) {
    const std::string pdf = folder.filePath(QStringLiteral("out.pdf")).toStdString();
    const struct {
        std::vector<std::string> args;
        int exitCode;
        const char *message;
    } cases[] = {
        {{"--report", "Nope", "--tax-year", "2026", "--output", pdf}, 2, "unknown book report"},
        {{"--tax-year", "2026", "--output", pdf}, 2, "--report DeprBook|Form4562 is required"},
        {{"--report", "DeprBook", "--output", pdf}, 2, "--tax-year T is required"},
        {{"--report", "DeprBook", "--tax-year", "2026"}, 2, "--output FILE.pdf is required"},
        {{"--report", "DeprBook", "--tax-year", "2026", "--output", book}, 2, "book"},
    };
    const QByteArray before = [&] {
        QFile file(QString::fromStdString(book));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }();
    for (const auto &test : cases) {
        std::vector<std::string> args = {"book", "report", book};
        args.insert(args.end(), test.args.begin(), test.args.end());
        const CliResult result = RunCli(args);
        EXPECT_EQ(result.exitCode, test.exitCode) << test.message << "\n" << result.err;
        EXPECT_NE(result.err.find(test.message), std::string::npos) << result.err;
    }
    const CliResult missing =
        RunCli({"book", "report", folder.filePath(QStringLiteral("none.fbook")).toStdString(), "--report",
                "DeprBook", "--tax-year", "2026", "--output", pdf});
    EXPECT_EQ(missing.exitCode, 1) << missing.err;
    QFile file(QString::fromStdString(book));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), before);
    EXPECT_FALSE(QFile::exists(QString::fromStdString(pdf)));
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden),
              QStringList({"assets.csv", "firm.fbook"}));
}
