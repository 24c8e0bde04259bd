#include <gtest/gtest.h>

#include <atomic>
#include <optional>
#include <thread>
#include <vector>

#include "app/files/file_primitives.h"
#include "app/files/file_turn.h"
#include "common/deadline.h"
#include "common/file_test_support.h"

namespace tessafold {
namespace {

using testing::TimedThread;

// Waits until `count` turns on the file are queued, or until a turn that
// should have waited got in (`entered`); false when neither came about.
bool AwaitWaiting(const std::string& path, int count, const std::atomic<int>& entered) {
  return testing::WaitUntil([&] { return WaitingTurns(path) == count || entered != 0; }, testing::kWaitMs, 1);
}

TEST(FileTurnTest, ASecondTurnOnTheSameFileWaitsUntilTheFirstIsOver) {
  testing::ScratchFolder folder;
  const auto file = folder.Path("shared.bin");
  testing::WriteBytes(file, {1});
  std::atomic<int> secondEntered{0};
  std::optional<FileTurn> first(std::in_place, FileIdentity(file.string()));
  TimedThread second([&, other = (file.parent_path() / "." / "shared.bin").string()] {
    const FileTurn turn(FileIdentity(other));
    secondEntered = 1;
  });
  EXPECT_TRUE(AwaitWaiting(FileIdentity(file.string()), 1, secondEntered));
  EXPECT_EQ(secondEntered, 0);

  first.reset();
  EXPECT_TRUE(second.JoinWithin()) << "the second turn never got in";
  EXPECT_EQ(WaitingTurns(FileIdentity(file.string())), 0);
}

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
  EXPECT_TRUE(AwaitWaiting(file, 3, entered));
  EXPECT_EQ(entered, 0);

  held.reset();
  for (TimedThread& thread : threads) EXPECT_TRUE(thread.JoinWithin()) << "a turn never got in";
  EXPECT_EQ(mostInside, 1);
}

TEST(FileTurnTest, TurnsOnDifferentFilesDoNotWaitForEachOther) {
  testing::ScratchFolder folder;
  const FileTurn held(folder.Path("one.bin").string());
  TimedThread other([path = folder.Path("two.bin").string()] { const FileTurn turn(path); });
  EXPECT_TRUE(other.JoinWithin()) << "the turn on another file waited";
}

TEST(FileTurnTest, AFinishedTurnLeavesTheFileFree) {
  testing::ScratchFolder folder;
  const std::string file = folder.Path("again.bin").string();
  { const FileTurn first(file); }
  TimedThread next([file] { const FileTurn second(file); });
  EXPECT_TRUE(next.JoinWithin()) << "the file was still taken";
}

}  // namespace
}  // namespace tessafold
