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
#include "scratch_files.h"
#include "ui/main_window_ids.h"
#include "window_job.h"

namespace {

using namespace faults;

constexpr uint8_t kMark[16] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16};

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

bool Access(const std::wstring& path, uint64_t at, void* data, DWORD count, bool write) {
  const HANDLE file = CreateFileW(path.c_str(), write ? GENERIC_WRITE : GENERIC_READ, FILE_SHARE_READ, nullptr,
                                  OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  LARGE_INTEGER offset{};
  offset.QuadPart = static_cast<LONGLONG>(at);
  DWORD moved = 0;
  const bool ok = SetFilePointerEx(file, offset, nullptr, FILE_BEGIN) &&
                  (write ? WriteFile(file, data, count, &moved, nullptr) : ReadFile(file, data, count, &moved, nullptr)) &&
                  moved == count;
  CloseHandle(file);
  return ok;
}

// A sparse file of zero bytes with the marks written around 2^31, 2^32 and at the end.
bool MakeMarkedFile(const std::wstring& path) {
  const HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  LARGE_INTEGER end{};
  end.QuadPart = static_cast<LONGLONG>(kSize);
  const bool sized = SetFilePointerEx(file, end, nullptr, FILE_BEGIN) && SetEndOfFile(file);
  CloseHandle(file);
  bool marked = sized;
  for (uint64_t at : Marks()) marked = marked && Access(path, at, const_cast<uint8_t*>(kMark), sizeof kMark, true);
  return marked;
}

// The marks and the zero bytes before them, each raised by `shift`.
bool HoldsMarks(const std::wstring& path, uint8_t shift) {
  for (uint64_t at : Marks()) {
    uint8_t seen[20];
    if (!Access(path, at - 4, seen, sizeof seen, false)) return false;
    for (int i = 0; i < 20; ++i) {
      if (seen[i] != static_cast<uint8_t>((i < 4 ? 0 : kMark[i - 4]) + shift)) return false;
    }
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
