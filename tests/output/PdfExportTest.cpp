// The preview's PDF export routine on the 75-row automobile report.
#include "PdfTestSupport.h"
#include "ReportFixtures.h"

#include "ReportJob.h"
#include "ScheduleRecorder.h"
#include "output/html/FoHtmlExport.h"
#include "output/pdf/PdfExport.h"
#include "report/core/FoErrors.h"
#include "report/playback/FoRender.h"
#include "report/system/FoSystem.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

using namespace fiscora;
using namespace fiscora::test;

namespace {} // namespace

TEST(PdfExport, TheSeventyFiveRowReportGivesBackEveryAmountOfItsSchedule) {
    ScheduleRecorder pane;
    QByteArray snapshot =
        ReportSnapshot(QStringLiteral(FISCORA_SOURCE_DIR "/data/Amortix.fol"), LongestSchedule(), pane);
    ASSERT_FALSE(snapshot.isEmpty());
    QBuffer input(&snapshot);
    input.open(QIODevice::ReadOnly);
    QTemporaryDir dir;
    const QString written = ExportSnapshotToPdf(input, dir.filePath(QStringLiteral("car")));
    EXPECT_EQ(written, dir.filePath(QStringLiteral("car.pdf")));
    QFile file(written);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray pdf = file.readAll();
    ExpectQpdfCheckPasses(pdf);
    EXPECT_TRUE(pdf.contains("/Count 3\r\n"));
    const QString text = PdfToText(pdf);
    int amounts = 0;
    for (const auto &[name, value] : pane.params()) {
        const QString expected = QString::fromStdString(value);
        EXPECT_TRUE(text.contains(expected)) << name << " = " << value;
        amounts += name.rfind("PerDepr", 0) == 0 ? 1 : 0;
    }
    EXPECT_EQ(amounts, 75);
    EXPECT_TRUE(text.contains(QLatin1String("Company car - sales department")));
    EXPECT_TRUE(text.contains(QLatin1String("$145,000.00")));
    // Only the finished file exists.
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList({"car.pdf"}));
}

TEST(PdfExport, ThePreviewSettingsReachTheDocument) {
    QByteArray snapshot =
        GenerateSnapshot([](TBaseReport &report) { report.PrintXY(1, 1, QStringLiteral("x")); });
    QBuffer input(&snapshot);
    input.open(QIODevice::ReadOnly);
    QByteArray pdf;
    QBuffer output(&pdf);
    output.open(QIODevice::WriteOnly);
    WriteSnapshotPdf(input, output);
    const QStringList lines = Lines(pdf);
    for (const char *line :
         {"/Title (Fiscora 2025)", "/Author (Veltrano)", "/Subject (Fiscora 2025 Adobe Portable Document)",
          "/Creator (Veltrano)", "/Producer (Veltrano)"})
        EXPECT_TRUE(lines.contains(QString::fromLatin1(line))) << line;
    EXPECT_FALSE(pdf.contains("/FontFile"));

    const auto format = CreatePdfFormat();
    TFoRenderPDF &renderer = *format;
    EXPECT_EQ(renderer.DisplayName(), "Adobe Portable Document (PDF)");
    EXPECT_EQ(renderer.FileExtension(), "*.pdf");
    EXPECT_FALSE(renderer.EmbedFonts);
    EXPECT_EQ(renderer.ImageQuality, 90);
    EXPECT_TRUE(renderer.BufferDocument);
    EXPECT_FALSE(renderer.DisableHyperlinks);
    // Registered under its display name while it exists.
    EXPECT_TRUE(RendererFilter().contains(QLatin1String("Adobe Portable Document (PDF)|*.pdf")));
}

