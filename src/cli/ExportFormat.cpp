#include "ExportFormat.h"

#include "ScheduleOptions.h"

#include <QFileInfo>
#include <QString>

#include <array>

namespace fiscora::cli {

namespace {

struct FormatEntry {
    const char *name;       // --format value
    const char *extensions; // extensions that choose it, separated by "|"
    ExportFormat format;
};

// One line per format.
constexpr std::array<FormatEntry, 3> Formats{{
    {"fsn", "fsn", ExportFormat::Snapshot},
    {"pdf", "pdf", ExportFormat::Pdf},
    {"html", "html|htm", ExportFormat::Html},
}};

} // namespace

ExportFormat ChooseExportFormat(const std::string &outputFile, const std::optional<std::string> &formatName,
                                std::optional<ExportFormat> otherwise) {
    if (formatName) {
        const QString name = QString::fromStdString(*formatName).toLower();
        for (const auto &entry : Formats)
            if (name == QLatin1String(entry.name))
                return entry.format;
        throw UsageError("unknown format '" + *formatName + "' (choose " + ExportFormatNames() + ")");
    }
    const QString suffix = QFileInfo(QString::fromStdString(outputFile)).suffix().toLower();
    for (const auto &entry : Formats)
        if (QString::fromLatin1(entry.extensions).split(QLatin1Char('|')).contains(suffix))
            return entry.format;
    if (otherwise)
        return *otherwise;
    std::string extensions;
    for (const auto &entry : Formats)
        for (const QString &extension : QString::fromLatin1(entry.extensions).split(QLatin1Char('|')))
            extensions += (extensions.empty() ? "." : ", .") + extension.toStdString();
    throw UsageError("cannot tell the format of '" + outputFile + "' from its extension (" + extensions +
                     "); give --format");
}

std::string ExportFormatNames() {
    std::string names;
    for (const auto &entry : Formats) {
        if (!names.empty())
            names += '|';
        names += entry.name;
    }
    return names;
}

} // namespace fiscora::cli
