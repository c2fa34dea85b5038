// What every command of fiscora-cli shares: help, usage errors, writing to standard output.
#include "CliRunner.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

const char *const kCommands[] = {"schedule", "report", "dump", "play"};

// A snapshot file for the commands that read one: the report of an asset.
std::string ReportFile(const QTemporaryDir &folder) {
    const std::string output = folder.filePath(QStringLiteral("report.fsn")).toStdString();
    const CliResult report = RunCli({"report", "--type", "3", "--placed", "03/01/2026", "--cost", "10000",
                                     "--fiscal-year-end", "12/31/2026", "--output", output});
    EXPECT_EQ(report.exitCode, 0) << report.err;
    return output;
}

TEST(CliCommands, EveryCommandAnswersHelpWithItsUsage) {
    for (const char *command : kCommands) {
        for (const char *help : {"--help", "-h"}) {
            const CliResult result = RunCli({command, help});
            EXPECT_EQ(result.exitCode, 0) << command << ' ' << help << ": " << result.err;
            EXPECT_EQ(result.out.rfind(std::string("usage: fiscora-cli ") + command + ' ', 0), 0u)
                << command << ' ' << help << ": " << result.out;
            EXPECT_EQ(result.err, "") << command << ' ' << help;
        }
    }
    const CliResult overview = RunCli({"--help"});
    EXPECT_EQ(overview.exitCode, 0);
    for (const char *command : kCommands)
        EXPECT_NE(overview.out.find(std::string("\n  ") + command + ' '), std::string::npos) << command;
}

TEST(CliCommands, AStandardOutputThatCannotBeWrittenIsNamedWithTheSystemsReason) {
    QTemporaryDir folder;
    const std::string snapshot = ReportFile(folder);
    const std::vector<std::string> cases[] = {
        {"schedule", "--type", "3", "--placed", "03/01/2026", "--cost", "10000", "--fiscal-year-end",
         "12/31/2026"},
        {"dump", snapshot},
        {"play", snapshot},
        {"play", "--help"},
    };
    for (const auto &args : cases) {
        const CliResult result = RunCli(args, CliRun::OutputTo(QStringLiteral("/dev/full")));
        EXPECT_EQ(result.exitCode, 1) << args[0] << ' ' << args[1];
        EXPECT_EQ(result.err,
                  "fiscora-cli " + args[0] + ": cannot write to standard output: No space left on device\n")
            << args[0] << ' ' << args[1];
    }
    const CliResult overview = RunCli({"--help"}, CliRun::OutputTo(QStringLiteral("/dev/full")));
    EXPECT_EQ(overview.exitCode, 1);
    EXPECT_EQ(overview.err, "fiscora-cli: cannot write to standard output: No space left on device\n");
}

TEST(CliCommands, RepeatedOptionsAreUsageErrorsThatNameTheOption) {
    QTemporaryDir folder;
    const std::string snapshot = ReportFile(folder);
    const std::string other = folder.filePath(QStringLiteral("other.fsn")).toStdString();
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{"schedule", "--bonus", "--bonus"}, "--bonus is given more than once"},
        {{"schedule", "--format", "csv", "--format=json"}, "--format is given more than once"},
        {{"report", "--output", other, "--output", other}, "--output is given more than once"},
        {{"report", "--template=a.fol", "--template", "b.fol", "--output", other},
         "--template is given more than once"},
        {{"play", snapshot, "--page", "1", "--page", "2"}, "--page is given more than once"},
        {{"play", snapshot, "--selection", "1", "--selection", "2"}, "--selection is given more than once"},
        {{"dump", "a.fsn", "b.fsn"}, "unexpected argument 'b.fsn'"},
    };
    for (const auto &[args, reason] : cases) {
        const CliResult result = RunCli(args);
        EXPECT_EQ(result.exitCode, 2) << reason;
        EXPECT_EQ(
            result.err.rfind("fiscora-cli " + args[0] + ": " + reason + "\nusage: fiscora-cli " + args[0], 0),
            0u)
            << result.err;
        EXPECT_FALSE(QFile::exists(QString::fromStdString(other))) << reason;
    }
}

TEST(CliCommands, AValueInAMessageIsCutToAReadableLength) {
    const std::string longValue(5000, 'x');
    const std::string shown = "'" + std::string(40, 'x') + "...'";
    // A cut never splits a character: "é" is two bytes, the 40th byte is its first.
    const std::string accented = std::string(39, 'a') + "\xC3\xA9" + "tail";
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{"schedule", "--type", longValue}, "--type: unknown choice " + shown + " (give 0 to 5"},
        {{"schedule", "--cost", longValue}, "--cost: " + shown + " holds characters"},
        {{"schedule", longValue}, "unexpected argument " + shown},
        {{"schedule", "--" + longValue}, "unknown option '--" + std::string(38, 'x') + "...'"},
        {{"schedule", "--type", accented}, "--type: unknown choice '" + std::string(39, 'a') + "...'"},
        {{"schedule", "--type", "line\nbreak\x1b[31m"}, "--type: unknown choice 'line?break?[31m'"},
        {{"play", "a.fsn", "--selection", longValue}, "--selection: " + shown + " is not a page selection"},
        {{longValue}, "fiscora-cli: unknown command " + shown},
    };
    for (const auto &[args, reason] : cases) {
        const CliResult result = RunCli(args);
        EXPECT_EQ(result.exitCode, 2) << reason;
        EXPECT_NE(result.err.find(reason), std::string::npos) << result.err;
        EXPECT_EQ(result.err.find(std::string(41, 'x')), std::string::npos) << "the whole value is echoed";
    }
}

} // namespace
