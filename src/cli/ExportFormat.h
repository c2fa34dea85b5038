#pragma once

#include <optional>
#include <string>

namespace fiscora::cli {

// The file formats `report --output` and `export --output` write. A new format is one entry in
// ExportFormat.cpp.
enum class ExportFormat { Snapshot, Pdf, Html };

// The format of an output: `--format NAME` when given (it overrides the extension), else the output
// file's extension, compared without regard to case, else `otherwise`. Raises UsageError for an
// unknown name, and for an extension no format has when there is no `otherwise`.
ExportFormat ChooseExportFormat(const std::string &outputFile, const std::optional<std::string> &formatName,
                                std::optional<ExportFormat> otherwise = std::nullopt);

// "fsn|pdf|html", for usage texts.
std::string ExportFormatNames();

} // namespace fiscora::cli
