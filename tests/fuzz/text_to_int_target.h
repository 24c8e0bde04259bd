#pragma once
#include <cstdint>
#include <string>
#include <string_view>

#include "app/text/text_to_int.h"
#include "fuzz/text_to_int_reference.h"

namespace tessafold::testing {

// The body of the fuzz target, shared with the regression test that replays
// it: empty when TextToInt agrees with the reference on the input, else what
// differed.
inline std::string TextToIntMismatch(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const int32_t actual = TextToInt(text);
  const int32_t expected = ReferenceTextToInt(text);
  if (actual == expected) return {};
  return "TextToInt gave " + std::to_string(actual) + ", the reference " + std::to_string(expected);
}

}  // namespace tessafold::testing
