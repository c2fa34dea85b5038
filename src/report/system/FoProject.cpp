#include "report/system/FoProject.h"

#include "MsgBox.h"
#include "ScopeExit.h"
#include "report/core/FoErrors.h"
#include "report/system/FoSystem.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace fiscora {
TFoProject::TFoProject(std::unique_ptr<TFoProjectManager> manager, QObject *parent)
    : QObject(parent), FManager(std::move(manager)) {}

TFoProject::~TFoProject() {
    Raise(OnDestroy, *this);
}

TFoSystem *TFoProject::Engine() const {
    return FEngine;
}

void TFoProject::SetEngine(TFoSystem *engine) {
    FEngine = engine;
}

void TFoProject::SetProjectFile(const QString &value) {
    FProjectFile = value.isEmpty() || value.contains(u'.') ? value : value + QStringLiteral(".fol");
}

bool TFoProject::PreferFileToEmbedded(const QString &path) const {
    const QFileInfo file(path);
    if (!file.isFile() || file.lastModified() <= FEmbeddedTime)
        return false;
    const std::string question =
        QStringLiteral("The report project stored in the executable is older than the "
                       "disk file\r\"%1\"\rDo you want to use the file on disk?")
            .arg(path)
            .toStdString();
    return ShowMsgBox(question, ApplicationTitle(), kMsgYesNo | kMsgIconQuestion) == kMsgResultYes;
}

void TFoProject::Open() {
    if (FActive)
        return;
    Raise(OnBeforeOpen, *this);
    // The path as the user would read it: absolute, without "." or ".." steps.
    const QString path =
        FProjectFile.isEmpty() ? QString() : QDir::cleanPath(QFileInfo(FProjectFile).absoluteFilePath());
    if (!FEmbeddedImage.isEmpty() && !PreferFileToEmbedded(path)) {
        QBuffer image;
        image.setData(FEmbeddedImage);
        image.open(QIODevice::ReadOnly);
        LoadFromStream(image);
    } else {
        if (path.isEmpty() || !QFileInfo(path).isFile())
            throw EFolioException(
                QStringLiteral("The following reporting project does not exist:\r\"%1\"").arg(path));
        LoadFromFile(path);
    }
    Raise(OnAfterOpen, *this);
}

void TFoProject::Close() {
    if (!FActive)
        return;
    Raise(OnBeforeClose, *this);
    FManager->New();
    FActiveReport.reset();
    FActive = false;
    Raise(OnAfterClose, *this);
}

bool TFoProject::SelectReport(const QString &reportName, bool fullName) {
    Open();
    const auto reports = FManager->Reports();
    for (std::size_t index = 0; index < reports.size(); ++index) {
        const QString &name = fullName ? reports[index].FullName : reports[index].Name;
        if (name.compare(reportName, Qt::CaseInsensitive) == 0) {
            FActiveReport = index;
            return true;
        }
    }
    return false;
}

void TFoProject::Execute() {
    Open();
    if (!FActiveReport)
        throw EFolioException(QStringLiteral("No report is selected in the report project"));
    if (!FEngine)
        throw EFolioException(QStringLiteral("The report project has no report system to run its report"));
    TFoSystem &engine = *FEngine;
    std::shared_ptr<TFoReportRun> run =
        FManager->CreateRun(*FActiveReport, FManager->Params, FManager->DataSets);
    if (TBaseReport *canvas = engine.BaseReport()) {
        // Called from inside a running job: draw on its canvas.
        run->Print(*canvas);
        return;
    }
    // Puts the report system's events and units back however the job ended.
    ScopeExit restore([&engine, onPrint = engine.OnPrint, onBeforePrint = engine.OnBeforePrint,
                       onAfterPrint = engine.OnAfterPrint, unitsFactor = engine.SystemPrinter.UnitsFactor(),
                       units = engine.SystemPrinter.Units()] {
        engine.OnPrint = onPrint;
        engine.OnBeforePrint = onBeforePrint;
        engine.OnAfterPrint = onAfterPrint;
        engine.SystemPrinter.SetUnitsFactor(unitsFactor);
        if (engine.SystemPrinter.Units() != units)
            engine.SystemPrinter.SetUnits(units);
    });
    engine.OnPrint = [run](TBaseReport &canvas) { run->Print(canvas); };
    engine.OnBeforePrint = [run](TBaseReport &canvas) { run->BeforePrint(canvas); };
    engine.OnAfterPrint = [run](TBaseReport &canvas) { run->AfterPrint(canvas); };
    if (run->AlwaysGenerate())
        engine.SystemOptions |= soUseFiler;
    engine.SystemPrinter.SetUnitsFactor(1.0);
    engine.Execute();
}

void TFoProject::ExecuteReport(const QString &reportName) {
    if (SelectReport(reportName, false))
        Execute();
}

void TFoProject::GetReportList(QStringList &reportList, bool fullNames) const {
    reportList.clear();
    for (const auto &report : FManager->Reports())
        reportList << (fullNames ? report.FullName : report.Name);
}

void TFoProject::GetReportCategoryList(QStringList &reportList, const QString &categories,
                                       bool fullNames) const {
    reportList.clear();
    const QStringList wanted = categories.split(u';', Qt::SkipEmptyParts);
    for (const auto &report : FManager->Reports())
        if (wanted.contains(report.Category.trimmed(), Qt::CaseInsensitive))
            reportList << (fullNames ? report.FullName : report.Name);
}

TFoReportInfo TFoProject::ActiveInfo() const {
    if (!FActiveReport)
        return {};
    const auto reports = FManager->Reports();
    return *FActiveReport < reports.size() ? reports[*FActiveReport] : TFoReportInfo{};
}

void TFoProject::ReportDescToMemo(QStringList &memo) const {
    // No description leaves the memo without lines, not with one empty line.
    const QString description = ReportDesc();
    memo = description.isEmpty() ? QStringList() : description.split(u'\n');
}

void TFoProject::Loaded() {
    FActiveReport.reset();
    FActive = true;
}

void TFoProject::LoadFromFile(const QString &fileName) {
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        throw EFolioException(
            QStringLiteral("Cannot read the report project \"%1\": %2").arg(fileName, file.errorString()));
    FManager->LoadFromStream(file, fileName);
    Loaded();
}

void TFoProject::LoadFromStream(QIODevice &stream) {
    FManager->LoadFromStream(stream, FProjectFile.isEmpty() ? QStringLiteral("stream") : FProjectFile);
    Loaded();
}

void TFoProject::SaveToFile(const QString &fileName) const {
    // Written beside and renamed over the old file, so a failed save leaves it intact.
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly))
        throw EFolioException(
            QStringLiteral("Cannot write the report project \"%1\": %2").arg(fileName, file.errorString()));
    FManager->SaveToStream(file);
    if (!file.commit())
        throw EFolioException(
            QStringLiteral("Cannot write the report project \"%1\": %2").arg(fileName, file.errorString()));
}

void TFoProject::SaveToStream(QIODevice &stream) const {
    FManager->SaveToStream(stream);
}

void TFoProject::New() {
    FManager->New();
    Loaded();
}

void TFoProject::Save() const {
    SaveToFile(FProjectFile);
}

} // namespace fiscora
