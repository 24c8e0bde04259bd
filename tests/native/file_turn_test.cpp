#include <gtest/gtest.h>

#include <atomic>
#include <optional>
#include <thread>
#include <vector>

#include "app/files/file_turn.h"
#include "common/deadline.h"
#include "common/file_test_support.h"

namespace tessafold {
namespace {

using testing::TimedThread;

// Each waits while the file's turn is held, they then run one at a time, and
// the file is free again once the last is over.
TEST(FileTurnTest, ThreeTurnsOnOneFileRunOneAtATime) {
  testing::ScratchFolder folder;
  const std::string file = folder.Path("three.bin").string();
  std::atomic<int> inside{0};
  std::atomic<int> mostInside{0};
  std::atomic<int> entered{0};
  std::optional<FileTurn> held(std::in_place, file);
  std::vector<TimedThread> threads;
  for (int i = 0; i < 3; ++i) {
    threads.emplace_back([&] {
      const FileTurn turn(file);
      ++entered;
      const int now = ++inside;
      int seen = mostInside.load();
      while (now > seen && !mostInside.compare_exchange_weak(seen, now)) {}
      std::this_thread::yield();
      --inside;
    });
  }
  // All three queued, unless one that should have waited got in.
  EXPECT_TRUE(testing::WaitUntil([&] { return WaitingTurns(file) == 3 || entered != 0; }, testing::kWaitMs, 1));
  EXPECT_EQ(entered, 0);

  held.reset();
  for (TimedThread& thread : threads) EXPECT_TRUE(thread.JoinWithin()) << "a turn never got in";
  EXPECT_EQ(mostInside, 1);
  EXPECT_EQ(WaitingTurns(file), 0);
}

TEST(FileTurnTest, TurnsOnDifferentFilesDoNotWaitForEachOther) {
  testing::ScratchFolder folder;
  const FileTurn held(folder.Path("one.bin").string());
  TimedThread other([path = folder.Path("two.bin").string()] { const FileTurn turn(path); });
  EXPECT_TRUE(other.JoinWithin()) << "the turn on another file waited";
}

}  // namespace
}  // namespace tessafold
