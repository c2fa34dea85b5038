#pragma once

#include "AssetInputs.h"
#include "InputValidation.h"
#include "ScheduleSink.h"

#include <QString>

#include <functional>
#include <memory>

namespace fiscora {

class TFoProject;
class TFoSystem;

// The Print command's report without widgets: the template project, the report system set up as the
// application sets it up, and the command's steps from the schedule run to Execute. The window adds
// only its dialogs and the preview; the command line and the benchmark change the destination.
class TReportJob {
public:
    TReportJob();
    ~TReportJob();
    TReportJob(const TReportJob &) = delete;
    TReportJob &operator=(const TReportJob &) = delete;

    TFoProject &Project() { return *FProject; }
    TFoSystem &System() { return *FSystem; }

    // Sets the project file (a name without a "." gets ".fol"), opens it and selects the report by
    // its short name; a report the template does not hold is an EFolioException naming both.
    void OpenTemplate(const QString &projectFile, const QString &reportName);

    // The Print command once the pane holds a schedule: the Depreciate command into the pane, its row
    // parameters reaching the project too (a validation failure ends here, through EFieldException);
    // the input parameters in the command's order; Execute. However Execute ends, all parameters are
    // then cleared and the current folder returns to HomeFolder.
    void Print(const AssetInputs &inputs, ScheduleSink &pane, const FocusRequest &moveFocus = {});

    // A report of data other than the window's inputs (the book reports): `fill` sets the parameters
    // and data sets, then Execute; however it ends, parameters and data sets are cleared and the
    // current folder returns to HomeFolder.
    void PrintData(const std::function<void(TFoProject &project)> &fill);

    // The executable's folder with a trailing delimiter, to which the current folder returns after a
    // report (file dialogs may have changed it); empty leaves the current folder alone.
    QString HomeFolder;

private:
    void ReturnToHomeFolder() const;

    std::unique_ptr<TFoSystem> FSystem;
    std::unique_ptr<TFoProject> FProject;
};

} // namespace fiscora
