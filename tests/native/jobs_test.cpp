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

// The one copy that pins the texts the user reads; the cases below take them from jobs.h.
TEST(JobTexts, AreTheFourOutcomesAsWritten) {
  EXPECT_EQ(kEncryptSuccessText, "加密成功，请牢记密码!(PS:加密后建议不要再次加密了。)");
  EXPECT_EQ(kEncryptFailureText, "加密失败，请查看文件是否被打开了");
  EXPECT_EQ(kDecryptSuccessText, "解密成功!");
  EXPECT_EQ(kDecryptFailureText, "解密失败!");
}

class JobsTest : public fake::ServicesTest {
 protected:
  // What the user typed and chose, as the window would hold it.
  void Inputs(const std::string& key, const std::string& repeat, const std::string& path) {
    services.SetText(kMainWindow, keyEdit, kPropertyEditText, key);
    services.SetText(kMainWindow, repeatEdit, kPropertyEditText, repeat);
    services.SetText(kMainWindow, pathEdit, kPropertyEditText, path);
  }

  testing::ScratchFolder folder;
};

enum class Chosen { AFile, AMissingFile, NoPath };

// Each job reads key, repeat count and path, in that order, changes the file
// by the shift they make, reports its outcome and then enables its own button.
TEST_F(JobsTest, EachJobShiftsTheFileByKeyTimesRepeatAndReportsItsOutcome) {
  const struct {
    const char* key;
    const char* repeat;
    void (*job)();
    int shift;
    std::string_view message;
    Chosen chosen = Chosen::AFile;
  } cases[] = {
      {"3", "2", RunEncryptJob, 6, kEncryptSuccessText},
      {"300", "1", RunDecryptJob, -300, kDecryptSuccessText},
      {"-77", "5", RunEncryptJob, -385, kEncryptSuccessText},
      {"-77", "5", RunDecryptJob, 385, kDecryptSuccessText},
      {"abc", "1", RunEncryptJob, 0, kEncryptSuccessText},  // no digits: key 0, the file rewritten unchanged
      {"12abc", "3.9", RunEncryptJob, 36, kEncryptSuccessText},  // the leading number of each
      {"9", "0", RunEncryptJob, 9, kEncryptSuccessText},  // repeat 0 makes one pass, as 1 does
      {"9", "1", RunEncryptJob, 9, kEncryptSuccessText},
      {"5", "1", RunEncryptJob, 0, kEncryptFailureText, Chosen::NoPath},
      {"5", "1", RunDecryptJob, 0, kDecryptFailureText, Chosen::NoPath},
      {"5", "1", RunEncryptJob, 0, kEncryptFailureText, Chosen::AMissingFile},
      {"5", "1", RunDecryptJob, 0, kDecryptFailureText, Chosen::AMissingFile},
  };
  const Bytes original = SampleBytes(70000);
  for (const auto& c : cases) {
    const bool encrypt = c.job == RunEncryptJob;
    SCOPED_TRACE(std::string(encrypt ? "encrypt" : "decrypt") + " key " + c.key + " repeat " + c.repeat + " " +
                 std::to_string(static_cast<int>(c.chosen)));
    services.Reset();
    const auto file = folder.Path("plain.bin");
    if (c.chosen == Chosen::AFile) WriteBytes(file, original);
    Inputs(c.key, c.repeat, c.chosen == Chosen::NoPath ? "" : file.string());

    c.job();

    const int button = encrypt ? encryptButton : decryptButton;
    EXPECT_EQ(services.Log(), (std::vector<std::string>{
                                  fake::LogEntry("get", keyEdit, kPropertyEditText),
                                  fake::LogEntry("get", repeatEdit, kPropertyEditText),
                                  fake::LogEntry("get", pathEdit, kPropertyEditText),
                                  "message " + std::string(c.message),
                                  fake::LogEntry("set", button, kPropertyDisabled) + "=0",
                              }));
    if (c.chosen == Chosen::AFile) {
      EXPECT_EQ(ReadBytes(file), Shifted(original, c.shift));
      EXPECT_EQ(testing::NamesIn(folder), std::vector<std::string>{"plain.bin"});
    } else {
      EXPECT_TRUE(testing::NamesIn(folder).empty()) << "nothing is created";
    }
    std::filesystem::remove(file);
  }
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
