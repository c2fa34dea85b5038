#include "report/system/FoProject.h"
#include "FoProjectTestSupport.h"
#include "MsgBoxRecorder.h"
#include "report/core/FoErrors.h"
#include "report/system/FoSystem.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace fiscora;
using fiscora::test::FakeProjectManager;

namespace {

class FoProjectTest : public ::testing::Test {
protected:
    void SetUp() override {
        auto manager = std::make_unique<FakeProjectManager>();
        Manager = manager.get();
        Project = std::make_unique<TFoProject>(std::move(manager));
        ProjectPath = Dir.filePath(QStringLiteral("Amortix.fol"));
        QFile file(ProjectPath);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(
            "DeprReport|Depreciation Report|Tax\nSummary|Asset Summary|tax\nLetter|Cover Letter|Mail\n");
        file.close();
        Project->SetProjectFile(ProjectPath);
    }

    // A report system as a headless caller sets it up: no dialogs, the snapshot to a file.
    std::unique_ptr<TFoSystem> HeadlessSystem() {
        auto system = std::make_unique<TFoSystem>();
        system->SystemSetups = 0;
        system->SystemOptions = 0;
        system->DefaultDest = TReportDest::rdFile;
        system->DoNativeOutput = false;
        system->OutputFileName = Dir.filePath(QStringLiteral("out.fsn"));
        return system;
    }

    QTemporaryDir Dir;
    QString ProjectPath;
    FakeProjectManager *Manager = nullptr;
    std::unique_ptr<TFoProject> Project;
};

} // namespace

TEST_F(FoProjectTest, ProjectFileGetsTheExtensionOnlyWithoutADot) {
    const struct {
        const char *given;
        const char *stored;
    } cases[] = {
        {"/opt/fiscora/Amortix", "/opt/fiscora/Amortix.fol"},
        {"Amortix.fol", "Amortix.fol"},
        {"reports.v2/Amortix", "reports.v2/Amortix"},
        {"Amortix.xml", "Amortix.xml"},
        {"", ""},
    };
    for (const auto &test : cases) {
        Project->SetProjectFile(QString::fromUtf8(test.given));
        EXPECT_EQ(Project->ProjectFile(), QString::fromUtf8(test.stored)) << test.given;
    }
}

TEST_F(FoProjectTest, ParameterStoreReplacesRemovesAndIgnoresCase) {
    Project->SetParam(QStringLiteral("PropDesc"), QStringLiteral("Truck"));
    Project->SetParam(QStringLiteral("Cost"), QStringLiteral("$1.00"));
    Project->SetParam(QStringLiteral("Life"), QStringLiteral("5-Years"));
    EXPECT_EQ(Project->GetParam(QStringLiteral("cost")), QStringLiteral("$1.00"));
    EXPECT_EQ(Project->GetParam(QStringLiteral("Method")), QString());

    Project->SetParam(QStringLiteral("COST"), QStringLiteral("$2.00"));
    EXPECT_EQ(Project->Params().Lines(),
              QStringList({QStringLiteral("PropDesc=Truck"), QStringLiteral("COST=$2.00"),
                           QStringLiteral("Life=5-Years")}));

    Project->SetParam(QStringLiteral("Cost"), QString());
    EXPECT_EQ(Project->GetParam(QStringLiteral("Cost")), QString());
    EXPECT_EQ(Project->Params().Lines(),
              QStringList({QStringLiteral("PropDesc=Truck"), QStringLiteral("Life=5-Years")}));
    Project->SetParam(QStringLiteral("Unknown"), QString());
    EXPECT_EQ(Project->Params().Entries().size(), 2u);

    Project->ClearParams();
    EXPECT_TRUE(Project->Params().Entries().empty());
}

TEST_F(FoProjectTest, OpenAndCloseRaiseTheirEventsOnce) {
    std::vector<std::string> events;
    const auto record = [&](const char *name) {
        return [&events, name](TFoProject &project) {
            events.push_back(std::string(name) + (project.Active() ? "+" : "-"));
        };
    };
    Project->OnBeforeOpen = record("BeforeOpen");
    Project->OnAfterOpen = record("AfterOpen");
    Project->OnBeforeClose = record("BeforeClose");
    Project->OnAfterClose = record("AfterClose");

    Project->Open();
    Project->Open(); // already active: nothing
    EXPECT_EQ(Manager->Loads, 1);
    Project->Close();
    Project->Close(); // not active: nothing
    EXPECT_EQ(events, std::vector<std::string>({"BeforeOpen-", "AfterOpen+", "BeforeClose+", "AfterClose-"}));
    EXPECT_FALSE(Project->Active());
}

