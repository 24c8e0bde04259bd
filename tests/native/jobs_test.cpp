#include <gtest/gtest.h>

#include <string>

#include "cipher/jobs.h"
#include "common/file_test_support.h"
#include "fakes/fake_services.h"
#include "ui/main_window_ids.h"

namespace tessafold {
namespace {

using testing::Bytes;
using testing::ReadBytes;
using testing::SampleBytes;
using testing::Shifted;
using testing::WriteBytes;

constexpr char kEncryptSuccess[] = "加密成功，请牢记密码!(PS:加密后建议不要再次加密了。)";
constexpr char kEncryptFailure[] = "加密失败，请查看文件是否被打开了";
constexpr char kDecryptSuccess[] = "解密成功!";
constexpr char kDecryptFailure[] = "解密失败!";

class JobsTest : public ::testing::Test {
 protected:
  void SetUp() override { services.Reset(); }
  void TearDown() override { services.JoinWorkers(); }

  // What the user typed and chose, as the window would hold it.
  void Inputs(const std::string& key, const std::string& repeat, const std::string& path) {
    services.SetText(kMainWindow, keyEdit, kPropertyEditText, key);
    services.SetText(kMainWindow, repeatEdit, kPropertyEditText, repeat);
    services.SetText(kMainWindow, pathEdit, kPropertyEditText, path);
  }

  fake::Services& services = fake::Services::Instance();
  testing::ScratchFolder folder;
};

TEST_F(JobsTest, EncryptAddsTheKeyAndReportsSuccess) {
  const auto file = folder.Path("plain.bin");
  const Bytes original = SampleBytes(1000);
  WriteBytes(file, original);
  Inputs("3", "2", file.string());

  RunEncryptJob();

  EXPECT_EQ(ReadBytes(file), Shifted(original, 6));
  EXPECT_EQ(services.Messages(), std::vector<std::string>{kEncryptSuccess});
}

TEST_F(JobsTest, DecryptSubtractsTheKeyAndReportsSuccess) {
  const auto file = folder.Path("scrambled.bin");
  const Bytes original = SampleBytes(1000);
  WriteBytes(file, original);
  Inputs("300", "1", file.string());

  RunDecryptJob();

  EXPECT_EQ(ReadBytes(file), Shifted(original, -300));
  EXPECT_EQ(services.Messages(), std::vector<std::string>{kDecryptSuccess});
}

TEST_F(JobsTest, EncryptThenDecryptRestoresTheFile) {
  const auto file = folder.Path("round trip.bin");
  const Bytes original = SampleBytes(70000);
  WriteBytes(file, original);
  Inputs("-77", "5", file.string());

  RunEncryptJob();
  ASSERT_NE(ReadBytes(file), original);
  RunDecryptJob();

  EXPECT_EQ(ReadBytes(file), original);
  EXPECT_EQ(services.Messages(), (std::vector<std::string>{kEncryptSuccess, kDecryptSuccess}));
}

TEST_F(JobsTest, EachJobReadsKeyRepeatAndPathThenReportsThenEnablesItsOwnButton) {
  const auto file = folder.Path("order.bin");
  WriteBytes(file, SampleBytes(10));
  Inputs("1", "1", file.string());

  RunEncryptJob();
  RunDecryptJob();

  const std::vector<std::string> expected{
      fake::LogEntry("get", keyEdit, kPropertyEditText),
      fake::LogEntry("get", repeatEdit, kPropertyEditText),
      fake::LogEntry("get", pathEdit, kPropertyEditText),
      std::string("message ") + kEncryptSuccess,
      fake::LogEntry("set", encryptButton, kPropertyDisabled) + "=0",
      fake::LogEntry("get", keyEdit, kPropertyEditText),
      fake::LogEntry("get", repeatEdit, kPropertyEditText),
      fake::LogEntry("get", pathEdit, kPropertyEditText),
      std::string("message ") + kDecryptSuccess,
      fake::LogEntry("set", decryptButton, kPropertyDisabled) + "=0",
  };
  EXPECT_EQ(services.Log(), expected);
}

TEST_F(JobsTest, AnEmptyPathGivesEachJobsFailureText) {
  Inputs("5", "1", "");

  RunEncryptJob();
  RunDecryptJob();

  EXPECT_EQ(services.Messages(), (std::vector<std::string>{kEncryptFailure, kDecryptFailure}));
  EXPECT_FALSE(services.Disabled(kMainWindow, encryptButton));
  EXPECT_FALSE(services.Disabled(kMainWindow, decryptButton));
}

TEST_F(JobsTest, AMissingFileFailsAndNothingIsCreated) {
  const auto file = folder.Path("missing.bin");
  Inputs("5", "1", file.string());

  RunEncryptJob();

  EXPECT_EQ(services.Messages(), std::vector<std::string>{kEncryptFailure});
  EXPECT_TRUE(testing::NamesIn(folder).empty());
}

TEST_F(JobsTest, AKeyWithoutDigitsIsZeroAndRewritesTheFileUnchanged) {
  const auto file = folder.Path("abc.bin");
  const Bytes original = SampleBytes(500);
  WriteBytes(file, original);
  Inputs("abc", "1", file.string());

  RunEncryptJob();

  EXPECT_EQ(ReadBytes(file), original);
  EXPECT_EQ(services.Messages(), std::vector<std::string>{kEncryptSuccess});
}

TEST_F(JobsTest, KeyAndRepeatTakeTheirLeadingNumber) {
  const auto file = folder.Path("numbers.bin");
  const Bytes original = SampleBytes(500);
  WriteBytes(file, original);
  Inputs("12abc", "3.9", file.string());

  RunEncryptJob();

  EXPECT_EQ(ReadBytes(file), Shifted(original, 36));
}

TEST_F(JobsTest, RepeatZeroMakesOnePassLikeRepeatOne) {
  const auto zero = folder.Path("zero.bin");
  const auto one = folder.Path("one.bin");
  const Bytes original = SampleBytes(500);
  WriteBytes(zero, original);
  WriteBytes(one, original);

  Inputs("9", "0", zero.string());
  RunEncryptJob();
  Inputs("9", "1", one.string());
  RunEncryptJob();

  EXPECT_EQ(ReadBytes(zero), Shifted(original, 9));
  EXPECT_EQ(ReadBytes(one), ReadBytes(zero));
}

TEST_F(JobsTest, EncryptAndDecryptOfOneFileAtOnceEndWithTheOriginal) {
  const auto file = folder.Path("both.bin");
  const Bytes original = SampleBytes(4 << 20);
  WriteBytes(file, original);
  Inputs("41", "3", file.string());
  services.SetWorkerMode(fake::WorkerMode::Thread);

  for (int round = 0; round < 4; ++round) {
    StartWorker([](void*) { RunEncryptJob(); });
    StartWorker([](void*) { RunDecryptJob(); });
    services.JoinWorkers();
    ASSERT_EQ(ReadBytes(file), original) << "round " << round;
  }
  EXPECT_EQ(services.Messages().size(), 8u);
  EXPECT_EQ(testing::NamesIn(folder), std::vector<std::string>{"both.bin"});
}

}  // namespace
}  // namespace tessafold
