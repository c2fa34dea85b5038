// The code blocks of README.md and docs/cli.md run as written, so the documents cannot drift from
// the program: examples ("$ command" and its output), plain commands, usage texts and build commands.
#include "CliRunner.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <vector>

namespace {

struct CodeBlock {
    std::string document;
    int line = 0; // of the block's first line, for messages
    std::vector<std::string> lines;

    std::string Where() const { return document + ":" + std::to_string(line); }
};

bool StartsWith(const std::string &text, std::string_view prefix) {
    return text.compare(0, prefix.size(), prefix) == 0;
}

bool IsBlank(const std::string &line) {
    return line.find_first_not_of(" \t") == std::string::npos;
}

// Fenced blocks and blocks indented by four spaces, in document order.
std::vector<CodeBlock> CodeBlocks(const std::string &document) {
    QFile file(QStringLiteral(FISCORA_SOURCE_DIR "/") + QString::fromStdString(document));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << document;
    const QStringList lines = QString::fromUtf8(file.readAll()).split(u'\n');
    std::vector<CodeBlock> blocks;
    bool fenced = false;
    bool indented = false;
    bool previousBlank = true;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const std::string line = lines[i].toStdString();
        if (StartsWith(line, "```")) {
            fenced = !fenced;
            if (fenced)
                blocks.push_back({document, int(i + 2), {}});
        } else if (fenced) {
            blocks.back().lines.push_back(line);
        } else if (StartsWith(line, "    ") && (indented || previousBlank)) {
            if (!indented)
                blocks.push_back({document, int(i + 1), {}});
            indented = true;
            blocks.back().lines.push_back(line.substr(4));
        } else if (!IsBlank(line)) {
            indented = false;
        } else if (indented) {
            blocks.back().lines.push_back({});
        }
        previousBlank = IsBlank(line);
    }
    for (CodeBlock &block : blocks)
        while (!block.lines.empty() && IsBlank(block.lines.back()))
            block.lines.pop_back();
    return blocks;
}

// Lines ending in "\" go on in the next one, as the shell reads them.
std::vector<std::string> JoinContinuations(const std::vector<std::string> &lines) {
    std::vector<std::string> joined;
    bool continued = false;
    for (const std::string &line : lines) {
        if (continued) {
            const std::size_t text = line.find_first_not_of(' ');
            joined.back().append(1, ' ').append(line, text == std::string::npos ? line.size() : text);
        } else {
            joined.push_back(line);
        }
        continued = !joined.back().empty() && joined.back().back() == '\\';
        if (continued)
            joined.back().pop_back();
    }
    return joined;
}

std::vector<std::string> SplitLines(const std::string &text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find('\n', start);
        lines.push_back(text.substr(start, end == std::string::npos ? std::string::npos : end - start));
        start = end == std::string::npos ? text.size() : end + 1;
    }
    while (!lines.empty() && IsBlank(lines.back()))
        lines.pop_back();
    return lines;
}

// A documented line: "..." inside it stands for any text.
bool LineMatches(const std::string &pattern, const std::string &line) {
    std::vector<std::string> pieces;
    for (std::size_t start = 0;;) {
        const std::size_t dots = pattern.find("...", start);
        pieces.push_back(pattern.substr(start, dots == std::string::npos ? std::string::npos : dots - start));
        if (dots == std::string::npos)
            break;
        start = dots + 3;
    }
    if (pieces.size() == 1)
        return pattern == line;
    const std::string &first = pieces.front();
    const std::string &last = pieces.back();
    if (line.size() < first.size() + last.size() || !StartsWith(line, first) ||
        line.compare(line.size() - last.size(), last.size(), last) != 0)
        return false;
    std::size_t at = first.size();
    const std::size_t end = line.size() - last.size();
    for (std::size_t i = 1; i + 1 < pieces.size(); ++i) {
        at = line.find(pieces[i], at);
        if (at == std::string::npos || at + pieces[i].size() > end)
            return false;
        at += pieces[i].size();
    }
    return true;
}

