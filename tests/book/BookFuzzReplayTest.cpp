// The CSV and book file fuzzers' checks on their seeds and on every input that once failed them.
#include "CheckBookFile.h"
#include "CheckCsvImport.h"
#include "FuzzReplay.h"

#include <gtest/gtest.h>

namespace {

TEST(BookFuzzReplay, EverySeedAndEveryFoundCsvFilePassesTheImportCheck) {
    fiscora::test::ReplayFuzzCorpus("csv_fuzzer", QStringLiteral(FISCORA_TEST_DATA_DIR "/fuzz-csv"),
                                    fiscora::fuzz::CheckCsvImport);
}

TEST(BookFuzzReplay, EverySeedAndEveryFoundBookFilePassesTheBookCheck) {
    fiscora::test::ReplayFuzzCorpus("book_fuzzer", QStringLiteral(FISCORA_TEST_DATA_DIR "/fuzz-book"),
                                    fiscora::fuzz::CheckBookFile);
}

} // namespace
