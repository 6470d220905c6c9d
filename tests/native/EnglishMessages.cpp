// Every native test starts as the program does after its start-up: with the English
// messages of the shipped language file.
#include <gtest/gtest.h>

#include "tests/common/ShippedLanguages.h"

namespace {

class EnglishMessages final : public ::testing::Environment {
  public:
    void SetUp() override { pellmark::testcases::LoadShippedMessages("English"); }
};

[[maybe_unused]] const auto* const kEnglish =
    ::testing::AddGlobalTestEnvironment(new EnglishMessages);

}  // namespace
