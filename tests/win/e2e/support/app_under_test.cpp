#include "app_under_test.h"

#include <vector>

namespace e2e {

namespace {

struct TopLevelSearch {
  DWORD processId;
  std::wstring_view title;
  HWND found = nullptr;
};

BOOL CALLBACK MatchTopLevel(HWND window, LPARAM context) {
  auto* search = reinterpret_cast<TopLevelSearch*>(context);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (owner != search->processId || !IsWindowVisible(window)) return TRUE;
  if (WindowText(window) != search->title) return TRUE;
  search->found = window;
  return FALSE;
}

HWND FindTopLevel(DWORD processId, std::wstring_view title) {
  TopLevelSearch search{processId, title};
  EnumWindows(MatchTopLevel, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

std::wstring ProgramFolder() {
  std::vector<wchar_t> path(32768);
  const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
  std::wstring folder(path.data(), length);
  return folder.substr(0, folder.find_last_of(L'\\'));
}

}  // namespace

std::wstring ProgramPath(std::wstring_view name) { return ProgramFolder() + L"\\" + std::wstring(name); }

std::wstring WindowText(HWND window) {
  const LRESULT length = SendMessageW(window, WM_GETTEXTLENGTH, 0, 0);
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  const LRESULT copied = SendMessageW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
  text.resize(static_cast<size_t>(copied));
  return text;
}

std::wstring ClassName(HWND window) {
  wchar_t name[256] = {};
  const int length = GetClassNameW(window, name, 256);
  return std::wstring(name, static_cast<size_t>(length));
}

std::wstring Widen(std::string_view utf8) {
  const int size = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
  std::wstring wide(static_cast<size_t>(size), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(), size);
  return wide;
}

AppUnderTest::AppUnderTest(std::wstring workingDirectory, std::wstring program, std::wstring_view arguments) {
  std::wstring commandLine = L"\"" + program + L"\"";
  if (!arguments.empty()) commandLine += L" " + std::wstring(arguments);
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  if (!CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      workingDirectory.empty() ? nullptr : workingDirectory.c_str(), &startup,
                      &processInfo_)) {
    processInfo_ = {};
    return;
  }
  WaitUntil([&] {
    window_ = FindTopLevel(processInfo_.dwProcessId, kMainWindowTitle);
    // A start-up that failed shows the fatal error box instead.
    return window_ != nullptr || FindDialog(L"错误") || WaitForSingleObject(processInfo_.hProcess, 0) == WAIT_OBJECT_0;
  });
  if (window_) uiThreadId_ = GetWindowThreadProcessId(window_, nullptr);
}

AppUnderTest::~AppUnderTest() {
  if (!processInfo_.hProcess) return;
  if (WaitForSingleObject(processInfo_.hProcess, 0) != WAIT_OBJECT_0) {
    TerminateProcess(processInfo_.hProcess, 1);
    WaitForSingleObject(processInfo_.hProcess, kWaitMs);
  }
  CloseHandle(processInfo_.hThread);
  CloseHandle(processInfo_.hProcess);
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

HWND AppUnderTest::FindDialog(std::wstring_view title) const {
  return FindTopLevel(processInfo_.dwProcessId, title);
}

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

std::optional<DWORD> AppUnderTest::WaitForExit(DWORD timeoutMs) const {
  if (!processInfo_.hProcess || WaitForSingleObject(processInfo_.hProcess, timeoutMs) != WAIT_OBJECT_0) {
    return std::nullopt;
  }
  DWORD code = 0;
  GetExitCodeProcess(processInfo_.hProcess, &code);
  return code;
}

}  // namespace e2e
