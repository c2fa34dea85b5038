#pragma once

#include <QGuiApplication>
#include <QIODevice>
#include <QString>

#include <memory>

namespace fiscora {
class TReportJob;
struct AssetInputs;
} // namespace fiscora

namespace fiscora::cli {

// Renders the snapshot to PDF with exactly the preview window's export settings
// (fiscora::ApplyPreviewPdfSettings) into a partial file beside OutputFile (".fiscora-export-XXXXXX.part"),
// renamed to OutputFile only when complete. On any failure the partial file is removed, an existing
// OutputFile is left as it was, and an EFolioReport naming the file and the reason is raised.
void WritePdfOutput(QIODevice &Snapshot, const QString &OutputFile);

// The Print command's report of the asset, generated into memory (no dialogs, no status window) and
// written to OutputFile as WritePdfOutput writes it.
void WriteReportPdf(TReportJob &Job, const AssetInputs &Inputs, const QString &OutputFile);

// Fonts are measured through Qt's font database, which needs a GUI application: a headless one
// (offscreen platform) when none exists yet; nullptr when one does.
std::unique_ptr<QGuiApplication> EnsureHeadlessGui();

} // namespace fiscora::cli
