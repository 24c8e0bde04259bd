// What the POSIX stand-ins do beyond the shared contract: permissions,
// links and special files.
#include <gtest/gtest.h>
#include <grp.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <filesystem>
#include <mutex>
#include <set>

#include "app/files/file_primitives.h"
#include "cipher/transform_file.h"
#include "common/file_test_support.h"

namespace {
// The files whose every byte and whose name were pushed to the disk, by inode.
std::mutex syncedMutex;
std::set<ino_t> synced;
}  // namespace

// Stands in for the C library's, so that a test sees which files the program
// flushed whole; the pushes during the writing use fdatasync and do not count.
extern "C" int fsync(int fd) {
  struct stat info {};
  if (::fstat(fd, &info) == 0) {
    const std::lock_guard lock(syncedMutex);
    synced.insert(info.st_ino);
  }
  return static_cast<int>(::syscall(SYS_fsync, fd));
}

namespace tessafold {
namespace {

using testing::Bytes;

class PosixFiles : public ::testing::Test {
 protected:
  std::string Make(const std::string& name, const Bytes& bytes) {
    testing::WriteBytes(folder.Path(name), bytes);
    return folder.Path(name).string();
  }
  mode_t ModeOf(const std::string& name) {
    struct stat info {};
    lstat(folder.Path(name).c_str(), &info);
    return info.st_mode;
  }

  testing::ScratchFolder folder;
};

TEST_F(PosixFiles, TheReplacedFileKeepsItsPermissionBitsAndOwner) {
  const std::string path = Make("shared.bin", {1, 2, 3});
  // Only root may give a file away; anyone else owns their files already.
  const uid_t owner = geteuid() == 0 ? 65534 : geteuid();
  ASSERT_EQ(chown(path.c_str(), owner, static_cast<gid_t>(-1)), 0);
  for (mode_t mode : {0640, 0604, 0755, 0600}) {
    ASSERT_EQ(chmod(path.c_str(), mode), 0);
    EXPECT_TRUE(TransformFile(path, 1, 1, ShiftDirection::Add));
    EXPECT_EQ(ModeOf("shared.bin") & 07777, mode);
    struct stat info {};
    stat(path.c_str(), &info);
    EXPECT_EQ(info.st_uid, owner);
  }
  EXPECT_TRUE(testing::ReadBytes(folder.Path("shared.bin")) == (Bytes{5, 6, 7}));
}

// Others may read the replacement only as they may read the original, from
// its first byte on: the mode is its own before the content is written.
TEST_F(PosixFiles, TheReplacementHasTheOriginalsModeBeforeAnyByteIsWritten) {
  const std::string path = Make("private.bin", {1, 2, 3});
  ASSERT_EQ(chmod(path.c_str(), 0640), 0);
  std::vector<mode_t> modes;
  ASSERT_TRUE(RewriteFile(path, [&](std::span<uint8_t>, RewriteProgress) {
    for (const std::string& name : testing::NamesIn(folder)) {
      if (name.starts_with(".tessafold-")) modes.push_back(ModeOf(name) & 07777);
    }
  }));
  EXPECT_EQ(modes, std::vector<mode_t>{0640});
}

// A crash right after the job must find the new content under the file's
// name: the replacement and then its folder are flushed whole.
TEST_F(PosixFiles, TheReplacementAndItsFolderAreFlushedToTheDisk) {
  const std::string path = Make("durable.bin", {1, 2, 3});
  synced.clear();
  ASSERT_TRUE(TransformFile(path, 1, 1, ShiftDirection::Add));
  struct stat file {}, root {};
  ASSERT_EQ(stat(path.c_str(), &file), 0);
  ASSERT_EQ(stat(folder.Root().c_str(), &root), 0);
  const std::lock_guard lock(syncedMutex);
  EXPECT_EQ(synced.count(file.st_ino), 1u) << "the replacement's content";
  EXPECT_EQ(synced.count(root.st_ino), 1u) << "its new name";
}

// A user who is not root may not give a file away but may give it a group
// they belong to, and may not replace a file in a folder they may not write.
// Run as such a user in a child process (root can do everything).
TEST_F(PosixFiles, AnotherUserKeepsTheGroupAndIsRefusedWhereTheFolderForbidsReplacing) {
  if (geteuid() != 0) GTEST_SKIP() << "needs root to act as another user";
  constexpr uid_t kOther = 65534;
  constexpr gid_t kShared = 4242;
  ASSERT_EQ(chmod(folder.Root().c_str(), 0777), 0);
  const std::string shared = Make("shared.bin", {1, 2});
  ASSERT_EQ(chown(shared.c_str(), 0, kShared), 0);
  ASSERT_EQ(chmod(shared.c_str(), 0660), 0);
  std::filesystem::create_directory(folder.Path("locked"));
  const std::string locked = Make("locked/file.bin", {3, 4});
  ASSERT_EQ(chmod(locked.c_str(), 0666), 0);
  ASSERT_EQ(chmod(folder.Path("locked").c_str(), 0555), 0);

  EXPECT_EXIT(
      {
        const gid_t groups[] = {kShared};
        if (setgroups(1, groups) != 0 || setgid(kOther) != 0 || setuid(kOther) != 0) std::exit(2);
        const bool sharedDone = TransformFile(shared, 1, 1, ShiftDirection::Add);
        const bool lockedDone = TransformFile(locked, 1, 1, ShiftDirection::Add);
        std::exit(sharedDone && !lockedDone ? 0 : 1);
      },
      ::testing::ExitedWithCode(0), "");
  struct stat info {};
  ASSERT_EQ(stat(shared.c_str(), &info), 0);
  EXPECT_EQ(info.st_uid, kOther);
  EXPECT_EQ(info.st_gid, kShared);
  EXPECT_EQ(info.st_mode & 07777, 0660u);
  EXPECT_TRUE(testing::ReadBytes(folder.Path("shared.bin")) == (Bytes{2, 3}));
  EXPECT_TRUE(testing::ReadBytes(folder.Path("locked/file.bin")) == (Bytes{3, 4}));
  chmod(folder.Path("locked").c_str(), 0755);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.Path("locked")), {}), 1);
}

