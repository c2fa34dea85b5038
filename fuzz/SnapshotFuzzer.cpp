// Plays arbitrary bytes as a snapshot: whole, one page from the middle, and a selection.
#include "report/core/FoErrors.h"
#include "report/playback/FoSnapshotRecorder.h"

#include <QBuffer>
#include <QGuiApplication>

#include <cstdint>
#include <cstdlib>
#include <memory>

using namespace fiscora;

namespace {

void PlayOnce(const QByteArray &bytes, int page, const QString &selection) {
    QByteArray copy = bytes;
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
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static std::unique_ptr<QGuiApplication> application = std::make_unique<QGuiApplication>(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    PlayOnce(bytes, 0, QString());
    PlayOnce(bytes, 2, QString());
    PlayOnce(bytes, 0, QStringLiteral("EVEN"));
    return 0;
}
