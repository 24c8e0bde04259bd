#include "app/text/text_to_int.h"

namespace tessafold {

namespace {

// One character of the text as the number reader sees it: an ASCII digit,
// sign or space, or a full-width form standing for one.
struct Symbol {
  char ascii;   // the ASCII counterpart, or 0 for any other character
  size_t size;  // bytes the character takes in the text
};

Symbol ReadSymbol(std::string_view text, size_t at) {
  const auto byte = [&](size_t i) { return static_cast<unsigned char>(text[at + i]); };
  const size_t left = text.size() - at;
  if (left >= 3 && byte(0) == 0xEF && byte(1) == 0xBC) {
    const unsigned char last = byte(2);
    if (last >= 0x90 && last <= 0x99) return {static_cast<char>('0' + (last - 0x90)), 3};  // U+FF10..FF19
    if (last == 0x8B) return {'+', 3};                                                     // U+FF0B
    if (last == 0x8D) return {'-', 3};                                                     // U+FF0D
  }
  if (left >= 3 && byte(0) == 0xE3 && byte(1) == 0x80 && byte(2) == 0x80) return {' ', 3};  // U+3000
  const char c = text[at];
  switch (c) {
    case ' ': case '\t': case '\n': case '\v': case '\f': case '\r':
    case '+': case '-':
      return {c, 1};
    default:
      return {(c >= '0' && c <= '9') ? c : '\0', 1};
  }
}

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }

}  // namespace

int32_t TextToInt(std::string_view text) {
  size_t at = 0;
  Symbol symbol{};
  while (at < text.size() && IsSpace((symbol = ReadSymbol(text, at)).ascii)) at += symbol.size;

  bool negative = false;
  if (at < text.size()) {
    symbol = ReadSymbol(text, at);
    if (symbol.ascii == '+' || symbol.ascii == '-') {
      negative = symbol.ascii == '-';
      at += symbol.size;
    }
  }

  uint32_t value = 0;  // unsigned: the arithmetic wraps modulo 2^32 by definition
  while (at < text.size()) {
    symbol = ReadSymbol(text, at);
    if (symbol.ascii < '0' || symbol.ascii > '9') break;
    value = value * 10u + static_cast<uint32_t>(symbol.ascii - '0');
    at += symbol.size;
  }
  if (negative) value = 0u - value;
  return static_cast<int32_t>(value);
}

}  // namespace tessafold
