#pragma once
// Folders of test files under the Windows temp folder, which the tests clear
// away again: some of their files are hundreds of MiB.
#include <string>
#include <string_view>
#include <vector>

namespace e2e {

// A new empty folder under the Windows temp folder (writable by the test user).
std::wstring MakeScratchFolder(std::wstring_view name);

// The names in the folder, sorted.
std::vector<std::wstring> NamesIn(const std::wstring& folder);

// Deletes everything in the folder, read-only files included, then the folder.
void RemoveScratchFolder(const std::wstring& folder);

}  // namespace e2e
