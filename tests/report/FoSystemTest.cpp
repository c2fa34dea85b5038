#include "report/system/FoSystem.h"
#include "FakePrinterSource.h"
#include "MsgBoxRecorder.h"
#include "ScopeExit.h"
#include "report/core/FoErrors.h"
#include "report/playback/FoRender.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <sys/stat.h>

using namespace fiscora;

namespace {

QStringList TempSnapshots() {
    return QDir(QDir::tempPath()).entryList({QStringLiteral("FO*")}, QDir::Files);
}

// Records every override call as "Setup:0" etc. (the mode's ordinal).
struct OverrideLog {
    std::vector<std::string> calls;

    TOverrideEvent Recorder(const char *name, std::function<void(TFoSystem &, TOverrideMode)> extra = {}) {
        return [this, name, extra](TFoSystem &system, TOverrideMode mode, std::unique_ptr<QObject> &form) {
            calls.push_back(std::string(name) + ":" + std::to_string(int(mode)));
            if (mode == TOverrideMode::omCreate)
                form = std::make_unique<QObject>();
            if (mode == TOverrideMode::omFree)
                form.reset();
            if (extra)
                extra(system, mode);
        };
    }
};

} // namespace

TEST(FoSystemSettings, DefaultsAndClamps) {
    TFoSystem system;
    EXPECT_EQ(system.SystemSetups, 511);
    EXPECT_EQ(system.SystemOptions,
              soShowStatus | soAllowPrintFromPreview | soAllowSaveFromPreview | soPreviewModal);
    EXPECT_EQ(system.DefaultDest, TReportDest::rdPreview);
    EXPECT_TRUE(system.DoNativeOutput);
    EXPECT_EQ(system.SystemPrinter.Title, QStringLiteral("Folio Report"));
    EXPECT_EQ(system.SystemPrinter.StatusFormat, QStringLiteral("Printing page %p"));
    EXPECT_EQ(system.SystemPrinter.LastPage, 9999);
    EXPECT_EQ(system.SystemFiler.StatusFormat, QStringLiteral("Generating page %p"));
    EXPECT_EQ(system.SystemFiler.StreamMode, TStreamMode::smMemory);
    EXPECT_EQ(system.SystemFiler.AccuracyMethod, TAccuracyMethod::amPositioning);
    EXPECT_EQ(system.SystemPreview.FormWidth, 615);
    EXPECT_EQ(system.SystemPreview.FormHeight, 450);

    const struct {
        double given;
        double stored;
    } zooms[] = {{5, 10}, {500, 200}, {10, 10}, {200, 200}, {75, 75}};
    for (const auto &zoom : zooms) {
        system.SystemPreview.SetZoomFactor(zoom.given);
        EXPECT_DOUBLE_EQ(system.SystemPreview.ZoomFactor(), zoom.stored) << zoom.given;
    }
    system.SystemPrinter.SetTabShade(-5);
    EXPECT_EQ(system.SystemPrinter.TabShade(), 0);
    system.SystemPrinter.SetTabShade(150);
    EXPECT_EQ(system.SystemPrinter.TabShade(), 100);

    system.SystemPrinter.SetUnitsFactor(25.4);
    EXPECT_EQ(system.SystemPrinter.Units(), TPrintUnits::unMM);
    system.SystemPrinter.SetUnitsFactor(25.41);
    EXPECT_EQ(system.SystemPrinter.Units(), TPrintUnits::unUser);
    system.SystemPrinter.SetUnitsFactor(0);
    EXPECT_DOUBLE_EQ(system.SystemPrinter.UnitsFactor(), 25.41);
}

TEST(FoSystemSettings, MonochromeAndShadowsRefuseEachOther) {
    MsgBoxRecorder messages;
    TSystemPreview preview;
    preview.SetShadowDepth(5);
    preview.SetMonochrome(true);
    EXPECT_FALSE(preview.Monochrome());
    preview.SetShadowDepth(0);
    preview.SetMonochrome(true);
    EXPECT_TRUE(preview.Monochrome());
    preview.SetShadowDepth(3);
    EXPECT_EQ(preview.ShadowDepth(), 0);
    ASSERT_EQ(messages.messages.size(), 2u);
    EXPECT_EQ(messages.messages[0].text,
              "Monochrome not allowed while shadows are in effect.\rChange ShadowDepth to 0 first");
    EXPECT_EQ(messages.messages[1].text,
              "Shadows not allowed while monochrome in effect.\rChange Monochrome to false first");
    EXPECT_EQ(messages.messages[0].flags, 0);
}

