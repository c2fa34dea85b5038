#pragma once

#include <memory>

class QWidget;

namespace fiscora {

class TFoSystem;
class TFrmReportPreview;

// The preview window as the report system describes it: caption, size, window state, and the
// report system its Print, Save and exports go through.
std::unique_ptr<TFrmReportPreview> CreatePreviewWindow(TFoSystem &system, QWidget *parent);

// Gives the preview the report system's preview settings and raises its preview set-up event.
void SetUpPreview(TFoSystem &system, TFrmReportPreview &preview);

} // namespace fiscora
