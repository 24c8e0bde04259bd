// A file larger than a 32-bit process could ever hold goes through the window
// and back in the same memory as a small one. (Offsets past 4 GiB are shown
// by the file contract's own case, without the window's start-up.)
#include <gtest/gtest.h>
#include <windows.h>
#include <psapi.h>

#include <cwchar>
#include <iostream>
#include <string>
#include <vector>

#include "app_under_test.h"
#include "common/file_test_support.h"
#include "scratch_files.h"
#include "ui/main_window_ids.h"
#include "window_job.h"

namespace {

using namespace faults;

// Past 2 GiB, by a piece and a bit; TESSAFOLD_LARGE_FILE_MIB asks for another
// size, to try files of any size through the window.
int64_t FileSizeToTry() {
  wchar_t mib[32] = {};
  if (GetEnvironmentVariableW(L"TESSAFOLD_LARGE_FILE_MIB", mib, 32)) return std::wcstoll(mib, nullptr, 10) << 20;
  return (int64_t{2} << 30) + (3 << 20) + 5;
}

uint64_t PeakMemory(HANDLE process) {
  PROCESS_MEMORY_COUNTERS counters{};
  counters.cb = sizeof counters;
  return GetProcessMemoryInfo(process, &counters, sizeof counters) ? counters.PeakWorkingSetSize : 0;
}

TEST(LargeFile, AFilePast2GiBEncryptsAndDecryptsThroughTheWindowInConstantMemory) {
  const std::wstring folder = e2e::MakeScratchFolder(L"large");
  ASSERT_FALSE(folder.empty());
  const std::wstring file = folder + L"\\电影.mkv";
  const int64_t size = FileSizeToTry();
  const tessafold::testing::MarkedFile film(file, size, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16});
  ASSERT_TRUE(film.Make());
  e2e::AppUnderTest app;
  ASSERT_TRUE(app.Started());
  EnterJobInputs(app, L"200", L"3", file);
  const uint64_t idle = PeakMemory(app.Process());

  EXPECT_EQ(RunJobThroughTheWindow(app, tessafold::encryptButton), kEncryptSuccess);
  EXPECT_TRUE(film.Holds(200 * 3 % 256));
  EXPECT_EQ(RunJobThroughTheWindow(app, tessafold::decryptButton), kDecryptSuccess);
  EXPECT_TRUE(film.Holds(0));
  EXPECT_EQ(NamesIn(folder), std::vector<std::wstring>{L"电影.mkv"});

  const uint64_t peak = PeakMemory(app.Process());
  std::cout << (size >> 20) << " MiB file: peak working set " << (peak >> 20) << " MiB, idle " << (idle >> 20)
            << " MiB\n";
  EXPECT_GT(idle, 0u);
  EXPECT_LE(peak, idle + (32u << 20)) << "peak " << (peak >> 20) << " MiB, idle " << (idle >> 20) << " MiB";
  app.Close();
  EXPECT_EQ(app.WaitForExit(), std::optional<DWORD>(0));
  RemoveScratchFolder(folder);
}

}  // namespace
