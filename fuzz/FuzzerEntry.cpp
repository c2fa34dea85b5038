// The libFuzzer entry of every fuzz target: FISCORA_FUZZ_CHECK runs on each input, and a fault it
// reports ends the run, so that libFuzzer keeps the input.
#include FISCORA_FUZZ_HEADER

#include <QGuiApplication>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static std::unique_ptr<QGuiApplication> application = std::make_unique<QGuiApplication>(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    const QByteArray input(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    const QString fault = fiscora::fuzz::FISCORA_FUZZ_CHECK(input);
    if (!fault.isEmpty()) {
        std::fprintf(stderr, "fuzz check failed: %s\n", fault.toUtf8().constData());
        std::abort();
    }
    return 0;
}
