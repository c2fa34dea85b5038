#include "FoHtmlExport.h"

#include "FoRenderHTML.h"
#include "ScopeExit.h"

namespace fiscora {

void ApplyHtmlExportSettings(TFoRenderHTML &Renderer) {
    Renderer.SetDisplayName(QStringLiteral("Web Document (HTML)"));
    Renderer.SetFileExtension(QStringLiteral("*.html;*.htm"));
    Renderer.SetServerMode(false);
    Renderer.SetUseBreakingSpaces(false);
}

std::unique_ptr<TFoRenderHTML> CreateHtmlFormat() {
    auto renderer = std::make_unique<TFoRenderHTML>();
    ApplyHtmlExportSettings(*renderer);
    return renderer;
}

void ExportSnapshotToHtml(QIODevice &Snapshot, const QString &FileName) {
    const qint64 position = Snapshot.pos();
    ScopeExit restore([&Snapshot, position] { Snapshot.seek(position); });
    TFoRenderHTML renderer;
    ApplyHtmlExportSettings(renderer);
    renderer.PrintRender(&Snapshot, FileName);
}

} // namespace fiscora
