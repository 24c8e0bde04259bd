#include "app/shutdown_hold.h"

#include <condition_variable>
#include <mutex>

namespace tessafold {

namespace {
std::mutex holdMutex;
std::condition_variable holdsReleased;
int holdCount = 0;
}  // namespace

ShutdownHold::ShutdownHold() {
  std::lock_guard lock(holdMutex);
  ++holdCount;
}

ShutdownHold::~ShutdownHold() {
  std::lock_guard lock(holdMutex);
  if (--holdCount == 0) holdsReleased.notify_all();
}

void WaitForShutdownHolds() {
  std::unique_lock lock(holdMutex);
  holdsReleased.wait(lock, [] { return holdCount == 0; });
}

}  // namespace tessafold
