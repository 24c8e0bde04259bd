// How the file primitives and the transform meet a file that another program
// holds open, the Windows attributes they honour and keep, and the temporary
// files that killed processes leave behind.
#include <gtest/gtest.h>
#include <windows.h>
#include <winioctl.h>

#include <algorithm>
#include <filesystem>

#include "access_rights.h"
#include "child_process.h"
#include "app/files/file_primitives.h"
#include "app/files/rewrite_sequence.h"
#include "app/files/temporary_name.h"
#include "app/text/win/wide_text.h"
#include "cipher/transform_file.h"
#include "common/file_test_support.h"

namespace tessafold {
namespace {

using testing::Bytes;

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

class HeldFile : public ::testing::Test {
 protected:
  void SetUp() override {
    content = testing::SampleBytes(4096);
    testing::WriteBytes(folder.Path("held.bin"), content);
    path = testing::Utf8(folder.Path("held.bin"));
  }
  void TearDown() override { Release(); }

  // Opens the file as another program would, and keeps it open.
  void Hold(DWORD access, DWORD share) {
    held = CreateFileW(Widen(path).c_str(), access, share, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE) << "error " << GetLastError();
  }
  void Release() {
    if (held != INVALID_HANDLE_VALUE) CloseHandle(held);
    held = INVALID_HANDLE_VALUE;
  }
  bool Readable() {
    ReadOutcome outcome = ReadOutcome::NoFile;
    const ByteBuffer buffer = ReadWholeFile(path, &outcome);
    EXPECT_EQ(outcome == ReadOutcome::Read, ByteCount(buffer) > 0);
    if (outcome == ReadOutcome::Read) EXPECT_TRUE(testing::BytesOf(buffer) == content);
    else EXPECT_EQ(outcome, ReadOutcome::Unreadable);
    return outcome == ReadOutcome::Read;
  }
  // Nothing of the file changed, and no other file appeared beside it.
  void ExpectUntouched() {
    Release();
    EXPECT_TRUE(testing::ReadBytes(folder.Path("held.bin")) == content);
    EXPECT_EQ(testing::NamesIn(folder), (std::vector<std::string>{"held.bin"}));
  }

