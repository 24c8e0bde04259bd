#include "scratch_folder.h"

#include <windows.h>

#include <algorithm>

namespace e2e {

std::wstring MakeScratchFolder(std::wstring_view name) {
  wchar_t temp[MAX_PATH + 1] = {};
  GetTempPathW(MAX_PATH + 1, temp);
  std::wstring base = std::wstring(temp) + L"tessafold-e2e";
  CreateDirectoryW(base.c_str(), nullptr);
  // A fresh folder per call, so reruns and parallel cases never share files.
  for (unsigned n = GetTickCount() ^ GetCurrentProcessId();; ++n) {
    std::wstring folder = base + L"\\" + std::wstring(name) + L"-" + std::to_wstring(n);
    if (CreateDirectoryW(folder.c_str(), nullptr)) return folder;
    if (GetLastError() != ERROR_ALREADY_EXISTS) return {};
  }
}

std::vector<std::wstring> NamesIn(const std::wstring& folder) {
  std::vector<std::wstring> names;
  WIN32_FIND_DATAW found{};
  HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return names;
  do {
    const std::wstring name = found.cFileName;
    if (name != L"." && name != L"..") names.push_back(name);
  } while (FindNextFileW(search, &found));
  FindClose(search);
  std::sort(names.begin(), names.end());
  return names;
}

void RemoveScratchFolder(const std::wstring& folder) {
  if (folder.empty()) return;  // never the current drive's root
  for (const std::wstring& name : NamesIn(folder)) {
    const std::wstring path = folder + L"\\" + name;
    if (GetFileAttributesW(path.c_str()) & FILE_ATTRIBUTE_DIRECTORY) {
      RemoveScratchFolder(path);
      continue;
    }
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileW(path.c_str());
  }
  RemoveDirectoryW(folder.c_str());
}

}  // namespace e2e
