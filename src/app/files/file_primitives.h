#pragma once
#include <cstdint>
#include <functional>
#include <span>
#include <string>

#include "app/files/byte_buffer.h"

namespace tessafold {

// What ReadWholeFile found, for callers that must not mistake a file they
// could not read for an empty one.
enum class ReadOutcome {
  Read,        // the buffer holds the whole file
  Empty,       // the file exists and has no bytes
  NoFile,      // empty path, no such file, or not a file (a directory)
  Unreadable,  // the file exists but cannot be delivered whole: access refused,
               // held open by another program, 2 GiB or more, a failed read
};

// Paths are UTF-8 and go to the platform unchanged; a relative path is
// resolved against the current directory.

// The whole file, or no buffer (an empty ByteBuffer) in every other case.
// Shared for reading only while it is open. Reads in pieces of at most 8 MiB.
ByteBuffer ReadWholeFile(const std::string& path, ReadOutcome* outcome = nullptr);

// Removes the file; false when nothing was removed.
bool DeleteFileAt(const std::string& path);

// Creates or truncates the file and writes the buffer, in pieces of at most
// 8 MiB, with no sharing while it is open. False when the open, a write or the
// close fails; an empty buffer leaves an empty file.
bool WriteWholeFile(const std::string& path, const ByteBuffer& buffer);

// Where a rewrite stands when it hands over a piece: the piece and every
// byte before it have been read.
struct RewriteProgress {
  int64_t done;
  int64_t total;
};

// Changes one piece of the file's bytes in place; pieces come in file order.
using PieceChange = std::function<void(std::span<uint8_t> piece, RewriteProgress progress)>;

// What is the same for every path to one file: its volume and file index on
// Windows, its device and inode elsewhere. Empty when no file is there.
std::string FileIdentity(const std::string& path);

// Replaces an existing file by its bytes run through `change`, piece by piece
// in a buffer of fixed size, so a file of any size takes the same memory. The
// path holds either the old or the new bytes at every moment: the new bytes go
// to a temporary file beside the real file (a symbolic link stays a link and
// its target changes) that carries the original's access rights, owner and
// group, and once flushed it is renamed over the original, which keeps its
// creation time, attributes and named streams. Rewrites of one file, by any
// of its spellings, take turns. Nobody may write to the original meanwhile.
// False, with the original untouched and no temporary file left, when the file
// is missing, read-only, held open by another program, has other names (hard
// links), may not be replaced by this user, changed meanwhile, any step
// fails, or the process began to end before the new content was complete.
bool RewriteFile(const std::string& path, const PieceChange& change);

}  // namespace tessafold