TEST(FoSystemJob, CancelledSetupEndsTheJobBeforeGeneration) {
    TFoSystem system;
    OverrideLog log;
    system.OverrideSetup = log.Recorder("Setup", [](TFoSystem &s, TOverrideMode mode) {
        if (mode == TOverrideMode::omShow)
            s.Aborted = true; // Cancel
    });
    system.OverrideStatus = log.Recorder("Status");
    system.OverridePreview = log.Recorder("Preview");
    bool printed = false;
    system.OnPrint = [&](TBaseReport &) { printed = true; };
    system.Execute();
    EXPECT_TRUE(system.Aborted);
    EXPECT_FALSE(printed);
    EXPECT_EQ(log.calls, std::vector<std::string>({"Setup:0", "Setup:1", "Setup:2", "Setup:3"}));
}

TEST(FoSystemJob, FullJobCallsTheOverridesInOrder) {
    TFoSystem system;
    OverrideLog log;
    bool previewSawSnapshot = false;
    system.OverrideSetup = log.Recorder("Setup");
    system.OverrideStatus = log.Recorder("Status", [](TFoSystem &s, TOverrideMode mode) {
        if (mode == TOverrideMode::omShow) {
            EXPECT_NE(s.BaseReport(), nullptr);
        }
    });
    system.OverridePreview = log.Recorder("Preview", [&](TFoSystem &s, TOverrideMode mode) {
        if (mode == TOverrideMode::omShow)
            previewSawSnapshot = s.Stream() != nullptr && s.Stream()->size() > 0;
    });
    system.OnPrint = [](TBaseReport &canvas) { canvas.PrintLeft(QStringLiteral("Hello"), 1); };
    system.Execute();
    EXPECT_FALSE(system.Aborted);
    EXPECT_TRUE(previewSawSnapshot);
    EXPECT_EQ(system.Stream(), nullptr); // the memory snapshot is freed at the end
    EXPECT_EQ(log.calls,
              std::vector<std::string>({"Setup:0", "Setup:1", "Setup:2", "Setup:3", "Status:0", "Status:1",
                                        "Status:3", "Preview:0", "Preview:1", "Preview:2", "Preview:3"}));
}

TEST(FoSystemJob, NoGenerateSkipsGeneration) {
    TFoSystem system;
    system.SystemSetups = 0;
    system.SystemOptions = soNoGenerate;
    OverrideLog log;
    system.OverrideStatus = log.Recorder("Status");
    system.OverridePreview = log.Recorder("Preview");
    bool printed = false;
    system.OnPrint = [&](TBaseReport &) { printed = true; };
    system.Execute();
    system.Generate();
    EXPECT_FALSE(printed);
    EXPECT_EQ(log.calls, std::vector<std::string>({"Preview:0", "Preview:1", "Preview:2", "Preview:3"}));
}

TEST(FoSystemJob, DefaultDialogsFailClearlyWhenNoneAreAvailable) {
    TFoSystem system;
    system.OnPrint = [](TBaseReport &) {};
    try {
        system.Execute();
        FAIL() << "no error";
    } catch (const EFolioReport &error) {
        EXPECT_STREQ(
            error.what(),
            "The output options dialog is not available; clear ssAllowSetup or assign OverrideSetup");
    }
    system.SystemSetups = 0;
    EXPECT_THROW(system.Execute(), EFolioReport); // soShowStatus without a status window
    system.SystemOptions = 0;
    EXPECT_THROW(system.Execute(), EFolioReport); // preview without OverridePreview
}

TEST(FoSystemJob, TemporarySnapshotIsDeletedEvenAfterAnError) {
    // A temporary folder of its own: other test programs make snapshots meanwhile.
    QTemporaryDir temp;
    ASSERT_TRUE(temp.isValid());
    const bool tempWasSet = qEnvironmentVariableIsSet("TMPDIR");
    const QByteArray previousTemp = qgetenv("TMPDIR");
    qputenv("TMPDIR", QFile::encodeName(temp.path()));
    ScopeExit restoreTemp([&] {
        if (tempWasSet)
            qputenv("TMPDIR", previousTemp);
        else
            qunsetenv("TMPDIR");
    });
    ASSERT_EQ(QDir(QDir::tempPath()).canonicalPath(), QDir(temp.path()).canonicalPath());
    TFoSystem system;
    system.SystemSetups = 0;
    system.SystemOptions = 0;
    system.SystemFiler.StreamMode = TStreamMode::smTempFile;
    QString seenFile;
    system.OverridePreview = [&](TFoSystem &s, TOverrideMode mode, std::unique_ptr<QObject> &) {
        if (mode == TOverrideMode::omShow) {
            seenFile = s.SystemFiler.FileName;
            EXPECT_TRUE(QFile::exists(seenFile));
        }
    };
    const QStringList before = TempSnapshots();
    system.OnPrint = [](TBaseReport &canvas) { canvas.PrintLeft(QStringLiteral("Page"), 1); };
    system.Execute();
    ASSERT_FALSE(seenFile.isEmpty());
    EXPECT_FALSE(QFile::exists(seenFile));

    system.OnPrint = [](TBaseReport &canvas) {
        canvas.PrintLeft(QStringLiteral("Page"), 1);
        throw EFolioReport(QStringLiteral("drawing failed"));
    };
    EXPECT_THROW(system.Execute(), EFolioReport);
    EXPECT_EQ(TempSnapshots(), before);
}

