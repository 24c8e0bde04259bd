#pragma once
#include <cstdint>

namespace tessafold {

// What a rewrite makes of a file's Windows attributes and reparse tag. The
// values are Windows' own (FILE_ATTRIBUTE_*, IO_REPARSE_TAG_*); the decisions
// live here so that every documented case is tested on any machine.
namespace file_attribute {
inline constexpr uint32_t kReadOnly = 0x1, kHidden = 0x2, kSystem = 0x4, kDirectory = 0x10, kArchive = 0x20,
                          kNormal = 0x80, kSparse = 0x200, kReparsePoint = 0x400, kCompressed = 0x800,
                          kNotContentIndexed = 0x2000, kEncrypted = 0x4000;
}  // namespace file_attribute

// True when the opened file is an ordinary file for this program: not a
// folder, and either no reparse point or one whose tag carries data (a cloud
// placeholder such as OneDrive's, a deduplicated or a WOF-compressed file).
// A name surrogate (a symbolic link, a junction) that the open did not
// follow, and the special files of the Linux subsystem, are not.
bool IsOrdinaryFile(uint32_t attributes, uint32_t reparseTag);

// The attributes to create the replacement with: the original's hidden,
// system, archive, not-indexed and encrypted ones. Compression cannot be
// asked for at creation, and a sparse file cannot stay sparse: its zeros no
// longer are zeros once shifted.
uint32_t AttributesToCreate(uint32_t original);

// What is left to do once the replacement exists with `replacement`'s
// attributes. An original that was encrypted must never be followed by a
// replacement that is not: that would lay its content open on the disk.
enum class ReplacementFix { None, Compress, Decompress, Refuse };
ReplacementFix FixFor(uint32_t original, uint32_t replacement);

}  // namespace tessafold
