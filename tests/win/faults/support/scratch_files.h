#pragma once
// What a fault leaves in a test's folder, and clearing it away afterwards.
#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "scratch_folder.h"

namespace faults {

using e2e::NamesIn;
using e2e::RemoveScratchFolder;

// True for the name of a temporary file of the transform in process
// `processId` (".tessafold-<pid>-<n>.tmp").
bool IsTemporaryFileOf(const std::wstring& name, DWORD processId);

// The size of a transform's temporary file in the folder, if there is one.
std::optional<uint64_t> TemporaryFileSize(const std::wstring& folder);

// The size of the file at the path; nothing when there is none.
std::optional<uint64_t> FileSize(const std::wstring& path);

}  // namespace faults
