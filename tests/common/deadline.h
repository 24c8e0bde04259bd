#pragma once
// Waiting with a deadline, so that a test whose behaviour is broken fails
// instead of hanging.
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <future>
#include <thread>
#include <utility>

namespace tessafold::testing {

inline constexpr uint32_t kWaitMs = 20000;  // generous: Wine on a loaded machine is slow

// Polls until the condition holds or the time is up; true when it held.
template <typename Condition>
bool WaitUntil(Condition condition, uint32_t timeoutMs = kWaitMs, uint32_t pollMs = 20) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  for (;;) {
    if (condition()) return true;
    if (std::chrono::steady_clock::now() >= end) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(pollMs));
  }
}

// A thread that the test joins with a deadline. One that has not ended by
// then is left running, detached, and the join reports false.
class TimedThread {
 public:
  explicit TimedThread(std::function<void()> work) {
    std::promise<void> ended;
    ended_ = ended.get_future();
    thread_ = std::thread([work = std::move(work), ended = std::move(ended)]() mutable {
      work();
      ended.set_value();
    });
  }
  TimedThread(TimedThread&&) = default;
  ~TimedThread() {
    if (thread_.joinable()) JoinWithin();
  }

  bool JoinWithin(uint32_t timeoutMs = kWaitMs) {
    if (ended_.wait_for(std::chrono::milliseconds(timeoutMs)) != std::future_status::ready) {
      LeaveBehind();
      return false;
    }
    thread_.join();
    return true;
  }

 private:
  // The thread may wait on something that the end of the program destroys,
  // which would block the exit: the run has failed, so it ends before that.
  void LeaveBehind() {
    thread_.detach();
    static const int endEarly = std::atexit([] {
      std::fflush(nullptr);
      std::_Exit(1);
    });
    (void)endEarly;
  }

  std::thread thread_;
  std::future<void> ended_;
};

}  // namespace tessafold::testing