TEST(PdfExport, AFailedExportLeavesNoFileAndAnExistingFileUntouched) {
    QTemporaryDir dir;
    const QString name = dir.filePath(QStringLiteral("old.pdf"));
    QFile old(name);
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("previous");
    old.close();
    QByteArray broken("\x5a\x10\x27garbage", 10);
    QBuffer input(&broken);
    input.open(QIODevice::ReadOnly);
    EXPECT_THROW(ExportSnapshotToPdf(input, name), std::exception);
    QFile check(name);
    ASSERT_TRUE(check.open(QIODevice::ReadOnly));
    EXPECT_EQ(check.readAll(), QByteArray("previous"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList({"old.pdf"}));
}

TEST(PdfExport, TheReportSystemsFileDestinationRendersThroughTheRendererToo) {
    // As the Output Options dialog would choose it: the PDF renderer as the render object.
    TReportJob job;
    job.OpenTemplate(QStringLiteral(FISCORA_SOURCE_DIR "/data/Amortix.fol"), QStringLiteral("DeprReport"));
    TFoSystem &system = job.System();
    system.SystemSetups = 0;
    system.SystemOptions = 0;
    TFoRenderPDF renderer;
    ApplyPreviewPdfSettings(renderer);
    QTemporaryDir dir;
    system.DefaultDest = TReportDest::rdFile;
    system.DoNativeOutput = false;
    system.RenderObject = &renderer;
    system.OutputFileName = dir.filePath(QStringLiteral("direct"));
    ScheduleRecorder pane;
    job.Print(LongestSchedule(), pane);
    QFile file(dir.filePath(QStringLiteral("direct.pdf")));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray pdf = file.readAll();
    ExpectQpdfCheckPasses(pdf);
    EXPECT_TRUE(PdfToText(pdf).contains(QLatin1String("$145,000.00")));
}

TEST(PdfExport, PdfAndHtmlBothRefuseAReportWhosePagesAreNumberedOutOfStreamOrder) {
    QFile backwards(QStringLiteral(FISCORA_SOURCE_DIR "/tests/report/data/pages-numbered-backwards.fsn"));
    ASSERT_TRUE(backwards.open(QIODevice::ReadOnly));
    const std::function<void(QIODevice &, const QString &)> exports[] = {
        [](QIODevice &snapshot, const QString &folder) { ExportSnapshotToPdf(snapshot, folder + "/x.pdf"); },
        [](QIODevice &snapshot, const QString &folder) {
            ExportSnapshotToHtml(snapshot, folder + "/x.html");
        },
    };
    for (const auto &exportTo : exports) {
        QTemporaryDir dir;
        try {
            exportTo(backwards, dir.path());
            ADD_FAILURE() << "exported";
        } catch (const EFolioReport &error) {
            EXPECT_STREQ(error.what(), "Page 1 of 3 is missing from the report file.");
        }
        EXPECT_TRUE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).isEmpty());
    }
}

TEST(PdfExport, ASymbolicLinkIsRefusedAndKept) {
    QTemporaryDir dir;
    QFile target(dir.filePath(QStringLiteral("target.pdf")));
    ASSERT_TRUE(target.open(QIODevice::WriteOnly) && target.write("older") == 5);
    target.close();
    ASSERT_TRUE(QFile::link(QStringLiteral("target.pdf"), dir.filePath(QStringLiteral("link.pdf"))));
    QByteArray snapshot =
        GenerateSnapshot([](TBaseReport &report) { report.PrintXY(1, 1, QStringLiteral("x")); });
    QBuffer input(&snapshot);
    input.open(QIODevice::ReadOnly);
    try {
        ExportSnapshotToPdf(input, dir.filePath(QStringLiteral("link.pdf")));
        ADD_FAILURE() << "exported over the link";
    } catch (const EFolioReport &error) {
        EXPECT_TRUE(QString::fromUtf8(error.what())
                        .endsWith("It is a symbolic link, which an export never replaces."))
            << error.what();
    }
    EXPECT_TRUE(QFileInfo(dir.filePath(QStringLiteral("link.pdf"))).isSymLink());
    ASSERT_TRUE(target.open(QIODevice::ReadOnly));
    EXPECT_EQ(target.readAll(), "older");
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
              QStringList({"link.pdf", "target.pdf"}));
}
