// A job on a disk too full for the new content beside the old. Run only by
// full_disk.sh, which mounts a small file system outside Wine, passes its
// Windows path in TESSAFOLD_FULL_DISK and checks the disk again afterwards.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "app_under_test.h"
#include "window_job.h"
#include "pattern_file.h"
#include "scratch_files.h"
#include "ui/main_window_ids.h"

namespace {

using namespace faults;

TEST(FullDisk, AJobThatDoesNotFitFailsAndLeavesTheOriginal) {
  const wchar_t* disk = _wgetenv(L"TESSAFOLD_FULL_DISK");
  ASSERT_NE(disk, nullptr) << "run by full_disk.sh, which mounts the small disk";
  ULARGE_INTEGER free{};
  ASSERT_TRUE(GetDiskFreeSpaceExW(disk, &free, nullptr, nullptr));
  // More than half the free space: a second copy cannot fit beside it.
  const uint64_t size = free.QuadPart / 5 * 3;
  const std::wstring file = std::wstring(disk) + L"\\满盘.bin";
  ASSERT_TRUE(WritePatternFile(file, size));

  e2e::AppUnderTest app;
  ASSERT_TRUE(app.Started());
  EnterJobInputs(app, L"77", L"3", file);
  EXPECT_EQ(RunJobThroughTheWindow(app, tessafold::encryptButton), kEncryptFailure);
  EXPECT_EQ(RunJobThroughTheWindow(app, tessafold::decryptButton), kDecryptFailure);

  EXPECT_EQ(PatternShift(file, size), std::optional<uint8_t>(0));
  EXPECT_EQ(NamesIn(disk), std::vector<std::wstring>{L"满盘.bin"});
}

}  // namespace
