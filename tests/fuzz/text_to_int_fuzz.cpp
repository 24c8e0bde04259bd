// libFuzzer target: TextToInt must agree with the reference reading of its
// rules on every input. Built and run by scripts/fuzz.sh.
#include <cstdio>
#include <cstdlib>

#include "fuzz/text_to_int_target.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string mismatch = tessafold::testing::TextToIntMismatch(data, size);
  if (!mismatch.empty()) {
    std::fprintf(stderr, "%s\n", mismatch.c_str());
    std::abort();
  }
  return 0;
}
