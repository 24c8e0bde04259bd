#include "scratch_files.h"

#include <algorithm>
#include <filesystem>

namespace e2e {

std::vector<std::wstring> NamesIn(const std::wstring& folder) {
  std::vector<std::wstring> names;
  std::error_code ignored;
  for (const auto& entry : std::filesystem::directory_iterator(folder, ignored)) {
    names.push_back(entry.path().filename().wstring());
  }
  std::sort(names.begin(), names.end());
  return names;
}

}  // namespace e2e

namespace faults {

namespace {

constexpr wchar_t kTemporaryStem[] = L".tessafold-";

// Calls visit(found) for each entry of the folder that matches `pattern`.
template <typename Visit>
void ForEachEntry(const std::wstring& folder, const wchar_t* pattern, Visit visit) {
  WIN32_FIND_DATAW found{};
  HANDLE search = FindFirstFileW((folder + L"\\" + pattern).c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return;
  do {
    const std::wstring name = found.cFileName;
    if (name != L"." && name != L"..") visit(found);
  } while (FindNextFileW(search, &found));
  FindClose(search);
}

}  // namespace

bool IsTemporaryFileOf(const std::wstring& name, DWORD processId) {
  const std::wstring stem = kTemporaryStem + std::to_wstring(processId) + L"-";
  const size_t serialEnd = name.find_first_not_of(L"0123456789", stem.size());
  return name.starts_with(stem) && name.ends_with(L".tmp") && serialEnd > stem.size() && serialEnd != name.npos &&
         name[serialEnd] == L'.';
}

std::optional<uint64_t> TemporaryFileSize(const std::wstring& folder) {
  std::optional<uint64_t> size;
  ForEachEntry(folder, L".tessafold-*.tmp", [&](const WIN32_FIND_DATAW& found) {
    size = (static_cast<uint64_t>(found.nFileSizeHigh) << 32) | found.nFileSizeLow;
  });
  return size;
}

std::optional<uint64_t> FileSize(const std::wstring& path) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) return std::nullopt;
  return (static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

}  // namespace faults
