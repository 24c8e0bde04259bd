#include "app_under_test.h"

#include <vector>

namespace e2e {

AppUnderTest::AppUnderTest(std::wstring workingDirectory, std::wstring program, std::wstring_view arguments)
    : process_(program, arguments, workingDirectory) {
  WaitUntil([&] {
    window_ = FindProcessWindow(ProcessId(), kMainWindowTitle);
    // A start-up that failed shows the fatal error box instead.
    return window_ != nullptr || FindDialog(L"错误") || !process_.Running();
  });
  if (window_) uiThreadId_ = GetWindowThreadProcessId(window_, nullptr);
}

HWND AppUnderTest::Control(int controlId) const {
  return window_ ? GetDlgItem(window_, controlId) : nullptr;
}

std::wstring AppUnderTest::ControlText(int controlId) const { return WindowText(Control(controlId)); }

void AppUnderTest::SetControlText(int controlId, std::wstring_view text) const {
  const std::wstring copy(text);
  SendMessageW(Control(controlId), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(copy.c_str()));
}

bool AppUnderTest::ControlEnabled(int controlId) const { return IsWindowEnabled(Control(controlId)) != FALSE; }

void AppUnderTest::Click(int controlId) const { PostMessageW(Control(controlId), BM_CLICK, 0, 0); }

void AppUnderTest::PressKey(WORD virtualKey, bool withShift) const {
  SetForegroundWindow(window_);
  std::vector<INPUT> inputs;
  const auto key = [&](WORD vk, bool up) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = vk;
    input.ki.wScan = static_cast<WORD>(MapVirtualKeyW(vk, MAPVK_VK_TO_VSC));
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    inputs.push_back(input);
  };
  if (withShift) key(VK_SHIFT, false);
  key(virtualKey, false);
  key(virtualKey, true);
  if (withShift) key(VK_SHIFT, true);
  SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

HWND AppUnderTest::FocusedWindow() const {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  if (!GetGUIThreadInfo(uiThreadId_, &info)) return nullptr;
  return info.hwndFocus;
}

HWND AppUnderTest::FindDialog(std::wstring_view title) const { return FindProcessWindow(ProcessId(), title); }

HWND AppUnderTest::WaitForDialog(std::wstring_view title, DWORD timeoutMs) const {
  HWND box = nullptr;
  WaitUntil([&] { return (box = FindDialog(title)) != nullptr; }, timeoutMs);
  return box;
}

std::wstring AppUnderTest::MessageBoxText(HWND box) { return WindowText(GetDlgItem(box, 0xFFFF)); }

void AppUnderTest::AnswerMessageBox(HWND box, int buttonId) {
  PostMessageW(box, WM_COMMAND, MAKEWPARAM(buttonId, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(box, buttonId)));
}

void AppUnderTest::Close() const { PostMessageW(window_, WM_SYSCOMMAND, SC_CLOSE, 0); }

}  // namespace e2e
