#include "app/text/text_to_int.h"

#include <gtest/gtest.h>

#include "fuzz/text_to_int_reference.h"

namespace tessafold {
namespace {

// Every worked example of the number reader, including the wrap-around values
// and the full-width forms a Chinese input method produces. The fuzz target's
// reference model is only worth checking against if it reads them right too.
TEST(TextToInt, ReadsTheLeadingIntegerAsDocumented) {
  const std::pair<const char*, int32_t> examples[] = {
      {"12abc", 12},    {" -3.9", -3},  {"3.9", 3},   {"", 0},         {"abc", 0},        {"+7", 7},
      {"- 7", 0},       {"--7", 0},     {"\t  42 ", 42}, {"12 34", 12}, {"1,000", 1},      {"1e5", 1},
      {"0x1F", 0},      {"007", 7},     {"2147483647", 2147483647},    {"2147483648", INT32_MIN},
      {"4294967295", -1},               {"4294967296", 0},             {"-2147483649", 2147483647},
      {"１２", 12},     {"－５", -5},   {"＋１", 1},  {"\u3000８", 8},  {"３．９", 3},       {"1", 1},
  };
  for (const auto& [text, value] : examples) {
    EXPECT_EQ(TextToInt(text), value) << "text: \"" << text << "\"";
    EXPECT_EQ(testing::ReferenceTextToInt(text), value) << "the reference, text: \"" << text << "\"";
  }
}

TEST(TextToInt, SkipsEveryKindOfLeadingWhiteSpace) {
  EXPECT_EQ(TextToInt("\n\v\f\r 5"), 5);
  EXPECT_EQ(TextToInt("\u3000\u3000-9"), -9);
  EXPECT_EQ(TextToInt("\u3000 \t\u30001"), 1);
}

TEST(TextToInt, AcceptsOnlyTheListedFullWidthForms) {
  EXPECT_EQ(TextToInt("１２３"), 123);
  EXPECT_EQ(TextToInt("1２3"), 123);            // the two forms mix freely
  EXPECT_EQ(TextToInt("－\u3000５"), 0);       // no space between sign and digits
  EXPECT_EQ(TextToInt("\xEF\xBC\x8F" "5"), 0);  // U+FF0F, full-width solidus, is no digit
  EXPECT_EQ(TextToInt("\xEF\xBC"), 0);          // a character cut short reads as nothing
  EXPECT_EQ(TextToInt("７\xEF\xBC"), 7);
}

}  // namespace
}  // namespace tessafold
