#include "CliRunner.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QtEndian>

#include <gtest/gtest.h>

namespace {

// Hand-made version-10000 snapshot bytes: the CLI tests do not link the report library.
class SnapshotBytes {
public:
    SnapshotBytes &Byte(int value) {
        FBytes.append(char(value));
        return *this;
    }
    SnapshotBytes &Word(int value) {
        char bytes[2];
        qToLittleEndian<quint16>(quint16(value), bytes);
        FBytes.append(bytes, 2);
        return *this;
    }
    SnapshotBytes &Int(int value) {
        char bytes[4];
        qToLittleEndian<qint32>(value, bytes);
        FBytes.append(bytes, 4);
        return *this;
    }
    SnapshotBytes &Float(float value) {
        char bytes[4];
        qToLittleEndian<float>(value, bytes);
        FBytes.append(bytes, 4);
        return *this;
    }
    SnapshotBytes &String(const QString &text) {
        Byte(int(text.size()));
        for (QChar c : text)
            Word(c.unicode());
        return *this;
    }
    SnapshotBytes &Header(int pageCount) {
        Byte(90).Word(10000).String("Demo").Int(pageCount).Int(1).Int(9999);
        Float(8.5).Float(11).Float(0).Float(0).Float(0).Float(0);
        return Byte(0).Word(265).Byte(0).Byte(0).Word(1).Word(1).Word(0).Word(0).String("");
    }
    // A page whose body is one LeftText record, chained to the page before.
    SnapshotBytes &Page(int pageNo, const QString &text, int extraCode = -1) {
        const qint32 position = qint32(FBytes.size());
        if (FNextField > 0)
            qToLittleEndian<qint32>(position, FBytes.data() + FNextField);
        Byte(80).Int(FPrevPage);
        FNextField = FBytes.size();
        Int(0).Int(pageNo).Float(8.5).Float(11).Byte(0).Word(512);
        Byte(24).Float(1).String(text).Float(0.5);
        if (extraCode >= 0)
            Byte(extraCode);
        Byte(82);
        FPrevPage = position;
        return *this;
    }
    std::string Save(const QTemporaryDir &folder, const QString &name) const {
        QFile file(folder.filePath(name));
        file.open(QIODevice::WriteOnly);
        file.write(FBytes);
        return file.fileName().toStdString();
    }
    QByteArray Bytes() const { return FBytes; }

private:
    QByteArray FBytes;
    qint32 FPrevPage = 0;
    qsizetype FNextField = 0;
};

const QString PageMacro = QChar(253) + QStringLiteral("$FOLM11");

std::string ThreePages(const QTemporaryDir &folder) {
    return SnapshotBytes()
        .Header(3)
        .Page(1, "first " + PageMacro)
        .Page(2, "second " + PageMacro)
        .Page(3, "third")
        .Save(folder, "three.fsn");
}

TEST(CliDump, PrintsHeaderPagesAndRecordsAsStored) {
    QTemporaryDir folder;
    const CliResult result = RunCli({"dump", ThreePages(folder)});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    const QJsonObject dump = QJsonDocument::fromJson(QByteArray::fromStdString(result.out)).object();
    const QJsonObject header = dump["header"].toObject();
    EXPECT_EQ(header["FileVer"].toInt(), 10000);
    EXPECT_EQ(header["Title"].toString(), "Demo");
    EXPECT_EQ(header["PageCount"].toInt(), 3);
    EXPECT_EQ(header["PaperWidth"].toDouble(), 8.5);
    EXPECT_EQ(header["Bin"].toInt(), 265);
    const QJsonArray pages = dump["pages"].toArray();
    ASSERT_EQ(pages.size(), 3);
    const QJsonObject second = pages[1].toObject();
    EXPECT_EQ(second["PageNo"].toInt(), 2);
    EXPECT_EQ(second["PrevPagePos"].toInt(), pages[0].toObject()["Position"].toInt());
    EXPECT_EQ(second["NextPagePos"].toInt(), pages[2].toObject()["Position"].toInt());
    EXPECT_EQ(second["Bin"].toInt(), 512);
    const QJsonObject record = second["records"].toArray()[0].toObject();
    EXPECT_EQ(record["code"].toInt(), 24);
    EXPECT_EQ(record["name"].toString(), "LeftText");
    EXPECT_EQ(record["Text"].toString(), "second " + PageMacro); // markers are not expanded
    EXPECT_EQ(record["X"].toDouble(), 0.5);
    EXPECT_EQ(record["Y"].toDouble(), 1.0);
}

TEST(CliPlay, ListsTheRendererOperationsInOrder) {
    QTemporaryDir folder;
    const CliResult result = RunCli({"play", ThreePages(folder), "--page", "2"});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(result.out,
              "SetPaperBin 265\nDocBegin\nPageBegin\nLeftText \"second 2\" 0.5 1\nPageEnd\nDocEnd\n");
}

TEST(CliPlay, PlaysTheRangeOrSelectionAsked) {
    QTemporaryDir folder;
    const std::string file = ThreePages(folder);
    auto texts = [&](std::vector<std::string> options) {
        options.insert(options.begin(), {"play", file});
        const CliResult result = RunCli(options);
        EXPECT_EQ(result.exitCode, 0) << result.err;
        std::string lines;
        for (const auto &line : QString::fromStdString(result.out).split('\n'))
            if (line.startsWith("LeftText"))
                lines += line.section('"', 1, 1).toStdString() + ";";
        return lines;
    };
    // The range means what it reads: --first alone runs to the end, --last alone starts at page 1.
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{}, "first 1;second 2;third;"},
        {{"--selection", "ODD"}, "first 1;third;"},
        {{"--selection", "2-"}, "second 2;third;"},
        {{"--first", "2", "--last", "3"}, "second 2;third;"},
        {{"--first", "2"}, "second 2;third;"},
        {{"--first=2", "--last=9999"}, "second 2;third;"},
        {{"--first", "2", "--last", "0"}, "second 2;third;"},
        {{"--first", "3"}, "third;"},
        {{"--first", "5"}, "third;"}, // past the end: the last page, as --page
        {{"--last", "2"}, "first 1;second 2;"},
        {{"--first", "2", "--last", "2"}, "second 2;"},
        {{"--page", "9"}, "third;"},
    };
    for (const auto &[options, expected] : cases)
        EXPECT_EQ(texts(options), expected) << (options.empty() ? "" : options[0]) << " " << options.size();
}

