#include <atomic>

#include "app/files/byte_buffer.h"
#include "app/files/file_primitives_detail.h"
#include "app/files/file_turn.h"
#include "app/files/rewrite_sequence.h"
#include "app/files/temporary_name.h"
#include "app/process/failure_report.h"
#include "app/process/shutdown_hold.h"

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
// open without sharing its deletion and stays.
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

// Reports why the rewrite stops at `step`, with the system's error of the
// call that failed (0 where no call failed), and says the rewrite failed.
bool Stop(std::string_view step, std::string_view path, uint32_t error) {
  ReportFailure(step, path, error);
  return false;
}

bool Stop(RewriteSteps& steps, std::string_view step, std::string_view path) {
  return Stop(step, path, steps.LastError());
}

// Another program may write to the original once it is closed, while the
// rename waits for a scanner to let go: that write must not be lost under the
// replacement. `changed` tells the caller why the attempts ended.
Attempt ReplaceUnlessChanged(RewriteSteps& steps, const std::string& replacement, const std::string& target,
                             bool& changed) {
  if (!steps.OriginalStillAtPath(target)) {
    changed = true;
    return Attempt::Failed;
  }
  return steps.Replace(replacement, target);
}

bool ReplaceOpenOriginal(RewriteSteps& steps, const OriginalFile& original, std::span<uint8_t> buffer,
                         const PieceChange& change) {
  const std::string host = steps.HostName();
  const uint32_t self = steps.ProcessId();
  const std::string target = original.folder + original.name;
  RemoveLeftovers(steps, original, host, self);
  const std::string replacement = CreateReplacement(steps, original, host, self);
  if (replacement.empty()) return Stop(steps, "creating the replacement", target);
  ReplacementGuard guard(steps, replacement);

  if (const PumpOutcome pumped = PumpPieces(original.size, buffer, steps.Streams(), change); !pumped.done) {
    return Stop("copying the content", target, pumped.error);
  }
  if (!steps.TakeOverTheRest()) return Stop(steps, "taking over times and streams", target);
  // The content must be on the disk before it takes the original's name, or
  // a crash right after the rename could leave a file without it.
  if (!steps.FlushReplacement() || !steps.CloseReplacement()) return Stop(steps, "flushing the replacement", target);
  // A write by someone else meanwhile would be lost with the old content.
  if (!steps.OriginalUnchanged()) return Stop("the file changed meanwhile", target, 0);
  steps.CloseOriginal();
  bool changed = false;
  if (!RetryBriefly([&] { return ReplaceUnlessChanged(steps, replacement, target, changed); })) {
    return changed ? Stop("the file changed before it was replaced", target, 0) : Stop(steps, "replacing", target);
  }
  guard.Placed();
  steps.SyncFolder(original.folder);
  return true;
}

// The reason a file is refused before anything is written, or none.
std::string_view RefusalOf(const OriginalFile& original) {
  if (!original.plainFile) return "refused: not a plain file";
  if (original.links != 1) return "refused: the file has other names (hard links)";
  if (original.readOnly) return "refused: read-only, or this user may not replace it";
  return {};
}

}  // namespace

bool RunRewrite(RewriteSteps& steps, const std::string& path, const PieceChange& change, size_t pieceBytes) {
  if (!IsUsablePath(path)) {
    ReportFailure("refused: no usable path", path, 0);
    return false;
  }
  // Taken before the turn and the hold: a failed allocation is fatal, and
  // should end the process before this job holds anything others wait for.
  ByteBuffer buffer = ByteBuffer::Allocate(static_cast<int32_t>(2 * pieceBytes));
  for (int attempt = 0; attempt < kIdentityAttempts; ++attempt) {
    const std::string identity = steps.IdentityOf(path);
    if (identity.empty()) return Stop(steps, "finding the file", path);
    const FileTurn turn(identity);
    const ShutdownHold hold;
    if (!hold.Held()) {
      ReportFailure("refused: the program is ending", path, 0);
      return false;
    }

    OriginalFile original;
    if (!steps.OpenOriginal(path, original)) return Stop(steps, "opening the file", path);
    // Replaced while this job waited for its turn: the turn to take now is
    // the new file's.
    if (original.identity != identity) {
      steps.CloseOriginal();
      continue;
    }
    if (const std::string_view refusal = RefusalOf(original); !refusal.empty()) {
      ReportFailure(refusal, original.folder + original.name, 0);
      return false;
    }
    return ReplaceOpenOriginal(steps, original, {buffer.Data(), 2 * pieceBytes}, change);
  }
  ReportFailure("refused: the file kept being replaced by others", path, 0);
  return false;
}

bool RewriteFile(const std::string& path, const PieceChange& change) {
  const std::unique_ptr<RewriteSteps> steps = PlatformRewriteSteps();
  return RunRewrite(*steps, path, change);
}

}  // namespace tessafold
