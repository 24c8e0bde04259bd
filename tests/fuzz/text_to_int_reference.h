#pragma once
#include <cstdint>
#include <string_view>
#include <vector>

namespace tessafold::testing {

// The number reader's rules written out plainly, to check TextToInt against:
// decode the UTF-8 text into characters, map the full-width forms to their
// ASCII counterparts by code point, then read sign and digits the way the
// rules list them, with the value kept below 2^32 after every step.

// One character: its code point (or a byte that is no valid UTF-8, which can
// never be a digit, sign or space) and how many bytes it takes.
struct Character {
  uint32_t codePoint;
  size_t size;
};

inline Character DecodeAt(std::string_view text, size_t at) {
  const auto byte = [&](size_t i) { return static_cast<uint8_t>(text[at + i]); };
  const uint8_t lead = byte(0);
  size_t size = 1;
  uint32_t codePoint = lead;
  uint32_t minimum = 0;
  if (lead >= 0xC0 && lead < 0xE0) size = 2, codePoint = lead & 0x1F, minimum = 0x80;
  else if (lead >= 0xE0 && lead < 0xF0) size = 3, codePoint = lead & 0x0F, minimum = 0x800;
  else if (lead >= 0xF0 && lead < 0xF5) size = 4, codePoint = lead & 0x07, minimum = 0x10000;
  else if (lead >= 0x80) return {0xFFFFFFFF, 1};
  if (at + size > text.size()) return {0xFFFFFFFF, 1};
  for (size_t i = 1; i < size; ++i) {
    if ((byte(i) & 0xC0) != 0x80) return {0xFFFFFFFF, 1};
    codePoint = codePoint << 6 | (byte(i) & 0x3F);
  }
  if (codePoint < minimum || codePoint > 0x10FFFF || (codePoint >= 0xD800 && codePoint <= 0xDFFF)) return {0xFFFFFFFF, 1};
  return {codePoint, size};
}

// The ASCII character a code point counts as for the number reader.
inline uint32_t Counterpart(uint32_t codePoint) {
  if (codePoint >= 0xFF10 && codePoint <= 0xFF19) return '0' + (codePoint - 0xFF10);
  if (codePoint == 0xFF0B) return '+';
  if (codePoint == 0xFF0D) return '-';
  if (codePoint == 0x3000) return ' ';
  return codePoint;
}

inline int32_t ReferenceTextToInt(std::string_view text) {
  std::vector<uint32_t> characters;
  for (size_t at = 0; at < text.size();) {
    const Character c = DecodeAt(text, at);
    characters.push_back(Counterpart(c.codePoint));
    at += c.size;
  }
  const auto isSpace = [](uint32_t c) { return c == ' ' || (c >= '\t' && c <= '\r'); };
  const auto isDigit = [](uint32_t c) { return c >= '0' && c <= '9'; };

  size_t i = 0;
  while (i < characters.size() && isSpace(characters[i])) ++i;
  bool negative = false;
  if (i < characters.size() && (characters[i] == '+' || characters[i] == '-')) negative = characters[i++] == '-';
  constexpr uint64_t kModulus = uint64_t{1} << 32;
  uint64_t value = 0;
  for (; i < characters.size() && isDigit(characters[i]); ++i) value = (value * 10 + (characters[i] - '0')) % kModulus;
  if (negative) value = (kModulus - value) % kModulus;
  return value >= kModulus / 2 ? static_cast<int32_t>(static_cast<int64_t>(value) - static_cast<int64_t>(kModulus))
                               : static_cast<int32_t>(value);
}

}  // namespace tessafold::testing
