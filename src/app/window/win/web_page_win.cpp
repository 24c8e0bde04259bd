#include <windows.h>
#include <shellapi.h>

#include "app/window/web_page.h"
#include "app/text/win/wide_text.h"

namespace tessafold {

void OpenWebPage(std::string_view address) {
  const HWND owner = FindWindowExW(nullptr, nullptr, nullptr, L"Microsoft Internet Explorer");
  // Unchanged: the shell itself takes a "www." host without a scheme for a web address.
  ShellExecuteW(owner, L"open", Widen(address).c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

}  // namespace tessafold
