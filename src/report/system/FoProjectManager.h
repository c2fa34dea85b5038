#pragma once

#include "report/system/FoDataSet.h"
#include "report/system/FoProjectParams.h"

#include <QIODevice>
#include <QString>

#include <memory>
#include <vector>

namespace fiscora {

class TBaseReport;

// What the project knows about one of its reports.
struct TFoReportInfo {
    QString Name;
    QString FullName;
    QString Description;
    QString Category;
};

// One execution of a report: a copy of the report and of the parameters (and the data sets it
// shares) taken when the run was created, so that nothing done during the run touches the stored project.
class TFoReportRun {
public:
    virtual ~TFoReportRun() = default;

    // The report asks to be generated whatever the destination.
    virtual bool AlwaysGenerate() const = 0;
    // Canvas events of the job; Print lays every page out.
    virtual void BeforePrint(TBaseReport &canvas) = 0;
    virtual void Print(TBaseReport &canvas) = 0;
    virtual void AfterPrint(TBaseReport &canvas) = 0;
};

// The template engine's in-memory project, as the template project component uses it.
class TFoProjectManager {
public:
    virtual ~TFoProjectManager() = default;

    // Replaces the project by the one read from the stream. On failure raises EFolioException and
    // leaves the project as it was. sourceName names the stream in messages and locates pictures.
    virtual void LoadFromStream(QIODevice &stream, const QString &sourceName) = 0;
    virtual void SaveToStream(QIODevice &stream) const = 0;
    // An empty project.
    virtual void New() = 0;
    virtual std::vector<TFoReportInfo> Reports() const = 0;
    virtual std::unique_ptr<TFoReportRun> CreateRun(std::size_t reportIndex, const TFoParams &params,
                                                    const TFoDataSets &dataSets) const = 0;

    TFoParams Params;
    TFoDataSets DataSets;
};

} // namespace fiscora
