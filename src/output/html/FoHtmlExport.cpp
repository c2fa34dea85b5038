#include "output/html/FoHtmlExport.h"

#include "ScopeExit.h"
#include "output/html/FoRenderHTML.h"

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

namespace {

void RenderHtmlPages(QIODevice &Snapshot, const QString &FileName, TFoOutputFileSet *Files) {
    const qint64 position = Snapshot.pos();
    ScopeExit restore([&Snapshot, position] { Snapshot.seek(position); });
    TFoRenderHTML renderer;
    ApplyHtmlExportSettings(renderer);
    renderer.SetCollectingFiles(Files);
    renderer.PrintRender(&Snapshot, FileName);
}

} // namespace

void ExportSnapshotToHtml(QIODevice &Snapshot, const QString &FileName) {
    RenderHtmlPages(Snapshot, FileName, nullptr);
}

void RenderSnapshotToHtml(QIODevice &Snapshot, const QString &FileName, TFoOutputFileSet &Files) {
    RenderHtmlPages(Snapshot, FileName, &Files);
}

} // namespace fiscora
