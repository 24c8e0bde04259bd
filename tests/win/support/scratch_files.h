#pragma once
// Scratch folders of the tests under Wine, which clear them away again (some
// of their files are hundreds of MiB), and what a fault leaves in them.
#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "common/file_test_support.h"

namespace e2e {

using tessafold::testing::MakeScratchFolder;
using tessafold::testing::RemoveScratchFolder;

// The names in the folder, sorted.
std::vector<std::wstring> NamesIn(const std::wstring& folder);

}  // namespace e2e

namespace faults {

using e2e::NamesIn;
using e2e::RemoveScratchFolder;

// True for the name of a temporary file of the transform in process
// `processId` (".tessafold-<pid>-<n>.<host>.<original>.tmp").
bool IsTemporaryFileOf(const std::wstring& name, DWORD processId);

// The size of a transform's temporary file in the folder, if there is one.
std::optional<uint64_t> TemporaryFileSize(const std::wstring& folder);

// The size of the file at the path; nothing when there is none.
std::optional<uint64_t> FileSize(const std::wstring& path);

}  // namespace faults
