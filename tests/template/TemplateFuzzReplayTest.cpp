// The template fuzzer's check on its seeds and on every template that once failed it.
#include "CheckTemplateLayout.h"
#include "FuzzReplay.h"

#include <gtest/gtest.h>

namespace {

TEST(TemplateFuzzReplay, EverySeedAndEveryFoundTemplatePassesTheFuzzCheck) {
    fiscora::test::ReplayFuzzCorpus("template_fuzzer", QStringLiteral(FISCORA_TEST_DATA_DIR "/fuzz-template"),
                                    fiscora::fuzz::CheckTemplateLayout);
}

} // namespace
