#pragma once
#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>

#include "app/files/file_primitives.h"

namespace tessafold {

// How much of a file one piece of a rewrite holds; a rewrite holds two.
// Measured under Wine on 256 MiB: 64 KiB pieces cost 4x a flushed copy (a
// thread handover per piece), 2 and 4 MiB pieces swing between 1x and 4x,
// 1 MiB pieces stay near 1.1x.
inline constexpr size_t kRewritePieceBytes = size_t{1} << 20;

// The largest single write of a rewrite. Linux, and so Wine, builds the page
// cache of a large write from large blocks of memory, which it may first have
// to free up. On a 2300 MiB file under Wine, 1 MiB writes took 2.5 to 7.7 s
// (median 4.9), 64 KiB writes, as a copy makes them, 1.5 to 2.2 s; 128 KiB
// writes were as fast at the median but a 4200 MiB file took twice as long.
inline constexpr size_t kWriteRequestBytes = size_t{64} << 10;

// How much new content asks for the next push to the disk beside the rest of
// the work. A push is asked for only once the last one is done, so on a slow
// disk each push carries more and their number follows the disk's pace. Small
// pushes keep the disk busy from the start and leave the final flush next to
// nothing: under Wine on 256 MiB, 4 MiB took 0.99 to 1.00 times a flushed
// copy, 64 MiB 1.36 to 1.39; from 2300 MiB up the two measured the same.
inline constexpr int64_t kFlushEveryBytes = int64_t{4} << 20;

// The open original and its replacement, as a rewrite uses them.
struct PieceStreams {
  std::function<bool(uint8_t* data, size_t count)> read;         // all `count` bytes, or false
  std::function<bool(const uint8_t* data, size_t count)> write;  // all `count` bytes, or false
  // What was written so far to the disk, through a handle of its own: on
  // Windows a flush on the handle being written would hold up its writes.
  std::function<bool()> flush;
  // The system's error of the call that just failed on the calling thread
  // (GetLastError, errno); asked on that thread, right after the failure.
  std::function<uint32_t()> error;
};

// How a pump ended. `error` is the system's error of the call that failed,
// on whichever thread failed; 0 when none was given (the file ended early,
// the process began to end).
struct PumpOutcome {
  bool done = false;
  uint32_t error = 0;
};

// Streams the `total` bytes of the original through `change` into the
// replacement. Three things overlap: a reader thread fills one half of
// `buffer` while the caller's thread changes and writes the other, and a
// flusher thread pushes what was written to the disk, so that the final flush
// has little left to do. One thread doing all three in turn took 1.3 times
// as long under Wine and 1.7 to 1.9 times natively (docs/benchmarks.md).
// Not done when a read, write or flush fails, the file ends early, or the
// process begins to end.
PumpOutcome PumpPieces(int64_t total, std::span<uint8_t> buffer, const PieceStreams& streams, const PieceChange& change);

}  // namespace tessafold
