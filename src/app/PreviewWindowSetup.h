#pragma once

#include "report/system/FoSystem.h"

#include <memory>

class QObject;

class QWidget;

namespace fiscora {

class TFrmReportPreview;

// The preview window as the report system describes it: caption, size, window state, and the
// report system its Print, Save and exports go through.
std::unique_ptr<TFrmReportPreview> CreatePreviewWindow(TFoSystem &system, QWidget *parent);

// Gives the preview the report system's preview settings and raises its preview set-up event.
void SetUpPreview(TFoSystem &system, TFrmReportPreview &preview);

// The report system's preview override for a window: the preview window is created with `parent`,
// shown modally through the modal runner or modeless, and waited for until it closes.
void OverridePreviewInWindow(TFoSystem &system, TOverrideMode mode, std::unique_ptr<QObject> &form,
                             QWidget *parent);

} // namespace fiscora
