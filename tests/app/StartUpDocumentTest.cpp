// A document on the command line: `fiscora FILE.fsn` shows the snapshot in the preview window,
// `fiscora FILE.fbook` runs the main window with the book window on that book, anything else is refused with
// a message.
#include "StartUpDocument.h"
#include "GeneralErrorDisplay.h"
#include "ModalRunner.h"
#include "MsgBoxRecorder.h"
#include "ReportFixtures.h"
#include "ScheduleRecorder.h"
#include "ToolBoxExceptions.h"
#include "output/dialogs/FileDialogs.h"
#include "output/preview/CustPreviewForm_New.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QToolButton>
#include <gtest/gtest.h>

#include <optional>

namespace fiscora {
namespace {

TEST(StartUpDocumentTest, ReadsNoneOrOneSnapshotOrBook) {
    struct Case {
        QStringList arguments;
        TStartUpDocumentKind kind;
    };
    const Case cases[] = {
        {{}, TStartUpDocumentKind::None},
        {{"car.fsn"}, TStartUpDocumentKind::Snapshot},
        {{"/home/me/Reports/CAR.FSN"}, TStartUpDocumentKind::Snapshot},
        {{"fleet.fbook"}, TStartUpDocumentKind::Book},
        {{"old.reports/fleet.FBook"}, TStartUpDocumentKind::Book},
    };
    for (const Case &c : cases) {
        const TStartUpDocument document = ReadStartUpDocument(c.arguments);
        EXPECT_EQ(document.Kind, c.kind) << c.arguments.join(' ').toStdString();
        EXPECT_EQ(document.FileName, c.arguments.value(0)) << c.arguments.join(' ').toStdString();
    }
}

TEST(StartUpDocumentTest, RefusesWhatItCannotOpenNamingIt) {
    struct Case {
        QStringList arguments;
        const char *message;
    };
    const Case cases[] = {
        {{"car.pdf"},
         "Fiscora opens snapshot files (.fsn) and asset books (.fbook); \"car.pdf\" is neither."},
        {{"fsn"}, "Fiscora opens snapshot files (.fsn) and asset books (.fbook); \"fsn\" is neither."},
        {{"car.fsn.bak"},
         "Fiscora opens snapshot files (.fsn) and asset books (.fbook); \"car.fsn.bak\" is neither."},
        {{"--help"}, "Fiscora opens snapshot files (.fsn) and asset books (.fbook); \"--help\" is neither."},
        {{"a.fsn", "b.fsn"}, "Fiscora opens one file at a time; it was given 2."},
    };
    for (const Case &c : cases) {
        try {
            ReadStartUpDocument(c.arguments);
            ADD_FAILURE() << "accepted " << c.arguments.join(' ').toStdString();
        } catch (const ECustomException &error) {
            EXPECT_STREQ(error.what(), c.message);
        }
    }
}

// The document's route as start-up takes it: opened, or its error shown by the general error display
// and exit status 1.
struct StartUpRun {
    int exitCode = -1;
    int mainWindowRuns = 0;
    QString bookFile; // what the main window was asked to open
    std::vector<MsgBoxRecorder::Message> messages;
};

StartUpRun RunStartUp(const TStartUpDocument &document) {
    MsgBoxRecorder recorder;
    StartUpRun run;
    run.exitCode = RunHandlingExceptions(
        [&] {
            return OpenStartUpDocument(document, [&](const QString &bookFile) {
                ++run.mainWindowRuns;
                run.bookFile = bookFile;
                return 7;
            });
        },
        1);
    run.messages = recorder.messages;
    return run;
}

TEST(StartUpDocumentTest, WithoutDocumentTheMainWindowRuns) {
    const StartUpRun run = RunStartUp({});
    EXPECT_EQ(run.mainWindowRuns, 1);
    EXPECT_EQ(run.exitCode, 7);
    EXPECT_TRUE(run.bookFile.isEmpty());
    EXPECT_TRUE(run.messages.empty());
}

TEST(StartUpDocumentTest, ABookRunsTheMainWindowAskingForThatBook) {
    const StartUpRun run = RunStartUp({TStartUpDocumentKind::Book, QStringLiteral("fleet.fbook")});
    EXPECT_EQ(run.mainWindowRuns, 1);
    EXPECT_EQ(run.exitCode, 7);
    EXPECT_EQ(run.bookFile, QStringLiteral("fleet.fbook"));
    EXPECT_TRUE(run.messages.empty());
}

TEST(StartUpDocumentTest, SnapshotOpensInThePreviewWithItsCommands) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QString snapshotFile = folder.filePath(QStringLiteral("car.fsn"));
    {
        ScheduleRecorder pane;
        QFile file(snapshotFile);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(test::ReportSnapshot(QStringLiteral(FISCORA_SOURCE_DIR "/data/Amortix.fol"),
                                        test::LongestSchedule(), pane));
    }
    const QString pdfFile = folder.filePath(QStringLiteral("car.pdf"));
    const TFileDialogRunner previousDialogs = InstallFileDialogRunner([&](const TFileDialogRequest &) {
        return std::optional<TFileDialogAnswer>({pdfFile, 1});
    });
    int previews = 0;
    QString title, status;
    bool saveEnabled = false, printEnabled = false;
    StartUpRun run;
    {
        const ScopedModalRunner runner(DrivingModalRunner([&](QDialog &dialog) {
            auto *preview = qobject_cast<TFrmReportPreview *>(&dialog);
            ASSERT_NE(preview, nullptr);
            ++previews;
            title = preview->windowTitle();
            status = preview->StatusText();
            saveEnabled = preview->BtnSave->isEnabled();
            printEnabled = preview->BtnPrint->isEnabled();
            preview->BtnExportPDF->click();
        }));
        run = RunStartUp({TStartUpDocumentKind::Snapshot, snapshotFile});
    }
    InstallFileDialogRunner(previousDialogs);
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.mainWindowRuns, 0);
    EXPECT_TRUE(run.messages.empty()) << run.messages.front().text;
    EXPECT_EQ(previews, 1);
    EXPECT_EQ(title, "Fiscora 2025 - car.fsn");
    EXPECT_EQ(status, " Page 1 of 3");
    EXPECT_TRUE(saveEnabled);
    EXPECT_TRUE(printEnabled);
    QFile pdf(pdfFile);
    ASSERT_TRUE(pdf.open(QIODevice::ReadOnly)) << "the preview's PDF Export wrote nothing";
    EXPECT_TRUE(pdf.read(5) == "%PDF-");
}