// Documented output against the real one: a line "..." stands for any number of lines.
bool OutputMatches(const std::vector<std::string> &expected, std::size_t e,
                   const std::vector<std::string> &actual, std::size_t a) {
    if (e == expected.size())
        return a == actual.size();
    if (expected[e] == "...") {
        for (std::size_t skip = a; skip <= actual.size(); ++skip)
            if (OutputMatches(expected, e + 1, actual, skip))
                return true;
        return false;
    }
    return a < actual.size() && LineMatches(expected[e], actual[a]) &&
           OutputMatches(expected, e + 1, actual, a + 1);
}

struct ShellResult {
    int exitCode = -1;  // -1: ended by a signal or did not end within two minutes
    std::string output; // standard output and standard error, as they came
};

// Runs a command line through the shell, with the built fiscora-cli first on the PATH.
ShellResult RunShell(const std::string &command, const QString &workingDir,
                     const QProcessEnvironment &extra = QProcessEnvironment()) {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("PATH"), QFileInfo(QStringLiteral(FISCORA_CLI)).absolutePath() + u':' +
                                                   environment.value(QStringLiteral("PATH")));
    for (const QString &name : extra.keys())
        environment.insert(name, extra.value(name));
    QProcess process;
    process.setProcessEnvironment(environment);
    process.setWorkingDirectory(workingDir);
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(QStringLiteral("/bin/sh"), {QStringLiteral("-c"), QString::fromStdString(command)});
    ShellResult result;
    result.exitCode = WaitForExit(process, 120);
    result.output = process.readAll().toStdString();
    return result;
}

std::string Shown(const std::vector<std::string> &lines) {
    std::string text;
    for (std::size_t i = 0; i < lines.size() && i < 40; ++i)
        text += "  | " + lines[i] + '\n';
    if (lines.size() > 40)
        text += "  | (" + std::to_string(lines.size() - 40) + " more lines)\n";
    return text;
}

bool IsBuildBlock(const CodeBlock &block) {
    for (const std::string &line : block.lines)
        if (line.find("cmake ") != std::string::npos)
            return true;
    return false;
}

// "usage: fiscora-cli COMMAND ..." is the start of what `fiscora-cli COMMAND --help` prints.
void CheckUsage(const CodeBlock &block, const QString &folder) {
    const std::string &first = block.lines.front();
    const std::string command = first.substr(19, first.find(' ', 19) - 19);
    const ShellResult help = RunShell("fiscora-cli " + command + " --help", folder);
    EXPECT_EQ(help.exitCode, 0) << block.Where();
    std::vector<std::string> printed = SplitLines(help.output);
    printed.resize(std::min(printed.size(), block.lines.size()));
    EXPECT_EQ(printed, block.lines) << block.Where() << ": the usage text differs from --help";
}

// "$ command" lines, each followed by its documented output.
void CheckExamples(const CodeBlock &block, const QString &folder) {
    const std::vector<std::string> lines = JoinContinuations(block.lines);
    for (std::size_t i = 0; i < lines.size();) {
        ASSERT_TRUE(StartsWith(lines[i], "$ ")) << block.Where() << ": output without a command";
        const std::string command = lines[i].substr(2);
        std::vector<std::string> expected;
        for (++i; i < lines.size() && !StartsWith(lines[i], "$ "); ++i)
            expected.push_back(lines[i]);
        while (!expected.empty() && IsBlank(expected.back()))
            expected.pop_back();
        const ShellResult result = RunShell(command, folder);
        const std::vector<std::string> actual = SplitLines(result.output);
        EXPECT_EQ(result.exitCode, 0) << block.Where() << ": " << command << '\n' << Shown(actual);
        EXPECT_TRUE(OutputMatches(expected, 0, actual, 0))
            << block.Where() << ": " << command << "\ndocumented:\n"
            << Shown(expected) << "printed:\n"
            << Shown(actual);
    }
}

// Plain "fiscora-cli ..." commands: they must run without an error.
void CheckCommands(const CodeBlock &block, const QString &folder) {
    for (const std::string &command : JoinContinuations(block.lines)) {
        if (IsBlank(command))
            continue;
        ASSERT_TRUE(StartsWith(command, "fiscora-cli "))
            << block.Where() << ": a code block this test does not know";
        const ShellResult result = RunShell(command, folder);
        EXPECT_EQ(result.exitCode, 0) << block.Where() << ": " << command << '\n' << result.output;
    }
}

