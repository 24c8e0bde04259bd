#include "child_process.h"

#include <vector>

namespace e2e {

namespace {

struct WindowSearch {
  DWORD processId;
  const std::function<bool(HWND)>& matches;
  HWND found = nullptr;
};

BOOL CALLBACK MatchWindow(HWND window, LPARAM context) {
  auto* search = reinterpret_cast<WindowSearch*>(context);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (owner != search->processId || !IsWindowVisible(window) || !search->matches(window)) return TRUE;
  search->found = window;
  return FALSE;
}

}  // namespace

std::wstring ProgramPath(std::wstring_view name) {
  std::vector<wchar_t> path(32768);
  const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
  const std::wstring self(path.data(), length);
  return self.substr(0, self.find_last_of(L'\\') + 1) + std::wstring(name);
}

std::wstring Quoted(const std::wstring& path) { return L"\"" + path + L"\""; }

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

HWND FindProcessWindow(DWORD processId, const std::function<bool(HWND)>& matches) {
  WindowSearch search{processId, matches};
  EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

HWND FindProcessWindow(DWORD processId, std::wstring_view title) {
  return FindProcessWindow(processId, [&](HWND window) {
    wchar_t caption[256] = {};
    return std::wstring_view(caption, static_cast<size_t>(GetWindowTextW(window, caption, 256))) == title;
  });
}

std::vector<COLORREF> Pixels(int width, int height, const std::function<void(HDC memory, HDC screen)>& paint) {
  std::vector<COLORREF> pixels(static_cast<size_t>(width * height));
  const HDC screen = GetDC(nullptr), memory = CreateCompatibleDC(screen);
  const HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
  const HGDIOBJ previous = SelectObject(memory, bitmap);
  paint(memory, screen);
  SelectObject(memory, previous);
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  GetDIBits(memory, bitmap, 0, static_cast<UINT>(height), pixels.data(), &info, DIB_RGB_COLORS);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  // The bitmap's blue, green, red and unused bytes, as a COLORREF.
  for (COLORREF& pixel : pixels) pixel = RGB(GetBValue(pixel), GetGValue(pixel), GetRValue(pixel));
  return pixels;
}

std::vector<COLORREF> ScreenPixels(POINT at, int width, int height) {
  return Pixels(width, height, [&](HDC memory, HDC screen) {
    BitBlt(memory, 0, 0, width, height, screen, at.x, at.y, SRCCOPY);
  });
}

ChildProcess::ChildProcess(const std::wstring& program, std::wstring_view arguments,
                           const std::wstring& workingDirectory) {
  std::wstring commandLine = Quoted(program) + L" " + std::wstring(arguments);
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  if (!CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      workingDirectory.empty() ? nullptr : workingDirectory.c_str(), &startup, &info_)) {
    info_ = {};
  }
}

ChildProcess::~ChildProcess() {
  if (!Started()) return;
  Kill();
  CloseHandle(info_.hThread);
  CloseHandle(info_.hProcess);
}

bool ChildProcess::Running() const { return Started() && WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT; }

bool ChildProcess::Kill() {
  const bool wasRunning = Running() && TerminateProcess(info_.hProcess, 9);
  if (Started()) WaitForSingleObject(info_.hProcess, INFINITE);
  return wasRunning;
}

std::optional<DWORD> ChildProcess::WaitForExit(DWORD timeoutMs) const {
  if (!Started() || WaitForSingleObject(info_.hProcess, timeoutMs) != WAIT_OBJECT_0) return std::nullopt;
  DWORD code = 0;
  GetExitCodeProcess(info_.hProcess, &code);
  return code;
}

}  // namespace e2e
