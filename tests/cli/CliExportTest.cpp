// fiscora-cli export and report --output FILE.pdf.
#include "CliRunner.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

const std::vector<std::string> kCarOptions = {"--description",     "Company car", "--type", "1",
                                              "--placed",          "01/15/2017",  "--cost", "145000",
                                              "--fiscal-year-end", "12/31/2017"};

std::vector<std::string> Report(const std::string &output, std::vector<std::string> extra = {}) {
    std::vector<std::string> args = {"report"};
    args.insert(args.end(), kCarOptions.begin(), kCarOptions.end());
    args.insert(args.end(), {"--output", output});
    args.insert(args.end(), extra.begin(), extra.end());
    return args;
}

int Tool(const QString &program, const QStringList &args, QString *output = nullptr) {
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, args);
    if (!process.waitForFinished(60000))
        return -1;
    if (output)
        *output = QString::fromUtf8(process.readAll());
    return process.exitCode();
}

QByteArray FileBytes(const QString &name) {
    QFile file(name);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QStringList FilesIn(const QTemporaryDir &dir) {
    return QDir(dir.path()).entryList(QDir::Files | QDir::Hidden, QDir::Name);
}

} // namespace

TEST(CliExport, ReportToPdfWritesACheckedPdfWithTheSchedulesAmounts) {
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("car.pdf"));
    const CliResult result = RunCli(Report(pdf.toStdString()));
    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_TRUE(FileBytes(pdf).startsWith("%PDF-1.3\r\n"));
    QString check;
    EXPECT_EQ(Tool(QStringLiteral("qpdf"), {QStringLiteral("--check"), pdf}, &check), 0)
        << check.toStdString();
    QString text;
    ASSERT_EQ(Tool(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")}, &text), 0);
    for (const char *amount : {"$145,000.00", "3,160.00", "5,100.00", "Company car", "12/31/2091"})
        EXPECT_TRUE(text.contains(QLatin1String(amount))) << amount;
    EXPECT_EQ(FilesIn(dir), QStringList({"car.pdf"}));
}

TEST(CliExport, ExportRendersASnapshotExactlyAsTheReportCommandDoes) {
    QTemporaryDir dir;
    const QString snapshot = dir.filePath(QStringLiteral("car.fsn"));
    ASSERT_EQ(RunCli(Report(snapshot.toStdString())).exitCode, 0);
    const QString exported = dir.filePath(QStringLiteral("exported.pdf"));
    const CliResult result = RunCli({"export", snapshot.toStdString(), "--output", exported.toStdString()});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_TRUE(result.out.empty());
    QString check;
    EXPECT_EQ(Tool(QStringLiteral("qpdf"), {QStringLiteral("--check"), exported}, &check), 0)
        << check.toStdString();
    const QByteArray bytes = FileBytes(exported);
    EXPECT_TRUE(bytes.contains("/Title (Fiscora 2025)\r\n/Author (Veltrano)\r\n"
                               "/Subject (Fiscora 2025 Adobe Portable Document)\r\n/Creator (Veltrano)\r\n"
                               "/Producer (Veltrano)\r\n"));
}

TEST(CliExport, SourceDateEpochMakesExportsReproducible) {
    QTemporaryDir dir;
    const QString snapshot = dir.filePath(QStringLiteral("car.fsn"));
    ASSERT_EQ(RunCli(Report(snapshot.toStdString())).exitCode, 0);
    qputenv("SOURCE_DATE_EPOCH", "1767225600");
    const QString first = dir.filePath(QStringLiteral("1.pdf"));
    const QString second = dir.filePath(QStringLiteral("2.pdf"));
    EXPECT_EQ(RunCli({"export", snapshot.toStdString(), "--output", first.toStdString()}).exitCode, 0);
    EXPECT_EQ(RunCli({"export", snapshot.toStdString(), "--output", second.toStdString()}).exitCode, 0);
    qunsetenv("SOURCE_DATE_EPOCH");
    EXPECT_FALSE(FileBytes(first).isEmpty());
    EXPECT_EQ(FileBytes(first), FileBytes(second));
    EXPECT_TRUE(FileBytes(first).contains("/CreationDate (D:20260101000000)"));
}

TEST(CliExport, FormatFollowsTheExtensionAndFormatOverridesIt) {
    QTemporaryDir dir;
    const QString asPdf = dir.filePath(QStringLiteral("report.out"));
    ASSERT_EQ(RunCli(Report(asPdf.toStdString(), {"--format", "pdf"})).exitCode, 0);
    EXPECT_TRUE(FileBytes(asPdf).startsWith("%PDF-1.3"));
    const QString asSnapshot = dir.filePath(QStringLiteral("report.PDF.fsn"));
    ASSERT_EQ(RunCli(Report(asSnapshot.toStdString())).exitCode, 0);
    EXPECT_FALSE(FileBytes(asSnapshot).startsWith("%PDF"));
    const QString upper = dir.filePath(QStringLiteral("REPORT.PDF"));
    ASSERT_EQ(RunCli(Report(upper.toStdString())).exitCode, 0);
    EXPECT_TRUE(FileBytes(upper).startsWith("%PDF-1.3"));

    const QString pages = dir.filePath(QStringLiteral("car.htm"));
    ASSERT_EQ(RunCli(Report(pages.toStdString())).exitCode, 0);
    EXPECT_TRUE(FileBytes(dir.filePath(QStringLiteral("car1.htm"))).contains("<HTML") ||
                FileBytes(dir.filePath(QStringLiteral("car1.htm"))).contains("<html"));
    // Any other name is a snapshot, as report has always written; export knows only its formats.
    const QString other = dir.filePath(QStringLiteral("x.txt"));
    ASSERT_EQ(RunCli(Report(other.toStdString())).exitCode, 0);
    EXPECT_FALSE(FileBytes(other).startsWith("%PDF"));
    const CliResult unknown = RunCli({"export", asSnapshot.toStdString(), "--output", "x.txt"});
    EXPECT_EQ(unknown.exitCode, 2);
    EXPECT_NE(unknown.err.find("cannot tell the format"), std::string::npos) << unknown.err;
    const CliResult badFormat =
        RunCli(Report(dir.filePath(QStringLiteral("x.pdf")).toStdString(), {"--format", "doc"}));
    EXPECT_EQ(badFormat.exitCode, 2);
    EXPECT_NE(badFormat.err.find("unknown format 'doc'"), std::string::npos) << badFormat.err;
}

TEST(CliExport, AFailedExportLeavesNoFileAndExitsOneWithTheMessage) {
    QTemporaryDir dir;
    const QString broken = dir.filePath(QStringLiteral("broken.fsn"));
    QFile file(broken);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("\x5a\x10\x27 not a snapshot");
    file.close();
    const QString output = dir.filePath(QStringLiteral("out.pdf"));
    const CliResult result = RunCli({"export", broken.toStdString(), "--output", output.toStdString()});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_FALSE(result.err.empty());
    EXPECT_EQ(FilesIn(dir), QStringList({"broken.fsn"}));

    const CliResult missing = RunCli(
        {"export", dir.filePath(QStringLiteral("none.fsn")).toStdString(), "--output", output.toStdString()});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_NE(missing.err.find("none.fsn"), std::string::npos) << missing.err;

    const CliResult unwritable =
        RunCli({"report", "--type", "1", "--placed", "01/15/2017", "--cost", "1000", "--fiscal-year-end",
                "12/31/2017", "--output", "/nonexistent/dir/x.pdf"});
    EXPECT_EQ(unwritable.exitCode, 1);
    EXPECT_NE(unwritable.err.find("/nonexistent/dir/x.pdf"), std::string::npos) << unwritable.err;
}

TEST(CliExport, UsageErrorsExitWithTwo) {
    EXPECT_EQ(RunCli({"export"}).exitCode, 2);
    EXPECT_EQ(RunCli({"export", "a.fsn"}).exitCode, 2);
    EXPECT_EQ(RunCli({"export", "a.fsn", "--output", "b.fsn"}).exitCode, 2);
    EXPECT_EQ(RunCli({"export", "a.pdf", "--output", "a.pdf"}).exitCode, 2);
    EXPECT_EQ(RunCli({"export", "a.fsn", "--output", "b.pdf", "--output", "c.pdf"}).exitCode, 2);
    EXPECT_EQ(RunCli({"export", "a.fsn", "--bogus"}).exitCode, 2);
    const CliResult help = RunCli({"export", "--help"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_EQ(help.out.rfind("usage: fiscora-cli export SNAPSHOT --output FILE.pdf|FILE.html", 0), 0u)
        << help.out;
}
