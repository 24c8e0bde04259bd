// How the file primitives and the transform meet a file that another program
// holds open, and the Windows attributes they honour and keep.
#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>

#include "app/file_primitives.h"
#include "app/win/wide_text.h"
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
    testing::WriteBytes(testing::Child(folder, "held.bin"), content);
    path = testing::Utf8(testing::Child(folder, "held.bin"));
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
    EXPECT_TRUE(testing::ReadBytes(testing::Child(folder, "held.bin")) == content);
    EXPECT_EQ(testing::NamesIn(folder), (std::vector<std::string>{"held.bin"}));
  }

  testing::ScratchFolder folder;
  Bytes content;
  std::string path;
  HANDLE held = INVALID_HANDLE_VALUE;
};

// Held without any sharing, by another program or while WriteWholeFile has it
// open (writing, no sharing): no buffer, no removal, no writer, no replacement.
TEST_F(HeldFile, OpenWithoutSharingNothingReadsRemovesWritesOrTransformsIt) {
  for (DWORD access : {DWORD{GENERIC_READ | GENERIC_WRITE}, DWORD{GENERIC_WRITE}}) {
    Hold(access, 0);
    EXPECT_FALSE(Readable());
    EXPECT_FALSE(DeleteFileAt(path));
    EXPECT_FALSE(WriteWholeFile(path, testing::BufferOf({1})));
    EXPECT_FALSE(ReplaceWholeFile(path, testing::BufferOf({1})));
    EXPECT_FALSE(TransformFile(path, 1, 1, ShiftDirection::Add));
    ExpectUntouched();
  }
}

// While ReadWholeFile has a file open (reading, sharing reading only): a
// second reader succeeds, a writer or a removal fails, and so does the
// transform's replacement.
TEST_F(HeldFile, WhileAReaderHoldsItItStillReadsButIsNotChanged) {
  Hold(GENERIC_READ, FILE_SHARE_READ);
  EXPECT_TRUE(Readable());
  EXPECT_FALSE(DeleteFileAt(path));
  EXPECT_FALSE(WriteWholeFile(path, testing::BufferOf({1})));
  EXPECT_FALSE(TransformFile(path, 1, 1, ShiftDirection::Add));
  ExpectUntouched();
}

// The primitives' own share modes show against handles that share
// everything: reading shares reading only, writing shares nothing.
TEST_F(HeldFile, ReadingSharesOnlyReadingAndWritingSharesNothing) {
  Hold(GENERIC_WRITE, kShareAll);
  EXPECT_FALSE(Readable());
  EXPECT_FALSE(TransformFile(path, 1, 1, ShiftDirection::Add));
  Release();

  Hold(DELETE, kShareAll);
  EXPECT_FALSE(Readable());
  Release();

  Hold(GENERIC_READ, kShareAll);
  EXPECT_TRUE(Readable());
  EXPECT_FALSE(WriteWholeFile(path, testing::BufferOf({1})));
  ExpectUntouched();
}

DWORD AttributesOf(const std::string& path) { return GetFileAttributesW(Widen(path).c_str()); }

TEST_F(HeldFile, TheReadOnlyAttributeIsHonouredEvenWhereTheFileSystemWouldAllowTheWrite) {
  ASSERT_TRUE(SetFileAttributesW(Widen(path).c_str(), FILE_ATTRIBUTE_READONLY));
  EXPECT_TRUE(Readable());
  EXPECT_FALSE(DeleteFileAt(path));
  EXPECT_FALSE(WriteWholeFile(path, testing::BufferOf({1})));
  EXPECT_FALSE(ReplaceWholeFile(path, testing::BufferOf({1})));
  EXPECT_FALSE(TransformFile(path, 1, 1, ShiftDirection::Add));
  EXPECT_TRUE(AttributesOf(path) & FILE_ATTRIBUTE_READONLY);
  ExpectUntouched();
  SetFileAttributesW(Widen(path).c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST_F(HeldFile, AHiddenFileStaysHiddenAfterTheTransform) {
  ASSERT_TRUE(SetFileAttributesW(Widen(path).c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE));
  ASSERT_TRUE(TransformFile(path, 3, 1, ShiftDirection::Add));
  EXPECT_TRUE(testing::ReadBytes(testing::Child(folder, "held.bin")) == testing::Shifted(content, 3));
  EXPECT_EQ(AttributesOf(path) & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE), DWORD{FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE});
  SetFileAttributesW(Widen(path).c_str(), FILE_ATTRIBUTE_NORMAL);
}

}  // namespace
}  // namespace tessafold
