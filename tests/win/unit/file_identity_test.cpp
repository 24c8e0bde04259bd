// Which spellings of a path name one file, and so share one turn of the jobs.
#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <optional>

#include "app/files/file_primitives.h"
#include "app/files/file_turn.h"
#include "app/text/win/wide_text.h"
#include "common/deadline.h"
#include "common/file_test_support.h"

namespace tessafold {
namespace {

class FileIdentityTest : public ::testing::Test {
 protected:
  void SetUp() override { testing::WriteBytes(file, {}); }

  testing::ScratchFolder scratch;
  const std::wstring folder = scratch.Root().wstring();
  const std::wstring file = folder + L"\\Mixed Case 文件.bin";
};

TEST_F(FileIdentityTest, CaseAndRoundaboutSpellingsNameTheSameFile) {
  std::wstring upper = file;
  CharUpperBuffW(upper.data(), static_cast<DWORD>(upper.size()));
  const std::wstring roundabout = folder + L"\\.\\..\\" + folder.substr(folder.find_last_of(L'\\') + 1) + L"\\mixed case 文件.BIN";

  // The form without the 260-character limit, and the short (8.3) name where
  // the file system keeps one.
  const std::wstring extended = L"\\\\?\\" + file;
  wchar_t shortName[MAX_PATH] = {};
  const DWORD shortLength = GetShortPathNameW(file.c_str(), shortName, MAX_PATH);

  const std::string identity = FileIdentity(Narrow(file));
  ASSERT_FALSE(identity.empty());
  for (const std::wstring& other : {upper, roundabout, extended}) EXPECT_EQ(FileIdentity(Narrow(other)), identity);
  if (shortLength > 0 && shortLength < MAX_PATH) {
    EXPECT_EQ(FileIdentity(Narrow(shortName)), identity) << Narrow(shortName);
  }
  testing::WriteBytes(folder + L"\\other.bin", {});
  EXPECT_NE(FileIdentity(Narrow(folder + L"\\other.bin")), identity);
  EXPECT_EQ(FileIdentity(Narrow(folder + L"\\missing.bin")), "");
}

TEST_F(FileIdentityTest, TurnsOnTwoSpellingsOfOneFileWaitForEachOther) {
  std::wstring lower = file;
  CharLowerBuffW(lower.data(), static_cast<DWORD>(lower.size()));
  std::atomic<bool> secondEntered{false};
  std::optional<FileTurn> first(std::in_place, FileIdentity(Narrow(file)));
  testing::TimedThread second([&, other = Narrow(lower)] {
    const FileTurn turn(FileIdentity(other));
    secondEntered = true;
  });
  // Either the second turn queues up behind the first or (wrongly) gets in.
  EXPECT_TRUE(testing::WaitUntil([&] { return WaitingTurns(FileIdentity(Narrow(file))) == 1 || secondEntered; }, testing::kWaitMs, 1));
  EXPECT_FALSE(secondEntered);

  first.reset();
  EXPECT_TRUE(second.JoinWithin()) << "the second turn never got in";
}

}  // namespace
}  // namespace tessafold
