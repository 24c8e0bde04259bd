// The behaviour of the file primitives and of TransformFile that callers rely
// on, the same on every platform. Included by exactly one test source of the
// native tests and one of the Windows tests, so the POSIX code and the
// real Windows layer answer to the same cases.
#pragma once
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>
#include <vector>

#include "app/process/failure_report.h"
#include "app/files/file_primitives.h"
#include "app/files/piece_pump.h"
#include "cipher/transform_file.h"
#include "common/file_test_support.h"

namespace tessafold {
namespace {

using testing::Bytes;
using testing::BufferOf;
using testing::BytesOf;
using testing::NamesIn;
using testing::ReadBytes;
using testing::SampleBytes;
using testing::Shifted;
using testing::Utf8;
using testing::WriteBytes;
using Names = std::vector<std::string>;

constexpr size_t kPiece = size_t{8} << 20;  // the largest single read or write request

class FileContract : public ::testing::Test {
 protected:
  std::string Make(std::string_view name, const Bytes& bytes) const {
    WriteBytes(folder.Path(name), bytes);
    return Utf8(folder.Path(name));
  }
  std::string MakeReadOnly(std::string_view name, const Bytes& bytes) const {
    const std::string path = Make(name, bytes);
    testing::MakeReadOnly(folder.Path(name));
    return path;
  }
  std::string MakeFolder(std::string_view name) const {
    std::filesystem::create_directory(folder.Path(name));
    return Utf8(folder.Path(name));
  }

