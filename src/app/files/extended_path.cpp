#include "app/files/extended_path.h"

namespace tessafold {

namespace {

bool IsSeparator(wchar_t c) { return c == L'\\' || c == L'/'; }

bool IsDrivePath(std::wstring_view path) {
  const auto letter = path.empty() ? L'\0' : path[0] | 0x20;
  return path.size() >= 3 && letter >= L'a' && letter <= L'z' && path[1] == L':' && IsSeparator(path[2]);
}

// The long form is taken literally, so "/" must already be "\\".
std::wstring WithBackslashes(std::wstring_view path) {
  std::wstring result(path);
  for (wchar_t& c : result) {
    if (c == L'/') c = L'\\';
  }
  return result;
}

}  // namespace

std::wstring ExtendedLengthPath(std::wstring_view fullPath) {
  // "\\?\" and "\\.\" forms go to the file system as they are.
  if (fullPath.size() >= 4 && IsSeparator(fullPath[0]) && IsSeparator(fullPath[1]) &&
      (fullPath[2] == L'?' || fullPath[2] == L'.') && IsSeparator(fullPath[3])) {
    return std::wstring(fullPath);
  }
  if (IsDrivePath(fullPath)) return L"\\\\?\\" + WithBackslashes(fullPath);
  if (fullPath.size() > 2 && IsSeparator(fullPath[0]) && IsSeparator(fullPath[1])) {
    return L"\\\\?\\UNC\\" + WithBackslashes(fullPath.substr(2));
  }
  return std::wstring(fullPath);
}

}  // namespace tessafold
