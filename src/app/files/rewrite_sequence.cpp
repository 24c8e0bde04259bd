#include <atomic>

#include "app/files/byte_buffer.h"
#include "app/files/file_primitives_detail.h"
#include "app/files/file_turn.h"
#include "app/files/rewrite_sequence.h"
#include "app/files/shutdown_hold.h"
#include "app/files/temporary_name.h"

namespace tessafold {

namespace {

// Another job may replace the file between reading its identity and opening
// it; after that many replacements in a row the rewrite gives up.
constexpr int kIdentityAttempts = 16;

// A process killed before its rename leaves its temporary file beside the
// whole original. Only this file's leftovers made on this machine by
// processes that no longer run are removed: a leftover whose original is
// gone may be the only copy, and one of another machine's process cannot be
// told from one of an ended process here. One still being written is held
// open without sharing and stays.
void RemoveLeftovers(RewriteSteps& steps, const OriginalFile& original, const std::string& host, uint32_t self) {
  for (const std::string& name : steps.TemporaryNamesIn(original.folder)) {
    const uint32_t owner = TemporaryFileOwner(name, original.name, host);
    if (owner != 0 && owner != self && !steps.ProcessRuns(owner)) steps.RemoveFile(original.folder + name);
  }
}

// The replacement's path once it was created; empty when none could be.
std::string CreateReplacement(RewriteSteps& steps, const OriginalFile& original, const std::string& host,
                              uint32_t self) {
  static std::atomic<uint32_t> serial{0};
  for (int attempt = 0; attempt < 100; ++attempt) {
    const std::string path = original.folder + TemporaryName(original.name, host, self, serial.fetch_add(1));
    switch (steps.CreateReplacement(path)) {
      case Creation::Created: return path;
      case Creation::NameTaken: continue;
      case Creation::Failed: return {};
    }
  }
  return {};
}

// Removes the replacement unless it took the original's place.
class ReplacementGuard {
 public:
  ReplacementGuard(RewriteSteps& steps, std::string path) : steps_(steps), path_(std::move(path)) {}
  ~ReplacementGuard() {
    if (!path_.empty()) steps_.RemoveReplacement(path_);
  }
  ReplacementGuard(const ReplacementGuard&) = delete;
  ReplacementGuard& operator=(const ReplacementGuard&) = delete;
  void Placed() { path_.clear(); }

 private:
  RewriteSteps& steps_;
  std::string path_;
};

bool ReplaceOpenOriginal(RewriteSteps& steps, const OriginalFile& original, std::span<uint8_t> buffer,
                         const PieceChange& change) {
  const std::string host = steps.HostName();
  const uint32_t self = steps.ProcessId();
  RemoveLeftovers(steps, original, host, self);
  const std::string replacement = CreateReplacement(steps, original, host, self);
  if (replacement.empty()) return false;
  ReplacementGuard guard(steps, replacement);

  if (!PumpPieces(original.size, buffer, steps.Streams(), change)) return false;
  if (!steps.TakeOverTheRest()) return false;
  // The content must be on the disk before it takes the original's name, or
  // a crash right after the rename could leave a file without it.
  if (!steps.FlushReplacement() || !steps.CloseReplacement()) return false;
  // A write by someone else meanwhile would be lost with the old content.
  if (!steps.OriginalUnchanged()) return false;
  steps.CloseOriginal();
  const std::string target = original.folder + original.name;
  if (!RetryBriefly([&] { return steps.Replace(replacement, target); })) return false;
  guard.Placed();
  steps.SyncFolder(original.folder);
  return true;
}

}  // namespace

bool RunRewrite(RewriteSteps& steps, const std::string& path, const PieceChange& change, size_t pieceBytes) {
  if (!IsUsablePath(path)) return false;
  // Taken before the turn and the hold: a failed allocation is fatal, and
  // should end the process before this job holds anything others wait for.
  ByteBuffer buffer = ByteBuffer::Allocate(static_cast<int32_t>(2 * pieceBytes));
  for (int attempt = 0; attempt < kIdentityAttempts; ++attempt) {
    const std::string identity = steps.IdentityOf(path);
    if (identity.empty()) return false;
    const FileTurn turn(identity);
    const ShutdownHold hold;
    if (!hold.Held()) return false;

    OriginalFile original;
    if (!steps.OpenOriginal(path, original)) return false;
    // Replaced while this job waited for its turn: the turn to take now is
    // the new file's.
    if (original.identity != identity) {
      steps.CloseOriginal();
      continue;
    }
    if (!original.plainFile || original.links != 1 || original.readOnly) return false;
    return ReplaceOpenOriginal(steps, original, {buffer.Data(), 2 * pieceBytes}, change);
  }
  return false;
}

bool RewriteFile(const std::string& path, const PieceChange& change) {
  const std::unique_ptr<RewriteSteps> steps = PlatformRewriteSteps();
  return RunRewrite(*steps, path, change);
}

}  // namespace tessafold