  testing::ScratchFolder folder;
};

// ---- ReadWholeFile ----------------------------------------------------------

TEST_F(FileContract, ReadWholeFileDeliversEveryByteOfAFileLargerThanOnePiece) {
  const Bytes content = SampleBytes(2 * kPiece + 3);
  ReadOutcome outcome = ReadOutcome::NoFile;
  const ByteBuffer buffer = ReadWholeFile(Make("large.bin", content), &outcome);
  EXPECT_EQ(outcome, ReadOutcome::Read);
  ASSERT_EQ(ByteCount(buffer), static_cast<int32_t>(content.size()));
  EXPECT_TRUE(BytesOf(buffer) == content);
}

TEST_F(FileContract, ReadWholeFileTellsAnEmptyFileFromNoFile) {
  ReadOutcome outcome = ReadOutcome::Read;
  EXPECT_EQ(ByteCount(ReadWholeFile(Make("empty.bin", {}), &outcome)), 0);
  EXPECT_EQ(outcome, ReadOutcome::Empty);
}

// Where no file is, a missing name, a folder or an empty path, every
// primitive says so and creates nothing (RewriteFile's refusals below).
TEST_F(FileContract, WhereNoFileIsEveryPrimitiveRefusesAndCreatesNothing) {
  const struct {
    const char* name;
    bool (*refuses)(const std::string& path);
    bool createsAMissingFile = false;  // so its missing name is in a missing folder
  } primitives[] = {
      {"ReadWholeFile",
       [](const std::string& path) {
         ReadOutcome outcome = ReadOutcome::Read;
         return ByteCount(ReadWholeFile(path, &outcome)) == 0 && outcome == ReadOutcome::NoFile;
       }},
      {"DeleteFileAt", [](const std::string& path) { return !DeleteFileAt(path); }},
      {"WriteWholeFile", [](const std::string& path) { return !WriteWholeFile(path, BufferOf({7})); }, true},
      {"TransformFile", [](const std::string& path) { return !TransformFile(path, 1, 1, ShiftDirection::Add); }},
  };
  const std::string directory = MakeFolder("directory");
  for (const auto& primitive : primitives) {
    const std::string missing =
        Utf8(primitive.createsAMissingFile ? folder.Path("no-such-folder") / "file.bin" : folder.Path("missing.bin"));
    for (const std::string& path : {missing, directory, std::string()}) {
      EXPECT_TRUE(primitive.refuses(path)) << primitive.name << " of \"" << path << '"';
    }
  }
  EXPECT_EQ(NamesIn(folder), (Names{"directory"}));
  EXPECT_TRUE(std::filesystem::is_empty(folder.Path("directory")));
}

TEST_F(FileContract, AFilePast4GiBIsTransformedWholeThoughReadWholeFileRefusesIt) {
  const testing::MarkedFile huge(folder.Path("huge.bin"), (int64_t{1} << 32) + (int64_t{5} << 20) + 17,
                                 SampleBytes(64, 5));
  if (!huge.Make()) GTEST_SKIP() << "this file system cannot hold a sparse file past 4 GiB";
  const std::string path = Utf8(folder.Path("huge.bin"));

  ReadOutcome outcome = ReadOutcome::Read;
  EXPECT_EQ(ByteCount(ReadWholeFile(path, &outcome)), 0);
  EXPECT_EQ(outcome, ReadOutcome::Unreadable);
  ASSERT_TRUE(TransformFile(path, 3, 1, ShiftDirection::Add));
  EXPECT_TRUE(huge.Holds(3));
  EXPECT_EQ(NamesIn(folder), (Names{"huge.bin"}));
}

// ---- DeleteFileAt -----------------------------------------------------------

TEST_F(FileContract, DeleteFileAtRemovesAWritableFileAndNothingElse) {
  const std::string path = Make("plain.bin", {1, 2, 3});
  EXPECT_TRUE(DeleteFileAt(path));
  EXPECT_FALSE(std::filesystem::exists(folder.Path("plain.bin")));
  EXPECT_FALSE(DeleteFileAt(path));  // no longer there

  EXPECT_FALSE(DeleteFileAt(MakeReadOnly("read-only.bin", {4, 5})));
  EXPECT_TRUE(ReadBytes(folder.Path("read-only.bin")) == (Bytes{4, 5}));
}

// ---- WriteWholeFile ---------------------------------------------------------

TEST_F(FileContract, WriteWholeFileCreatesOrTruncatesAndWritesEveryByte) {
  const Bytes large = SampleBytes(kPiece + 17);
  const std::string path = Utf8(folder.Path("written.bin"));
  EXPECT_TRUE(WriteWholeFile(path, BufferOf(large)));
  EXPECT_TRUE(ReadBytes(folder.Path("written.bin")) == large);

  EXPECT_TRUE(WriteWholeFile(path, BufferOf({9, 8})));
  EXPECT_TRUE(ReadBytes(folder.Path("written.bin")) == (Bytes{9, 8}));

  EXPECT_TRUE(WriteWholeFile(path, ByteBuffer()));
  EXPECT_TRUE(std::filesystem::exists(folder.Path("written.bin")));
  EXPECT_EQ(std::filesystem::file_size(folder.Path("written.bin")), 0u);
}

TEST_F(FileContract, WriteWholeFileLeavesAReadOnlyFileAsItWas) {
  EXPECT_FALSE(WriteWholeFile(MakeReadOnly("read-only.bin", {1, 2, 3}), BufferOf({7})));
  EXPECT_TRUE(ReadBytes(folder.Path("read-only.bin")) == (Bytes{1, 2, 3}));
  EXPECT_EQ(NamesIn(folder), (Names{"read-only.bin"}));
}

// ---- RewriteFile ------------------------------------------------------------

// Each piece once, in file order, with the bytes done so far and the total.
TEST_F(FileContract, RewriteFileHandsOverEveryPieceInOrderAndLeavesNoTemporaryFile) {
  const size_t piece = kRewritePieceBytes;
  for (const Bytes& content : {SampleBytes(2 * piece + 5, 3), Bytes{1}, Bytes{}, SampleBytes(piece, 9)}) {
    const std::string path = Make("target.bin", content);
    std::vector<std::pair<int64_t, int64_t>> seen;
    EXPECT_TRUE(RewriteFile(path, [&](std::span<uint8_t> bytes, RewriteProgress at) {
      for (uint8_t& byte : bytes) byte = static_cast<uint8_t>(byte + at.done);
      seen.emplace_back(at.done, at.total);
    }));
    const int64_t size = static_cast<int64_t>(content.size());
    std::vector<std::pair<int64_t, int64_t>> expected;
    for (int64_t done = 0; done < size;) {
      done = std::min(size, done + static_cast<int64_t>(piece));
      expected.emplace_back(done, size);
    }
    EXPECT_EQ(seen, expected);
    Bytes changed = content;
    for (size_t i = 0; i < changed.size(); ++i) {
      changed[i] = static_cast<uint8_t>(changed[i] + std::min(changed.size(), (i / piece + 1) * piece));
    }
    EXPECT_TRUE(ReadBytes(folder.Path("target.bin")) == changed) << content.size() << " bytes";
    EXPECT_EQ(NamesIn(folder), (Names{"target.bin"}));
  }
}

TEST_F(FileContract, RewriteFileRefusesAMissingReadOnlyHardLinkedOrNonFileTarget) {
  const std::string readOnly = MakeReadOnly("read-only.bin", {1, 2, 3});
  const std::string linked = Make("linked.bin", {4, 5});
  std::filesystem::create_hard_link(folder.Path("linked.bin"), folder.Path("other-name.bin"));
  const std::string directory = MakeFolder("directory");
  const std::string missing = Utf8(folder.Path("missing.bin"));
  static std::vector<std::string> reasons;
  reasons.clear();
  SetFailureSink([](std::string_view line) { reasons.emplace_back(line); });
  for (const std::string& path : {readOnly, linked, directory, missing, std::string()}) {
    EXPECT_FALSE(RewriteFile(path, [](std::span<uint8_t> bytes, RewriteProgress) { bytes[0] = 7; })) << path;
  }
  SetFailureSink(nullptr);
  // Each refusal leaves its reason for whoever looks into a failed job.
  ASSERT_EQ(reasons.size(), 5u);
  // The reason itself, not the file's name, which holds the same words.
  EXPECT_TRUE(reasons[0].starts_with("tessafold: refused: read-only, or this user may not replace it: ")) << reasons[0];
  EXPECT_TRUE(reasons[0].ends_with("read-only.bin\n")) << reasons[0];
  EXPECT_NE(reasons[1].find("hard links"), std::string::npos) << reasons[1];
  EXPECT_NE(reasons[3].find("missing.bin: error "), std::string::npos) << reasons[3];
  EXPECT_TRUE(ReadBytes(folder.Path("read-only.bin")) == (Bytes{1, 2, 3}));
  EXPECT_TRUE(ReadBytes(folder.Path("linked.bin")) == (Bytes{4, 5}));
  EXPECT_TRUE(ReadBytes(folder.Path("other-name.bin")) == (Bytes{4, 5}));
  EXPECT_EQ(NamesIn(folder), (Names{"directory", "linked.bin", "other-name.bin", "read-only.bin"}));
  EXPECT_TRUE(std::filesystem::is_empty(folder.Path("directory")));
}

// The file behind a link changes and the link stays a link: replacing the
// link's own name would leave the readable original on the disk.
TEST_F(FileContract, ARewriteThroughALinkChangesTheFileBehindItAndKeepsTheLinks) {
  Make("real.bin", {10, 20});
  std::error_code error;
  std::filesystem::create_symlink("real.bin", folder.Path("link.bin"), error);
  std::filesystem::create_directory_symlink(folder.Root(), folder.Path("alias"), error);
  if (!std::filesystem::is_symlink(folder.Path("link.bin")) || !std::filesystem::is_symlink(folder.Path("alias"))) {
    GTEST_SKIP() << "no symbolic links can be made here (Wine only pretends to)";
  }
  EXPECT_TRUE(TransformFile(Utf8(folder.Path("link.bin")), 5, 1, ShiftDirection::Add));
  EXPECT_TRUE(TransformFile(Utf8(folder.Path("alias") / "link.bin"), 5, 1, ShiftDirection::Add));
  EXPECT_TRUE(std::filesystem::is_symlink(folder.Path("link.bin")));
  EXPECT_TRUE(ReadBytes(folder.Path("real.bin")) == (Bytes{20, 30}));
  EXPECT_EQ(NamesIn(folder), (Names{"alias", "link.bin", "real.bin"}));
}

// Windows keeps other writers out while the file is read; elsewhere a write
// meanwhile makes the rewrite give up. Either way the write is never lost.
TEST_F(FileContract, AWriteByAnotherProgramDuringARewriteIsNeverLost) {
  const Bytes content = SampleBytes(3 * kRewritePieceBytes, 4);
  const std::string path = Make("busy.bin", content);
  bool otherWrote = false;
  const bool rewritten = RewriteFile(path, [&](std::span<uint8_t> piece, RewriteProgress at) {
    for (uint8_t& byte : piece) byte = static_cast<uint8_t>(byte + 1);
    if (at.done != static_cast<int64_t>(kRewritePieceBytes)) return;
    std::fstream other(folder.Path("busy.bin"), std::ios::in | std::ios::out | std::ios::binary);
    otherWrote = other.is_open() && other.write("new", 3) && other.flush();
  });
  Bytes expected = otherWrote ? content : Shifted(content, 1);
  if (otherWrote) std::copy_n("new", 3, expected.begin());
  EXPECT_EQ(rewritten, !otherWrote);
  EXPECT_TRUE(ReadBytes(folder.Path("busy.bin")) == expected);
  EXPECT_EQ(NamesIn(folder), (Names{"busy.bin"}));
}

TEST_F(FileContract, RewriteFileFindsARelativePathInTheCurrentFolder) {
  Make("relative.bin", {1, 2});
  const std::filesystem::path previous = std::filesystem::current_path();
  std::filesystem::current_path(folder.Root());
  const bool rewritten = RewriteFile("relative.bin", [](std::span<uint8_t> bytes, RewriteProgress) { bytes[1] = 9; });
  std::filesystem::current_path(previous);
  EXPECT_TRUE(rewritten);
  EXPECT_TRUE(ReadBytes(folder.Path("relative.bin")) == (Bytes{1, 9}));
  EXPECT_EQ(NamesIn(folder), (Names{"relative.bin"}));
}

// ---- FileIdentity -----------------------------------------------------------

// Jobs on one file take turns by its identity, so every path to it must give
// the same one: another name (a hard link), a roundabout or relative
// spelling, a link to it or to its folder.
TEST_F(FileContract, EveryPathToOneFileGivesOneIdentityAndOtherFilesOthers) {
  Make("same.bin", {1});
  Make("other.bin", {1});
  std::filesystem::create_hard_link(folder.Path("same.bin"), folder.Path("second-name.bin"));
  const std::string identity = FileIdentity(Utf8(folder.Path("same.bin")));
  ASSERT_FALSE(identity.empty());
  const std::filesystem::path root = folder.Root();
  std::vector<std::filesystem::path> paths{folder.Path("second-name.bin"), root / ".." / root.filename() / "same.bin"};
  std::error_code error;
  std::filesystem::create_symlink("same.bin", folder.Path("link.bin"), error);
  std::filesystem::create_directory_symlink(root, folder.Path("alias"), error);
  if (std::filesystem::is_symlink(folder.Path("link.bin"))) paths.push_back(folder.Path("link.bin"));
  if (std::filesystem::is_symlink(folder.Path("alias"))) paths.push_back(folder.Path("alias") / "same.bin");
  for (const std::filesystem::path& path : paths) EXPECT_EQ(FileIdentity(Utf8(path)), identity) << Utf8(path);

  const std::filesystem::path previous = std::filesystem::current_path();
  std::filesystem::current_path(root);
  const std::string relative = FileIdentity("same.bin");
  std::filesystem::current_path(previous);
  EXPECT_EQ(relative, identity);
  EXPECT_NE(FileIdentity(Utf8(folder.Path("other.bin"))), identity);
  EXPECT_EQ(FileIdentity(Utf8(folder.Path("missing.bin"))), "");
  EXPECT_EQ(FileIdentity(""), "");
}

// ---- TransformFile ----------------------------------------------------------

// The worked example and its way back, then how repeats count.
TEST_F(FileContract, TransformFileCountsRepeatsAsDocumented) {
  struct Case {
    Bytes before;
    int32_t key, repeat;
    ShiftDirection direction;
    Bytes after;
  };
  const Case cases[] = {
      {{0x00, 0x7F, 0xFF}, 300, 1, ShiftDirection::Add, {0x2C, 0xAB, 0x2B}},
      {{0x2C, 0xAB, 0x2B}, 300, 1, ShiftDirection::Subtract, {0x00, 0x7F, 0xFF}},
      {{0xFE}, 1, 3, ShiftDirection::Add, {0x01}},
      {{0x03}, 5, 1, ShiftDirection::Subtract, {0xFE}},  // negative results wrap
      {{0x00}, -1, 1, ShiftDirection::Add, {0xFF}},
      {{0x10, 0x20}, 3, 0, ShiftDirection::Add, {0x13, 0x23}},   // 0 passes count as 1
      {{0x10, 0x20}, 3, -1, ShiftDirection::Add, {0x10, 0x20}},  // negative: no pass, still true
      {{0x10, 0x20}, 3, INT32_MIN, ShiftDirection::Subtract, {0x10, 0x20}},
      {{0x10}, 2, INT32_MAX, ShiftDirection::Add, {0x0E}},  // 2 x (2^31 - 1) = -2 mod 256
  };
  for (const Case& c : cases) {
    const std::string path = Make("case.bin", c.before);
    EXPECT_TRUE(TransformFile(path, c.key, c.repeat, c.direction)) << c.key << " x " << c.repeat;
    EXPECT_TRUE(ReadBytes(folder.Path("case.bin")) == c.after) << c.key << " x " << c.repeat;
  }
  EXPECT_EQ(NamesIn(folder), (Names{"case.bin"}));
}

TEST_F(FileContract, SubtractUndoesAddForEveryKindOfKeyAndRepeatCount) {
  const Bytes content = SampleBytes(3000);
  const std::string path = Make("round-trip.bin", content);
  const int32_t keys[] = {1, 7, 255, 300, -1, -300, INT32_MAX, INT32_MIN};
  const int32_t repeats[] = {1, 0, 2, 255, 257, -3, INT32_MAX};
  for (int32_t key : keys) {
    for (int32_t repeat : repeats) {
      ASSERT_TRUE(TransformFile(path, key, repeat, ShiftDirection::Add));
      ASSERT_TRUE(TransformFile(path, key, repeat, ShiftDirection::Subtract));
      ASSERT_TRUE(ReadBytes(folder.Path("round-trip.bin")) == content) << key << " x " << repeat;
    }
  }
  // Two encryptions need two decryptions, or one with twice the repeat count.
  ASSERT_TRUE(TransformFile(path, 9, 3, ShiftDirection::Add));
  ASSERT_TRUE(TransformFile(path, 9, 3, ShiftDirection::Add));
  EXPECT_TRUE(ReadBytes(folder.Path("round-trip.bin")) == Shifted(content, 54));
  ASSERT_TRUE(TransformFile(path, 9, 6, ShiftDirection::Subtract));
  EXPECT_TRUE(ReadBytes(folder.Path("round-trip.bin")) == content);
}

TEST_F(FileContract, TransformFileShiftsEveryByteOfAFileLargerThanOnePiece) {
  const Bytes content = SampleBytes(2 * kPiece + 5);
  const std::string path = Make("large.bin", content);
  EXPECT_TRUE(TransformFile(path, 7, 3, ShiftDirection::Add));
  EXPECT_TRUE(ReadBytes(folder.Path("large.bin")) == Shifted(content, 21));
  EXPECT_EQ(NamesIn(folder), (Names{"large.bin"}));
}

TEST_F(FileContract, AnEmptyFileStaysEmptyUnlessItMayNotBeWritten) {
  const std::string empty = Make("empty.bin", {});
  EXPECT_TRUE(TransformFile(empty, 5, 1, ShiftDirection::Add));
  EXPECT_EQ(std::filesystem::file_size(folder.Path("empty.bin")), 0u);

  const std::string readOnly = MakeReadOnly("read-only-empty.bin", {});
  EXPECT_FALSE(TransformFile(readOnly, 5, 1, ShiftDirection::Add));
  EXPECT_EQ(NamesIn(folder), (Names{"empty.bin", "read-only-empty.bin"}));
}

TEST_F(FileContract, ChineseFileAndFolderNamesWorkThroughout) {
  std::filesystem::create_directory(folder.Path("子目录"));
  const Bytes content = SampleBytes(100);
  const std::filesystem::path file = folder.Path("子目录") / std::u8string(u8"测试文件.bin");
  WriteBytes(file, content);
  const std::string path = Utf8(file);

  EXPECT_TRUE(BytesOf(ReadWholeFile(path)) == content);
  EXPECT_TRUE(TransformFile(path, 11, 2, ShiftDirection::Add));
  EXPECT_TRUE(ReadBytes(file) == Shifted(content, 22));
  EXPECT_TRUE(TransformFile(path, 11, 2, ShiftDirection::Subtract));
  EXPECT_TRUE(ReadBytes(file) == content);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.Path("子目录")), {}), 1);
  EXPECT_TRUE(DeleteFileAt(path));
  EXPECT_FALSE(std::filesystem::exists(file));
}

}  // namespace
}  // namespace tessafold
