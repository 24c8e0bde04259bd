#include "app/shutdown_hold.h"

#include <atomic>
#include <condition_variable>
#include <mutex>

namespace tessafold {

namespace {
std::mutex holdMutex;
std::condition_variable holdsReleased;
int holdCount = 0;
std::atomic<bool> ending{false};
}  // namespace

ShutdownHold::ShutdownHold() {
  std::lock_guard lock(holdMutex);
  held_ = !ending.load();
  if (held_) ++holdCount;
}

ShutdownHold::~ShutdownHold() {
  if (!held_) return;
  std::lock_guard lock(holdMutex);
  if (--holdCount == 0) holdsReleased.notify_all();
}

bool ShutdownBegun() { return ending.load(std::memory_order_relaxed); }

void WaitForShutdownHolds() {
  std::unique_lock lock(holdMutex);
  ending = true;
  holdsReleased.wait(lock, [] { return holdCount == 0; });
}

}  // namespace tessafold
