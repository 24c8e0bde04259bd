#include "app/files/file_attributes.h"

namespace tessafold {

namespace {

constexpr uint32_t kNameSurrogateBit = 0x20000000;

// Not name surrogates, yet no data behind them either: a socket, a pipe and
// devices of the Linux subsystem, and an app execution alias.
constexpr uint32_t kSpecialFileTags[] = {0x80000023 /* AF_UNIX */, 0x80000024 /* LX_FIFO */,
                                         0x80000025 /* LX_CHR */, 0x80000026 /* LX_BLK */,
                                         0x8000001B /* APPEXECLINK */};

constexpr uint32_t kKeptAttributes = file_attribute::kHidden | file_attribute::kSystem | file_attribute::kArchive |
                                     file_attribute::kNotContentIndexed | file_attribute::kEncrypted;

bool Has(uint32_t attributes, uint32_t wanted) { return (attributes & wanted) != 0; }

}  // namespace

bool IsOrdinaryFile(uint32_t attributes, uint32_t reparseTag) {
  if (Has(attributes, file_attribute::kDirectory)) return false;
  if (!Has(attributes, file_attribute::kReparsePoint)) return true;
  if (reparseTag == 0 || Has(reparseTag, kNameSurrogateBit)) return false;
  for (const uint32_t special : kSpecialFileTags) {
    if (reparseTag == special) return false;
  }
  return true;
}

uint32_t AttributesToCreate(uint32_t original) {
  const uint32_t kept = original & kKeptAttributes;
  return kept ? kept : file_attribute::kNormal;
}

ReplacementFix FixFor(uint32_t original, uint32_t replacement) {
  if (Has(original, file_attribute::kEncrypted) && !Has(replacement, file_attribute::kEncrypted)) {
    return ReplacementFix::Refuse;
  }
  const bool wanted = Has(original, file_attribute::kCompressed), has = Has(replacement, file_attribute::kCompressed);
  if (wanted == has) return ReplacementFix::None;
  // A file kept uncompressed in a compressed folder stays uncompressed.
  return wanted ? ReplacementFix::Compress : ReplacementFix::Decompress;
}

}  // namespace tessafold
