#include "CheckTemplateLayout.h"

#include "TemplateProjectManager.h"
#include "TemplateReader.h"
#include "TemplateWriter.h"
#include "report/core/FoErrors.h"
#include "report/playback/FoRender.h"
#include "report/system/FoProject.h"
#include "report/system/FoSystem.h"

#include <QBuffer>
#include <QImage>
#include <QTemporaryDir>

namespace fiscora::fuzz {

namespace {

// Reports past these are loaded and saved but not laid out: each one costs a whole report job.
constexpr qsizetype LaidOutReports = 4;
// Enough rows to break a detail band of a fraction of an inch across sheets; more would make each run
// of the fuzzer slower than it finds new paths.
constexpr int DetailRows = 10;

// What playback of a report's snapshot reached.
class PlaybackEnd : public TFoRender {
public:
    int Pages = 0;
    bool DocumentEnded = false;

    void PageBegin() override { ++Pages; }
    void DocEnd() override { DocumentEnded = true; }
};

// The template's folder, made once per process and removed at its end.
class TemplateFolder {
public:
    TemplateFolder() {
        QImage logo(6, 4, QImage::Format_RGB32);
        logo.fill(Qt::darkCyan);
        logo.setPixel(0, 0, qRgb(255, 255, 0));
        logo.save(FFolder.filePath(QStringLiteral("logo.png")), "PNG");
    }
    QString TemplateFile() const { return FFolder.filePath(QStringLiteral("fuzz.fol")); }

private:
    QTemporaryDir FFolder;
};

// The parameters of the shipped report, with rows, and texts that need escaping, wrapping and fonts
// beyond Windows-1252.
void SetReportParameters(TFoProject &project) {
    const std::pair<const char *, QString> values[] = {
        {"PropDesc", QStringLiteral("Delivery van <4x4> & \"trailer\"")},
        {"PropType", QStringLiteral("5-year property")},
        {"Method", QStringLiteral("200% declining balance")},
        {"Life", QStringLiteral("5")},
        {"Convention", QStringLiteral("Half-year")},
        {"Cost", QStringLiteral("$145,000.00")},
        {"Date", QStringLiteral("01/15/2025")},
        {"BonusDeprDesc", QStringLiteral("Bonus depreciation \u20AC \u65E5\u672C")},
        {"BonusDeprAmount", QStringLiteral("$1.00")},
        {"Notes", QStringLiteral("A long note that wraps over several lines of a memo box, with "
                                 "words_much_longer_than_any_box_could_ever_hold_on_one_line.")},
        {"A", QStringLiteral("a")},
    };
    for (const auto &[name, value] : values)
        project.SetParam(QLatin1String(name), value);
    for (int row = 1; row <= DetailRows; ++row) {
        project.SetParam(QStringLiteral("YearEnd%1").arg(row), QStringLiteral("12/31/%1").arg(2024 + row));
        project.SetParam(QStringLiteral("PerDepr%1").arg(row), QStringLiteral("%1.00").arg(row * 7));
        project.SetParam(QStringLiteral("AccumDepr%1").arg(row), QStringLiteral("%1.50").arg(row * 1000));
        if (row <= 3)
            project.SetParam(QStringLiteral("Row%1").arg(row), QStringLiteral("row %1").arg(row));
    }
}

QString CheckRoundTrip(const TemplateProject &loaded, const QString &source) {
    QByteArray saved;
    QBuffer out(&saved);
    out.open(QIODevice::WriteOnly);
    WriteTemplate(loaded, out);
    QBuffer in(&saved);
    in.open(QIODevice::ReadOnly);
    try {
        if (ReadTemplate(in, source) != loaded)
            return QStringLiteral("the saved template loads back to another project:\n") +
                   QString::fromUtf8(saved);
    } catch (const EFolioException &error) {
        return QStringLiteral("the saved template does not load: %1\n%2")
            .arg(QString::fromStdString(error.what()), QString::fromUtf8(saved));
    }
    return {};
}

// The report laid out as the command line does (no dialog, no status window, a file as the
// destination) into a memory snapshot, played back instead of written: the snapshot must
// play to its end, the program wrote it itself.
QString CheckReportRun(TFoProject &project, const QString &reportName) {
    if (!project.SelectReport(reportName, false))
        return QStringLiteral("the loaded report \"%1\" cannot be selected").arg(reportName);
    TFoSystem system;
    system.SystemSetups = 0;
    system.SystemOptions = 0;
    system.DefaultDest = TReportDest::rdFile;
    system.DoNativeOutput = false;
    PlaybackEnd playback;
    system.RenderObject = &playback;
    project.SetEngine(&system);
    try {
        project.Execute();
    } catch (const EFolioReport &error) {
        // The one limit a template can reach: more pages than a snapshot holds.
        const QString message = QString::fromStdString(error.what());
        if (!message.startsWith(QLatin1String("The report has more than ")))
            return QStringLiteral("report \"%1\" failed: %2").arg(reportName, message);
        return {};
    }
    if (system.Aborted)
        return QStringLiteral("report \"%1\" was aborted").arg(reportName);
    if (!playback.DocumentEnded)
        return QStringLiteral("the snapshot of report \"%1\" did not play to its end").arg(reportName);
    if (playback.Pages == 0)
        return QStringLiteral("report \"%1\" has no page").arg(reportName);
    return {};
}

} // namespace

QString CheckTemplateLayout(const QByteArray &input) {
    static const TemplateFolder folder;
    const QString source = folder.TemplateFile();
    auto project = CreateTemplateProject();
    project->SetProjectFile(source);
    QByteArray bytes = input;
    QBuffer stream(&bytes);
    stream.open(QIODevice::ReadOnly);
    try {
        project->LoadFromStream(stream);
    } catch (const EFolioException &error) {
        const QString message = QString::fromStdString(error.what());
        const QString where = QStringLiteral("Report template \"%1\", line ").arg(source);
        if (!message.startsWith(where) || message.size() <= where.size())
            return QStringLiteral("a load error that names no file and line: ") + message;
        return {};
    }
    const auto &manager = dynamic_cast<const TemplateProjectManager &>(project->ProjectManager());
    if (QString fault = CheckRoundTrip(manager.Project(), source); !fault.isEmpty())
        return fault;
    SetReportParameters(*project);
    QStringList reports;
    project->GetReportList(reports, false);
    for (const QString &report : reports.mid(0, LaidOutReports))
        if (QString fault = CheckReportRun(*project, report); !fault.isEmpty())
            return fault;
    return {};
}

} // namespace fiscora::fuzz
