#pragma once
#include <chrono>
#include <functional>

namespace tessafold {

// Held while a file is being replaced: the orderly end of the process waits
// until no hold is left, so closing the window never cuts a replacement off
// half-way. Once the end has begun no hold can be taken any more, and work
// that can still be given up asks ShutdownBegun() and stops early.
class ShutdownHold {
 public:
  ShutdownHold();
  ~ShutdownHold();
  ShutdownHold(const ShutdownHold&) = delete;
  ShutdownHold& operator=(const ShutdownHold&) = delete;

  // False when the end had already begun: the work must not start.
  bool Held() const { return held_; }

 private:
  bool held_;
};

// While it lives, the end of the process runs `action` as it begins and again
// every little while until the holds are gone: work under a hold that can sit
// in a blocking call (a stalled drive) registers how to cut that call short.
// The action must not block or throw. Once the destructor returns, the action
// is not running and never runs again.
class ShutdownCancel {
 public:
  explicit ShutdownCancel(std::function<void()> action);
  ~ShutdownCancel();
  ShutdownCancel(const ShutdownCancel&) = delete;
  ShutdownCancel& operator=(const ShutdownCancel&) = delete;

 private:
  friend void WaitForShutdownHolds(std::chrono::milliseconds bound);
  std::function<void()> action_;
  ShutdownCancel* next_ = nullptr;
  ShutdownCancel* previous_ = nullptr;
};

// True from the moment the clean-up starts waiting for the holds.
bool ShutdownBegun();

// How long the orderly end waits for the holds. Some calls cannot be cut
// short (a named stream's copy, the final flush, a network share that stopped
// answering); past this the process ends all the same, which leaves the
// original or the result, as a hard kill does, never a mix.
inline constexpr std::chrono::milliseconds kOrderlyEndWait{30000};

// Refuses every new hold, cuts short the blocking calls registered through
// ShutdownCancel, then blocks until every hold has been released or `bound`
// has passed (after a fatal error: at most a few seconds). Called by the
// clean-up.
void WaitForShutdownHolds(std::chrono::milliseconds bound = kOrderlyEndWait);

// For the fatal end, on the thread that raised it: that thread never unwinds,
// so its holds are released here, and the clean-up waits for the other
// threads' holds only briefly, since they may wait for the dying thread.
void AbandonShutdownHoldsForFatalEnd();

}  // namespace tessafold
