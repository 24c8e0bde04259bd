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

constexpr wchar_t kTemporaryStem[] = L".tessafold-";

bool IsTemporaryFileOf(const std::wstring& name, DWORD processId) {
  const std::wstring stem = kTemporaryStem + std::to_wstring(processId) + L"-";
  const size_t serialEnd = name.find_first_not_of(L"0123456789", stem.size());
  return name.starts_with(stem) && name.ends_with(L".tmp") && serialEnd > stem.size() && serialEnd != name.npos &&
         name[serialEnd] == L'.';
}

// The size as the folder lists it, read without opening the file.
std::optional<uint64_t> TemporaryFileSize(const std::wstring& folder) {
  WIN32_FIND_DATAW found{};
  const HANDLE search = FindFirstFileW((folder + L"\\" + kTemporaryStem + L"*.tmp").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return std::nullopt;
  FindClose(search);
  return (static_cast<uint64_t>(found.nFileSizeHigh) << 32) | found.nFileSizeLow;
}

std::optional<uint64_t> FileSize(const std::wstring& path) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) return std::nullopt;
  return (static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

}  // namespace faults
