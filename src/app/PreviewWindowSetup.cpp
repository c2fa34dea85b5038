#include "PreviewWindowSetup.h"

#include "ModalRunner.h"
#include "output/preview/CustPreviewForm_New.h"
#include "output/screen/FoRenderPreview.h"
#include "report/system/FoSystem.h"

#include <QCoreApplication>
#include <QThread>

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

void OverridePreviewInWindow(TFoSystem &system, TOverrideMode mode, std::unique_ptr<QObject> &form,
                             QWidget *parent) {
    auto *preview = qobject_cast<TFrmReportPreview *>(form.get());
    switch (mode) {
    case TOverrideMode::omCreate:
        form = CreatePreviewWindow(system, parent);
        break;
    case TOverrideMode::omShow:
        if (!preview)
            break;
        SetUpPreview(system, *preview);
        preview->FInputFileName = system.SystemFiler.FileName;
        preview->FInputStream = system.SystemFiler.Stream();
        preview->InitFromReportSystem();
        if (system.SystemOptions & soPreviewModal)
            RunModal(*preview);
        else
            preview->show();
        break;
    case TOverrideMode::omWait:
        // A modeless preview keeps the job open until it closes.
        while (preview && !(system.SystemOptions & soPreviewModal) && preview->isVisible()) {
            QThread::msleep(250);
            QCoreApplication::processEvents();
        }
        break;
    case TOverrideMode::omFree:
        if (preview && (system.SystemFiler.StreamMode == TStreamMode::smFile ||
                        system.SystemFiler.StreamMode == TStreamMode::smTempFile))
            preview->FoRenderPreview().SetSnapshotStream(nullptr);
        form.reset();
        break;
    }
}

} // namespace fiscora
