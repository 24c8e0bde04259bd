// The jobs' progress on the taskbar button: the calls the frame makes are
// accepted by the shell. (Wine's taskbar may not draw them; what can be seen
// here is that nothing refuses them.)
#include <gtest/gtest.h>
#include <ole2.h>

#include "app/window/win/taskbar_progress.h"

namespace tessafold {
namespace {

TEST(TaskbarButton, ShowsAndClearsTheProgressOfAShownWindow) {
  ASSERT_TRUE(SUCCEEDED(OleInitialize(nullptr)));
  const HWND window = CreateWindowExW(0, L"STATIC", L"taskbar test", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200, 100,
                                      nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
  ASSERT_NE(window, nullptr);
  {
    TaskbarButton button;
    EXPECT_TRUE(button.Available());
    EXPECT_TRUE(button.Show(window, 0, 4ll << 30));
    EXPECT_TRUE(button.Show(window, 3ll << 30, 4ll << 30));
    EXPECT_TRUE(button.Show(window, 0, 0));
  }
  DestroyWindow(window);
  OleUninitialize();
}

}  // namespace
}  // namespace tessafold
