// The PDF and HTML fuzzers' checks on their seeds and on every snapshot that once failed them.
#include "CheckHtmlPlayback.h"
#include "CheckPdfPlayback.h"
#include "FuzzReplay.h"

#include <gtest/gtest.h>

namespace {

TEST(PlaybackFuzzReplay, EverySeedAndEveryFoundSnapshotPassesThePdfCheck) {
    fiscora::test::ReplayFuzzCorpus("pdf_fuzzer", QStringLiteral(FISCORA_TEST_DATA_DIR "/fuzz-pdf"),
                                    fiscora::fuzz::CheckPdfPlayback);
}

TEST(PlaybackFuzzReplay, EverySeedAndEveryFoundSnapshotPassesTheHtmlCheck) {
    fiscora::test::ReplayFuzzCorpus("html_fuzzer", QStringLiteral(FISCORA_TEST_DATA_DIR "/fuzz-html"),
                                    fiscora::fuzz::CheckHtmlPlayback);
}

} // namespace
