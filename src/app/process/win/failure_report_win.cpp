#include <windows.h>

#include "app/process/failure_report.h"
#include "app/text/win/wide_text.h"

namespace tessafold {

std::string SystemErrorText(uint32_t systemError) {
  wchar_t text[512];
  DWORD length = FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, systemError, 0,
                                text, 512, nullptr);
  while (length > 0 && (text[length - 1] == L'\n' || text[length - 1] == L'\r' || text[length - 1] == L' ')) --length;
  return Narrow(std::wstring_view(text, length));
}

// In the system's code page, as Windows hands wide text to debuggers that
// listen for the older form: Wine 8 shows only that form (WINEDEBUG=+debugstr).
void WriteDiagnostic(std::string_view line) {
  const std::wstring wide = Widen(line);
  const int size = WideCharToMultiByte(CP_ACP, 0, wide.c_str(), -1, nullptr, 0, nullptr, nullptr);
  if (size <= 0) return;
  std::string local(static_cast<size_t>(size), '\0');
  WideCharToMultiByte(CP_ACP, 0, wide.c_str(), -1, local.data(), size, nullptr, nullptr);
  OutputDebugStringA(local.c_str());
}

}  // namespace tessafold