// A snapshot file is the output of a job that ends unaborted, with the permissions the umask gives a
// new file; a failed or cancelled job leaves no file, or the earlier one as it was.
TEST(FoSystemJob, AFailedOrCancelledJobLeavesNoSnapshotFileOrTheEarlierOneAsItWas) {
    const struct {
        const char *name;
        std::function<void(TBaseReport &)> print;
        bool raises;
    } cases[] = {
        {"fails",
         [](TBaseReport &canvas) {
             canvas.PrintLeft(QStringLiteral("Second"), 1);
             throw EFolioReport(QStringLiteral("drawing failed"));
         },
         true},
        {"is cancelled",
         [](TBaseReport &canvas) {
             canvas.PrintLeft(QStringLiteral("Second"), 1);
             canvas.Abort();
         },
         false},
    };
    for (const auto &c : cases) {
        QTemporaryDir dir;
        TFoSystem system;
        system.SystemSetups = 0;
        system.SystemOptions = 0;
        system.DefaultDest = TReportDest::rdFile;
        system.DoNativeOutput = false;
        system.OutputFileName = dir.filePath(QStringLiteral("report.fsn"));
        const auto runSecond = [&] {
            system.OnPrint = c.print;
            if (c.raises)
                EXPECT_THROW(system.Execute(), EFolioReport) << c.name;
            else
                system.Execute();
        };
        runSecond();
        EXPECT_TRUE(QDir(dir.path()).isEmpty(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot))
            << c.name;

        system.OnPrint = [](TBaseReport &canvas) { canvas.PrintLeft(QStringLiteral("Total"), 1); };
        system.Execute();
        QFile written(system.OutputFileName);
        ASSERT_TRUE(written.open(QIODevice::ReadOnly)) << c.name;
        const QByteArray first = written.readAll();
        written.close();
        EXPECT_GT(first.size(), 0) << c.name;
        const mode_t umask = ::umask(0);
        ::umask(umask);
        struct stat status {};
        ASSERT_EQ(::stat(QFile::encodeName(system.OutputFileName).constData(), &status), 0);
        EXPECT_EQ(status.st_mode & 0777, 0666 & ~umask) << c.name;

        runSecond();
        ASSERT_TRUE(written.open(QIODevice::ReadOnly)) << c.name;
        EXPECT_EQ(written.readAll(), first) << c.name;
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"report.fsn"})
            << c.name;
    }
}

TEST(FoSystemJob, InitPrinterAndFilerReachTheWriter) {
    TFoSystem system;
    system.SystemSetups = 0;
    system.SystemOptions = 0;
    system.SystemPrinter.Title = QStringLiteral("Fiscora");
    system.SystemPrinter.Copies = 2;
    system.SystemPrinter.SetTabShade(40);
    system.SystemPrinter.Orientation = TOrientation::poLandScape;
    system.OverridePreview = [](TFoSystem &, TOverrideMode, std::unique_ptr<QObject> &) {};
    QString title, status;
    int copies = 0, shade = 0;
    double width = 0;
    system.OnPrint = [&](TBaseReport &canvas) {
        title = canvas.Title();
        status = canvas.StatusFormat();
        copies = canvas.Copies();
        shade = canvas.TabShade();
        width = canvas.PageWidth();
    };
    system.Execute();
    EXPECT_EQ(title, QStringLiteral("Fiscora"));
    EXPECT_EQ(status, QStringLiteral("Generating page %p"));
    EXPECT_EQ(copies, 2);
    EXPECT_EQ(shade, 40);
    EXPECT_DOUBLE_EQ(width, 11.0);
}

