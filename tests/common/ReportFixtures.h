#pragma once

// The longest schedule's report as the Print command produces it, for tests and benchmarks.

#include "AssetInputs.h"
#include "ReportJob.h"
#include "ScheduleSink.h"
#include "report/system/FoSystem.h"

#include <QByteArray>
#include <QString>

namespace fiscora::test {

// The longest schedule: an automobile placed in service in 2017 at the highest allowed cost, 75 rows.
inline AssetInputs LongestSchedule() {
    AssetInputs inputs;
    inputs.description = "Company car - sales department";
    inputs.propertyType = PropertyType::Automobile;
    inputs.placedInService = "01/15/2017";
    inputs.cost = 145000;
    inputs.fiscalYearEnd = "12/31/2017";
    return inputs;
}

// The Print command's memory snapshot of an asset's report from a template, without dialogs.
inline QByteArray ReportSnapshot(const QString &templateFile, const AssetInputs &inputs, ScheduleSink &pane) {
    TReportJob job;
    job.OpenTemplate(templateFile, QStringLiteral("DeprReport"));
    TFoSystem &system = job.System();
    system.SystemSetups = 0;
    system.SystemOptions = 0;
    QByteArray snapshot;
    system.OverridePreview = [&snapshot](TFoSystem &s, TOverrideMode mode, std::unique_ptr<QObject> &) {
        if (mode == TOverrideMode::omShow && s.Stream()) {
            s.Stream()->seek(0);
            snapshot = s.Stream()->readAll();
        }
    };
    job.Print(inputs, pane);
    return snapshot;
}

} // namespace fiscora::test
