// A file larger than a 32-bit process could ever hold goes through the window
// and back in the same memory as a small one. (Offsets past 4 GiB are shown
// by the file contract's own case, without the window's start-up.)
#include <gtest/gtest.h>
#include <windows.h>
#include <psapi.h>

#include <cwchar>
#include <filesystem>
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

using tessafold::testing::Bytes;

const Bytes kMark{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16};

// Past 2 GiB, by a piece and a bit; TESSAFOLD_LARGE_FILE_MIB asks for another
// size, to try files of any size through the window.
uint64_t FileSizeToTry() {
  wchar_t mib[32] = {};
  if (GetEnvironmentVariableW(L"TESSAFOLD_LARGE_FILE_MIB", mib, 32)) return std::wcstoull(mib, nullptr, 10) << 20;
  return (2ull << 30) + (3ull << 20) + 5;
}

const uint64_t kSize = FileSizeToTry();

// Where the marks go: around 2^31 and 2^32 where the file reaches them, and at its end.
std::vector<uint64_t> Marks() {
  std::vector<uint64_t> marks;
  for (uint64_t at : {(1ull << 31) - 8, (1ull << 32) - 8}) {
    if (at + 32 < kSize) marks.push_back(at);
  }
  marks.push_back(kSize - 16);
  return marks;
}

// A sparse file of zero bytes with the marks written around 2^31, 2^32 and at the end.
bool MakeMarkedFile(const std::wstring& path) {
  tessafold::testing::WriteBytes(path, {});
  std::error_code error;
  std::filesystem::resize_file(path, kSize, error);
  for (uint64_t at : Marks()) tessafold::testing::WriteBytesAt(path, static_cast<int64_t>(at), kMark);
  return !error;
}

// The marks and the zero bytes before them, each raised by `shift`.
bool HoldsMarks(const std::wstring& path, uint8_t shift) {
  const Bytes zeros(4, 0);
  for (uint64_t at : Marks()) {
    Bytes expected = tessafold::testing::Shifted(zeros, shift);
    const Bytes mark = tessafold::testing::Shifted(kMark, shift);
    expected.insert(expected.end(), mark.begin(), mark.end());
    if (tessafold::testing::ReadBytesAt(path, static_cast<int64_t>(at) - 4, expected.size()) != expected) return false;
  }
  return FileSize(path) == std::optional<uint64_t>(kSize);
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
  ASSERT_TRUE(MakeMarkedFile(file));
  e2e::AppUnderTest app;
  ASSERT_TRUE(app.Started());
  EnterJobInputs(app, L"200", L"3", file);
  const uint64_t idle = PeakMemory(app.Process());

  EXPECT_EQ(RunJobThroughTheWindow(app, tessafold::encryptButton), kEncryptSuccess);
  EXPECT_TRUE(HoldsMarks(file, 200 * 3 % 256));
  EXPECT_EQ(RunJobThroughTheWindow(app, tessafold::decryptButton), kDecryptSuccess);
  EXPECT_TRUE(HoldsMarks(file, 0));
  EXPECT_EQ(NamesIn(folder), std::vector<std::wstring>{L"电影.mkv"});

  const uint64_t peak = PeakMemory(app.Process());
  std::cout << (kSize >> 20) << " MiB file: peak working set " << (peak >> 20) << " MiB, idle " << (idle >> 20)
            << " MiB\n";
  EXPECT_GT(idle, 0u);
  EXPECT_LE(peak, idle + (32u << 20)) << "peak " << (peak >> 20) << " MiB, idle " << (idle >> 20) << " MiB";
  app.Close();
  EXPECT_EQ(app.WaitForExit(), std::optional<DWORD>(0));
  RemoveScratchFolder(folder);
}

}  // namespace
