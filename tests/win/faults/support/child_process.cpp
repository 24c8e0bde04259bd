#include "child_process.h"

namespace faults {

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
  const std::wstring wanted(title);
  for (HWND window = nullptr; (window = FindWindowExW(nullptr, window, nullptr, wanted.c_str())) != nullptr;) {
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (Started() && owner == info_.dwProcessId && IsWindowVisible(window)) return window;
  }
  return nullptr;
}

std::wstring Quoted(const std::wstring& path) { return L"\"" + path + L"\""; }

}  // namespace faults
