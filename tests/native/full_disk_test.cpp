// A replacement that runs out of space must leave the original whole. The
// test mounts a small file system of its own, which needs root; elsewhere it
// is skipped.
#include <gtest/gtest.h>
#include <sys/mount.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

#include "app/file_primitives.h"
#include "cipher/transform_file.h"
#include "common/file_test_support.h"

namespace tessafold {
namespace {

using testing::Bytes;

class FullDisk : public ::testing::Test {
 protected:
  void SetUp() override {
    disk = testing::Root(folder) / "disk";
    std::filesystem::create_directory(disk);
    if (mount("tmpfs", disk.c_str(), "tmpfs", 0, "size=1m") != 0) {
      GTEST_SKIP() << "cannot mount a small file system here: " << std::strerror(errno);
    }
    mounted = true;
  }
  void TearDown() override {
    if (mounted) umount(disk.c_str());
  }
  std::vector<std::string> NamesOnDisk() const {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(disk)) names.push_back(entry.path().filename());
    return names;
  }

  testing::ScratchFolder folder;
  std::filesystem::path disk;
  bool mounted = false;
};

// More than half the space: the new content cannot sit beside the old.
TEST_F(FullDisk, AReplacementThatDoesNotFitLeavesTheOriginalAndNoTemporaryFile) {
  const Bytes content = testing::SampleBytes(640 << 10);
  const auto file = disk / "big.bin";
  testing::WriteBytes(file, content);
  ASSERT_EQ(std::filesystem::file_size(file), content.size());

  EXPECT_FALSE(ReplaceWholeFile(file.string(), testing::BufferOf(testing::Shifted(content, 1))));
  EXPECT_FALSE(TransformFile(file.string(), 1, 1, ShiftDirection::Add));
  EXPECT_TRUE(testing::ReadBytes(file) == content);
  EXPECT_EQ(NamesOnDisk(), std::vector<std::string>{"big.bin"});
}

TEST_F(FullDisk, AWriteThatDoesNotFitReportsFailure) {
  EXPECT_FALSE(WriteWholeFile((disk / "too-big.bin").string(), testing::BufferOf(testing::SampleBytes(2 << 20))));
}

}  // namespace
}  // namespace tessafold
