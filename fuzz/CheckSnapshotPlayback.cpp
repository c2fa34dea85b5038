#include "CheckSnapshotPlayback.h"

#include "report/core/FoErrors.h"
#include "report/playback/FoSnapshotRecorder.h"

#include <QBuffer>

namespace fiscora::fuzz {

namespace {

QString PlayOnce(const QByteArray &input, int page, const QString &selection) {
    QByteArray copy = input;
    QBuffer stream(&copy);
    stream.open(QIODevice::ReadOnly);
    TFoSnapshotRecorder recorder;
    recorder.SetSelection(selection);
    recorder.SetSnapshotStream(&stream);
    try {
        recorder.RenderPage(page);
    } catch (const EFolioReport &) {
        // A clear error is a fine end for a bad stream.
    }
    if (recorder.Calls.empty() || recorder.Calls.back().Name != QLatin1String("DocEnd"))
        return QStringLiteral("playback of page %1 (selection \"%2\") did not end the document")
            .arg(page)
            .arg(selection);
    return {};
}

} // namespace

QString CheckSnapshotPlayback(const QByteArray &input) {
    for (const auto &[page, selection] :
         {std::pair{0, QString()}, std::pair{2, QString()}, std::pair{0, QStringLiteral("EVEN")}})
        if (QString fault = PlayOnce(input, page, selection); !fault.isEmpty())
            return fault;
    return {};
}

} // namespace fiscora::fuzz
