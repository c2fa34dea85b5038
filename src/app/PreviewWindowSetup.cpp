#include "PreviewWindowSetup.h"

#include "output/preview/CustPreviewForm_New.h"
#include "output/screen/FoRenderPreview.h"
#include "report/system/FoSystem.h"

namespace fiscora {

std::unique_ptr<TFrmReportPreview> CreatePreviewWindow(TFoSystem &system, QWidget *parent) {
    auto window = std::make_unique<TFrmReportPreview>(parent);
    window->setWindowTitle(system.TitlePreview);
    window->resize(system.SystemPreview.FormWidth, system.SystemPreview.FormHeight);
    if (system.SystemPreview.FormState == TFormState::fsMaximized)
        window->setWindowState(Qt::WindowMaximized);
    window->ReportSystem = &system;
    return window;
}

void SetUpPreview(TFoSystem &system, TFrmReportPreview &preview) {
    system.SystemPreview.InitPreview(preview.FoRenderPreview());
    if (system.OnPreviewSetup)
        system.OnPreviewSetup(preview.FoRenderPreview());
}

} // namespace fiscora
