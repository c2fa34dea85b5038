#include "CliRunner.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

const std::vector<std::string> kVanOptions = {"--description",     "Delivery van", "--type", "1",
                                              "--placed",          "03/15/2026",   "--cost", "48500",
                                              "--fiscal-year-end", "12/31/2026"};

std::vector<std::string> Report(std::vector<std::string> options, const std::string &output) {
    std::vector<std::string> args = {"report"};
    args.insert(args.end(), options.begin(), options.end());
    args.insert(args.end(), {"--output", output});
    return args;
}

// The texts the snapshot prints, in playback order, read from `fiscora-cli play`.
QStringList PlayedTexts(const std::string &snapshot) {
    const CliResult played = RunCli({"play", snapshot});
    EXPECT_EQ(played.exitCode, 0) << played.err;
    static const QRegularExpression text(
        QString::fromLatin1(R"re(^(?:LeftText|RightText|CenterText|PrintSpaces) "(.*)"( [-0-9.e]+)+$)re"));
    QStringList texts;
    for (const QString &line : QString::fromStdString(played.out).split(u'\n')) {
        const auto match = text.match(line);
        if (match.hasMatch())
            texts << match.captured(1);
    }
    return texts;
}

// The report parameters a schedule run sets, from `fiscora-cli schedule --format json`.
QStringList RowParameterValues(const std::vector<std::string> &options) {
    std::vector<std::string> args = {"schedule"};
    args.insert(args.end(), options.begin(), options.end());
    args.insert(args.end(), {"--format", "json"});
    const CliResult schedule = RunCli(args);
    QStringList values;
    for (const auto &param :
         QJsonDocument::fromJson(QByteArray::fromStdString(schedule.out))["params"].toArray())
        values << param.toObject()["value"].toString();
    return values;
}

bool InOrder(const QStringList &wanted, const QStringList &texts) {
    qsizetype from = 0;
    for (const QString &value : wanted) {
        from = texts.indexOf(value, from);
        if (from < 0)
            return false;
        ++from;
    }
    return true;
}

int PageCount(const std::string &snapshot) {
    const CliResult dump = RunCli({"dump", snapshot});
    EXPECT_EQ(dump.exitCode, 0) << dump.err;
    return QJsonDocument::fromJson(QByteArray::fromStdString(dump.out))["header"]["PageCount"].toInt();
}

} // namespace

TEST(CliReport, SnapshotPrintsEveryParameterAndTheRowsInOrder) {
    QTemporaryDir dir;
    const std::string output = dir.filePath(QStringLiteral("van.fsn")).toStdString();
    std::vector<std::string> options = kVanOptions;
    options.push_back("--bonus");
    const CliResult result = RunCli(Report(options, output));
    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(result.err, "");

    const QStringList texts = PlayedTexts(output);
    for (const char *value : {"Delivery van", "Automobile", "03/15/2026", "$48,500.00", "MACRS", "Half-Year",
                              "5-Years", "1st Year Bonus Depreciation:", "$20,300.00", "Page 1 of 1"})
        EXPECT_TRUE(texts.contains(QString::fromUtf8(value))) << value;
    const QStringList rows = RowParameterValues(options);
    ASSERT_EQ(rows.size(), 7 * 3);
    EXPECT_TRUE(InOrder(rows, texts)) << texts.join(u'|').toStdString();
    EXPECT_EQ(PageCount(output), 1);
}

TEST(CliReport, EveryPropertyTypePlaysBackWithAllItsParameters) {
    // The type's own rules choose method, convention and life when they are not given.
    const struct {
        const char *type;
        std::vector<const char *> inputs;
    } cases[] = {
        {"0", {"Furniture, Equipment Etc.", "MACRS", "Half-Year", "5-Years"}},
        {"1", {"Automobile", "MACRS", "Half-Year", "5-Years"}},
        {"2", {"Van, Light Truck or SUV", "MACRS", "Half-Year", "5-Years"}},
        {"3", {"Truck or Heavy Vehicle", "MACRS", "Half-Year", "3-Years"}},
        {"4", {"Residential Real Property", "Staright-Line", "Mid-Month", "27.5-Years"}},
        {"5", {"Non-Residential Real Property", "Staright-Line", "Mid-Month", "39-Years"}},
    };
    QTemporaryDir dir;
    for (const auto &test : cases) {
        const std::string output = dir.filePath(QStringLiteral("type%1.fsn").arg(test.type)).toStdString();
        const std::vector<std::string> options = {"--description",     "Asset of type", "--type", test.type,
                                                  "--placed",          "03/15/2026",    "--cost", "40000",
                                                  "--fiscal-year-end", "12/31/2026"};
        const CliResult result = RunCli(Report(options, output));
        ASSERT_EQ(result.exitCode, 0) << test.type << ": " << result.err;
        const QStringList texts = PlayedTexts(output);
        for (const char *value : test.inputs)
            EXPECT_TRUE(texts.contains(QString::fromUtf8(value))) << test.type << ": " << value;
        for (const char *value : {"Asset of type", "03/15/2026", "$40,000.00"})
            EXPECT_TRUE(texts.contains(QString::fromUtf8(value))) << test.type << ": " << value;
        const QStringList rows = RowParameterValues(options);
        ASSERT_FALSE(rows.isEmpty()) << test.type;
        EXPECT_TRUE(InOrder(rows, texts)) << test.type;
    }
}

