#pragma once

#include "ScheduleSink.h"
#include "report/system/FoProjectParams.h"

#include <QTextCharFormat>
#include <QTextEdit>

namespace fiscora {

// The main window's read-only schedule view. A schedule run writes its lines here, each with the
// formatting in force when it is added, and its row parameters into the window's report parameters.
class SchedulePane : public QTextEdit, public ScheduleSink {
    Q_OBJECT
public:
    SchedulePane(TFoParams &parameters, QWidget *parent);

    // Empties the pane and the report parameters of the schedule shown before.
    void Clear() override;
    void SetFormat(const ScheduleFormat &format) override;
    void AddLine(std::string_view line) override;
    void SetParam(std::string_view name, std::string_view value) override;
    void CaretToStart() override;

protected:
    // The pane takes Tab and Shift+Tab itself, as a view that wants tabs: they do not move the focus on.
    bool event(QEvent *event) override;

private:
    TFoParams &FParameters;
    QTextCharFormat FLineFormat;
    bool FEmpty = true;
};

} // namespace fiscora
