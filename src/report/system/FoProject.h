#pragma once

#include "report/system/FoProjectManager.h"

#include <QByteArray>
#include <QDateTime>
#include <QObject>
#include <QPointer>
#include <QStringList>

#include <functional>
#include <memory>
#include <optional>

namespace fiscora {

class TFoSystem;

// The template project component: loads the report template file, selects the report to run,
// holds the report parameters and executes the report through its engine.
class TFoProject : public QObject {
    Q_OBJECT
public:
    using TProjectEvent = std::function<void(TFoProject &sender)>;

    explicit TFoProject(std::unique_ptr<TFoProjectManager> manager, QObject *parent = nullptr);
    ~TFoProject() override;

    // A name without a "." gets ".fol" appended.
    QString ProjectFile() const { return FProjectFile; }
    void SetProjectFile(const QString &value);

    // Cleared automatically when the report system is destroyed.
    TFoSystem *Engine() const;
    void SetEngine(TFoSystem *engine);

    bool Active() const { return FActive; }
    // Opens the embedded project image, or the project file when there is no image or the user
    // prefers a newer file on disk.
    void Open();
    void Close();

    bool SelectReport(const QString &reportName, bool fullName);

    void SetParam(const QString &param, const QString &value) { FManager->Params.SetParam(param, value); }
    QString GetParam(const QString &param) const { return FManager->Params.GetParam(param); }
    void ClearParams() { FManager->Params.ClearParams(); }
    const TFoParams &Params() const { return FManager->Params; }

    // The data sets the report's bands print row by row; a null set removes the name.
    void SetDataSet(const QString &name, TFoDataSetPtr set) { FManager->DataSets.Set(name, std::move(set)); }
    void ClearDataSets() { FManager->DataSets.Clear(); }
    const TFoDataSets &DataSets() const { return FManager->DataSets; }

    void Execute();
    void ExecuteReport(const QString &reportName);

    void GetReportList(QStringList &reportList, bool fullNames) const;
    // Reports whose category is one of the semicolon-separated categories, compared without regard to case.
    void GetReportCategoryList(QStringList &reportList, const QString &categories, bool fullNames) const;
    QString ReportName() const { return ActiveInfo().Name; }
    QString ReportFullName() const { return ActiveInfo().FullName; }
    QString ReportDesc() const { return ActiveInfo().Description; }
    void ReportDescToMemo(QStringList &memo) const;

    void LoadFromFile(const QString &fileName);
    void LoadFromStream(QIODevice &stream);
    void SaveToFile(const QString &fileName) const;
    void SaveToStream(QIODevice &stream) const;
    void New();
    // Saves to ProjectFile.
    void Save() const;

    TFoProjectManager &ProjectManager() { return *FManager; }

    // A project image stored with the component and the time it was stored; an empty image is none.
    void SetEmbeddedProject(const QByteArray &image, const QDateTime &stored) {
        FEmbeddedImage = image;
        FEmbeddedTime = stored;
    }

    TProjectEvent OnDestroy;
    TProjectEvent OnBeforeOpen;
    TProjectEvent OnAfterOpen;
    TProjectEvent OnBeforeClose;
    TProjectEvent OnAfterClose;

private:
    TFoReportInfo ActiveInfo() const;
    bool PreferFileToEmbedded(const QString &path) const;
    void Loaded();
    static void Raise(const TProjectEvent &event, TFoProject &sender) {
        if (event)
            event(sender);
    }

    std::unique_ptr<TFoProjectManager> FManager;
    QString FProjectFile;
    QPointer<TFoSystem> FEngine;
    bool FActive = false;
    std::optional<std::size_t> FActiveReport;
    QByteArray FEmbeddedImage;
    QDateTime FEmbeddedTime;
};

} // namespace fiscora
