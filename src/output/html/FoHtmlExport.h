#pragma once

#include <QIODevice>
#include <QString>

#include <memory>

namespace fiscora {

class TFoOutputFileSet;
class TFoRenderHTML;

// The preview window's "HTML Export", shared with the command line so both write the same pages.

// The renderer settings of the export: "Web Document (HTML)", "*.html;*.htm", no server mode, no
// breaking spaces.
void ApplyHtmlExportSettings(TFoRenderHTML &Renderer);

// An HTML renderer with the export's settings, registered while it lives, so the Output Options
// dialog lists "Web Document (HTML)" among its formats.
std::unique_ptr<TFoRenderHTML> CreateHtmlFormat();

// Writes every page of the snapshot as HTML files named from fileName ("report.html" gives
// report1.html, report2.html, …) with their colour images and pictures beside them. The files are
// written only when the whole export succeeded; otherwise none is left behind and the error
// propagates. The snapshot keeps its position.
void ExportSnapshotToHtml(QIODevice &Snapshot, const QString &FileName);

// Renders the pages as ExportSnapshotToHtml does, into Files and without writing any, so that the
// caller can look at the names before it commits them.
void RenderSnapshotToHtml(QIODevice &Snapshot, const QString &FileName, TFoOutputFileSet &Files);

} // namespace fiscora
