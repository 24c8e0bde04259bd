#pragma once
#include <string>

#include "app/byte_buffer.h"

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

// Replaces the content of an existing file so that the path holds either the
// old or the new bytes at every moment: the buffer goes to a temporary file in
// the same folder, is flushed, and is renamed over the original in one step.
// False, with the original untouched and no temporary file left, when the
// file is missing, read-only, held open by another program, or any step fails.
bool ReplaceWholeFile(const std::string& path, const ByteBuffer& buffer);

}  // namespace tessafold