  testing::ScratchFolder folder;
  Bytes content;
  std::string path;
  HANDLE held = INVALID_HANDLE_VALUE;
};

// Held by another program, or by a primitive as it holds its own: reading
// shares reading only, writing shares nothing. Each outcome, 'y' or 'n' (or
// '-': not asked, a removal sharing deletion would succeed), in the order:
// read, remove, write, transform; the file stays as it was whatever happens.
TEST_F(HeldFile, WhatThePrimitivesDoWhileAnotherHandleHoldsTheFile) {
  const struct {
    DWORD access, share;
    const char* outcomes;
  } cases[] = {
      {GENERIC_READ | GENERIC_WRITE, 0, "nnnn"},  // no sharing: nothing reads, removes, writes or transforms it
      {GENERIC_WRITE, 0, "nnnn"},                 // as WriteWholeFile holds it
      {GENERIC_READ, FILE_SHARE_READ, "ynnn"},    // as ReadWholeFile holds it
      {GENERIC_WRITE, kShareAll, "n--n"},
      {DELETE, kShareAll, "n---"},
      {GENERIC_READ, kShareAll, "y-n-"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE("access " + std::to_string(c.access) + " share " + std::to_string(c.share));
    Hold(c.access, c.share);
    const auto asked = [&](int column) { return c.outcomes[column] != '-'; };
    const auto expect = [&](int column, bool done) { EXPECT_EQ(done, c.outcomes[column] == 'y') << "column " << column; };
    expect(0, Readable());
    if (asked(1)) expect(1, DeleteFileAt(path));
    if (asked(2)) expect(2, WriteWholeFile(path, testing::BufferOf({1})));
    if (asked(3)) expect(3, TransformFile(path, 1, 1, ShiftDirection::Add));
    ExpectUntouched();
  }
}

TEST_F(HeldFile, TheReadOnlyAttributeIsHonouredEvenWhereTheFileSystemWouldAllowTheWrite) {
  ASSERT_TRUE(SetFileAttributesW(Widen(path).c_str(), FILE_ATTRIBUTE_READONLY));
  EXPECT_TRUE(Readable());
  EXPECT_FALSE(DeleteFileAt(path));
  EXPECT_FALSE(WriteWholeFile(path, testing::BufferOf({1})));
  EXPECT_FALSE(TransformFile(path, 1, 1, ShiftDirection::Add));
  EXPECT_TRUE(GetFileAttributesW(Widen(path).c_str()) & FILE_ATTRIBUTE_READONLY);
  ExpectUntouched();
  SetFileAttributesW(Widen(path).c_str(), FILE_ATTRIBUTE_NORMAL);
}

FILETIME CreationTimeOf(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  GetFileAttributesExW(Widen(path).c_str(), GetFileExInfoStandard, &data);
  return data.ftCreationTime;
}

TEST_F(HeldFile, TheReplacedFileKeepsItsCreationTime) {
  const FILETIME made{0x12345600, 0x01D00000};  // early 2015
  const HANDLE file = CreateFileW(Widen(path).c_str(), FILE_WRITE_ATTRIBUTES, kShareAll, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_TRUE(SetFileTime(file, &made, nullptr, nullptr));
  CloseHandle(file);
  const FILETIME set = CreationTimeOf(path);
  if (CompareFileTime(&set, &made) != 0) {
    GTEST_SKIP() << "this file system keeps no creation time of its own (Wine reports the inode's change time)";
  }
  ASSERT_TRUE(TransformFile(path, 3, 1, ShiftDirection::Add));
  const FILETIME kept = CreationTimeOf(path);
  EXPECT_EQ(CompareFileTime(&kept, &made), 0);
}

// The mark Windows puts on a downloaded file makes it warn before a program
// runs; it must survive an encryption and a decryption.
TEST_F(HeldFile, TheReplacedFileKeepsItsNamedStreams) {
  const std::wstring mark = Widen(path) + L":Zone.Identifier";
  const Bytes zone{'[', 'Z', 'o', 'n', 'e', 'T', 'r', 'a', 'n', 's', 'f', 'e', 'r', ']', '\r', '\n', 'Z', 'o', 'n', 'e',
                   'I', 'd', '=', '3'};
  testing::WriteBytes(mark, zone);
  WIN32_FIND_STREAM_DATA stream;
  const HANDLE streams = FindFirstStreamW(Widen(path).c_str(), FindStreamInfoStandard, &stream, 0);
  if (streams == INVALID_HANDLE_VALUE) GTEST_SKIP() << "this file system keeps no named streams (Wine keeps none)";
  FindClose(streams);
  ASSERT_TRUE(TransformFile(path, 3, 1, ShiftDirection::Add));
  ASSERT_TRUE(TransformFile(path, 3, 1, ShiftDirection::Subtract));
  EXPECT_TRUE(testing::ReadBytes(mark) == zone);
  EXPECT_TRUE(testing::ReadBytes(folder.Path("held.bin")) == content);
}

// Replacing needs the right to delete the file or its folder's right to
// delete children: without both, the job fails before writing anything.
TEST_F(HeldFile, AFileThatMayBeChangedButNotReplacedFailsBeforeAnythingIsWritten) {
  const std::wstring file = Widen(path), where = folder.Root().wstring();
  ASSERT_TRUE(testing::GiveOnlyThisUser(file, L"0x1e01ff"));   // all but DELETE
  ASSERT_TRUE(testing::GiveOnlyThisUser(where, L"0x1f01bf"));  // all but FILE_DELETE_CHILD
  const HANDLE probe = CreateFileW(file.c_str(), DELETE, kShareAll, nullptr, OPEN_EXISTING, 0, nullptr);
  const bool enforced = probe == INVALID_HANDLE_VALUE;
  if (!enforced) CloseHandle(probe);
  if (enforced) EXPECT_FALSE(TransformFile(path, 3, 1, ShiftDirection::Add));
  testing::GiveOnlyThisUser(where, L"FA");
  if (!enforced) GTEST_SKIP() << "this system lets the file be deleted all the same (Wine checks no DACL)";
  EXPECT_TRUE(testing::ReadBytes(folder.Path("held.bin")) == content);
  EXPECT_EQ(testing::NamesIn(folder), std::vector<std::string>{"held.bin"});
}

// An access list that denies this user writing is honoured as the read-only
// attribute is, even where the folder would let the file be replaced.
TEST_F(HeldFile, AFileThisUserMayNotWriteIsRefused) {
  const std::wstring file = Widen(path);
  ASSERT_TRUE(testing::GiveOnlyThisUser(file, L"0x1f01f9"));  // all but FILE_WRITE_DATA and FILE_APPEND_DATA
  const HANDLE probe = CreateFileW(file.c_str(), FILE_WRITE_DATA, kShareAll, nullptr, OPEN_EXISTING, 0, nullptr);
  const bool enforced = probe == INVALID_HANDLE_VALUE;
  if (!enforced) CloseHandle(probe);
  if (enforced) EXPECT_FALSE(TransformFile(path, 3, 1, ShiftDirection::Add));
  testing::GiveOnlyThisUser(file, L"FA");
  if (!enforced) GTEST_SKIP() << "this system lets the file be written all the same (Wine checks no DACL)";
  ExpectUntouched();
}

// What Windows keeps of a file where this system can set it: EFS encryption
// (its content must never reach the disk in the clear), NTFS compression and
// the indexer's exclusion.
TEST_F(HeldFile, TheReplacedFileStaysEncryptedCompressedAndOutOfTheIndex) {
  const std::wstring file = Widen(path);
  const struct {
    const char* name;
    DWORD attribute;
    bool (*set)(const std::wstring&);
  } cases[] = {
      {"not content indexed", FILE_ATTRIBUTE_NOT_CONTENT_INDEXED,
       [](const std::wstring& f) { return SetFileAttributesW(f.c_str(), FILE_ATTRIBUTE_NOT_CONTENT_INDEXED) != 0; }},
      {"compressed", FILE_ATTRIBUTE_COMPRESSED,
       [](const std::wstring& f) {
         const HANDLE h = CreateFileW(f.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
         USHORT state = COMPRESSION_FORMAT_DEFAULT;
         DWORD returned = 0;
         const bool set = DeviceIoControl(h, FSCTL_SET_COMPRESSION, &state, sizeof state, nullptr, 0, &returned, nullptr);
         CloseHandle(h);
         return set;
       }},
      {"encrypted", FILE_ATTRIBUTE_ENCRYPTED, [](const std::wstring& f) { return EncryptFileW(f.c_str()) != 0; }},
  };
  std::string unsupported;
  for (const auto& c : cases) {
    SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_NORMAL);
    if (!c.set(file) || !(GetFileAttributesW(file.c_str()) & c.attribute)) {
      unsupported += std::string(unsupported.empty() ? "" : ", ") + c.name;
      continue;
    }
    ASSERT_TRUE(TransformFile(path, 3, 1, ShiftDirection::Add)) << c.name;
    EXPECT_TRUE(GetFileAttributesW(file.c_str()) & c.attribute) << c.name;
    ASSERT_TRUE(TransformFile(path, 3, 1, ShiftDirection::Subtract)) << c.name;
    EXPECT_TRUE(testing::ReadBytes(folder.Path("held.bin")) == content) << c.name;
  }
  if (!unsupported.empty()) GTEST_SKIP() << "this file system cannot keep: " << unsupported << " (Wine keeps none)";
}

// Spellings that only Windows has name the same file, so jobs on them take
// turns: another case, the form without the 260-character limit, and the
// short (8.3) name where the file system keeps one.
TEST_F(HeldFile, CaseLongFormAndShortNameGiveTheFilesIdentity) {
  const std::wstring file = Widen(path);
  std::wstring upper = file;
  CharUpperBuffW(upper.data(), static_cast<DWORD>(upper.size()));
  std::vector<std::wstring> spellings{upper, L"\\\\?\\" + file};
  wchar_t shortName[MAX_PATH] = {};
  const DWORD shortLength = GetShortPathNameW(file.c_str(), shortName, MAX_PATH);
  if (shortLength > 0 && shortLength < MAX_PATH) spellings.emplace_back(shortName);

  const std::string identity = FileIdentity(path);
  ASSERT_FALSE(identity.empty());
  for (const std::wstring& other : spellings) EXPECT_EQ(FileIdentity(Narrow(other)), identity) << Narrow(other);
}

// The id of a process that has ended: a child started and waited for (the
// fatal probe ends at once without its arguments).
DWORD EndedProcessId() {
  const e2e::ChildProcess child(e2e::ProgramPath(L"fatal_probe.exe"), L"");
  return child.WaitForExit(INFINITE) ? child.Id() : 0;
}

std::string ThisMachine() { return PlatformRewriteSteps()->HostName(); }

// A kill before the rename leaves a temporary file; the next replacement of
// that file clears it away, but never one of a live process, of another
// machine, of another file (whose original may be gone: it may be the only
// copy) or a user's file.
TEST_F(HeldFile, AReplacementClearsAwayOnlyTheLeftoversOfThisFileOfEndedProcessesHere) {
  const DWORD ended = EndedProcessId();
  ASSERT_NE(ended, 0u);
  const std::string here = ThisMachine();
  ASSERT_FALSE(here.empty());
  const std::string orphan = TemporaryName("held.bin", here, ended, 0);
  const std::string kept[] = {TemporaryName("held.bin", here, GetCurrentProcessId(), 77),
                              TemporaryName("held.bin", here + "X", ended, 1),
                              TemporaryName("gone.bin", here, ended, 2), ".tessafold-" + std::to_string(ended) + "-x.tmp"};
  testing::WriteBytes(folder.Path(orphan), {1, 2, 3});
  for (const std::string& name : kept) testing::WriteBytes(folder.Path(name), {1, 2, 3});

  ASSERT_TRUE(TransformFile(path, 9, 1, ShiftDirection::Add));
  std::vector<std::string> left(std::begin(kept), std::end(kept));
  left.push_back("held.bin");
  std::sort(left.begin(), left.end());
  EXPECT_EQ(testing::NamesIn(folder), left);
  EXPECT_TRUE(testing::ReadBytes(folder.Path("held.bin")) == testing::Shifted(content, 9));
}

TEST_F(HeldFile, ATemporaryFileStillBeingWrittenStays) {
  const DWORD ended = EndedProcessId();
  ASSERT_NE(ended, 0u);
  const auto busy = folder.Path(TemporaryName("held.bin", ThisMachine(), ended, 1));
  testing::WriteBytes(busy, {1});
  // Held as a rewrite holds its own: sharing writing with its second handle.
  const HANDLE writer =
      CreateFileW(busy.wstring().c_str(), GENERIC_WRITE, FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(writer, INVALID_HANDLE_VALUE);
  EXPECT_TRUE(TransformFile(path, 9, 1, ShiftDirection::Add));
  CloseHandle(writer);
  EXPECT_EQ(testing::NamesIn(folder).size(), 2u);
}

}  // namespace
}  // namespace tessafold
