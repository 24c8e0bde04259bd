#include "app/files/brief_retry.h"

#include <algorithm>
#include <thread>

namespace tessafold {

bool RetryBriefly(const std::function<Attempt()>& attempt, std::chrono::milliseconds budget) {
  using Clock = std::chrono::steady_clock;
  const Clock::time_point deadline = Clock::now() + budget;
  std::chrono::milliseconds pause(5);
  for (;;) {
    const Attempt result = attempt();
    if (result != Attempt::TryAgain) return result == Attempt::Done;
    const Clock::time_point now = Clock::now();
    if (now >= deadline) return false;
    std::this_thread::sleep_for(std::min<Clock::duration>(pause, deadline - now));
    pause = std::min(pause * 2, std::chrono::milliseconds(250));
  }
}

}  // namespace tessafold