TEST(CliDumpPlay, BadStreamPrintsWhatItCouldThenTheMessage) {
    QTemporaryDir folder;
    const std::string badCode = SnapshotBytes().Header(1).Page(1, "kept", 39).Save(folder, "code.fsn");
    const CliResult played = RunCli({"play", badCode});
    EXPECT_EQ(played.exitCode, 1);
    EXPECT_NE(played.out.find("LeftText \"kept\""), std::string::npos);
    EXPECT_TRUE(QString::fromStdString(played.out).endsWith("DocEnd\n"));
    EXPECT_EQ(played.err, "Unexpected code [39] found in report file.\n");

    const QByteArray whole = SnapshotBytes().Header(2).Page(1, "one").Page(2, "two").Bytes();
    QFile cut(folder.filePath("cut.fsn"));
    cut.open(QIODevice::WriteOnly);
    cut.write(whole.left(whole.size() - 6));
    cut.close();
    const CliResult dumped = RunCli({"dump", cut.fileName().toStdString()});
    EXPECT_EQ(dumped.exitCode, 1);
    EXPECT_EQ(dumped.err, "Stream read error\n");
    const QJsonObject dump = QJsonDocument::fromJson(QByteArray::fromStdString(dumped.out)).object();
    EXPECT_EQ(dump["pages"].toArray().size(), 2); // the complete page and the one cut short
}

