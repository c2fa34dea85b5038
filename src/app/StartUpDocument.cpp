#include "StartUpDocument.h"

#include "SnapshotDocument.h"
#include "ToolBoxExceptions.h"

#include <QFileInfo>

namespace fiscora {

namespace {

std::string Quoted(const QString &text) {
    return "\"" + text.toStdString() + "\"";
}

} // namespace

TStartUpDocument ReadStartUpDocument(const QStringList &arguments) {
    if (arguments.isEmpty())
        return {};
    if (arguments.size() > 1)
        throw ECustomException("Fiscora opens one file at a time; it was given " +
                               std::to_string(arguments.size()) + ".");
    const QString &fileName = arguments.front();
    const QString extension = QFileInfo(fileName).suffix();
    if (extension.compare(QLatin1String("fsn"), Qt::CaseInsensitive) == 0)
        return {TStartUpDocumentKind::Snapshot, fileName};
    if (extension.compare(QLatin1String("fbook"), Qt::CaseInsensitive) == 0)
        return {TStartUpDocumentKind::Book, fileName};
    throw ECustomException("Fiscora opens snapshot files (.fsn) and asset books (.fbook); " +
                           Quoted(fileName) + " is neither.");
}

int OpenStartUpDocument(const TStartUpDocument &document, const MainWindowRun &runMainWindow) {
    switch (document.Kind) {
    case TStartUpDocumentKind::Snapshot:
        return ShowSnapshotDocument(document.FileName);
    case TStartUpDocumentKind::Book:
        return runMainWindow(document.FileName);
    case TStartUpDocumentKind::None:
        break;
    }
    return runMainWindow(QString());
}

} // namespace fiscora
