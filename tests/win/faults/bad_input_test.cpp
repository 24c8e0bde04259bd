// Files the jobs cannot transform, driven through the real window: each job
// shows its failure text, the file stays byte for byte as it was and nothing
// is created beside it. (A file held open by another program is covered by the
// end-to-end job tests.)
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "app_under_test.h"
#include "job_outcome.h"
#include "pattern_file.h"
#include "scratch_files.h"
#include "ui/main_window_ids.h"

namespace {

using namespace faults;
using tessafold::decryptButton;
using tessafold::encryptButton;

constexpr wchar_t kEncryptFailure[] = L"加密失败，请查看文件是否被打开了";
constexpr wchar_t kDecryptFailure[] = L"解密失败!";
constexpr uint64_t kSize = 3 << 20;

class BadInputThroughTheWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    folder = e2e::MakeScratchFolder(L"bad-input");
    ASSERT_FALSE(folder.empty());
    file = folder + L"\\选中的.bin";
    ASSERT_TRUE(WritePatternFile(file, kSize));
    ASSERT_TRUE(app.Started());
    app.SetControlText(tessafold::keyEdit, L"9");
    app.SetControlText(tessafold::repeatEdit, L"1");
    app.SetControlText(tessafold::pathEdit, file);
  }
  void TearDown() override { RemoveScratchFolder(folder); }

  std::wstring folder;
  std::wstring file;
  e2e::AppUnderTest app;
};

TEST_F(BadInputThroughTheWindow, AReadOnlyFileFailsAndStaysAsItWas) {
  ASSERT_TRUE(SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_READONLY));

  EXPECT_EQ(RunJobThroughTheWindow(app, encryptButton), kEncryptFailure);
  EXPECT_EQ(RunJobThroughTheWindow(app, decryptButton), kDecryptFailure);

  EXPECT_EQ(PatternShift(file, kSize), std::optional<uint8_t>(0));
  EXPECT_NE(GetFileAttributesW(file.c_str()) & FILE_ATTRIBUTE_READONLY, 0u);
  EXPECT_EQ(NamesIn(folder), std::vector<std::wstring>{L"选中的.bin"});
}

TEST_F(BadInputThroughTheWindow, AFileDeletedAfterItWasChosenFailsAndNothingIsCreated) {
  ASSERT_TRUE(DeleteFileW(file.c_str()));

  EXPECT_EQ(RunJobThroughTheWindow(app, encryptButton), kEncryptFailure);
  EXPECT_EQ(RunJobThroughTheWindow(app, decryptButton), kDecryptFailure);

  EXPECT_TRUE(NamesIn(folder).empty());
}

}  // namespace
