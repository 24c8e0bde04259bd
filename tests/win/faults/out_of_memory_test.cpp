// A file just under the 2 GiB limit is more than a 32-bit process can hold in
// one block here: the transform ends in the fatal error box that names the
// block it could not get, the process ends with 0xFFFFFFFF, and the file is
// left exactly as it was.
#include <gtest/gtest.h>
#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "app_under_test.h"
#include "child_process.h"
#include "scratch_files.h"

namespace {

using namespace faults;

constexpr uint64_t kSize = 2047ull << 20;
// Only a 32-bit process runs out of address space for such a block; a 64-bit
// one would transform the file and write 2 GiB to prove nothing.
constexpr bool kThirtyTwoBitProcess = sizeof(void*) == 4;

// A file of zero bytes that takes no room on the disk: only its end is set.
bool MakeSparseFile(const std::wstring& path, uint64_t size) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  LARGE_INTEGER end{};
  end.QuadPart = static_cast<LONGLONG>(size);
  const bool made = SetFilePointerEx(file, end, nullptr, FILE_BEGIN) && SetEndOfFile(file);
  CloseHandle(file);
  return made;
}

// Which file is at the path, how long it is and when it was last written: a
// replacement brings another file, a write a new time.
struct FileIdentity {
  uint64_t index = 0;
  uint64_t size = 0;
  uint64_t lastWrite = 0;
  bool operator==(const FileIdentity&) const = default;
};

std::optional<FileIdentity> IdentityOf(const std::wstring& path) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return std::nullopt;
  BY_HANDLE_FILE_INFORMATION info{};
  const bool known = GetFileInformationByHandle(file, &info);
  CloseHandle(file);
  if (!known) return std::nullopt;
  const auto join = [](DWORD high, DWORD low) { return (static_cast<uint64_t>(high) << 32) | low; };
  return FileIdentity{join(info.nFileIndexHigh, info.nFileIndexLow), join(info.nFileSizeHigh, info.nFileSizeLow),
                      join(info.ftLastWriteTime.dwHighDateTime, info.ftLastWriteTime.dwLowDateTime)};
}

TEST(TooLargeForMemory, AFileNearTwoGiBEndsInTheAllocationBoxAndStaysAsItWas) {
  if (!kThirtyTwoBitProcess) GTEST_SKIP() << "a 64-bit process: a file near 2 GiB fits its address space, so the allocation cannot fail";
  const std::wstring folder = e2e::MakeScratchFolder(L"too-large");
  ASSERT_FALSE(folder.empty());
  const std::wstring file = folder + L"\\巨大.bin";
  ASSERT_TRUE(MakeSparseFile(file, kSize));
  const std::optional<FileIdentity> before = IdentityOf(file);
  ASSERT_TRUE(before.has_value());

  ChildProcess probe(e2e::ProgramPath(L"transform_probe.exe"), Quoted(file) + L" 5");
  HWND box = nullptr;
  e2e::WaitUntil([&] { return (box = probe.FindWindowTitled(L"错误")) != nullptr || !probe.Running(); }, 120000);
  if (box) {
    EXPECT_EQ(e2e::AppUnderTest::MessageBoxText(box),
              L"运行时出错!\r\n\r\n错误信息：分配 " + std::to_wstring(kSize + 8) + L" 字节内存失败!\r\n");
    e2e::AppUnderTest::AnswerMessageBox(box);
    EXPECT_EQ(probe.WaitForExit(e2e::kWaitMs), std::optional<DWORD>(0xFFFFFFFF));
    // Reading 2 GiB back would take long; the same file, never written since,
    // is the same content.
    EXPECT_EQ(IdentityOf(file), before);
    EXPECT_EQ(NamesIn(folder), std::vector<std::wstring>{L"巨大.bin"});
  }
  const bool transformed = !box && probe.WaitForExit(0) == std::optional<DWORD>(0);
  if (transformed) {
    EXPECT_EQ(FileSize(file), std::optional<uint64_t>(kSize));
  }
  RemoveScratchFolder(folder);
  ASSERT_TRUE(box || transformed) << "the probe ended without the box and without success";
  if (transformed) GTEST_SKIP() << "this machine holds the whole file in memory, so the allocation does not fail";
}

}  // namespace
