#include "child_process.h"

#include "app_under_test.h"

namespace faults {

namespace {

struct TitleSearch {
  DWORD processId;
  std::wstring_view title;
  HWND found = nullptr;
};

BOOL CALLBACK MatchTitle(HWND window, LPARAM context) {
  auto* search = reinterpret_cast<TitleSearch*>(context);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (owner != search->processId || !IsWindowVisible(window) || e2e::WindowText(window) != search->title) return TRUE;
  search->found = window;
  return FALSE;
}

}  // namespace

ChildProcess::ChildProcess(const std::wstring& program, const std::wstring& arguments) {
  std::wstring commandLine = Quoted(program) + L" " + arguments;
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  if (!CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                      &info_)) {
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

std::optional<DWORD> ChildProcess::WaitForExit(DWORD timeoutMs) {
  if (!Started() || WaitForSingleObject(info_.hProcess, timeoutMs) != WAIT_OBJECT_0) return std::nullopt;
  DWORD code = 0;
  GetExitCodeProcess(info_.hProcess, &code);
  return code;
}

HWND ChildProcess::FindWindowTitled(std::wstring_view title) const {
  TitleSearch search{info_.dwProcessId, title};
  if (Started()) EnumWindows(MatchTitle, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

std::wstring Quoted(const std::wstring& path) { return L"\"" + path + L"\""; }

}  // namespace faults