TEST(StartUpDocumentTest, BadDocumentsAreShownAndEndWithStatusOne) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QString garbage = folder.filePath(QStringLiteral("garbage.fsn"));
    {
        QFile file(garbage);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("not a snapshot at all");
    }
    struct Case {
        TStartUpDocument document;
        QString messageStart;
    };
    const QString missing = folder.filePath(QStringLiteral("missing.fsn"));
    const Case cases[] = {
        {{TStartUpDocumentKind::Snapshot, missing}, "Cannot open file \"" + missing + "\""},
        {{TStartUpDocumentKind::Snapshot, garbage}, "Unexpected header code [110] found in report file."},
    };
    for (const Case &c : cases) {
        int previews = 0;
        const ScopedModalRunner runner(DrivingModalRunner([&](QDialog &) { ++previews; }));
        const StartUpRun run = RunStartUp(c.document);
        const std::string shown = c.document.FileName.toStdString();
        EXPECT_EQ(run.exitCode, 1) << shown;
        EXPECT_EQ(previews, 0) << shown << ": a window opened";
        EXPECT_EQ(run.mainWindowRuns, 0) << shown;
        ASSERT_EQ(run.messages.size(), 1u) << shown;
        EXPECT_EQ(run.messages[0].caption, "Fiscora 2025");
        EXPECT_EQ(run.messages[0].flags, 16);
        EXPECT_TRUE(QString::fromStdString(run.messages[0].text).startsWith(c.messageStart))
            << run.messages[0].text;
    }
}

} // namespace
} // namespace fiscora
