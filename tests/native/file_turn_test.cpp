#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "app/path_key.h"
#include "cipher/file_turn.h"
#include "scratch_folder.h"

namespace tessafold {
namespace {

// Waits until `count` turns on the file are queued, or until a turn that
// should have waited got in (`entered`).
void AwaitWaiting(const std::string& path, int count, const std::atomic<int>& entered) {
  while (WaitingTurns(path) != count && entered == 0) std::this_thread::yield();
}

TEST(PathKeyTest, SpellingsOfOneFileGiveOneKeyAndOtherFilesOthers) {
  testing::ScratchFolder folder;
  const auto file = folder.Path("same.bin");
  testing::WriteBytes(file, {1});
  const std::string roundabout = (file.parent_path() / ".." / file.parent_path().filename() / "same.bin").string();

  EXPECT_EQ(PathKey(file.string()), PathKey(roundabout));
  EXPECT_NE(PathKey(file.string()), PathKey(folder.Path("other.bin").string()));
  EXPECT_EQ(PathKey(""), "");
}

TEST(FileTurnTest, ASecondTurnOnTheSameFileWaitsUntilTheFirstIsOver) {
  testing::ScratchFolder folder;
  const auto file = folder.Path("shared.bin");
  testing::WriteBytes(file, {1});
  std::atomic<int> secondEntered{0};
  std::thread second;
  {
    const FileTurn first(file.string());
    second = std::thread([&] {
      const FileTurn turn((file.parent_path() / "." / "shared.bin").string());
      secondEntered = 1;
    });
    AwaitWaiting(file.string(), 1, secondEntered);
    EXPECT_EQ(secondEntered, 0);
  }
  second.join();
  EXPECT_EQ(secondEntered, 1);
  EXPECT_EQ(WaitingTurns(file.string()), 0);
}

TEST(FileTurnTest, ThreeTurnsOnOneFileRunOneAtATime) {
  testing::ScratchFolder folder;
  const std::string file = folder.Path("three.bin").string();
  std::atomic<int> inside{0};
  std::atomic<int> mostInside{0};
  std::atomic<int> done{0};
  std::atomic<int> entered{0};
  std::vector<std::thread> threads;
  {
    const FileTurn held(file);
    for (int i = 0; i < 3; ++i) {
      threads.emplace_back([&] {
        const FileTurn turn(file);
        ++entered;
        const int now = ++inside;
        int seen = mostInside.load();
        while (now > seen && !mostInside.compare_exchange_weak(seen, now)) {}
        std::this_thread::yield();
        --inside;
        ++done;
      });
    }
    AwaitWaiting(file, 3, entered);
    EXPECT_EQ(done, 0);
  }
  for (std::thread& thread : threads) thread.join();
  EXPECT_EQ(done, 3);
  EXPECT_EQ(mostInside, 1);
}

TEST(FileTurnTest, TurnsOnDifferentFilesDoNotWaitForEachOther) {
  testing::ScratchFolder folder;
  const FileTurn held(folder.Path("one.bin").string());
  std::atomic<bool> otherDone{false};

  std::thread other([&] {
    const FileTurn turn(folder.Path("two.bin").string());
    otherDone = true;
  });
  other.join();  // would never return if the turns were shared

  EXPECT_TRUE(otherDone);
}

TEST(FileTurnTest, AFinishedTurnLeavesTheFileFree) {
  testing::ScratchFolder folder;
  const std::string file = folder.Path("again.bin").string();
  { const FileTurn first(file); }
  { const FileTurn second(file); }
  EXPECT_EQ(WaitingTurns(file), 0);
}

}  // namespace
}  // namespace tessafold