TEST(FoSystemJob, RenderObjectPlaysTheSnapshotIntoItsOutputFile) {
    struct PageCounter : TFoRender {
        int pages = 0;
        QString output;
        void PageBegin() override {
            ++pages;
            output = OutputFileName();
        }
    } renderer;
    TFoSystem system;
    system.SystemSetups = 0;
    system.SystemOptions = 0;
    system.DefaultDest = TReportDest::rdFile;
    system.DoNativeOutput = false;
    system.RenderObject = &renderer;
    system.OutputFileName = QStringLiteral("/tmp/report.pdf");
    system.OnPrint = [](TBaseReport &canvas) {
        canvas.PrintLeft(QStringLiteral("One"), 1);
        canvas.NewPage();
        canvas.PrintLeft(QStringLiteral("Two"), 1);
    };
    system.Execute();
    EXPECT_EQ(renderer.pages, 2);
    EXPECT_EQ(renderer.output, QStringLiteral("/tmp/report.pdf"));
    EXPECT_FALSE(QFile::exists(system.OutputFileName)); // the render object writes it, not the system
}

TEST(FoSystemJob, UserStreamModeWithoutAStreamIsRefused) {
    TFoSystem system;
    system.SystemSetups = 0;
    system.SystemOptions = 0;
    system.SystemFiler.StreamMode = TStreamMode::smUser;
    system.OverridePreview = [](TFoSystem &, TOverrideMode, std::unique_ptr<QObject> &) {};
    system.OnPrint = [](TBaseReport &) {};
    try {
        system.Execute();
        FAIL() << "no error";
    } catch (const EFolioReport &error) {
        EXPECT_STREQ(error.what(), "StreamMode is smUser but Stream is nil");
    }
}

TEST(FoSystemJob, GenerateLeavesTheSnapshotWithTheFilerAndShowsNothing) {
    TFoSystem system; // default setups and options: Generate still shows no dialog
    bool statusShown = false;
    system.OverrideStatus = [&](TFoSystem &, TOverrideMode, std::unique_ptr<QObject> &) {
        statusShown = true;
    };
    system.OnPrint = [](TBaseReport &canvas) { canvas.PrintLeft(QStringLiteral("Only generated"), 1); };
    system.Generate();
    ASSERT_NE(system.Stream(), nullptr);
    EXPECT_GT(system.Stream()->size(), 0);
    EXPECT_FALSE(system.Aborted);
    EXPECT_FALSE(statusShown);

    // A temporary snapshot made by Generate is the caller's: a later job does not delete it.
    system.SystemFiler.StreamMode = TStreamMode::smTempFile;
    system.Generate();
    const QString generated = system.SystemFiler.FileName;
    EXPECT_TRUE(QFile::exists(generated));
    system.SystemFiler.StreamMode = TStreamMode::smMemory;
    system.SystemSetups = 0;
    system.SystemOptions = 0;
    system.OverridePreview = [](TFoSystem &, TOverrideMode, std::unique_ptr<QObject> &) {};
    system.Execute();
    EXPECT_TRUE(QFile::exists(generated));
    QFile::remove(generated);
}

namespace fiscora {
namespace {

// The report system and the printer renderer share one rule: copies become separate passes whenever
// the printer cannot make them all, also when it makes some (1 < MaxCopies < Copies).
TEST(FoSystemJob, CopiesArePassesWheneverThePrinterCannotMakeThemAll) {
    struct Case {
        int maxCopies;
        int copies;
        bool passes;
    };
    for (const Case &c :
         {Case{1, 1, false}, Case{1, 3, true}, Case{2, 3, true}, Case{3, 3, false}, Case{5, 3, false}}) {
        auto source = std::make_unique<TFakePrinterSource>();
        source->MaximumCopies = c.maxCopies;
        auto previous =
            TFoPrinterDevice::ReplaceInstance(std::make_unique<TFoPrinterDevice>(std::move(source)));
        ScopeExit restore([&] { TFoPrinterDevice::ReplaceInstance(std::move(previous)); });
        TFoSystem system;
        system.SystemSetups = 0;
        system.SystemOptions = 0;
        system.SystemPrinter.Copies = c.copies;
        system.OverridePreview = [](TFoSystem &, TOverrideMode, std::unique_ptr<QObject> &) {};
        system.OnPrint = [](TBaseReport &canvas) { canvas.PrintLeft(QStringLiteral("Total"), 1); };
        system.Execute();
        EXPECT_EQ(system.ForceMultiPrint(), c.passes) << c.maxCopies << " " << c.copies;
        EXPECT_EQ(PrintsCopiesAsPasses(c.copies, c.maxCopies), c.passes);
    }
}

} // namespace
} // namespace fiscora
