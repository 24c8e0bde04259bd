// Replays the TextToInt fuzz target on its seed corpus and on a few thousand
// random texts built from the characters the rules care about, so every test
// run repeats what the fuzzer checks.
#include <gtest/gtest.h>

#include <filesystem>
#include <random>

#include "common/file_test_support.h"
#include "fuzz/text_to_int_target.h"

namespace tessafold {
namespace {

std::string Check(std::string_view text) {
  return testing::TextToIntMismatch(reinterpret_cast<const uint8_t*>(text.data()), text.size());
}

TEST(TextToIntFuzzRegression, TheSeedCorpusPasses) {
  const auto corpus = std::filesystem::path(__FILE__).parent_path().parent_path() / "fuzz" / "corpus" / "text_to_int";
  size_t replayed = 0;
  for (const auto& entry : std::filesystem::directory_iterator(corpus)) {
    const testing::Bytes bytes = testing::ReadBytes(entry.path());
    EXPECT_EQ(testing::TextToIntMismatch(bytes.data(), bytes.size()), "") << entry.path();
    ++replayed;
  }
  EXPECT_GE(replayed, 25u);  // the worked examples are all there
}

TEST(TextToIntFuzzRegression, RandomTextsOfDigitsSignsSpacesAndFullWidthFormsAgree) {
  const std::string_view pieces[] = {
      "0", "1", "5", "9", "+", "-", " ", "\t", "\n", "\v", "\f", "\r", "a", ".", "x", "e",
      "\uFF10", "\uFF15", "\uFF19", "\uFF0B", "\uFF0D", "\u3000", "\uFF0F", "\uFF1A", "\uFF0E", "\u3001",
      "\xEF\xBC", "\xE3\x80", "\xEF", "\xBC\x90", "\xC0\x80", "\xFF", "\xE4\xB8\xAD", "\xF0\x9F\x98\x80",
  };
  std::mt19937 random(97);
  for (int i = 0; i < 5000; ++i) {
    std::string text;
    const size_t count = random() % 24;
    for (size_t j = 0; j < count; ++j) {
      if (random() % 16 == 0) text += static_cast<char>(random());
      else text += pieces[random() % std::size(pieces)];
    }
    ASSERT_EQ(Check(text), "") << "text bytes: " << ::testing::PrintToString(text);
  }
}

}  // namespace
}  // namespace tessafold