TEST_F(FoProjectTest, MissingProjectFileNamesTheExpandedPath) {
    QDir::setCurrent(Dir.path());
    ASSERT_TRUE(QDir(Dir.path()).mkdir(QStringLiteral("sub")));
    bool afterOpen = false;
    Project->OnAfterOpen = [&](TFoProject &) { afterOpen = true; };
    for (const char *given : {"Missing", "sub/../Missing.fol", "./sub/../Missing.fol"}) {
        Project->SetProjectFile(QString::fromUtf8(given));
        try {
            Project->Open();
            ADD_FAILURE() << given << ": no error";
        } catch (const EFolioException &error) {
            const QString expected =
                QStringLiteral("The following reporting project does not exist:\r\"%1\"")
                    .arg(QDir(Dir.path()).absoluteFilePath(QStringLiteral("Missing.fol")));
            EXPECT_EQ(error.what(), expected.toStdString()) << given;
        }
    }
    EXPECT_FALSE(Project->Active());
    EXPECT_FALSE(afterOpen);
}

TEST_F(FoProjectTest, EmbeddedImageIsUsedUnlessANewerFileIsPreferred) {
    const QDateTime fileTime = QFileInfo(ProjectPath).lastModified();
    const struct {
        const char *label;
        QDateTime stored;
        int answer;
        bool asked;
        const char *loaded;
    } cases[] = {
        {"image newer than the file", fileTime.addSecs(60), 6, false, "Embedded"},
        {"older image, user wants the file", fileTime.addSecs(-60), 6, true, "DeprReport"},
        {"older image, user keeps it", fileTime.addSecs(-60), 7, true, "Embedded"},
    };
    for (const auto &test : cases) {
        MsgBoxRecorder messages(test.answer);
        Project->Close();
        Project->SetEmbeddedProject("Embedded|Embedded Report|Tax\n", test.stored);
        ASSERT_TRUE(Project->SelectReport(QString::fromUtf8(test.loaded), false)) << test.label;
        EXPECT_TRUE(Project->Active()) << test.label;
        ASSERT_EQ(messages.messages.size(), test.asked ? 1u : 0u) << test.label;
        if (test.asked) {
            EXPECT_EQ(messages.messages[0].text,
                      QStringLiteral("The report project stored in the executable is older than the disk "
                                     "file\r\"%1\"\rDo you want to use the file on disk?")
                          .arg(ProjectPath)
                          .toStdString());
            EXPECT_EQ(messages.messages[0].flags, 4 | 32); // yes/no, question
        }
    }
}

TEST_F(FoProjectTest, SelectReportByNameOrFullNameIgnoringCase) {
    QStringList memo{QStringLiteral("earlier text")};
    Project->ReportDescToMemo(memo); // nothing loaded, nothing selected
    EXPECT_TRUE(memo.isEmpty());
    EXPECT_EQ(Project->ReportName(), QString());
    EXPECT_TRUE(Project->SelectReport(QStringLiteral("deprreport"), false));
    EXPECT_TRUE(Project->Active());
    EXPECT_EQ(Project->ReportName(), QStringLiteral("DeprReport"));
    EXPECT_EQ(Project->ReportFullName(), QStringLiteral("Depreciation Report"));
    EXPECT_EQ(Project->ReportDesc(), QStringLiteral("About DeprReport"));
    memo = QStringList{QStringLiteral("earlier text")};
    Project->ReportDescToMemo(memo);
    EXPECT_EQ(memo, QStringList{QStringLiteral("About DeprReport")});

    EXPECT_TRUE(Project->SelectReport(QStringLiteral("COVER LETTER"), true));
    EXPECT_EQ(Project->ReportName(), QStringLiteral("Letter"));
    EXPECT_FALSE(Project->SelectReport(QStringLiteral("Cover Letter"), false));
    EXPECT_FALSE(Project->SelectReport(QStringLiteral("Letter"), true));

    QStringList list;
    Project->GetReportList(list, true);
    EXPECT_EQ(list, QStringList({QStringLiteral("Depreciation Report"), QStringLiteral("Asset Summary"),
                                 QStringLiteral("Cover Letter")}));
    Project->GetReportCategoryList(list, QStringLiteral("TAX;Other"), false);
    EXPECT_EQ(list, QStringList({QStringLiteral("DeprReport"), QStringLiteral("Summary")}));
}

