#pragma once
// A program started by the test that the test may kill hard, as a crash, the
// task manager or a power cut would end it.
#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

namespace faults {

class ChildProcess {
 public:
  ChildProcess(const std::wstring& program, const std::wstring& arguments);
  ~ChildProcess();  // kills the process if it still runs
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  bool Started() const { return info_.hProcess != nullptr; }
  DWORD Id() const { return info_.dwProcessId; }
  bool Running() const;
  // TerminateProcess, then waits until the process is gone; true when it
  // was still running, so the kill cut it off.
  bool Kill();
  std::optional<DWORD> WaitForExit(DWORD timeoutMs);
  // A visible top-level window of the process with this title, or null.
  HWND FindWindowTitled(std::wstring_view title) const;

 private:
  PROCESS_INFORMATION info_{};
};

// The path in double quotes, as one argument of a command line.
std::wstring Quoted(const std::wstring& path);

}  // namespace faults
