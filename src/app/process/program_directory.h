#pragma once
#include <string>
#include <string_view>

namespace tessafold {

// The folder part of a Windows program path: everything before the last
// backslash. A drive root keeps its backslash ("C:\"), since "C:" alone names
// the drive's current folder, not its root. No backslash: empty.
std::string DirectoryOfProgram(std::string_view programPath);

}  // namespace tessafold
