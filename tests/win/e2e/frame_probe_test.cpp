// The frame and its services where only a step inside the program can bring
// the situation about: frame_probe.exe is the real program plus that step.
#include <gtest/gtest.h>

#include "app_under_test.h"
#include "ui/main_window_ids.h"

namespace {

using e2e::AppUnderTest;
using namespace tessafold;

constexpr DWORD kFatalExit = 0xFFFFFFFFu;

AppUnderTest StartProbe(std::wstring_view scenario) {
  return AppUnderTest({}, e2e::ProgramPath(L"frame_probe.exe"), scenario);
}

// Whether the user interface thread still answers at once, with the window enabled.
bool WindowUsable(const AppUnderTest& app) {
  const std::wstring text = L"还能输入";
  DWORD_PTR result = 0;
  const bool answered = SendMessageTimeoutW(app.Control(keyEdit), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()),
                                            SMTO_ABORTIFHUNG, 5000, &result) != 0;
  return answered && IsWindowEnabled(app.Window()) && app.ControlText(keyEdit) == text;
}

TEST(FrameProbe, AFatalErrorOnAWorkerLeavesTheWindowUsableAndEndsWithMinusOne) {
  const AppUnderTest app = StartProbe(L"worker-fatal");
  ASSERT_TRUE(app.Started());
  const HWND box = app.WaitForDialog(L"错误");
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(AppUnderTest::MessageBoxText(box), L"运行时出错!\r\n\r\n错误信息：探针\r\n");
  EXPECT_TRUE(WindowUsable(app));
  AppUnderTest::AnswerMessageBox(box);
  EXPECT_EQ(app.WaitForExit(), kFatalExit);
}

TEST(FrameProbe, AWorkerReadsWritesAndDisablesControlsWhileABoxIsOpenOnTheUiThread) {
  const AppUnderTest app = StartProbe(L"access-during-box");
  ASSERT_TRUE(app.Started());
  const HWND box = app.WaitForDialog(L"信息：");
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(AppUnderTest::MessageBoxText(box), L"探针");
  EXPECT_NE(GetDlgItem(box, IDOK), nullptr);
  EXPECT_EQ(GetDlgItem(box, IDCANCEL), nullptr) << "a single OK button";

  EXPECT_TRUE(e2e::WaitUntil([&] { return app.ControlText(repeatEdit) == L"甲乙!"; }));
  EXPECT_EQ(app.ControlText(keyEdit), L"甲乙");
  EXPECT_FALSE(app.ControlEnabled(encryptButton));
  EXPECT_TRUE(app.ControlEnabled(decryptButton));
  EXPECT_TRUE(IsWindow(box)) << "all of it happened while the box was open";

  AppUnderTest::AnswerMessageBox(box);
  ASSERT_TRUE(e2e::WaitUntil([&] { return !IsWindow(box); }));
  app.Close();
  EXPECT_EQ(app.WaitForExit(), 0u);
}

// Uncaught exceptions have no message of their own. The end must not wait
// for a hold that the failing thread took: it is never released.
TEST(FrameProbe, AFailedStartAMissingWindowOrAnUncaughtExceptionIsFatal) {
  const std::pair<const wchar_t*, std::wstring> cases[] = {
      {L"not-loaded", L"未载入欲访问窗口组件所在的窗口"}, {L"no-window", L"指定窗口尚未载入"},
      {L"no-relay", L"载入启动窗口失败"}, {L"worker-throws", L""}, {L"hold-throws", L""}, {L"ui-throws", L""}};
  for (const auto& [scenario, message] : cases) {
    SCOPED_TRACE(::testing::Message() << "scenario " << scenario);
    const AppUnderTest app = StartProbe(scenario);
    const HWND box = app.WaitForDialog(L"错误");
    ASSERT_NE(box, nullptr);
    const std::wstring messageLine = message.empty() ? L"" : L"错误信息：" + message + L"\r\n";
    EXPECT_EQ(AppUnderTest::MessageBoxText(box), L"运行时出错!\r\n\r\n" + messageLine);
    AppUnderTest::AnswerMessageBox(box);
    EXPECT_EQ(app.WaitForExit(), kFatalExit);
  }
}

TEST(FrameProbe, ShowMessageReportsTheButtonPressed) {
  const std::pair<int, DWORD> answers[] = {{IDYES, 5}, {IDNO, 6}};
  for (const auto& [button, result] : answers) {
    const AppUnderTest app = StartProbe(L"yes-no");
    ASSERT_TRUE(app.Started());
    const HWND box = app.WaitForDialog(L"信息：");
    ASSERT_NE(box, nullptr);
    AppUnderTest::AnswerMessageBox(box, button);
    EXPECT_EQ(app.WaitForExit(), result);
  }
}

}  // namespace
