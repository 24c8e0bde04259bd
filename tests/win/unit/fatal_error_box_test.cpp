// The fatal error box as a user meets it: found on the desktop by its title,
// read, dismissed, and the exit code checked.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "app_under_test.h"

namespace {

using e2e::AppUnderTest;

constexpr int kBoxIconId = 0x440;  // the icon of a message box

// How many pixels of the icon control differ from the system icon drawn on
// the control's own background. Icon handles belong to their process, so
// the pictures are compared, not the handles.
size_t PixelsUnlike(HWND control, LPCWSTR systemIcon) {
  RECT area{};
  GetClientRect(control, &area);
  POINT corner{0, 0};
  ClientToScreen(control, &corner);
  const std::vector<COLORREF> shown = e2e::ScreenPixels(corner, area.right, area.bottom);
  const std::vector<COLORREF> expected = e2e::Pixels(area.right, area.bottom, [&](HDC memory, HDC) {
    const HBRUSH background = CreateSolidBrush(shown[0]);
    FillRect(memory, &area, background);
    DeleteObject(background);
    DrawIconEx(memory, 0, 0, LoadIconW(nullptr, systemIcon), 0, 0, 0, nullptr, DI_NORMAL);
  });
  size_t unlike = 0;
  for (size_t i = 0; i < shown.size(); ++i) unlike += shown[i] != expected[i];
  return unlike;
}

// True when the box's icon looks like the stop icon and unlike the others.
bool ShowsStopIcon(HWND box) {
  HWND icon = GetDlgItem(box, kBoxIconId);
  if (!icon || !IsWindowVisible(icon)) return false;
  const size_t stop = PixelsUnlike(icon, IDI_HAND);
  for (LPCWSTR other : {IDI_EXCLAMATION, IDI_ASTERISK, IDI_QUESTION}) {
    if (PixelsUnlike(icon, other) <= stop) return false;
  }
  return stop == 0;
}

BOOL CALLBACK CountButtons(HWND child, LPARAM parameter) {
  wchar_t className[32] = {};
  GetClassNameW(child, className, 32);
  if (lstrcmpiW(className, L"Button") == 0 && IsWindowVisible(child)) ++*reinterpret_cast<int*>(parameter);
  return TRUE;
}

// Raised in a child process: a byte index below one, one above the length,
// code zero (no code line), an empty message (no message line), and an error
// on a second thread.
TEST(FatalErrorBox, ShowsCodeAndMessageInAStopBoxWithOneButtonAndEndsTheProcess) {
  const std::pair<const wchar_t*, const wchar_t*> cases[] = {
      {L"index 0", L"错误代码：4\r\n\r\n错误信息：数组成员引用下标必须大于等于1\r\n"},
      {L"index 2", L"错误代码：1\r\n\r\n错误信息：数组成员引用下标超出定义范围\r\n"},
      {L"error 0 载入启动窗口失败", L"错误信息：载入启动窗口失败\r\n"},
      {L"error 7", L"错误代码：7\r\n\r\n"},
      {L"worker -3 指定窗口尚未载入", L"错误代码：-3\r\n\r\n错误信息：指定窗口尚未载入\r\n"},
  };
  for (const auto& [arguments, lines] : cases) {
    SCOPED_TRACE(tessafold::Narrow(arguments));
    const e2e::ChildProcess probe(e2e::ProgramPath(L"fatal_probe.exe"), arguments);
    HWND box = nullptr;
    e2e::WaitUntil([&] { return (box = probe.FindWindowTitled(L"错误")) != nullptr || !probe.Running(); });
    ASSERT_NE(box, nullptr) << "no box titled 错误 appeared";
    EXPECT_EQ(AppUnderTest::MessageBoxText(box), L"运行时出错!\r\n\r\n" + std::wstring(lines));
    // The box may not have painted itself yet when it is first found.
    EXPECT_TRUE(e2e::WaitUntil([&] { return ShowsStopIcon(box); }, 5000, 100));
    int buttons = 0;
    EnumChildWindows(box, CountButtons, reinterpret_cast<LPARAM>(&buttons));
    EXPECT_EQ(buttons, 1);
    EXPECT_EQ(GetWindow(box, GW_OWNER), nullptr);
    AppUnderTest::AnswerMessageBox(box);
    EXPECT_EQ(probe.WaitForExit(e2e::kWaitMs), std::optional<DWORD>(0xFFFFFFFFu));
  }
}

}  // namespace