TEST_F(PosixFiles, AFailedJobLeavesItsReasonOnStandardError) {
  ::testing::internal::CaptureStderr();
  EXPECT_FALSE(TransformFile(folder.Path("missing.bin").string(), 1, 1, ShiftDirection::Add));
  const std::string said = ::testing::internal::GetCapturedStderr();
  EXPECT_NE(said.find("tessafold: finding the file: " + folder.Path("missing.bin").string() + ": error 2 ("),
            std::string::npos)
      << said;
}

TEST_F(PosixFiles, ANamedPipeIsNoFileAndDoesNotBlock) {
  const std::string path = folder.Path("pipe").string();
  ASSERT_EQ(mkfifo(path.c_str(), 0600), 0);
  ReadOutcome outcome = ReadOutcome::Read;
  EXPECT_EQ(ByteCount(ReadWholeFile(path, &outcome)), 0);
  EXPECT_EQ(outcome, ReadOutcome::NoFile);
  EXPECT_FALSE(TransformFile(path, 1, 1, ShiftDirection::Add));
  EXPECT_TRUE(S_ISFIFO(ModeOf("pipe")));
}

TEST_F(PosixFiles, AFileWithoutReadPermissionIsUnreadableAndLeftAlone) {
  if (geteuid() == 0) GTEST_SKIP() << "root reads every file whatever its permission bits";
  const std::string path = Make("secret.bin", {1, 2, 3});
  ASSERT_EQ(chmod(path.c_str(), 0200), 0);
  ReadOutcome outcome = ReadOutcome::Read;
  EXPECT_EQ(ByteCount(ReadWholeFile(path, &outcome)), 0);
  EXPECT_EQ(outcome, ReadOutcome::Unreadable);
  EXPECT_FALSE(TransformFile(path, 1, 1, ShiftDirection::Add));
  chmod(path.c_str(), 0600);
  EXPECT_TRUE(testing::ReadBytes(folder.Path("secret.bin")) == (Bytes{1, 2, 3}));
  EXPECT_EQ(testing::NamesIn(folder), (std::vector<std::string>{"secret.bin"}));
}

}  // namespace
}  // namespace tessafold
