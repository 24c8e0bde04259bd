// A replacement that runs out of space must leave the original whole. The
// test mounts a small file system of its own, which needs root; elsewhere it
// is skipped.
#include <gtest/gtest.h>
#include <sys/mount.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

#include "cipher/jobs.h"
#include "common/file_test_support.h"
#include "fakes/fake_services.h"
#include "ui/main_window_ids.h"

namespace tessafold {
namespace {

using testing::Bytes;

class FullDisk : public ::testing::Test {
 protected:
  void SetUp() override {
    disk = folder.Root() / "disk";
    std::filesystem::create_directory(disk);
    if (mount("tmpfs", disk.c_str(), "tmpfs", 0, "size=12m") != 0) {
      GTEST_SKIP() << "cannot mount a small file system here: " << std::strerror(errno);
    }
    mounted = true;
  }
  void TearDown() override {
    if (mounted) umount(disk.c_str());
  }

  testing::ScratchFolder folder;
  std::filesystem::path disk;
  bool mounted = false;
};

// More than half the space: the new content cannot sit beside the old. Its
// first pieces fit, so each job fails half-way through, says so, and leaves
// the original and no temporary file.
TEST_F(FullDisk, AJobThatDoesNotFitReportsItsFailureAndLeavesTheOriginalAndNoTemporaryFile) {
  const Bytes content = testing::SampleBytes(7 << 20);
  const auto file = disk / "big.bin";
  testing::WriteBytes(file, content);
  ASSERT_EQ(std::filesystem::file_size(file), content.size());
  fake::Services& services = fake::Services::Instance();
  services.Reset();
  services.SetText(kMainWindow, keyEdit, kPropertyEditText, "1");
  services.SetText(kMainWindow, repeatEdit, kPropertyEditText, "1");
  services.SetText(kMainWindow, pathEdit, kPropertyEditText, file.string());

  RunEncryptJob();
  RunDecryptJob();
  EXPECT_EQ(services.Messages(),
            (std::vector<std::string>{std::string(kEncryptFailureText), std::string(kDecryptFailureText)}));
  EXPECT_TRUE(testing::ReadBytes(file) == content);
  EXPECT_EQ(testing::NamesIn(disk), std::vector<std::string>{"big.bin"});
}

}  // namespace
}  // namespace tessafold
