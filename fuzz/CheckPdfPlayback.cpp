#include "CheckPdfPlayback.h"

#include "output/pdf/PdfExport.h"
#include "report/core/FoErrors.h"

#include <QBuffer>

#include <algorithm>
#include <exception>

namespace fiscora::fuzz {

namespace {

// The file's frame: header, the table behind "startxref", and each entry of the table at
// "<number> 0 obj". Looked at through views: an embedded font makes a PDF of megabytes.
QString CheckPdfStructure(QByteArrayView pdf) {
    if (!pdf.startsWith("%PDF-1.3\r\n"))
        return QStringLiteral("the PDF does not start with its header");
    if (!pdf.endsWith("\r\n%%EOF\r\n"))
        return QStringLiteral("the PDF does not end with %%EOF");
    const qsizetype start = pdf.lastIndexOf(QByteArrayView("\r\nstartxref\r\n"));
    if (start < 0)
        return QStringLiteral("the PDF has no startxref");
    const QByteArrayView tail = pdf.sliced(start + 13);
    bool ok = false;
    const qsizetype tableAt = tail.first(std::max<qsizetype>(tail.indexOf('\r'), 0)).toLongLong(&ok);
    if (!ok || tableAt < 0 || tableAt > start || !pdf.sliced(tableAt).startsWith("xref\r\n0 "))
        return QStringLiteral("startxref does not lead to the cross-reference table");
    const QList<QByteArray> lines = pdf.sliced(tableAt, start - tableAt).toByteArray().split('\n');
    const int entries = lines.value(1).trimmed().mid(2).toInt(&ok);
    if (!ok || entries < 1 || lines.size() < entries + 2)
        return QStringLiteral("the cross-reference table is cut short");
    for (int object = 1; object < entries; ++object) {
        const QByteArray entry = lines[object + 2].trimmed();
        const qsizetype offset = entry.left(10).toLongLong(&ok);
        if (!ok || !entry.endsWith(" 00000 n") || offset < 0 || offset >= pdf.size() ||
            !pdf.sliced(offset).startsWith(QByteArray::number(object) + " 0 obj\r\n"))
            return QStringLiteral("the cross-reference entry of object %1 leads elsewhere").arg(object);
    }
    return {};
}

} // namespace

QString CheckPdfPlayback(const QByteArray &input) {
    QByteArray snapshotBytes = input;
    QBuffer snapshot(&snapshotBytes);
    snapshot.open(QIODevice::ReadOnly);
    QByteArray pdf;
    QBuffer output(&pdf);
    output.open(QIODevice::WriteOnly);
    try {
        WriteSnapshotPdf(snapshot, output);
    } catch (const EFolioReport &) {
        return {}; // a clear error is a fine end for a bad snapshot
    } catch (const std::exception &error) {
        return QStringLiteral("the PDF export failed without a clear error: ") +
               QString::fromUtf8(error.what());
    }
    return CheckPdfStructure(pdf);
}

} // namespace fiscora::fuzz