TEST(CliReport, BonusLinesOnlyWithTheBonus) {
    QTemporaryDir dir;
    const std::string output = dir.filePath(QStringLiteral("van.fsn")).toStdString();
    const CliResult result = RunCli(Report(kVanOptions, output));
    ASSERT_EQ(result.exitCode, 0) << result.err;
    const QStringList texts = PlayedTexts(output);
    EXPECT_TRUE(texts.contains(QStringLiteral("$48,500.00")));
    EXPECT_FALSE(texts.join(u'|').contains(QStringLiteral("Bonus")));
}

TEST(CliReport, LongestScheduleRunsOverThreePages) {
    QTemporaryDir dir;
    const std::string output = dir.filePath(QStringLiteral("car.fsn")).toStdString();
    const std::vector<std::string> options = {"--type", "1",      "--placed",          "01/15/2017",
                                              "--cost", "145000", "--fiscal-year-end", "12/31/2017"};
    const CliResult result = RunCli(Report(options, output));
    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(PageCount(output), 3);
    const QStringList texts = PlayedTexts(output);
    const QStringList rows = RowParameterValues(options);
    ASSERT_EQ(rows.size(), 75 * 3);
    EXPECT_TRUE(InOrder(rows, texts));
    EXPECT_TRUE(
        InOrder({QStringLiteral("Page 1 of 3"), QStringLiteral("Page 2 of 3"), QStringLiteral("Page 3 of 3")},
                texts));
    EXPECT_EQ(texts.count(QStringLiteral("Accumulated Depreciation")), 3);
}

TEST(CliReport, FailuresExitWithTheirMessageAndLeaveNoOutput) {
    QTemporaryDir dir;
    const QString badTemplate = dir.filePath(QStringLiteral("bad.fol"));
    QFile file(badTemplate);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(
        "<folio-project version=\"1\">\n<report name=\"DeprReport\">\n<page>\n<title/>\n</page></report>\n"
        "</folio-project>\n");
    file.close();
    const std::string output = dir.filePath(QStringLiteral("out.fsn")).toStdString();
    const std::string missing = dir.filePath(QStringLiteral("Missing")).toStdString();

    const struct {
        const char *label;
        std::vector<std::string> extra;
        int exitCode;
        std::string message;
    } cases[] = {
        {"missing template",
         {"--template", missing},
         1,
         "The following reporting project does not exist:\n\"" + missing + ".fol\"\n"},
        {"bad template",
         {"--template", badTemplate.toStdString()},
         1,
         "Report template \"" + badTemplate.toStdString() +
             "\", line 4: <title> lacks the attribute \"height\"\n"},
        {"unknown report", {"--report", "Summary"}, 1, "has no report \"Summary\""},
        {"field error", {"--convention", "2"}, 1, "Convention"},
    };
    for (const auto &test : cases) {
        std::vector<std::string> options = kVanOptions;
        options.insert(options.end(), test.extra.begin(), test.extra.end());
        const CliResult result = RunCli(Report(options, output));
        EXPECT_EQ(result.exitCode, test.exitCode) << test.label;
        EXPECT_NE(result.err.find(test.message), std::string::npos) << test.label << ": " << result.err;
        EXPECT_FALSE(QFile::exists(QString::fromStdString(output))) << test.label;
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 1)
            << test.label; // bad.fol alone
    }

    // An existing output survives a failed run.
    QFile previous(QString::fromStdString(output));
    ASSERT_TRUE(previous.open(QIODevice::WriteOnly));
    previous.write("earlier report");
    previous.close();
    std::vector<std::string> options = kVanOptions;
    options.insert(options.end(), {"--template", missing});
    EXPECT_EQ(RunCli(Report(options, output)).exitCode, 1);
    ASSERT_TRUE(previous.open(QIODevice::ReadOnly));
    EXPECT_EQ(previous.readAll(), QByteArray("earlier report"));
}

TEST(CliReport, OutputIsRequired) {
    const CliResult result = RunCli({"report", "--type", "1"});
    EXPECT_EQ(result.exitCode, 2);
    EXPECT_EQ(
        result.err.rfind("fiscora-cli report: --output FILE.fsn is required\nusage: fiscora-cli report", 0),
        0u)
        << result.err;
}
