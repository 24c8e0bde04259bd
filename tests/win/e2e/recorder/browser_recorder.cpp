// A stand-in web browser for the end-to-end tests. The shell starts it with
// the address to open; it appends one line to the log in the temp folder:
//   address TAB "hidden" or "visible" (the main window, at this moment) TAB current directory
// The shell waits for it to go idle or end, so the line shows the state the
// program was in when it asked for the page.
#include <windows.h>
#include <shellapi.h>

#include <string>

#include "app/text/win/wide_text.h"

using tessafold::Narrow;

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  int count = 0;
  wchar_t** args = CommandLineToArgvW(GetCommandLineW(), &count);
  const std::wstring address = count > 1 ? args[1] : L"";

  const HWND window = FindWindowW(nullptr, L"Tessafoldv1.1");
  const bool visible = window && IsWindowVisible(window);
  wchar_t directory[MAX_PATH * 4] = {};
  GetCurrentDirectoryW(MAX_PATH * 4, directory);

  wchar_t temp[MAX_PATH + 1] = {};
  GetTempPathW(MAX_PATH + 1, temp);
  const std::wstring logPath = std::wstring(temp) + L"tessafold-browser-log.txt";
  const std::string line = Narrow(address) + "\t" + (visible ? "visible" : "hidden") + "\t" + Narrow(directory) + "\n";
  const HANDLE log = CreateFileW(logPath.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                                 FILE_ATTRIBUTE_NORMAL, nullptr);
  DWORD written = 0;
  WriteFile(log, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
  CloseHandle(log);
  return 0;
}
