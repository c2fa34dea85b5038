#include "ReportJob.h"
#include "ScheduleRecorder.h"
#include "ToolBoxExceptions.h"
#include "report/core/FoErrors.h"
#include "report/system/FoProject.h"
#include "report/system/FoSystem.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <stdexcept>

using namespace fiscora;

namespace {

const QString kTemplate = QStringLiteral(FISCORA_SOURCE_DIR "/data/Amortix.fol");

AssetInputs Furniture() {
    AssetInputs inputs;
    inputs.description = "Office desk";
    inputs.placedInService = "03/01/2026";
    inputs.cost = 1000;
    inputs.fiscalYearEnd = "12/31/2026";
    return inputs;
}

// A job without dialogs whose preview records the parameters the report ran with.
struct RecordingJob {
    TReportJob job;
    QStringList paramsAtPreview;
    int previews = 0;

    RecordingJob() {
        job.OpenTemplate(kTemplate, QStringLiteral("DeprReport"));
        TFoSystem &system = job.System();
        system.SystemSetups = 0;
        system.SystemOptions = 0;
        system.OverridePreview = [this](TFoSystem &, TOverrideMode mode, std::unique_ptr<QObject> &) {
            if (mode != TOverrideMode::omShow)
                return;
            ++previews;
            paramsAtPreview = job.Project().Params().Lines();
        };
    }
};

} // namespace

TEST(ReportJob, SettingsAreTheApplicationsOwn) {
    TReportJob job;
    const TFoSystem &system = job.System();
    EXPECT_EQ(system.TitleSetup, QStringLiteral("Fiscora Output Options"));
    EXPECT_EQ(system.TitleStatus, QStringLiteral("Fiscora Report Status"));
    EXPECT_EQ(system.TitlePreview, QStringLiteral("Fiscora Report Preview"));
    EXPECT_EQ(system.SystemPrinter.Title, QStringLiteral("Fiscora"));
    EXPECT_EQ(system.SystemPreview.FormState, TFormState::fsMaximized);
    EXPECT_DOUBLE_EQ(system.SystemPreview.MarginPercent, 2.5);
    EXPECT_EQ(system.SystemPreview.ShadowDepth(), 5);
    EXPECT_DOUBLE_EQ(system.SystemPreview.ZoomFactor(), 100);
    EXPECT_EQ(system.SystemSetups, AllSystemSetups); // dialogs stay as the defaults have them
    EXPECT_EQ(job.Project().Engine(), &job.System());
}

TEST(ReportJob, ReportRunsWithRowParametersThenInputsInTheCommandsOrder) {
    RecordingJob recording;
    ScheduleRecorder pane;
    AssetInputs inputs = Furniture();
    recording.job.Print(inputs, pane);

    ASSERT_EQ(recording.previews, 1);
    const QStringList &params = recording.paramsAtPreview;
    const qsizetype firstInput = params.indexOf(QStringLiteral("PropDesc=Office desk"));
    ASSERT_GT(firstInput, 0) << params.join(u'|').toStdString();
    EXPECT_TRUE(params.front().startsWith(QStringLiteral("YearEnd1=")));
    EXPECT_EQ(params.mid(firstInput),
              QStringList({"PropDesc=Office desk", "PropType=Furniture, Equipment Etc.", "Date=03/01/2026",
                           "Cost=$1,000.00", "Method=MACRS", "Convention=Half-Year", "Life=5-Years"}));
    EXPECT_FALSE(pane.lines().empty()); // the pane shows the schedule the report prints
    EXPECT_TRUE(recording.job.Project().Params().Entries().empty());
}

TEST(ReportJob, ValidationFailureRunsNoReportAndSetsNoInputParameter) {
    RecordingJob recording;
    ScheduleRecorder pane;
    AssetInputs inputs = Furniture();
    inputs.fiscalYearEnd = "  /  /    ";
    EXPECT_THROW(recording.job.Print(inputs, pane), EFieldException);
    EXPECT_EQ(recording.previews, 0);
    EXPECT_TRUE(recording.job.Project().GetParam(QStringLiteral("PropDesc")).isEmpty());
}

TEST(ReportJob, FailedReportStillClearsParametersAndReturnsHome) {
    RecordingJob recording;
    QTemporaryDir home, elsewhere;
    ASSERT_TRUE(home.isValid() && elsewhere.isValid());
    const QString previous = QDir::currentPath();
    recording.job.HomeFolder = home.path() + u'/';
    recording.job.System().OverridePreview = [&](TFoSystem &, TOverrideMode mode,
                                                 std::unique_ptr<QObject> &) {
        if (mode != TOverrideMode::omShow)
            return;
        QDir::setCurrent(elsewhere.path()); // as a file dialog of the preview may do
        throw EFolioReport(QStringLiteral("preview failed"));
    };
    ScheduleRecorder pane;
    EXPECT_THROW(recording.job.Print(Furniture(), pane), EFolioReport);
    const QString current = QDir::currentPath();
    QDir::setCurrent(previous);
    EXPECT_EQ(QDir(current).canonicalPath(), QDir(home.path()).canonicalPath());
    EXPECT_TRUE(recording.job.Project().Params().Entries().empty());
}

TEST(ReportJob, MissingReportIsNamedWithTheTemplate) {
    TReportJob job;
    try {
        job.OpenTemplate(kTemplate, QStringLiteral("NoSuchReport"));
        FAIL() << "no error";
    } catch (const EFolioException &error) {
        EXPECT_NE(std::string(error.what()).find("has no report \"NoSuchReport\""), std::string::npos);
    }
}
