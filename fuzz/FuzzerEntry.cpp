// The libFuzzer entry of every fuzz target: FISCORA_FUZZ_CHECK runs on each input, and a fault it
// reports ends the run, so that libFuzzer keeps the input.
#include FISCORA_FUZZ_HEADER

#include <QGuiApplication>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>

// Every fuzzer runs with these sanitizer settings. Qt and fontconfig keep some memory until the
// process ends, which is no leak of ours. The memory limit of a long run is there to catch the
// program's memory, not the sanitizer's: it keeps each distinct allocation stack for good, and
// stacks unwound through Qt (built without frame pointers) are all distinct, so only the caller of
// each allocation is kept (ASAN_OPTIONS=malloc_context_size=30 for whole stacks when replaying a
// crash); and it holds back 256 MB of freed memory by default, where 64 MB still catches a use after
// free within one input.
extern "C" const char *__asan_default_options() {
    return "detect_leaks=0:malloc_context_size=1:quarantine_size_mb=64";
}

// Qt's warnings about the fonts and pictures of hostile inputs would be most of a run's time and
// output; a fatal message still ends the run.
static void DropQtWarnings(QtMsgType type, const QMessageLogContext &, const QString &message) {
    if (type == QtFatalMsg) {
        std::fprintf(stderr, "%s\n", message.toLocal8Bit().constData());
        std::abort();
    }
}

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(DropQtWarnings);
    if (qEnvironmentVariableIsEmpty("FONTCONFIG_FILE"))
        qputenv("FONTCONFIG_FILE", FISCORA_FUZZ_FONTS);
    static std::unique_ptr<QGuiApplication> application = std::make_unique<QGuiApplication>(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    const QByteArray input(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    const QString fault = fiscora::fuzz::FISCORA_FUZZ_CHECK(input);
    // What the program's event loop does between reports: Qt's font cache, for one, frees the fonts
    // no longer used on a timer, and without it a run would only ever grow.
    QCoreApplication::processEvents();
    if (!fault.isEmpty()) {
        std::fprintf(stderr, "fuzz check failed: %s\n", fault.toUtf8().constData());
        std::abort();
    }
    return 0;
}