TEST(CliDumpPlay, UsageErrorsExitWithTwoAndNameTheOption) {
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{"dump"}, "missing FILE"},
        {{"dump", "a.fsn", "b.fsn"}, "unexpected argument 'b.fsn'"},
        {{"dump", "a.fsn", "--pages"}, "unknown option '--pages'"},
        {{"play"}, "missing FILE"},
        {{"play", "a.fsn", "--page"}, "--page needs a value"},
        {{"play", "a.fsn", "--page", "--first", "2"}, "--page needs a value"},
        {{"play", "a.fsn", "--colour", "red"}, "unknown option '--colour'"},
        {{"play", "a.fsn", "--first", "x"}, "--first: 'x' is not a page number (1 to 99999)"},
        {{"play", "a.fsn", "--page", "99999999999"},
         "--page: '99999999999' is not a page number (1 to 99999)"},
        {{"play", "a.fsn", "--page", "0"}, "--page: '0' is not a page number (1 to 99999)"},
        {{"play", "a.fsn", "--last", "-1"}, "--last: '-1' is not a page number (0 to 99999)"},
        {{"play", "a.fsn", "--first", "2.5"}, "--first: '2.5' is not a page number"},
        {{"play", "a.fsn", "--selection", "99999999999"},
         "--selection: '99999999999' is not a page selection (such as 1,3-5, EVEN, ODD or 4-)"},
        {{"play", "a.fsn", "--selection", "1,3-x"}, "--selection: '1,3-x' is not a page selection"},
        {{"play", "a.fsn", "--selection", "EVEN,ODD,z"}, "--selection: 'EVEN,ODD,z' is not a page selection"},
        {{"play", "a.fsn", "--first", "3", "--last", "2"}, "--first 3 comes after --last 2"},
        {{"play", "a.fsn", "--page", "2", "--first", "1"}, "--page plays one page"},
        {{"play", "a.fsn", "--selection", "1", "--last", "2"}, "--selection names the pages itself"},
    };
    for (const auto &[args, reason] : cases) {
        const CliResult result = RunCli(args);
        EXPECT_EQ(result.exitCode, 2) << reason;
        EXPECT_EQ(result.err.rfind("fiscora-cli " + args[0] + ": " + reason, 0), 0u) << result.err;
        EXPECT_NE(result.err.find("\nusage: fiscora-cli " + args[0] + " FILE"), std::string::npos)
            << result.err;
        EXPECT_EQ(result.out, "") << reason;
    }
}

TEST(CliDumpPlay, AHeaderThatPromisesMorePagesThanTheFileHoldsIsReportedAlikeByBoth) {
    QTemporaryDir folder;
    const struct {
        const char *label;
        QByteArray bytes;
        int pagesDumped;
    } cases[] = {
        {"three promised, one held", SnapshotBytes().Header(3).Page(1, "only").Bytes(), 1},
        {"two promised, none held", SnapshotBytes().Header(2).Bytes(), 0},
    };
    for (const auto &test : cases) {
        QFile file(folder.filePath("damaged.fsn"));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(test.bytes);
        file.close();
        const std::string name = file.fileName().toStdString();
        const CliResult dumped = RunCli({"dump", name});
        const CliResult played = RunCli({"play", name});
        EXPECT_EQ(dumped.exitCode, 1) << test.label;
        EXPECT_EQ(played.exitCode, 1) << test.label;
        EXPECT_EQ(dumped.err, "Stream read error\n") << test.label;
        EXPECT_EQ(played.err, dumped.err) << test.label;
        const QJsonObject dump = QJsonDocument::fromJson(QByteArray::fromStdString(dumped.out)).object();
        EXPECT_EQ(dump["pages"].toArray().size(), test.pagesDumped) << test.label;
        EXPECT_EQ(played.out.find("LeftText \"only\"") != std::string::npos, test.pagesDumped == 1)
            << test.label;
    }
}

TEST(CliDumpPlay, AFileThatCannotBeOpenedIsNamedWithTheSystemsReason) {
    QTemporaryDir folder;
    const std::string folderName = folder.path().toStdString();
    const std::pair<std::string, std::string> cases[] = {
        {"/nonexistent/none.fsn", "Cannot open file \"/nonexistent/none.fsn\". No such file or directory\n"},
        {folderName, "Cannot open file \"" + folderName + "\". Is a directory\n"},
    };
    for (const char *command : {"dump", "play"}) {
        for (const auto &[name, message] : cases) {
            const CliResult result = RunCli({command, name});
            EXPECT_EQ(result.exitCode, 1) << command << ' ' << name;
            EXPECT_EQ(result.err, message) << command;
            EXPECT_EQ(result.out, "") << command;
        }
    }
}

} // namespace