TEST(CliDocs, EveryExampleRunsAsDocumented) {
    for (const char *document : {"README.md", "docs/cli.md"}) {
        // The examples of one document build on each other (a report, then its dump).
        QTemporaryDir folder;
        const std::vector<CodeBlock> blocks = CodeBlocks(document);
        EXPECT_FALSE(blocks.empty()) << document;
        for (const CodeBlock &block : blocks) {
            if (block.lines.empty() || IsBuildBlock(block))
                continue;
            if (StartsWith(block.lines.front(), "usage: fiscora-cli "))
                CheckUsage(block, folder.path());
            else if (StartsWith(block.lines.front(), "$ "))
                CheckExamples(block, folder.path());
            else
                CheckCommands(block, folder.path());
        }
    }
}

// The build commands of the README, split at "&&", with their variables ("CC=clang") apart.
struct BuildCommand {
    QProcessEnvironment environment;
    std::vector<std::string> words;
};

std::vector<BuildCommand> BuildCommands(const CodeBlock &block) {
    std::vector<BuildCommand> commands;
    for (const std::string &line : JoinContinuations(block.lines)) {
        if (IsBlank(line))
            continue;
        commands.emplace_back();
        for (const QString &word : QString::fromStdString(line).split(u' ', Qt::SkipEmptyParts)) {
            if (word == QLatin1String("&&")) {
                commands.emplace_back();
            } else if (commands.back().words.empty() && word.contains(u'=')) {
                commands.back().environment.insert(word.section(u'=', 0, 0), word.section(u'=', 1));
            } else {
                commands.back().words.push_back(word.toStdString());
            }
        }
    }
    return commands;
}

std::string Joined(const std::vector<std::string> &words) {
    std::string text;
    for (const std::string &word : words)
        text += (text.empty() ? "" : " ") + word;
    return text;
}

// The configure commands run as written, into a scratch build folder; the targets the build
// commands name must exist there, and the programs they run must be those targets. Building and
// running them is left out: each build is a whole second tree (minutes on the shared cores), and
// the fuzzer runs for the 600 seconds it is told to, the suite's time limit for one test.
TEST(CliDocs, ReadmeBuildCommandsConfigureTheTargetsTheyName) {
    QTemporaryDir scratch;
    std::map<std::string, QString> folders; // build folder as written -> scratch folder
    std::set<std::string> programs;         // "build-bench/bin/fiscora_bench"
    int configured = 0;
    for (const CodeBlock &block : CodeBlocks("README.md")) {
        if (!IsBuildBlock(block))
            continue;
        for (BuildCommand command : BuildCommands(block)) {
            std::vector<std::string> &words = command.words;
            const std::string shown = Joined(words);
            if (words.size() > 4 && words[0] == "cmake" && words[1] == "-S" && words[3] == "-B") {
                // The fuzzing build asks for clang, which the rest of the project does without.
                const QString compiler = command.environment.value(QStringLiteral("CXX"));
                if (!compiler.isEmpty() && QStandardPaths::findExecutable(compiler).isEmpty())
                    GTEST_SKIP() << shown << ": " << compiler.toStdString() << " is not installed";
                const QString folder = scratch.filePath(QString::fromStdString(words[4]));
                folders[words[4]] = folder;
                words[4] = (u'\'' + folder + u'\'').toStdString();
                const ShellResult result =
                    RunShell(Joined(words), QStringLiteral(FISCORA_SOURCE_DIR), command.environment);
                EXPECT_EQ(result.exitCode, 0) << shown << '\n' << result.output;
                ++configured;
            } else if (words.size() == 5 && words[0] == "cmake" && words[1] == "--build" &&
                       words[3] == "--target") {
                ASSERT_TRUE(folders.contains(words[2])) << shown << ": a build folder no command configured";
                const ShellResult query =
                    RunShell("ninja -C '" + folders[words[2]].toStdString() + "' -t query " + words[4],
                             scratch.path());
                EXPECT_EQ(query.exitCode, 0) << shown << '\n' << query.output;
                programs.insert(words[2] + "/bin/" + words[4]);
            } else {
                EXPECT_TRUE(!words.empty() && programs.contains(words[0]))
                    << shown << ": runs no program the commands before it build";
            }
        }
    }
    EXPECT_GT(configured, 0) << "the README shows no configure command";
}

} // namespace
