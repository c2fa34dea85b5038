#include "PdfOutput.h"

#include "PdfExport.h"
#include "ReportOutputFile.h"
#include "report/core/FoErrors.h"

#include <QFile>

namespace fiscora::cli {

void WritePdfOutput(QIODevice &Snapshot, const QString &OutputFile) {
    ReportOutputFile output(OutputFile);
    {
        QFile partial(output.PartialFileName());
        if (!partial.open(QIODevice::WriteOnly | QIODevice::Truncate))
            throw EFolioReport(QStringLiteral("Cannot create the output file \"%1\": %2")
                                   .arg(OutputFile, partial.errorString()));
        WriteSnapshotPdf(Snapshot, partial);
        if (!partial.flush() || partial.error() != QFileDevice::NoError)
            throw EFolioReport(QStringLiteral("Cannot write the output file \"%1\": %2")
                                   .arg(OutputFile, partial.errorString()));
    }
    output.Commit();
}

} // namespace fiscora::cli
