#include "app/process/shutdown_hold.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>

namespace tessafold {

namespace {
using Clock = std::chrono::steady_clock;

// A cancelled call may not have begun when its action ran; the next round catches it.
constexpr auto kCancelAgainEvery = std::chrono::milliseconds(50);
// Enough for a replacement already in its final flush and rename (the rename
// alone retries for about 2 s); what is cut off still leaves the old or the new file.
constexpr auto kFatalEndWait = std::chrono::seconds(5);

std::mutex holdMutex;
std::condition_variable holdsReleased;
int holdCount = 0;
thread_local int holdsOfThisThread = 0;
std::atomic<bool> ending{false};
Clock::time_point fatalEndBy = Clock::time_point::max();  // under holdMutex

// Separate from holdMutex: an action may take locks of its own work, whose
// threads may be taking or releasing a hold at the time.
std::mutex cancelMutex;
ShutdownCancel* firstCancel = nullptr;
}  // namespace

ShutdownHold::ShutdownHold() {
  std::lock_guard lock(holdMutex);
  held_ = !ending.load();
  if (!held_) return;
  ++holdCount;
  ++holdsOfThisThread;
}

ShutdownHold::~ShutdownHold() {
  if (!held_) return;
  std::lock_guard lock(holdMutex);
  --holdsOfThisThread;
  if (--holdCount == 0) holdsReleased.notify_all();
}

ShutdownCancel::ShutdownCancel(std::function<void()> action) : action_(std::move(action)) {
  std::lock_guard lock(cancelMutex);
  next_ = firstCancel;
  if (next_) next_->previous_ = this;
  firstCancel = this;
}

ShutdownCancel::~ShutdownCancel() {
  std::lock_guard lock(cancelMutex);
  if (next_) next_->previous_ = previous_;
  if (previous_) previous_->next_ = next_;
  else firstCancel = next_;
}

bool ShutdownBegun() { return ending.load(std::memory_order_relaxed); }

void WaitForShutdownHolds(std::chrono::milliseconds bound) {
  const Clock::time_point orderlyEndBy = Clock::now() + bound;
  std::unique_lock lock(holdMutex);
  ending = true;
  while (holdCount > 0 && Clock::now() < std::min(fatalEndBy, orderlyEndBy)) {
    lock.unlock();
    {
      std::lock_guard cancelLock(cancelMutex);
      for (ShutdownCancel* cancel = firstCancel; cancel; cancel = cancel->next_) cancel->action_();
    }
    lock.lock();
    holdsReleased.wait_for(lock, kCancelAgainEvery, [] { return holdCount == 0; });
  }
}

void AbandonShutdownHoldsForFatalEnd() {
  std::lock_guard lock(holdMutex);
  ending = true;
  fatalEndBy = Clock::now() + kFatalEndWait;
  holdCount -= holdsOfThisThread;
  holdsOfThisThread = 0;
  holdsReleased.notify_all();
}

}  // namespace tessafold