TEST_F(FoProjectTest, ExecuteRunsACopyOfTheParametersAndRestoresTheEngine) {
    auto system = HeadlessSystem();
    Project->SetEngine(system.get());
    ASSERT_TRUE(Project->SelectReport(QStringLiteral("DeprReport"), false));
    Project->SetParam(QStringLiteral("Cost"), QStringLiteral("$5.00"));
    bool previousOnPrintCalled = false;
    system->OnPrint = [&](TBaseReport &) { previousOnPrintCalled = true; };
    system->SystemPrinter.SetUnitsFactor(25.4);

    QString seenCost;
    double seenUnits = 0;
    *Manager->DrawRoutine = [&](TBaseReport &canvas, const TFoParams &params) {
        seenCost = params.GetParam(QStringLiteral("cost"));
        seenUnits = canvas.UnitsFactor();
        Project->SetParam(QStringLiteral("Cost"), QStringLiteral("$9.00")); // does not reach this run
        canvas.PrintLeft(params.GetParam(QStringLiteral("Cost")), 1);
    };
    Project->Execute();
    EXPECT_EQ(seenCost, QStringLiteral("$5.00"));
    EXPECT_DOUBLE_EQ(seenUnits, 1.0);
    EXPECT_FALSE(previousOnPrintCalled);
    EXPECT_TRUE(QFile::exists(system->OutputFileName));

    // After an error in the drawing code the engine is back as it was, too.
    *Manager->DrawRoutine = [](TBaseReport &, const TFoParams &) {
        throw EFolioReport(QStringLiteral("boom"));
    };
    EXPECT_THROW(Project->Execute(), EFolioReport);
    EXPECT_DOUBLE_EQ(system->SystemPrinter.UnitsFactor(), 25.4);
    EXPECT_EQ(system->SystemPrinter.Units(), TPrintUnits::unMM);
    ASSERT_TRUE(system->OnPrint);
    TFoSnapshotWriter probe;
    system->OnPrint(probe);
    EXPECT_TRUE(previousOnPrintCalled);
    EXPECT_FALSE(system->OnBeforePrint);
}

TEST_F(FoProjectTest, ExecuteWithoutEngineOrReportFailsClearly) {
    EXPECT_THROW(Project->Execute(), EFolioException); // nothing selected
    ASSERT_TRUE(Project->SelectReport(QStringLiteral("DeprReport"), false));
    EXPECT_THROW(Project->Execute(), EFolioException); // no engine
    {
        auto system = HeadlessSystem();
        Project->SetEngine(system.get());
        EXPECT_EQ(Project->Engine(), system.get());
    }
    EXPECT_EQ(Project->Engine(), nullptr); // cleared with the report system
}

TEST_F(FoProjectTest, ExecuteReportRunsOnlyAFoundReport) {
    auto system = HeadlessSystem();
    Project->SetEngine(system.get());
    int runs = 0;
    *Manager->DrawRoutine = [&](TBaseReport &, const TFoParams &) { ++runs; };
    Project->ExecuteReport(QStringLiteral("NoSuchReport"));
    EXPECT_EQ(runs, 0);
    Project->ExecuteReport(QStringLiteral("summary"));
    EXPECT_EQ(runs, 1);
    EXPECT_EQ(Project->ReportName(), QStringLiteral("Summary"));
}

TEST_F(FoProjectTest, SaveAndLoadGoThroughTheProjectManager) {
    Project->Open();
    const QString copy = Dir.filePath(QStringLiteral("copy.fol"));
    Project->SaveToFile(copy);
    Project->Close();
    Project->LoadFromFile(copy);
    EXPECT_TRUE(Project->Active());
    QStringList list;
    Project->GetReportList(list, false);
    EXPECT_EQ(list, QStringList(
                        {QStringLiteral("DeprReport"), QStringLiteral("Summary"), QStringLiteral("Letter")}));
    EXPECT_THROW(Project->LoadFromFile(Dir.filePath(QStringLiteral("none.fol"))), EFolioException);
    Project->New();
    Project->GetReportList(list, false);
    EXPECT_TRUE(list.isEmpty());
}
