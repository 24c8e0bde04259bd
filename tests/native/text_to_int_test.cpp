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
      // Every kind of leading white space.
      {"\n\v\f\r 5", 5}, {"\u3000\u3000-9", -9}, {"\u3000 \t\u30001", 1},
      // Only the listed full-width forms, mixing freely with ASCII digits; no
      // space between sign and digits; U+FF0F (solidus) is no digit; a
      // character cut short reads as nothing.
      {"１２３", 123},  {"1２3", 123},  {"－\u3000５", 0}, {"\xEF\xBC\x8F" "5", 0}, {"\xEF\xBC", 0}, {"７\xEF\xBC", 7},
  };
  for (const auto& [text, value] : examples) {
    EXPECT_EQ(TextToInt(text), value) << "text: \"" << text << "\"";
    EXPECT_EQ(testing::ReferenceTextToInt(text), value) << "the reference, text: \"" << text << "\"";
  }
}

}  // namespace
}  // namespace tessafold
