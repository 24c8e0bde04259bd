// Which spellings of a path the per-file turns of the jobs take for one file.
#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <optional>

#include "app/path_key.h"
#include "app/win/wide_text.h"
#include "cipher/file_turn.h"
#include "common/deadline.h"
#include "common/file_test_support.h"

namespace tessafold {
namespace {

class PathKeyTest : public ::testing::Test {
 protected:
  void SetUp() override { testing::WriteBytes(file, {}); }

  testing::ScratchFolder scratch;
  const std::wstring folder = scratch.Root().wstring();
  const std::wstring file = folder + L"\\Mixed Case 文件.bin";
};

TEST_F(PathKeyTest, CaseAndRoundaboutSpellingsNameTheSameFile) {
  std::wstring upper = file;
  CharUpperBuffW(upper.data(), static_cast<DWORD>(upper.size()));
  const std::wstring roundabout = folder + L"\\.\\..\\" + folder.substr(folder.find_last_of(L'\\') + 1) + L"\\mixed case 文件.BIN";

  EXPECT_EQ(PathKey(Narrow(file)), PathKey(Narrow(upper)));
  EXPECT_EQ(PathKey(Narrow(file)), PathKey(Narrow(roundabout)));
  EXPECT_NE(PathKey(Narrow(file)), PathKey(Narrow(folder + L"\\other.bin")));
}

TEST_F(PathKeyTest, ARelativePathIsTakenFromTheCurrentDirectory) {
  wchar_t previous[MAX_PATH + 1] = {};
  GetCurrentDirectoryW(MAX_PATH + 1, previous);
  ASSERT_TRUE(SetCurrentDirectoryW(folder.c_str()));
  const std::string relative = PathKey("mixed case 文件.bin");
  SetCurrentDirectoryW(previous);

  EXPECT_EQ(relative, PathKey(Narrow(file)));
}

TEST_F(PathKeyTest, TurnsOnTwoSpellingsOfOneFileWaitForEachOther) {
  std::wstring lower = file;
  CharLowerBuffW(lower.data(), static_cast<DWORD>(lower.size()));
  std::atomic<bool> secondEntered{false};
  std::optional<FileTurn> first(std::in_place, Narrow(file));
  testing::TimedThread second([&, other = Narrow(lower)] {
    const FileTurn turn(other);
    secondEntered = true;
  });
  // Either the second turn queues up behind the first or (wrongly) gets in.
  EXPECT_TRUE(testing::WaitUntil([&] { return WaitingTurns(Narrow(file)) == 1 || secondEntered; }, testing::kWaitMs, 1));
  EXPECT_FALSE(secondEntered);

  first.reset();
  EXPECT_TRUE(second.JoinWithin()) << "the second turn never got in";
}

}  // namespace
}  // namespace tessafold
