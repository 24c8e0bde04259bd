#pragma once
#include <cstdint>
#include <string_view>

namespace tessafold {

// The leading decimal integer of a UTF-8 text, modulo 2^32, as a signed 32-bit
// value. Full-width digits, signs and the ideographic space count as their
// ASCII counterparts. Never fails: a text without a number gives 0.
int32_t TextToInt(std::string_view text);

}  // namespace tessafold
