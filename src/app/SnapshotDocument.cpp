#include "SnapshotDocument.h"

#include "FiscoraReportSettings.h"
#include "ModalRunner.h"
#include "PreviewWindowSetup.h"
#include "output/html/FoHtmlExport.h"
#include "output/html/FoRenderHTML.h"
#include "output/pdf/FoRenderPDF.h"
#include "output/pdf/PdfExport.h"
#include "output/preview/CustPreviewForm_New.h"
#include "report/system/FoSystem.h"

namespace fiscora {

int ShowSnapshotDocument(const QString &fileName) {
    TFoSystem system;
    ApplyFiscoraReportSettings(system);
    // Offered as file formats by the Output Options dialog of the preview's Print, as in the main window.
    const std::unique_ptr<TFoRenderPDF> pdfFormat = CreatePdfFormat();
    const std::unique_ptr<TFoRenderHTML> htmlFormat = CreateHtmlFormat();
    const std::unique_ptr<TFrmReportPreview> preview = CreatePreviewWindow(system, nullptr);
    SetUpPreview(system, *preview);
    preview->OpenFile(fileName);
    RunModal(*preview);
    return 0;
}

} // namespace fiscora
