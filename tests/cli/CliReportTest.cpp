#include "CliRunner.h"

#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <csignal>
#include <map>
#include <unistd.h>

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

namespace {

const std::vector<std::string> kTruckOptions = {"--type", "3",     "--placed",          "03/01/2026",
                                                "--cost", "10000", "--fiscal-year-end", "12/31/2026"};

std::vector<std::string> With(std::vector<std::string> options, const std::vector<std::string> &more) {
    options.insert(options.end(), more.begin(), more.end());
    return options;
}

QString BinFolder() {
    return QFileInfo(QStringLiteral(FISCORA_CLI)).absolutePath();
}

QByteArray FileBytes(const QString &path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void WriteFile(const QString &path, const QByteArray &bytes) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
    file.write(bytes);
}

// A template whose report places one picture on each of `pages` pages.
QByteArray PictureTemplate(const QString &picture, int pages) {
    QByteArray xml = "<folio-project version=\"1\"><report name=\"DeprReport\">";
    for (int i = 0; i < pages; ++i)
        xml += "<page><title height=\"7\"><picture x=\"0.5\" y=\"0.5\" width=\"6\" height=\"6\" file=\"" +
               picture.toUtf8() + "\"/></title></page>";
    return xml + "</report></folio-project>";
}

// Every file below the folder, hidden ones included, by name with its size and a digest of its bytes
// (what a link leads to for a link).
std::map<std::string, std::string> FolderContents(const QString &folder) {
    std::map<std::string, std::string> contents;
    QDirIterator it(folder, QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QFileInfo file(it.next());
        const std::string what = file.isSymLink() ? "link to " + file.symLinkTarget().toStdString()
                                                  : std::to_string(file.size()) + " bytes, sha1 " +
                                                        QCryptographicHash::hash(FileBytes(file.filePath()),
                                                                                 QCryptographicHash::Sha1)
                                                            .toHex()
                                                            .toStdString();
        contents[QDir(folder).relativeFilePath(file.filePath()).toStdString()] = what;
    }
    return contents;
}

TEST(CliReport, AnOutputThatIsAnInputIsRefusedBeforeAnythingIsWritten) {
    QTemporaryDir dir;
    const QByteArray amortix = FileBytes(BinFolder() + QStringLiteral("/Amortix.fol"));
    ASSERT_FALSE(amortix.isEmpty());
    WriteFile(dir.filePath("same/T.fol"), amortix);
    ASSERT_TRUE(QFile::link(QStringLiteral("T.fol"), dir.filePath("same/link.fsn")));
    ASSERT_EQ(::link(QFile::encodeName(dir.filePath("same/T.fol")).constData(),
                     QFile::encodeName(dir.filePath("same/hard.fsn")).constData()),
              0);
    QImage logo(4, 4, QImage::Format_RGB32);
    logo.fill(Qt::darkCyan);
    ASSERT_TRUE(QDir().mkpath(dir.filePath("pic")) && logo.save(dir.filePath("pic/logo.png")));
    WriteFile(dir.filePath("pic/P.fol"), PictureTemplate("logo.png", 1));
    // The default template beside the program, reached through a link in the test's folder.
    ASSERT_TRUE(QFile::link(BinFolder() + QStringLiteral("/Amortix.fol"), dir.filePath("default.fsn")));

    const struct {
        std::string templateFile; // empty: the default template
        std::string output;
        std::string role;
    } cases[] = {
        {"same/T.fol", "same/T.fol", "template"},    {"same/T.fol", "same/./T.fol", "template"},
        {"same/T", "same/T.fol", "template"}, // the name the project file rule makes
        {"same/T.fol", "same/link.fsn", "template"}, {"same/T.fol", "same/hard.fsn", "template"},
        {"pic/P.fol", "pic/logo.png", "picture"},    {"", "default.fsn", "template"},
    };
    const auto before = FolderContents(dir.path());
    for (const auto &test : cases) {
        std::vector<std::string> options = kTruckOptions;
        if (!test.templateFile.empty())
            options.insert(options.end(), {"--template", test.templateFile});
        const CliResult result = RunCli(Report(options, test.output), CliRun::In(dir.path()));
        EXPECT_EQ(result.exitCode, 2) << test.output << ": " << result.err;
        EXPECT_EQ(result.err.rfind("fiscora-cli report: the output \"" + test.output + "\" is the " +
                                       test.role + " \"",
                                   0),
                  0u)
            << result.err;
        EXPECT_EQ(FolderContents(dir.path()), before) << test.output;
    }
    EXPECT_EQ(FileBytes(BinFolder() + QStringLiteral("/Amortix.fol")), amortix);
}

TEST(CliReport, NoFileAnHtmlExportWritesMayBeAnInput) {
    QTemporaryDir dir;
    WriteFile(dir.filePath("t1.html"), FileBytes(BinFolder() + QStringLiteral("/Amortix.fol")));
    // A picture named like the colour image of the black line beside it.
    QImage logo(4, 4, QImage::Format_RGB32);
    logo.fill(Qt::darkCyan);
    ASSERT_TRUE(logo.save(dir.filePath("000000.gif"), "PNG"));
    WriteFile(dir.filePath("P.fol"),
              "<folio-project version=\"1\"><report name=\"DeprReport\"><page><title height=\"7\">"
              "<picture x=\"0.5\" y=\"0.5\" width=\"1\" height=\"1\" file=\"000000.gif\"/>"
              "<line x1=\"0\" y1=\"3\" x2=\"6\" y2=\"3\"/></title></page></report></folio-project>");
    ASSERT_EQ(RunCli(Report(kTruckOptions, "x1.html.fsn"), CliRun::In(dir.path())).exitCode, 0);
    ASSERT_TRUE(QFile::rename(dir.filePath("x1.html.fsn"), dir.filePath("x1.html")));

    const struct {
        std::vector<std::string> args;
        std::string command;
        std::string written;
        std::string role;
    } cases[] = {
        {Report(With(kTruckOptions, {"--template", "t1.html"}), "t.html"), "report", "t1.html", "template"},
        {Report(With(kTruckOptions, {"--template", "P.fol"}), "out.html"), "report", "000000.gif", "picture"},
        {{"export", "x1.html", "--output", "x.html"}, "export", "x1.html", "snapshot"},
    };
    const auto before = FolderContents(dir.path());
    for (const auto &test : cases) {
        const CliResult result = RunCli(test.args, CliRun::In(dir.path()));
        EXPECT_EQ(result.exitCode, 2) << test.written << ": " << result.err;
        EXPECT_EQ(result.err.rfind("fiscora-cli " + test.command + ": the output \"" +
                                       dir.filePath(QString::fromStdString(test.written)).toStdString() +
                                       "\" is the " + test.role + " \"",
                                   0),
                  0u)
            << result.err;
        EXPECT_EQ(FolderContents(dir.path()), before) << test.written;
    }
}

TEST(CliReport, AnOutputThatIsASymbolicLinkIsRefusedAndTheLinkKept) {
    QTemporaryDir dir;
    ASSERT_EQ(RunCli(Report(kTruckOptions, "r.fsn"), CliRun::In(dir.path())).exitCode, 0);
    WriteFile(dir.filePath("old.pdf"), "older");
    ASSERT_TRUE(QFile::link("old.pdf", dir.filePath("file.pdf")));
    ASSERT_TRUE(QFile::link("old.pdf", dir.filePath("file.fsn")));
    ASSERT_TRUE(QFile::link("missing.pdf", dir.filePath("nothing.pdf")));
    ASSERT_TRUE(QFile::link("old.pdf", dir.filePath("page1.html")));
    ASSERT_TRUE(QFile::link("/proc/self/fd/1", dir.filePath("stdout.pdf")));
    const std::string linkMessage = "\": Is a symbolic link; name the file it leads to.\n";
    const struct {
        std::vector<std::string> args;
        std::string message;
    } cases[] = {
        {Report(kTruckOptions, "file.pdf"), "Cannot write the output file \"file.pdf" + linkMessage},
        {Report(kTruckOptions, "file.fsn"), "Cannot write the output file \"file.fsn" + linkMessage},
        {Report(kTruckOptions, "nothing.pdf"), "Cannot write the output file \"nothing.pdf" + linkMessage},
        {{"export", "r.fsn", "--output", "file.pdf"},
         "Cannot write the output file \"file.pdf" + linkMessage},
        // Standard output redirected into a file: the link leads to that file.
        {{"export", "r.fsn", "--output", "stdout.pdf"},
         "Cannot write the output file \"stdout.pdf" + linkMessage},
        {Report(kTruckOptions, "page.html"),
         "Cannot create file \"" + dir.filePath("page1.html").toStdString() +
             "\". It is a symbolic link, which an export never replaces.\n"},
    };
    CliRun run = CliRun::In(dir.path());
    run.standardOutputFile = dir.filePath("stdout.txt");
    WriteFile(run.standardOutputFile, "");
    const auto before = FolderContents(dir.path());
    for (const auto &test : cases) {
        const CliResult result = RunCli(test.args, run);
        EXPECT_EQ(result.exitCode, 1) << test.message;
        EXPECT_EQ(result.err, test.message);
        EXPECT_EQ(FolderContents(dir.path()), before) << test.message;
    }

    // A link to a pipe is written through.
    ASSERT_TRUE(QFile::link("/dev/stdout", dir.filePath("piped.fsn")));
    const CliResult piped = RunCli(Report(kTruckOptions, "piped.fsn"), CliRun::In(dir.path()));
    EXPECT_EQ(piped.exitCode, 0) << piped.err;
    EXPECT_EQ(piped.out.substr(0, 3), std::string("\x5A\x10\x27", 3));
    EXPECT_TRUE(QFileInfo(dir.filePath("piped.fsn")).isSymLink());
}

TEST(CliReport, AReportOfMoreThan9999PagesFailsAndWritesNothing) {
    QTemporaryDir dir;
    const auto pages = [](int count) {
        QByteArray xml = "<folio-project version=\"1\"><report name=\"DeprReport\">";
        for (int i = 0; i < count; ++i)
            xml += "<page><title height=\"1\"><text x=\"0\" y=\"0.5\">s</text></title></page>";
        return xml + "</report></folio-project>";
    };
    WriteFile(dir.filePath("9999.fol"), pages(9999));
    WriteFile(dir.filePath("10000.fol"), pages(10000));
    const std::string tooLong =
        "The report has more than 9999 pages. Choose a page range to output the pages after page 9999.\n";
    const struct {
        std::string templateFile;
        std::string output;
        int exitCode;
        std::string message;
    } cases[] = {
        {"10000.fol", "out.fsn", 1, tooLong},
        {"10000.fol", "out.pdf", 1, tooLong},
        {"10000.fol", "out.html", 1, tooLong},
        {"9999.fol", "out.fsn", 0, ""},
    };
    for (const auto &test : cases) {
        const auto before = FolderContents(dir.path());
        const CliResult result =
            RunCli(Report(With(kTruckOptions, {"--template", test.templateFile}), test.output),
                   CliRun::In(dir.path()));
        EXPECT_EQ(result.exitCode, test.exitCode) << test.templateFile << " " << test.output;
        EXPECT_EQ(result.err, test.message);
        if (test.exitCode != 0) {
            EXPECT_EQ(FolderContents(dir.path()), before) << test.output;
        }
    }
    EXPECT_EQ(PageCount(dir.filePath("out.fsn").toStdString()), 9999);
}

TEST(CliReport, AnInterruptedReportLeavesNoFileBehind) {
    QTemporaryDir dir;
    // Every placement of a large picture is a large bitmap in the snapshot: a report that takes a while.
    QImage picture(4096, 4096, QImage::Format_RGB32);
    picture.fill(Qt::darkCyan);
    ASSERT_TRUE(picture.save(dir.filePath("big.png")));
    WriteFile(dir.filePath("slow.fol"), PictureTemplate("big.png", 8));
    const auto before = FolderContents(dir.path());
    for (const int signal : {SIGINT, SIGTERM, SIGHUP}) {
        QProcess process;
        process.setWorkingDirectory(dir.path());
        // A shell may have started the tests with some of these ignored; the report must see them.
        process.setChildProcessModifier([] {
            for (const int reset : {SIGINT, SIGTERM, SIGHUP})
                ::signal(reset, SIG_DFL);
        });
        std::vector<std::string> options = kTruckOptions;
        options.insert(options.end(), {"--template", "slow.fol"});
        process.start(QStringLiteral(FISCORA_CLI), CliArguments(Report(options, "out.fsn")));
        ASSERT_TRUE(process.waitForStarted());
        QElapsedTimer waited;
        waited.start();
        bool writing = false;
        while (!writing && process.state() == QProcess::Running && waited.elapsed() < 60000) {
            for (const QFileInfo &file :
                 QDir(dir.path())
                     .entryInfoList({QStringLiteral("out.fsn.*.part")}, QDir::Files | QDir::Hidden))
                writing = writing || file.size() > 0;
            if (!writing)
                QThread::msleep(2);
        }
        ASSERT_TRUE(writing) << "signal " << signal << ": the report was not seen writing";
        ASSERT_EQ(::kill(static_cast<pid_t>(process.processId()), signal), 0);
        ASSERT_TRUE(process.waitForFinished(60000));
        EXPECT_EQ(process.exitStatus(), QProcess::CrashExit) << "signal " << signal;
        EXPECT_EQ(process.exitCode(), signal);
        EXPECT_EQ(FolderContents(dir.path()), before) << "signal " << signal;
    }
}

TEST(CliReport, OutputErrorsNameTheFileAndTheSystemsReason) {
    QTemporaryDir dir;
    ASSERT_TRUE(QDir(dir.path()).mkpath("folder") && QDir(dir.path()).mkpath("tmp"));
    const std::string folder = dir.filePath("folder").toStdString();
    const std::string missing = dir.filePath("missing/x.fsn").toStdString();
    const std::pair<std::string, std::string> cases[] = {
        {"/dev/full", "Cannot write the output file \"/dev/full\": No space left on device.\n"},
        {folder, "Cannot write the output file \"" + folder + "\": Is a directory.\n"},
        {missing, "Cannot create the output file \"" + missing + "\": No such file or directory.\n"},
    };
    for (const auto &[output, message] : cases) {
        const CliResult result =
            RunCli(Report(kTruckOptions, output), CliRun::WithVariable("TMPDIR", dir.filePath("tmp")));
        EXPECT_EQ(result.exitCode, 1) << output;
        EXPECT_EQ(result.err, message);
        EXPECT_TRUE(FolderContents(dir.path()).empty()) << output << ": a partial file is left";
    }

    // A pipe cannot be renamed over: the finished snapshot is copied into it.
    const CliResult piped =
        RunCli(Report(kTruckOptions, "/dev/stdout"), CliRun::WithVariable("TMPDIR", dir.filePath("tmp")));
    EXPECT_EQ(piped.exitCode, 0) << piped.err;
    EXPECT_EQ(piped.out.substr(0, 3), std::string("\x5A\x10\x27", 3)); // header code 90, version 10000
    EXPECT_TRUE(FolderContents(dir.path()).empty());
}

TEST(CliReport, ATemplateNameWithoutADotGetsFolAndMessagesNameTheFileTried) {
    QTemporaryDir dir;
    const QByteArray amortix = FileBytes(BinFolder() + QStringLiteral("/Amortix.fol"));
    WriteFile(dir.filePath("T.fol"), amortix);
    WriteFile(dir.filePath("T"), "not a template");
    WriteFile(dir.filePath("v1.2/T.fol"), amortix);
    const CliResult opened =
        RunCli(Report(With(kTruckOptions, {"--template", "T"}), "out.fsn"), CliRun::In(dir.path()));
    EXPECT_EQ(opened.exitCode, 0) << opened.err;
    // A dot anywhere, a folder's included, keeps the name as given.
    const CliResult kept =
        RunCli(Report(With(kTruckOptions, {"--template", "v1.2/T"}), "out2.fsn"), CliRun::In(dir.path()));
    EXPECT_EQ(kept.exitCode, 1);
    EXPECT_EQ(kept.err, "The following reporting project does not exist:\n\"" +
                            QDir(dir.path()).filePath("v1.2/T").toStdString() + "\"\n");
}

} // namespace
