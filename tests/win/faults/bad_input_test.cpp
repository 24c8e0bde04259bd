// Files the jobs cannot transform, driven through the real window: each job
// shows its failure text, the file stays byte for byte as it was and nothing
// is created beside it. (A file held open by another program is covered by the
// end-to-end job tests.)
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "app_under_test.h"
#include "window_job.h"
#include "pattern_file_test.h"
#include "ui/main_window_ids.h"

namespace {

using namespace faults;
using tessafold::decryptButton;
using tessafold::encryptButton;

constexpr uint64_t kSize = 3 << 20;

class BadInputThroughTheWindow : public PatternFileTest {
 protected:
  BadInputThroughTheWindow() : PatternFileTest(L"bad-input", L"选中的.bin", kSize) {}
  void SetUp() override {
    PatternFileTest::SetUp();
    ASSERT_TRUE(app.Started());
    EnterJobInputs(app, L"9", L"1", file);
  }

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
