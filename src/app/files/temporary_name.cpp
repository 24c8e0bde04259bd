#include "app/files/temporary_name.h"

#include <cstdio>

namespace tessafold {

namespace {

constexpr std::string_view kStem = ".tessafold-";
constexpr std::string_view kSuffix = ".tmp";
// Leaves room for the rest within the 255 units a file name may have.
constexpr size_t kLongestOriginalPart = 120;

// The original's name as it appears in its temporary files' names.
std::string OriginalPart(std::string_view original) {
  if (original.size() <= kLongestOriginalPart) return std::string(original);
  uint32_t hash = 2166136261u;  // FNV-1a
  for (const char c : original) hash = (hash ^ static_cast<uint8_t>(c)) * 16777619u;
  size_t cut = kLongestOriginalPart;
  while (cut > 0 && (static_cast<uint8_t>(original[cut]) & 0xC0) == 0x80) --cut;  // whole UTF-8 characters
  char tail[10];
  std::snprintf(tail, sizeof tail, "~%08x", hash);
  return std::string(original.substr(0, cut)) + tail;
}

bool AllDigits(std::string_view text) {
  return !text.empty() && text.size() <= 10 && text.find_first_not_of("0123456789") == std::string_view::npos;
}

}  // namespace

std::string HostTag(std::string_view host) {
  std::string tag;
  for (const char c : host) {
    const bool plain = (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
    tag += plain ? c : '_';
  }
  return tag.empty() ? "_" : tag;
}

std::string TemporaryName(std::string_view original, std::string_view host, uint32_t processId, uint32_t serial) {
  return std::string(kStem) + std::to_string(processId) + "-" + std::to_string(serial) + "." + HostTag(host) + "." +
         OriginalPart(original) + std::string(kSuffix);
}

uint32_t TemporaryFileOwner(std::string_view name, std::string_view original, std::string_view host) {
  const std::string tail = "." + HostTag(host) + "." + OriginalPart(original) + std::string(kSuffix);
  if (!name.starts_with(kStem) || !name.ends_with(tail) || name.size() < kStem.size() + tail.size()) return 0;
  const std::string_view numbers = name.substr(kStem.size(), name.size() - kStem.size() - tail.size());
  const size_t dash = numbers.find('-');
  if (dash == std::string_view::npos || !AllDigits(numbers.substr(0, dash)) || !AllDigits(numbers.substr(dash + 1))) {
    return 0;
  }
  const unsigned long owner = std::stoul(std::string(numbers.substr(0, dash)));
  return owner <= UINT32_MAX ? static_cast<uint32_t>(owner) : 0;
}

}  // namespace tessafold
