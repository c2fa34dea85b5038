#include "CheckHtmlPlayback.h"

#include "output/html/FoHtmlExport.h"
#include "output/files/FoOutputFileSet.h"
#include "report/core/FoErrors.h"

#include <QBuffer>
#include <QDir>
#include <QSet>
#include <QTemporaryDir>

#include <exception>

namespace fiscora::fuzz {

namespace {

// A page holds the template's head and foot, and as many boxes closed as opened: an escaped
// report text adds none.
QString CheckPage(const QString &name, const QByteArray &page) {
    if (!page.startsWith("<HTML><HEAD>\r\n") || !page.endsWith("</BODY></HTML>\r\n"))
        return QStringLiteral("page \"%1\" is not a whole page").arg(name);
    if (page.count("<DIV") != page.count("</DIV>"))
        return QStringLiteral("page \"%1\" opens %2 boxes and closes %3")
            .arg(name)
            .arg(page.count("<DIV"))
            .arg(page.count("</DIV>"));
    return {};
}

QString CheckHtmlFiles(const QString &folder, const TFoOutputFileSet &files) {
    const QStringList names = files.FileNames();
    if (names.size() != QSet<QString>(names.begin(), names.end()).size())
        return QStringLiteral("the export names a file twice");
    int pages = 0;
    for (const QString &name : names) {
        if (!name.startsWith(folder + u'/') || name.mid(folder.size() + 1).contains(u'/'))
            return QStringLiteral("the export writes \"%1\" outside its folder").arg(name);
        if (!name.endsWith(QLatin1String(".html")))
            continue;
        if (name != QStringLiteral("%1/report%2.html").arg(folder).arg(++pages))
            return QStringLiteral("page file %1 is \"%2\"").arg(pages).arg(name);
        if (QString fault = CheckPage(name, files.Data(name)); !fault.isEmpty())
            return fault;
    }
    if (pages == 0)
        return QStringLiteral("the export wrote no page");
    return {};
}

} // namespace

QString CheckHtmlPlayback(const QByteArray &input) {
    static const QTemporaryDir exportFolder;
    const QString folder = exportFolder.path();
    QByteArray snapshotBytes = input;
    QBuffer snapshot(&snapshotBytes);
    snapshot.open(QIODevice::ReadOnly);
    TFoOutputFileSet files;
    QString fault;
    try {
        RenderSnapshotToHtml(snapshot, folder + QStringLiteral("/report.html"), files);
        fault = CheckHtmlFiles(folder, files);
    } catch (const EFolioReport &) {
        // A clear error is a fine end for a bad snapshot.
    } catch (const std::exception &error) {
        fault = QStringLiteral("the HTML export failed without a clear error: ") +
                QString::fromUtf8(error.what());
    }
    if (fault.isEmpty() &&
        !QDir(folder).isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System))
        fault = QStringLiteral("the export left files on disk though nothing was committed");
    return fault;
}

} // namespace fiscora::fuzz
